#include "ui/releasetable.h"

#include "lookup/browsercontroller.h"
#include "lookup/releaseapplier.h"
#include "model/localized.h"
#include "tools/allinonecontroller.h"
#include "tools/capitalizationcontroller.h"
#include "tools/namingcontroller.h"
#include "tools/numberingcontroller.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

constexpr int RowHeight = 22;

} // namespace

ReleaseTableModel::ReleaseTableModel(ReleaseApplier *applier, QObject *parent)
    : QAbstractTableModel(parent), m_applier(applier)
{
}

QString ReleaseTableModel::columnIdentifier(int column)
{
    switch (column) {
    case TrackColumn: return QStringLiteral("track");
    case DiscColumn: return QStringLiteral("disc");
    case TitleColumn: return QStringLiteral("title");
    case ArtistColumn: return QStringLiteral("artist");
    case MapsToColumn: return QStringLiteral("mapsTo");
    case TargetFileColumn: return QStringLiteral("targetFile");
    default: return {};
    }
}

int ReleaseTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_applier->numberOfRowsInTableView();
}

int ReleaseTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ReleaseTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return m_applier->cellText(columnIdentifier(index.column()), index.row());
    case Qt::CheckStateRole:
        if (index.column() == TitleColumn)
            return m_applier->flagForRow(index.row()) == 1 ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::TextAlignmentRole:
        if (index.column() == TrackColumn || index.column() == DiscColumn || index.column() == MapsToColumn)
            return int(Qt::AlignCenter);
        return int(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

bool ReleaseTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    Q_UNUSED(value);
    if (!index.isValid() || role != Qt::CheckStateRole
        || !m_applier->setObjectValue(columnIdentifier(index.column()), index.row()))
        return false;
    // The matching of every later row may shift: the title cell and both mapping columns.
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit dataChanged(this->index(0, MapsToColumn), this->index(rowCount() - 1, TargetFileColumn),
                     {Qt::DisplayRole, Qt::ToolTipRole});
    return true;
}

Qt::ItemFlags ReleaseTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == TitleColumn)
        flags |= Qt::ItemIsUserCheckable;
    return flags;
}

QVariant ReleaseTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case TrackColumn: return Localized::text("Track");
    case DiscColumn: return Localized::text("Disc");
    case TitleColumn: return Localized::text("Title");
    case ArtistColumn: return Localized::text("Artist");
    case TargetFileColumn: return Localized::text("FileName");
    default: return QString();
    }
}

void ReleaseTableModel::reload()
{
    beginResetModel();
    endResetModel();
}

void ReleaseTableModel::refreshTargets()
{
    if (rowCount() > 0)
        emit dataChanged(index(0, MapsToColumn), index(rowCount() - 1, TargetFileColumn),
                         {Qt::DisplayRole, Qt::ToolTipRole});
}

ReleaseTable::ReleaseTable(BrowserController *browser, EditorController *editor, ImageController *images,
                           QWidget *parent)
    : QWidget(parent)
    , m_browser(browser)
    , m_numbering(std::make_unique<NumberingController>(editor))
    , m_capitalization(std::make_unique<CapitalizationController>(editor))
    , m_naming(std::make_unique<NamingController>(*editor))
    , m_allInOne(std::make_unique<AllInOneController>(m_numbering.get(), m_capitalization.get(), m_naming.get()))
    , m_applier(std::make_unique<ReleaseApplier>(browser, editor, images, m_allInOne.get()))
    , m_model(new ReleaseTableModel(m_applier.get(), this))
    , m_view(new QTableView(this))
    , m_checkAll(new QPushButton(Localized::text("CheckAll"), this))
    , m_uncheckAll(new QPushButton(Localized::text("UncheckAll"), this))
    , m_apply(new QPushButton(Localized::text("ApplyRelease"), this))
{
    setObjectName(QStringLiteral("browserTable"));
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setAlternatingRowColors(true);
    m_view->setWordWrap(false);
    m_view->setTextElideMode(Qt::ElideMiddle);
    m_view->verticalHeader()->hide();
    m_view->verticalHeader()->setDefaultSectionSize(RowHeight);
    QHeaderView *header = m_view->horizontalHeader();
    header->setSectionResizeMode(QHeaderView::Interactive);
    header->setSectionResizeMode(ReleaseTableModel::MapsToColumn, QHeaderView::Fixed);
    header->resizeSection(ReleaseTableModel::MapsToColumn, 32);
    header->resizeSection(ReleaseTableModel::TrackColumn, 56);
    header->resizeSection(ReleaseTableModel::DiscColumn, 48);
    header->resizeSection(ReleaseTableModel::TitleColumn, 320);
    header->resizeSection(ReleaseTableModel::ArtistColumn, 200);
    header->setStretchLastSection(true);
    // Tab leaves the table; Space toggles the current row's check box.
    m_view->setTabKeyNavigation(false);
    m_view->installEventFilter(this);

    m_apply->setDefault(false);
    m_apply->setAutoDefault(false);
    auto *commands = new QHBoxLayout;
    commands->addWidget(m_checkAll);
    commands->addWidget(m_uncheckAll);
    commands->addStretch(1);
    commands->addWidget(m_apply);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view, 1);
    layout->addLayout(commands);

    connect(m_checkAll, &QPushButton::clicked, this, &ReleaseTable::checkAll);
    connect(m_uncheckAll, &QPushButton::clicked, this, &ReleaseTable::uncheckAll);
    connect(m_apply, &QPushButton::clicked, this, &ReleaseTable::apply);
    updateCommands();
}

ReleaseTable::~ReleaseTable() = default;

void ReleaseTable::reload()
{
    m_model->reload();
    updateCommands();
}

void ReleaseTable::refreshTargets()
{
    m_model->refreshTargets();
}

void ReleaseTable::checkAll()
{
    m_applier->checkAll();
    reload();
}

void ReleaseTable::uncheckAll()
{
    m_applier->uncheckAll();
    reload();
}

bool ReleaseTable::apply()
{
    if (!m_applier->applySearchResultsToSongs())
        return false;
    emit applied();
    return true;
}

void ReleaseTable::showEvent(QShowEvent *event)
{
    // The editor's selection may have changed while the browser was hidden.
    refreshTargets();
    QWidget::showEvent(event);
}

bool ReleaseTable::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_view || event->type() != QEvent::KeyPress
        || static_cast<QKeyEvent *>(event)->key() != Qt::Key_Space || !m_view->currentIndex().isValid())
        return QWidget::eventFilter(watched, event);
    const QModelIndex title = m_model->index(m_view->currentIndex().row(), ReleaseTableModel::TitleColumn);
    m_model->setData(title, title.data(Qt::CheckStateRole).toInt() == Qt::Checked ? Qt::Unchecked : Qt::Checked,
                     Qt::CheckStateRole);
    return true;
}

void ReleaseTable::updateCommands()
{
    const bool anyRows = m_model->rowCount() > 0;
    m_checkAll->setEnabled(anyRows);
    m_uncheckAll->setEnabled(anyRows);
    // Nothing to apply without covers.
    m_apply->setEnabled(m_browser->numberOfItemsInImageFlow() > 0);
}
