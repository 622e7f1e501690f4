#include "editor/songtablemodel.h"

#include "editor/transformers.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

#include <algorithm>

const QString SongTableModel::RowsMimeType = QStringLiteral("SongSelection");

namespace {

const QList<int> TextRoles{Qt::DisplayRole, Qt::EditRole};
const QList<int> CompilationRoles{Qt::DisplayRole, Qt::EditRole, Qt::CheckStateRole};
const QList<int> FileNameRoles{Qt::DisplayRole, Qt::EditRole, SongTableModel::TextColorRole};
const QList<int> ColorRoles{SongTableModel::TextColorRole};
const QList<int> ModifiedRoles{SongTableModel::IsModifiedRole, SongTableModel::IsFieldModifiedRole};

QString displayText(const Song &song, SongColumn column)
{
    switch (column) {
    case SongColumn::Track: return song.track();
    case SongColumn::Title: return song.title();
    case SongColumn::Artist: return song.artist();
    case SongColumn::Album: return song.album();
    case SongColumn::AlbumArtist: return song.albumArtist();
    case SongColumn::Composer: return song.composer();
    case SongColumn::Disc: return song.disc();
    case SongColumn::Genre: return song.genre();
    case SongColumn::Year: return Number2StringTransformer::transformedValue(song.year());
    case SongColumn::Comment: return song.comment();
    case SongColumn::Compilation: return QString();
    case SongColumn::Bitrate: return Number2StringTransformer::transformedValue(song.bitrate());
    case SongColumn::Length: return Number2LengthTransformer::transformValue(song.length());
    case SongColumn::FileName: return song.fileName();
    }
    return QString();
}

QVariant editValue(const Song &song, SongColumn column)
{
    if (column == SongColumn::Compilation)
        return song.isCompilation() != 0;
    return displayText(song, column);
}

// The argument of the column's setter for an edited value: years go back through the year's
// presentation rule (a text's leading integer, so an emptied cell is the year 0).
QVariant setterArgument(SongColumn column, const QVariant &value)
{
    if (column == SongColumn::Year && value.typeId() == QMetaType::QString)
        return Number2StringTransformer::reverseTransformedValue(value.toString());
    if (column == SongColumn::Compilation && value.typeId() == QMetaType::Bool)
        return qint64(value.toBool() ? 1 : 0);
    return value;
}

const QList<int> &rolesForField(SongField field)
{
    switch (field) {
    case SongField::IsCompilation: return CompilationRoles;
    case SongField::FileName: return FileNameRoles;
    default: return TextRoles;
    }
}

// Whether a dropped path can be loaded: a folder, or a file of a music type.
bool isLoadable(const QString &path)
{
    const QFileInfo info(path);
    if (info.isDir())
        return true;
    return info.isFile() && EditorController::hasMusicExtension(path);
}

} // namespace

SongTableModel::SongTableModel(EditorController *controller, QObject *parent)
    : QAbstractTableModel(parent),
      m_controller(controller),
      m_hidden(SongColumnCount)
{
    Q_ASSERT(controller);
    for (int column = 0; column < SongColumnCount; ++column)
        m_hidden.setBit(column, isColumnHidden(SongColumn(column)));
    if (!songs().empty())
        subscribe(0, songs().size() - 1);
    m_controller->addObserver(this);
    connect(&UserDefaults::shared(), &UserDefaults::valueChanged, this, &SongTableModel::settingChanged);
}

SongTableModel::~SongTableModel()
{
    m_controller->removeObserver(this);
    if (!songs().empty())
        unsubscribe(0, songs().size() - 1);
}

// ---- Table --------------------------------------------------------------------------------------

int SongTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(songs().size());
}

int SongTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : SongColumnCount;
}

Song *SongTableModel::song(int row) const
{
    if (row < 0 || size_t(row) >= songs().size())
        return nullptr;
    return songs()[size_t(row)].get();
}

int SongTableModel::rowOfSong(const Song *song) const
{
    if (!m_rowsValid) {
        m_rows.clear();
        m_rows.reserve(qsizetype(songs().size()));
        for (size_t row = 0; row < songs().size(); ++row)
            m_rows.insert(songs()[row].get(), int(row));
        m_rowsValid = true;
    }
    return m_rows.value(song, -1);
}

QVariant SongTableModel::data(const QModelIndex &index, int role) const
{
    const Song *song = index.isValid() ? this->song(index.row()) : nullptr;
    if (!song || !SongColumns::isValid(index.column()))
        return QVariant();
    const auto column = SongColumn(index.column());
    switch (role) {
    case Qt::DisplayRole:
        return displayText(*song, column);
    case Qt::EditRole:
        return editValue(*song, column);
    case Qt::CheckStateRole:
        if (column != SongColumn::Compilation)
            return QVariant();
        return song->isCompilation() != 0 ? Qt::Checked : Qt::Unchecked;
    case IsModifiedRole:
        return song->isModified();
    case IsFieldModifiedRole:
        return song->isModified(SongColumns::definition(column).field);
    case TextColorRole:
        if (column != SongColumn::FileName)
            return int(TextColor::Normal);
        return int(Song2TextColorTransformer::transformedValue(song));
    default:
        return QVariant();
    }
}

bool SongTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Song *song = index.isValid() ? this->song(index.row()) : nullptr;
    if (!song || !SongColumns::isValid(index.column()))
        return false;
    const auto column = SongColumn(index.column());
    const SongColumns::Definition &definition = SongColumns::definition(column);
    if (!definition.isEditable)
        return false;
    QVariant argument;
    if (role == Qt::EditRole)
        argument = setterArgument(column, value);
    else if (role == Qt::CheckStateRole && column == SongColumn::Compilation)
        argument = qint64(value.toInt() == Qt::Unchecked ? 0 : 1);
    else
        return false;
    const quint64 noticesBefore = m_songNotices;
    song->setValueForKey(Song::keyForField(definition.field), argument);
    return m_songNotices != noticesBefore;
}

QVariant SongTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Vertical)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role != Qt::DisplayRole || !SongColumns::isValid(section))
        return QVariant();
    return Localized::text(SongColumns::definition(SongColumn(section)).titleKey);
}

Qt::ItemFlags SongTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::ItemIsDropEnabled;
    Qt::ItemFlags flags = Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled
        | Qt::ItemIsDropEnabled | Qt::ItemNeverHasChildren;
    if (!SongColumns::isValid(index.column()))
        return flags;
    const auto column = SongColumn(index.column());
    if (SongColumns::definition(column).isEditable)
        flags |= Qt::ItemIsEditable;
    if (column == SongColumn::Compilation)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

void SongTableModel::sort(int column, Qt::SortOrder order)
{
    if (!SongColumns::isValid(column))
        return;
    m_controller->sortUsingDescriptors(
        {SongColumns::sortDescriptor(SongColumn(column), order == Qt::AscendingOrder)});
}

// ---- Settings -----------------------------------------------------------------------------------

bool SongTableModel::isColumnHidden(SongColumn column)
{
    return UserDefaults::shared().boolForKey(QString::fromLatin1(SongColumns::definition(column).hideKey));
}

void SongTableModel::settingChanged(const QString &key)
{
    const std::optional<SongColumn> column = SongColumns::columnForHideKey(key);
    if (!column)
        return;
    const bool hidden = isColumnHidden(*column);
    if (m_hidden.testBit(int(*column)) == hidden)
        return;
    m_hidden.setBit(int(*column), hidden);
    emit columnHiddenChanged(int(*column), hidden);
}

// ---- Drag and drop ------------------------------------------------------------------------------

QStringList SongTableModel::mimeTypes() const
{
    return {QStringLiteral("text/uri-list"), RowsMimeType};
}

QMimeData *SongTableModel::mimeData(const QModelIndexList &indexes) const
{
    QList<int> rows;
    for (const QModelIndex &index : indexes) {
        if (index.isValid() && index.model() == this)
            rows.append(index.row());
    }
    if (rows.isEmpty())
        return nullptr;
    std::sort(rows.begin(), rows.end(), std::greater<int>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    QByteArray text;
    for (int row : std::as_const(rows)) {
        if (!text.isEmpty())
            text += '\n';
        text += QByteArray::number(row);
    }
    auto *data = new QMimeData;
    data->setData(RowsMimeType, text);
    return data;
}

std::optional<QList<int>> SongTableModel::rowsFromMimeData(const QMimeData *data)
{
    if (!data || !data->hasFormat(RowsMimeType))
        return std::nullopt;
    QList<int> rows;
    for (const QByteArray &line : data->data(RowsMimeType).split('\n')) {
        bool ok = false;
        const int row = line.toInt(&ok);
        if (!ok || row < 0)
            return std::nullopt;
        rows.append(row);
    }
    return rows;
}

std::optional<QStringList> SongTableModel::droppedPaths(const QMimeData *data)
{
    if (!data || !data->hasUrls())
        return std::nullopt;
    QStringList paths;
    bool anyLoadable = false;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            continue;
        paths.append(url.toLocalFile());
        anyLoadable = anyLoadable || isLoadable(paths.last());
    }
    if (!anyLoadable)
        return std::nullopt;
    return paths;
}

bool SongTableModel::canDropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                     int column, const QModelIndex &parent) const
{
    Q_UNUSED(action);
    Q_UNUSED(row);
    Q_UNUSED(column);
    Q_UNUSED(parent);
    if (data && data->hasUrls())
        return droppedPaths(data).has_value();
    return rowsFromMimeData(data).has_value();
}

bool SongTableModel::dropMimeData(const QMimeData *data, Qt::DropAction action, int row,
                                  int column, const QModelIndex &parent)
{
    Q_UNUSED(column);
    if (action == Qt::IgnoreAction)
        return canDropMimeData(data, action, row, column, parent);
    // Files first, as the platform offers both when a drag carries both.
    if (data && data->hasUrls()) {
        const std::optional<QStringList> paths = droppedPaths(data);
        if (!paths)
            return false;
        m_controller->traverseFiles(*paths, false);
        return true;
    }
    const std::optional<QList<int>> rows = rowsFromMimeData(data);
    if (!rows)
        return false;
    // Between rows the view gives the row; on a row, the parent is that row.
    const int target = row >= 0 ? row : (parent.isValid() ? parent.row() : rowCount());
    m_controller->moveSongs(*rows, target);
    return true;
}

Qt::DropActions SongTableModel::supportedDragActions() const
{
    return Qt::LinkAction;
}

Qt::DropActions SongTableModel::supportedDropActions() const
{
    // Never a move: a file manager would take that as leave to delete the dropped files.
    return Qt::LinkAction | Qt::CopyAction;
}

// ---- Changes of the list ------------------------------------------------------------------------

void SongTableModel::subscribe(size_t first, size_t last)
{
    for (size_t row = first; row <= last; ++row)
        songs()[row]->addObserver(this);
}

void SongTableModel::unsubscribe(size_t first, size_t last)
{
    for (size_t row = first; row <= last; ++row)
        songs()[row]->removeObserver(this);
}

void SongTableModel::songsWillBeInserted(int first, int last)
{
    beginInsertRows(QModelIndex(), first, last);
}

void SongTableModel::songsInserted(int first, int last)
{
    m_rowsValid = false;
    subscribe(size_t(first), size_t(last));
    endInsertRows();
}

void SongTableModel::songsWillBeRemoved(int first, int last)
{
    unsubscribe(size_t(first), size_t(last));
    beginRemoveRows(QModelIndex(), first, last);
}

void SongTableModel::songsRemoved(int first, int last)
{
    Q_UNUSED(first);
    Q_UNUSED(last);
    m_rowsValid = false;
    endRemoveRows();
}

void SongTableModel::songsWillBeMoved(int first, int last, int destination)
{
    const bool valid = beginMoveRows(QModelIndex(), first, last, QModelIndex(), destination);
    Q_ASSERT(valid);
    Q_UNUSED(valid);
}

void SongTableModel::songsMoved(int first, int last, int destination)
{
    Q_UNUSED(first);
    Q_UNUSED(last);
    Q_UNUSED(destination);
    m_rowsValid = false;
    endMoveRows();
}

void SongTableModel::songsWillBeReset()
{
    beginResetModel();
    if (!songs().empty())
        unsubscribe(0, songs().size() - 1);
}

void SongTableModel::songsReset()
{
    m_rowsValid = false;
    m_rows.clear();
    if (!songs().empty())
        subscribe(0, songs().size() - 1);
    endResetModel();
}

void SongTableModel::songsWillBeSorted()
{
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    m_sortedIndexes = persistentIndexList();
}

void SongTableModel::songsSorted(const std::vector<int> &previousRows)
{
    m_rowsValid = false;
    std::vector<int> newRows(previousRows.size());
    for (size_t row = 0; row < previousRows.size(); ++row)
        newRows[size_t(previousRows[row])] = int(row);
    QModelIndexList moved;
    moved.reserve(m_sortedIndexes.size());
    for (const QModelIndex &index : std::as_const(m_sortedIndexes))
        moved.append(this->index(newRows[size_t(index.row())], index.column()));
    changePersistentIndexList(m_sortedIndexes, moved);
    m_sortedIndexes.clear();
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

// ---- Changes of songs ---------------------------------------------------------------------------

void SongTableModel::songFieldChanged(Song &song, SongField field)
{
    ++m_songNotices;
    const int row = rowOfSong(&song);
    if (row < 0)
        return;
    if (field == SongField::IsRenamable) {
        const QModelIndex cell = index(row, int(SongColumn::FileName));
        emit dataChanged(cell, cell, ColorRoles);
        return;
    }
    const std::optional<SongColumn> column = SongColumns::columnForField(field);
    if (!column)
        return;
    const QModelIndex cell = index(row, int(*column));
    emit dataChanged(cell, cell, rolesForField(field));
}

void SongTableModel::songModifiedDidChange(Song &song)
{
    ++m_songNotices;
    const int row = rowOfSong(&song);
    if (row >= 0)
        emit dataChanged(index(row, 0), index(row, SongColumnCount - 1), ModifiedRoles);
}
