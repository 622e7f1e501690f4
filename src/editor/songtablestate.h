#pragma once

#include <QList>

// The state of the front end's song table that the editor reads and sets: the selected rows
// and the sort order. Called on the main thread.
class SongTableState {
public:
    virtual ~SongTableState() = default;

    // Back to list order: the table shows the songs as the list holds them.
    virtual void clearSortOrder() = 0;
    virtual QList<int> selectedRows() const = 0;
    // Replaces the selection.
    virtual void setSelectedRows(const QList<int> &rows) = 0;
};
