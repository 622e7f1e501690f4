#pragma once

#include "tools/renamepreview.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QTableWidget;

// The table the naming panel and the all-in-one command show before they name the selection:
// per song the current name, the new one and how the save would meet the rename. Rows that need
// a look are marked by an icon, a colour and a text. The person applies (the names are given;
// the save renames the files, refuses what the preview flagged as refused and replaces no file)
// or cancels (nothing changes).
class RenamePreviewDialog : public QDialog {
    Q_OBJECT

public:
    RenamePreviewDialog(const QList<RenamePreview::Row> &rows, QWidget *parent);

    // Shows the rows window-modal over parent; true when the person applied.
    static bool confirm(const QList<RenamePreview::Row> &rows, QWidget *parent);

    const QList<RenamePreview::Row> &rows() const { return m_rows; }
    QTableWidget *table() const { return m_table; }
    QPushButton *applyButton() const { return m_apply; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The columns of the table.
    enum Column { OldName, NewName, Status, ColumnCount };

private:
    void fillTable();

    QList<RenamePreview::Row> m_rows;
    QTableWidget *m_table;
    QLabel *m_summary;
    QPushButton *m_apply;
    QPushButton *m_cancel;
};
