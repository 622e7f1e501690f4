#include "ui/renamepreview.h"

#include "model/localized.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Light tints that dark text reads well on, whatever the palette.
const QColor RefusedTint(0xf6, 0xd5, 0xd3);
const QColor NoticeTint(0xfb, 0xee, 0xc8);
const QColor TintedText(0x20, 0x20, 0x20);

QIcon statusIcon(RenamePreview::Status status)
{
    if (RenamePreview::isRefused(status))
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    if (RenamePreview::isFlagged(status))
        return QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation);
    return QIcon();
}

} // namespace

RenamePreviewDialog::RenamePreviewDialog(const QList<RenamePreview::Row> &rows, QWidget *parent)
    : QDialog(parent)
    , m_rows(rows)
    , m_table(new QTableWidget(int(rows.size()), ColumnCount, this))
    , m_summary(new QLabel(this))
{
    setWindowTitle(Localized::text("RenamePreviewTitle"));
    setObjectName(QStringLiteral("renamePreview"));

    const auto renamed = std::count_if(rows.cbegin(), rows.cend(), [](const RenamePreview::Row &row) {
        return row.status == RenamePreview::Status::Renamed || row.status == RenamePreview::Status::CaseOnly;
    });
    const auto flagged = std::count_if(rows.cbegin(), rows.cend(), [](const RenamePreview::Row &row) {
        return RenamePreview::isFlagged(row.status);
    });
    QString summary = Localized::text("RenamePreviewSummaryXY").arg(renamed).arg(rows.size());
    if (flagged > 0)
        summary += u' ' + Localized::text("RenamePreviewFlaggedX").arg(flagged);
    m_summary->setText(summary);
    m_summary->setWordWrap(true);

    m_table->setHorizontalHeaderLabels({Localized::text("RenamePreviewOldName"),
                                        Localized::text("RenamePreviewNewName"),
                                        Localized::text("RenamePreviewStatus")});
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->setVisible(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    fillTable();
    m_table->resizeColumnsToContents();

    auto *note = new QLabel(Localized::text("RenamePreviewNote"), this);
    note->setWordWrap(true);

    auto *buttons = new QDialogButtonBox(this);
    m_apply = buttons->addButton(Localized::text("RenamePreviewApply"), QDialogButtonBox::AcceptRole);
    m_cancel = buttons->addButton(Localized::text("Cancel"), QDialogButtonBox::RejectRole);
    m_apply->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_summary);
    layout->addWidget(m_table, 1);
    layout->addWidget(note);
    layout->addWidget(buttons);
    resize(760, 420);
}

void RenamePreviewDialog::fillTable()
{
    for (int i = 0; i < int(m_rows.size()); ++i) {
        const RenamePreview::Row &row = m_rows.at(i);
        const QString status = RenamePreview::statusText(row, m_rows);
        const QStringList texts{row.oldName, row.newName, status};
        for (int column = 0; column < ColumnCount; ++column) {
            auto *item = new QTableWidgetItem(texts.at(column));
            item->setToolTip(column == Status ? status : texts.at(column));
            if (RenamePreview::isFlagged(row.status)) {
                item->setBackground(RenamePreview::isRefused(row.status) ? RefusedTint : NoticeTint);
                item->setForeground(TintedText);
            }
            if (column == Status)
                item->setIcon(statusIcon(row.status));
            m_table->setItem(i, column, item);
        }
    }
}

bool RenamePreviewDialog::confirm(const QList<RenamePreview::Row> &rows, QWidget *parent)
{
    RenamePreviewDialog dialog(rows, parent);
    dialog.setWindowModality(Qt::WindowModal);
    return dialog.exec() == QDialog::Accepted;
}
