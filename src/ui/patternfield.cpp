#include "ui/patternfield.h"

#include "model/localized.h"
#include "model/userdefaults.h"
#include "tools/patternclipboard.h"
#include "tools/tokenutil.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// Room between the frame and the text.
constexpr int TextMargin = 2;

} // namespace

PatternField::PatternField(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    setCursor(Qt::IBeamCursor);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

Pattern PatternField::pattern() const
{
    return m_buffer.pattern();
}

void PatternField::setPattern(const Pattern &pattern)
{
    m_buffer.setPattern(pattern);
    caretMoved();
}

void PatternField::addToken(const QString &tokenString)
{
    edited(m_buffer.insertToken(TokenUtil::tokenWithTokenString(tokenString)));
}

void PatternField::bindToKey(const QString &key)
{
    m_key = key;
    loadFromKey();
    disconnect(m_keyWatch);
    m_keyWatch = connect(&UserDefaults::shared(), &UserDefaults::valueChanged, this, [this](const QString &changed) {
        if (changed == m_key && PatternUtil::storedPattern(m_key) != pattern())
            loadFromKey();
    });
}

void PatternField::loadFromKey()
{
    setPattern(PatternUtil::storedPattern(m_key));
}

void PatternField::storeToKey()
{
    if (!m_key.isEmpty() && PatternUtil::storedPattern(m_key) != pattern())
        PatternUtil::storePattern(pattern(), m_key);
}

int PatternField::cursorPosition() const
{
    return int(m_buffer.caret());
}

void PatternField::setCursorPosition(int position)
{
    m_buffer.setCaret(position);
    caretMoved();
}

bool PatternField::hasSelectedText() const
{
    return m_buffer.hasSelection();
}

int PatternField::selectionStart() const
{
    return m_buffer.hasSelection() ? int(m_buffer.selectionStart()) : -1;
}

int PatternField::selectionLength() const
{
    return int(m_buffer.selectionEnd() - m_buffer.selectionStart());
}

void PatternField::setSelection(int start, int length)
{
    m_buffer.setCaret(start);
    m_buffer.setCaret(start + length, true);
    caretMoved();
}

void PatternField::selectAll()
{
    m_buffer.selectAll();
    caretMoved();
}

void PatternField::finishEditing()
{
    edited(m_buffer.finishTyping());
}

void PatternField::setReadOnly(bool readOnly)
{
    m_readOnly = readOnly;
    setAttribute(Qt::WA_InputMethodEnabled, !readOnly);
    setCursor(readOnly ? Qt::ArrowCursor : Qt::IBeamCursor);
    update();
}

void PatternField::edited(bool changed)
{
    caretMoved();
    if (!changed)
        return;
    storeToKey();
    emit patternEdited();
}

void PatternField::caretMoved()
{
    const PatternLine line = layout();
    const int caretX = line.x(m_buffer.caret());
    const int visible = qMax(1, contentRect().width() - 1);
    const int total = line.width();
    if (caretX - m_scroll > visible)
        m_scroll = caretX - visible;
    if (caretX < m_scroll)
        m_scroll = caretX;
    m_scroll = qBound(0, m_scroll, qMax(0, total - visible));
    restartBlink();
    update();
}

void PatternField::restartBlink()
{
    m_caretVisible = true;
    const int flash = QApplication::cursorFlashTime();
    if (hasFocus() && flash > 0)
        m_blink.start(flash / 2, this);
    else
        m_blink.stop();
}

PatternLine PatternField::layout() const
{
    return PatternLine(m_buffer.pattern(), font());
}

QRect PatternField::contentRect() const
{
    QStyleOptionFrame option;
    option.initFrom(this);
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    return style()->subElementRect(QStyle::SE_LineEditContents, &option, this).adjusted(TextMargin, 0, -TextMargin, 0);
}

QSize PatternField::sizeHint() const
{
    const QFontMetrics metrics(font());
    const int frame = 2 * style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this);
    const int height = metrics.height() + 8 + 2 * TextMargin + frame;
    return QSize(metrics.horizontalAdvance(QLatin1Char('x')) * 30 + frame, height);
}

QSize PatternField::minimumSizeHint() const
{
    const QSize hint = sizeHint();
    return QSize(QFontMetrics(font()).horizontalAdvance(QLatin1Char('x')) * 6, hint.height());
}

int PatternField::positionAt(const QPoint &point) const
{
    return int(layout().nearestPosition(point.x() - contentRect().left() + m_scroll));
}

void PatternField::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionFrame frame;
    frame.initFrom(this);
    frame.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &frame, this);
    frame.state |= QStyle::State_Sunken;
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &frame, &painter, this);

    const QRect content = contentRect();
    painter.setClipRect(content);
    const PatternLine line = layout();
    const int height = fontMetrics().height();
    const int top = content.top() + (content.height() - height) / 2;
    const int left = content.left() - m_scroll;
    line.draw(&painter, left, top, palette(), m_buffer.selectionStart(), m_buffer.selectionEnd());
    if (hasFocus() && m_caretVisible && !m_readOnly && !m_buffer.hasSelection())
        painter.fillRect(QRect(left + line.x(m_buffer.caret()), top, 1, height), palette().text());
}

bool PatternField::handleShortcut(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Copy))
        copy();
    else if (event->matches(QKeySequence::SelectAll))
        selectAll();
    else
        return !m_readOnly && handleEdit(event);
    return true;
}

bool PatternField::handleEdit(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Cut)) {
        cut();
    } else if (event->matches(QKeySequence::Paste)) {
        paste();
    } else if (event->matches(QKeySequence::Undo)) {
        undo();
    } else if (event->matches(QKeySequence::Redo)) {
        redo();
    } else if (event->key() == Qt::Key_Backspace && !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))) {
        edited(m_buffer.deleteBackward());
    } else if (event->matches(QKeySequence::Delete)) {
        edited(m_buffer.deleteForward());
    } else if (event->matches(QKeySequence::DeleteStartOfWord)) {
        if (!m_buffer.hasSelection())
            m_buffer.moveWordLeft(true);
        edited(m_buffer.removeSelection());
    } else if (event->matches(QKeySequence::DeleteEndOfWord)) {
        if (!m_buffer.hasSelection())
            m_buffer.moveWordRight(true);
        edited(m_buffer.removeSelection());
    } else {
        return false;
    }
    return true;
}

bool PatternField::handleMove(QKeyEvent *event)
{
    struct Move {
        QKeySequence::StandardKey key;
        void (PatternBuffer::*step)(bool);
        bool select;
    };
    static const Move moves[] = {
        {QKeySequence::MoveToPreviousChar, &PatternBuffer::moveLeft, false},
        {QKeySequence::MoveToNextChar, &PatternBuffer::moveRight, false},
        {QKeySequence::SelectPreviousChar, &PatternBuffer::moveLeft, true},
        {QKeySequence::SelectNextChar, &PatternBuffer::moveRight, true},
        {QKeySequence::MoveToPreviousWord, &PatternBuffer::moveWordLeft, false},
        {QKeySequence::MoveToNextWord, &PatternBuffer::moveWordRight, false},
        {QKeySequence::SelectPreviousWord, &PatternBuffer::moveWordLeft, true},
        {QKeySequence::SelectNextWord, &PatternBuffer::moveWordRight, true},
    };
    for (const Move &move : moves) {
        if (event->matches(move.key)) {
            (m_buffer.*move.step)(move.select);
            caretMoved();
            return true;
        }
    }
    const bool select = event->modifiers() & Qt::ShiftModifier;
    if (event->matches(QKeySequence::MoveToStartOfLine) || event->matches(QKeySequence::SelectStartOfLine)
        || event->matches(QKeySequence::MoveToStartOfBlock) || event->matches(QKeySequence::SelectStartOfBlock)
        || event->key() == Qt::Key_Home) {
        m_buffer.setCaret(0, select);
    } else if (event->matches(QKeySequence::MoveToEndOfLine) || event->matches(QKeySequence::SelectEndOfLine)
               || event->matches(QKeySequence::MoveToEndOfBlock) || event->matches(QKeySequence::SelectEndOfBlock)
               || event->key() == Qt::Key_End) {
        m_buffer.setCaret(m_buffer.length(), select);
    } else {
        return false;
    }
    caretMoved();
    return true;
}

namespace {

// Text that a key press types: printable characters, with no Control held (AltGr is allowed).
bool isTypedText(const QKeyEvent *event)
{
    const QString text = event->text();
    if (text.isEmpty() || (event->modifiers() & Qt::ControlModifier))
        return false;
    for (const QChar character : text) {
        if (!character.isPrint() && !character.isSurrogate())
            return false;
    }
    return true;
}

} // namespace

void PatternField::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        finishEditing();
        event->ignore();
        return;
    }
    if (handleMove(event) || handleShortcut(event))
        return;
    if (!m_readOnly && isTypedText(event)) {
        edited(m_buffer.insertTyped(event->text()));
        return;
    }
    QWidget::keyPressEvent(event);
}

bool PatternField::event(QEvent *event)
{
    // Keep the keys the field edits with from the window's shortcuts while it has the focus.
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        const int code = key->key();
        const bool moving = code == Qt::Key_Home || code == Qt::Key_End || code == Qt::Key_Left || code == Qt::Key_Right
            || key->matches(QKeySequence::Copy) || key->matches(QKeySequence::SelectAll);
        const bool editing = isTypedText(key) || code == Qt::Key_Backspace || code == Qt::Key_Delete
            || key->matches(QKeySequence::Cut) || key->matches(QKeySequence::Paste) || key->matches(QKeySequence::Undo)
            || key->matches(QKeySequence::Redo);
        if (moving || (editing && !m_readOnly)) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void PatternField::inputMethodEvent(QInputMethodEvent *event)
{
    if (!m_readOnly && !event->commitString().isEmpty())
        edited(m_buffer.insertTyped(event->commitString()));
    event->accept();
}

QVariant PatternField::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImCursorRectangle: {
        const QRect content = contentRect();
        const int x = content.left() - m_scroll + layout().x(m_buffer.caret());
        return QRect(x, content.top(), 1, content.height());
    }
    case Qt::ImEnabled:
        return true;
    default:
        return QWidget::inputMethodQuery(query);
    }
}

void PatternField::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_buffer.setCaret(positionAt(event->position().toPoint()), event->modifiers() & Qt::ShiftModifier);
    caretMoved();
}

void PatternField::mouseMoveEvent(QMouseEvent *event)
{
    if (!(event->buttons() & Qt::LeftButton))
        return;
    m_buffer.setCaret(positionAt(event->position().toPoint()), true);
    caretMoved();
}

void PatternField::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    m_buffer.selectWordAt(layout().positionUnder(event->position().toPoint().x() - contentRect().left() + m_scroll));
    caretMoved();
}

void PatternField::focusInEvent(QFocusEvent *event)
{
    restartBlink();
    update();
    QWidget::focusInEvent(event);
}

void PatternField::focusOutEvent(QFocusEvent *event)
{
    // A context menu of the field takes the focus for a moment: that is no end of the edit.
    if (event->reason() != Qt::PopupFocusReason)
        finishEditing();
    m_blink.stop();
    update();
    QWidget::focusOutEvent(event);
}

void PatternField::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != m_blink.timerId()) {
        QWidget::timerEvent(event);
        return;
    }
    m_caretVisible = !m_caretVisible;
    update();
}

void PatternField::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        caretMoved();
    QWidget::changeEvent(event);
}

void PatternField::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    const bool selected = m_buffer.hasSelection();
    const bool editable = !m_readOnly;
    menu.addAction(Localized::text("PatternFieldUndo"), this, &PatternField::undo)->setEnabled(editable && m_buffer.canUndo());
    menu.addAction(Localized::text("PatternFieldRedo"), this, &PatternField::redo)->setEnabled(editable && m_buffer.canRedo());
    menu.addSeparator();
    menu.addAction(Localized::text("PatternFieldCut"), this, &PatternField::cut)->setEnabled(editable && selected);
    menu.addAction(Localized::text("PatternFieldCopy"), this, &PatternField::copy)->setEnabled(selected);
    menu.addAction(Localized::text("PatternFieldPaste"), this, &PatternField::paste)
        ->setEnabled(editable && !PatternClipboard::pattern(QGuiApplication::clipboard()->mimeData()).isEmpty());
    menu.addAction(Localized::text("PatternFieldDelete"), this, [this] { edited(m_buffer.removeSelection()); })->setEnabled(editable && selected);
    menu.addSeparator();
    menu.addAction(Localized::text("MenuSelectAll"), this, &PatternField::selectAll)->setEnabled(m_buffer.length() > 0);
    menu.exec(event->globalPos());
}

void PatternField::copy() const
{
    if (m_buffer.hasSelection())
        QGuiApplication::clipboard()->setMimeData(PatternClipboard::mimeData(m_buffer.selectedPattern()));
}

void PatternField::cut()
{
    if (m_readOnly || !m_buffer.hasSelection())
        return;
    copy();
    edited(m_buffer.removeSelection());
}

void PatternField::paste()
{
    if (m_readOnly)
        return;
    const Pattern piece = PatternClipboard::pattern(QGuiApplication::clipboard()->mimeData());
    edited(m_buffer.insertPattern(piece));
}

void PatternField::undo()
{
    if (!m_readOnly)
        edited(m_buffer.undo());
}

void PatternField::redo()
{
    if (!m_readOnly)
        edited(m_buffer.redo());
}
