#pragma once

#include "editor/songtablestate.h"

#include <QStyledItemDelegate>
#include <QTableView>

#include <optional>

class SongTableModel;

// The song table: one row per song, the columns the settings show, sorting by a header click,
// rows dragged to reorder, files and folders dropped to add them, and editing in place. A
// single plain click on an editable cell of another row selects the row and edits the cell
// (SINGLE_CLICK_TO_EDIT); Alt+Return commits and edits the same column one row down, wrapping
// to the top; Tab does nothing while several rows are selected; Escape leaves the cell without
// committing. Space asks for the preview. Songs with unsaved changes are shown in bold.
//
// It is also the table state the editor reads and sets (selection, sort order).
class SongTableView : public QTableView, public SongTableState {
    Q_OBJECT

public:
    static constexpr int RowHeight = 22;

    explicit SongTableView(QWidget *parent = nullptr);

    void setSongModel(SongTableModel *model);
    using QTableView::edit;
    SongTableModel *songModel() const { return m_model; }

    // SongTableState
    void clearSortOrder() override;
    QList<int> selectedRows() const override;
    void setSelectedRows(const QList<int> &rows) override;

    // Whether a cell is being edited.
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
    // The column that Alt+Return edits: the one last clicked or edited.
    int selectedColumn() const { return m_selectedColumn; }
    // Commits nothing; edits the selected column one row below the selected row (the first row
    // after the last or with none selected) and selects that row alone.
    void editNextRow();
    // While a save runs the songs must not change: no editing, no dragging.
    void setEditingBlocked(bool blocked);
    // The header's context menu: one entry per column, checked when shown.
    QMenu *createColumnsMenu(QWidget *parent) const;

signals:
    void previewRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void selectionChanged(const QItemSelection &selected, const QItemSelection &deselected) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void applyColumnVisibility();
    void settingChanged(const QString &key);
    void updateEditTriggers();
    void startSingleClickEdit();
    bool acceptsDrag(QDropEvent *event) const;
    // Answers a drag of files, or one that cannot be dropped; false for rows, which the view's
    // own handling places between rows.
    bool takeDrag(QDragMoveEvent *event);

    SongTableModel *m_model = nullptr;
    std::optional<int> m_columnClickedOnDown;
    std::optional<int> m_rowClickedOnDown;
    int m_selectedColumn = 0;
    bool m_editingBlocked = false;
};

// How a song's cells look and edit: bold while the song has unsaved changes, the file name in
// its colour (dimmed when the file may not be renamed, red when its name is not sane), and the
// keys of the cell editor.
class SongCellDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit SongCellDelegate(SongTableView *view);

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;
    bool eventFilter(QObject *editor, QEvent *event) override;

private:
    SongTableView *m_view;
};
