#include "ui/songtableview.h"

#include "editor/songtablecolumns.h"
#include "editor/songtablemodel.h"
#include "editor/transformers.h"
#include "model/localized.h"
#include "model/userdefaults.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTimer>

namespace {

const QString SingleClickToEditKey = QStringLiteral("SINGLE_CLICK_TO_EDIT");

} // namespace

SongTableView::SongTableView(QWidget *parent)
    : QTableView(parent)
{
    setItemDelegate(new SongCellDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setAlternatingRowColors(true);
    setShowGrid(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(RowHeight);
    verticalHeader()->setMinimumSectionSize(RowHeight);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(horizontalHeader(), &QHeaderView::customContextMenuRequested, this, [this](const QPoint &at) {
        QMenu *menu = createColumnsMenu(this);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        menu->popup(horizontalHeader()->mapToGlobal(at));
    });
    setDragEnabled(true);
    setAcceptDrops(true);
    setDropIndicatorShown(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDragDropOverwriteMode(false);
    setDefaultDropAction(Qt::LinkAction);
    updateEditTriggers();
    connect(&UserDefaults::shared(), &UserDefaults::valueChanged, this, &SongTableView::settingChanged);
}

void SongTableView::setSongModel(SongTableModel *model)
{
    m_model = model;
    // Sorting starts in list order: no column is the sort column until one is clicked.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    setModel(model);
    setSortingEnabled(true);
    horizontalHeader()->setSortIndicatorShown(true);
    connect(model, &SongTableModel::columnHiddenChanged, this, [this](int column, bool hidden) {
        setColumnHidden(column, hidden);
    });
    applyColumnVisibility();
    // Widths that suit each column's content, until the person sets their own.
    static constexpr int Widths[SongColumnCount] = {60, 240, 170, 170, 170, 150, 50, 110, 56, 200, 40, 70, 60, 260};
    for (int column = 0; column < SongColumnCount; ++column)
        horizontalHeader()->resizeSection(column, Widths[column]);
}

void SongTableView::applyColumnVisibility()
{
    for (int column = 0; column < SongColumnCount; ++column)
        setColumnHidden(column, SongTableModel::isColumnHidden(SongColumn(column)));
}

QMenu *SongTableView::createColumnsMenu(QWidget *parent) const
{
    auto *menu = new QMenu(Localized::text("Columns"), parent);
    for (int column = 0; column < SongColumnCount; ++column) {
        const SongColumns::Definition &definition = SongColumns::definition(SongColumn(column));
        QAction *action = menu->addAction(Localized::text(definition.titleKey));
        action->setCheckable(true);
        action->setChecked(!SongTableModel::isColumnHidden(SongColumn(column)));
        const QString key = QString::fromLatin1(definition.hideKey);
        connect(action, &QAction::toggled, menu, [key](bool shown) {
            UserDefaults::shared().setBool(!shown, key);
        });
    }
    return menu;
}

void SongTableView::settingChanged(const QString &key)
{
    if (key == SingleClickToEditKey)
        updateEditTriggers();
}

void SongTableView::updateEditTriggers()
{
    if (m_editingBlocked) {
        setEditTriggers(QAbstractItemView::NoEditTriggers);
        return;
    }
    EditTriggers triggers = QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed;
    if (UserDefaults::shared().boolForKey(SingleClickToEditKey))
        triggers |= QAbstractItemView::SelectedClicked;
    setEditTriggers(triggers);
}

void SongTableView::setEditingBlocked(bool blocked)
{
    // A cell being edited keeps what was typed.
    if (QWidget *editor = blocked ? indexWidget(currentIndex()) : nullptr) {
        commitData(editor);
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    }
    m_editingBlocked = blocked;
    setDragDropMode(blocked ? QAbstractItemView::NoDragDrop : QAbstractItemView::DragDrop);
    updateEditTriggers();
}

// ---- Table state ---------------------------------------------------------------------------------

void SongTableView::clearSortOrder()
{
    // No section: the model is not sorted again, the indicator goes away.
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

QList<int> SongTableView::selectedRows() const
{
    QList<int> rows;
    if (!selectionModel())
        return rows;
    for (const QItemSelectionRange &range : selectionModel()->selection()) {
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void SongTableView::setSelectedRows(const QList<int> &rows)
{
    if (!selectionModel() || !model())
        return;
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    QItemSelection selection;
    const int lastColumn = model()->columnCount() - 1;
    for (qsizetype i = 0; i < sorted.size();) {
        qsizetype j = i;
        while (j + 1 < sorted.size() && sorted[j + 1] <= sorted[j] + 1)
            ++j;
        if (sorted[i] >= 0 && sorted[j] < model()->rowCount())
            selection.append(QItemSelectionRange(model()->index(sorted[i], 0), model()->index(sorted[j], lastColumn)));
        i = j + 1;
    }
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (!sorted.isEmpty() && sorted.first() >= 0 && sorted.first() < model()->rowCount()) {
        const QModelIndex current = model()->index(sorted.first(), std::max(0, currentIndex().column()));
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    }
}

void SongTableView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    if (!m_model || m_model->rowCount() > 0)
        return;
    // An empty list says how songs come in.
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(viewport()->rect().adjusted(24, 24, -24, -24), Qt::AlignCenter | Qt::TextWordWrap,
                     Localized::text("EmptyTableHint"));
}

// ---- Editing ---------------------------------------------------------------------------------------

void SongTableView::mousePressEvent(QMouseEvent *event)
{
    // An Alt-click only selects.
    if (!(event->modifiers() & Qt::AltModifier) && event->button() == Qt::LeftButton) {
        const QModelIndex index = indexAt(event->position().toPoint());
        m_columnClickedOnDown = index.isValid() ? std::optional<int>(index.column()) : std::nullopt;
        m_rowClickedOnDown = index.isValid() ? std::optional<int>(index.row()) : std::nullopt;
    }
    QTableView::mousePressEvent(event);
}

void SongTableView::selectionChanged(const QItemSelection &selected, const QItemSelection &deselected)
{
    QTableView::selectionChanged(selected, deselected);
    if (!m_columnClickedOnDown)
        return;
    // After the press has been handled: the editor opens on the row the press selected.
    QTimer::singleShot(0, this, &SongTableView::startSingleClickEdit);
}

void SongTableView::startSingleClickEdit()
{
    if (!m_columnClickedOnDown || !m_model)
        return;
    bool started = false;
    const QList<int> rows = selectedRows();
    const int column = *m_columnClickedOnDown;
    if (!m_editingBlocked && UserDefaults::shared().boolForKey(SingleClickToEditKey) && rows.size() == 1
        && m_rowClickedOnDown == rows.first()) {
        const QModelIndex cell = m_model->index(rows.first(), column);
        if (cell.flags() & Qt::ItemIsEditable) {
            setCurrentIndex(cell);
            started = QTableView::edit(cell, QAbstractItemView::AllEditTriggers, nullptr);
        }
    }
    m_selectedColumn = column;
    if (started)
        m_columnClickedOnDown.reset();
}

bool SongTableView::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (m_editingBlocked && trigger != QAbstractItemView::NoEditTriggers)
        return false;
    const bool editing = QTableView::edit(index, trigger, event);
    if (editing && trigger != QAbstractItemView::NoEditTriggers) {
        m_selectedColumn = index.column();
        m_columnClickedOnDown.reset();
    }
    return editing;
}

void SongTableView::editNextRow()
{
    if (!m_model || m_model->rowCount() == 0)
        return;
    const QList<int> rows = selectedRows();
    const int last = m_model->rowCount() - 1;
    const int next = rows.isEmpty() || rows.last() >= last ? 0 : rows.last() + 1;
    const QModelIndex cell = m_model->index(next, m_selectedColumn);
    setSelectedRows({next});
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::NoUpdate);
    scrollTo(cell);
    if (cell.flags() & Qt::ItemIsEditable)
        QTableView::edit(cell, QAbstractItemView::AllEditTriggers, nullptr);
}

void SongTableView::keyPressEvent(QKeyEvent *event)
{
    // Space toggles the preview instead of changing the selection.
    if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
        emit previewRequested();
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

// ---- Dropping ----------------------------------------------------------------------------------------

bool SongTableView::acceptsDrag(QDropEvent *event) const
{
    if (m_editingBlocked || !m_model)
        return false;
    return m_model->canDropMimeData(event->mimeData(), Qt::LinkAction, -1, -1, QModelIndex());
}

namespace {

// Files from a file manager are linked to, never moved; copied where linking is not offered.
Qt::DropAction fileDropAction(const QDropEvent *event)
{
    return (event->possibleActions() & Qt::LinkAction) ? Qt::LinkAction : Qt::CopyAction;
}

} // namespace

bool SongTableView::takeDrag(QDragMoveEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        return true;
    }
    if (!event->mimeData()->hasUrls())
        return false;
    // Files land on the whole table, not between rows.
    event->setDropAction(fileDropAction(event));
    event->accept();
    return true;
}

void SongTableView::dragEnterEvent(QDragEnterEvent *event)
{
    if (!takeDrag(event))
        QTableView::dragEnterEvent(event);
}

void SongTableView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!takeDrag(event))
        QTableView::dragMoveEvent(event);
}

void SongTableView::dropEvent(QDropEvent *event)
{
    if (!acceptsDrag(event)) {
        event->ignore();
        return;
    }
    if (event->mimeData()->hasUrls()) {
        const Qt::DropAction action = fileDropAction(event);
        if (m_model->dropMimeData(event->mimeData(), action, -1, -1, QModelIndex())) {
            event->setDropAction(action);
            event->accept();
        } else {
            event->ignore();
        }
        return;
    }
    QTableView::dropEvent(event);
}

// ---- Cells ---------------------------------------------------------------------------------------------

SongCellDelegate::SongCellDelegate(SongTableView *view)
    : QStyledItemDelegate(view)
    , m_view(view)
{
}

void SongCellDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    if (index.data(SongTableModel::IsModifiedRole).toBool())
        option->font.setBold(true);
    switch (TextColor(index.data(SongTableModel::TextColorRole).toInt())) {
    case TextColor::Normal:
        break;
    case TextColor::Disabled:
        option->palette.setColor(QPalette::Text, option->palette.color(QPalette::Disabled, QPalette::Text));
        break;
    case TextColor::Red:
        option->palette.setColor(QPalette::Text, Qt::red);
        option->palette.setColor(QPalette::HighlightedText, Qt::red);
        break;
    }
}

bool SongCellDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (editor && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool isReturn = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        if (isReturn && (key->modifiers() & Qt::AltModifier)) {
            emit commitData(editor);
            emit closeEditor(editor, QAbstractItemDelegate::NoHint);
            QTimer::singleShot(0, m_view, &SongTableView::editNextRow);
            return true;
        }
        const bool isTab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (isTab && m_view->selectedRows().size() > 1)
            return true;
        if (key->key() == Qt::Key_Escape) {
            emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
            m_view->setFocus();
            return true;
        }
    }
    return QStyledItemDelegate::eventFilter(object, event);
}
