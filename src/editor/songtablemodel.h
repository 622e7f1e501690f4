#pragma once

#include "editor/editorcontroller.h"
#include "editor/songtablecolumns.h"
#include "model/songobserverset.h"

#include <QAbstractTableModel>
#include <QBitArray>
#include <QHash>
#include <QList>
#include <QStringList>

#include <optional>
#include <vector>

class QMimeData;
class Song;

// The song list as a table: one row per song in list order, one column per SongColumn. Cells
// show the presentation of the field (years and bit rates of 0 as empty, lengths as m:ss), and
// edits go through the song's own setter, as edits in the field area do. The model hears of
// every change of the list, by rows, and of every song in it, and tells its views.
//
// Sorting sorts the list itself (EditorController::sortUsingDescriptors). Rows are dragged as
// RowsMimeType: the row numbers as decimal texts, one a line, highest first; dropping them moves
// the songs, dropping files or folders adds them. The controller must outlive the model.
class SongTableModel : public QAbstractTableModel, private SongListObserver, private SongObserver {
    Q_OBJECT

public:
    enum Role {
        // bool: the song has changes not saved yet (any column of its row).
        IsModifiedRole = Qt::UserRole + 1,
        // bool: the column's own field changed since the song was read or saved.
        IsFieldModifiedRole,
        // int, a TextColor: the file name's colour (Song2TextColorTransformer); Normal in other
        // columns.
        TextColorRole,
    };

    static const QString RowsMimeType;

    explicit SongTableModel(EditorController *controller, QObject *parent = nullptr);
    ~SongTableModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    // Edit role, and the check state of the compilation column. True if the song changed.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    QStringList mimeTypes() const override;
    QMimeData *mimeData(const QModelIndexList &indexes) const override;
    bool canDropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                         const QModelIndex &parent) const override;
    bool dropMimeData(const QMimeData *data, Qt::DropAction action, int row, int column,
                      const QModelIndex &parent) override;
    Qt::DropActions supportedDragActions() const override;
    Qt::DropActions supportedDropActions() const override;

    Song *song(int row) const;
    // The row of a song of the list, or -1.
    int rowOfSong(const Song *song) const;

    // The rows of a row drag, as written by mimeData(): nullopt when the data holds none.
    static std::optional<QList<int>> rowsFromMimeData(const QMimeData *data);
    // The hide setting of the column, as the settings hold it now.
    static bool isColumnHidden(SongColumn column);

signals:
    // A column's hide setting changed, from whatever control.
    void columnHiddenChanged(int column, bool hidden);

private:
    const SongList &songs() const { return m_controller->songs(); }
    void subscribe(size_t first, size_t last);
    void unsubscribe(size_t first, size_t last);
    void settingChanged(const QString &key);
    // Paths of dropped files, if at least one of them can be loaded.
    static std::optional<QStringList> droppedPaths(const QMimeData *data);

    // SongListObserver
    void songsWillBeInserted(int first, int last) override;
    void songsInserted(int first, int last) override;
    void songsWillBeRemoved(int first, int last) override;
    void songsRemoved(int first, int last) override;
    void songsWillBeMoved(int first, int last, int destination) override;
    void songsMoved(int first, int last, int destination) override;
    void songsWillBeReset() override;
    void songsReset() override;
    void songsWillBeSorted() override;
    void songsSorted(const std::vector<int> &previousRows) override;

    // SongObserver
    void songFieldChanged(Song &song, SongField field) override;
    void songModifiedDidChange(Song &song) override;

    EditorController *m_controller;
    // Where each song stands, built when first asked after the list changed.
    mutable QHash<const Song *, int> m_rows;
    mutable bool m_rowsValid = false;
    QModelIndexList m_sortedIndexes;
    QBitArray m_hidden;
    // Notices heard from songs; setData() tells by it whether its edit changed anything.
    quint64 m_songNotices = 0;
};
