#include "ui/patternfield.h"

#include "model/localized.h"
#include "model/userdefaults.h"
#include "tools/patternsyntax.h"
#include "tools/tagfieldrules.h"
#include "tools/tokenutil.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <QStyleOptionFrame>

namespace {

// Room inside a chip around its name, and between a chip and its neighbours.
constexpr int ChipPadding = 5;
constexpr int ChipMargin = 1;
// Room between the frame and the text.
constexpr int TextMargin = 2;

} // namespace

// Where each caret position and each chip lies, in content coordinates before scrolling.
struct PatternField::Layout {
    QList<int> x;              // x of every caret position, length + 1 entries
    QList<int> chips;          // the positions that hold a token
    QList<QString> chipTexts;  // their display names
};

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
    connect(&UserDefaults::shared(), &UserDefaults::valueChanged, this, [this](const QString &changed) {
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
    const Layout places = layout();
    const int caretX = places.x.value(m_buffer.caret());
    const int visible = qMax(1, contentRect().width() - 1);
    const int total = places.x.last();
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

PatternField::Layout PatternField::layout() const
{
    const QFontMetrics metrics(font());
    Layout places;
    int x = 0;
    places.x.append(x);
    for (const PatternElement &element : m_buffer.pattern()) {
        if (element.isToken()) {
            const QString name = TagFieldRules::displayText(element);
            places.chips.append(places.x.size() - 1);
            places.chipTexts.append(name);
            x += metrics.horizontalAdvance(name) + 2 * (ChipPadding + ChipMargin);
            places.x.append(x);
            continue;
        }
        const QString &text = element.text();
        for (qsizetype i = 1; i <= text.size(); ++i)
            places.x.append(x + metrics.horizontalAdvance(text.first(i)));
        x = places.x.last();
    }
    return places;
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
    const Layout places = layout();
    const int x = point.x() - contentRect().left() + m_scroll;
    int best = 0;
    for (int i = 1; i < places.x.size(); ++i) {
        if (qAbs(places.x[i] - x) < qAbs(places.x[best] - x))
            best = i;
    }
    return best;
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
    painter.translate(content.left() - m_scroll, 0);
    const Layout places = layout();
    const QFontMetrics metrics(font());
    const int top = content.top() + (content.height() - metrics.height()) / 2;
    const int baseline = top + metrics.ascent();
    const qsizetype selStart = m_buffer.selectionStart();
    const qsizetype selEnd = m_buffer.selectionEnd();
    const QPalette &colors = palette();

    if (m_buffer.hasSelection())
        painter.fillRect(QRect(places.x[selStart], top, places.x[selEnd] - places.x[selStart], metrics.height()), colors.highlight());

    qsizetype position = 0;
    int chip = 0;
    for (const PatternElement &element : m_buffer.pattern()) {
        const int left = places.x[position];
        if (element.isToken()) {
            const bool selected = position >= selStart && position < selEnd;
            const QRectF box(left + ChipMargin + 0.5, top - 1.5, places.x[position + 1] - left - 2 * ChipMargin - 1, metrics.height() + 2);
            QColor fill = colors.color(QPalette::Highlight);
            fill.setAlpha(selected ? 255 : 56);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(colors.color(QPalette::Highlight));
            painter.setBrush(fill);
            painter.drawRoundedRect(box, box.height() / 2.5, box.height() / 2.5);
            painter.setPen(selected ? colors.color(QPalette::HighlightedText) : colors.color(QPalette::Text));
            painter.drawText(left + ChipMargin + ChipPadding, baseline, places.chipTexts[chip++]);
        } else {
            painter.setPen(colors.color(QPalette::Text));
            painter.drawText(left, baseline, element.text());
            const qsizetype from = qBound(position, selStart, position + element.width());
            const qsizetype to = qBound(position, selEnd, position + element.width());
            if (from < to) {
                painter.save();
                painter.setClipRect(QRect(places.x[from], top, places.x[to] - places.x[from], metrics.height()), Qt::IntersectClip);
                painter.setPen(colors.color(QPalette::HighlightedText));
                painter.drawText(left, baseline, element.text());
                painter.restore();
            }
        }
        position += element.width();
    }
    if (hasFocus() && m_caretVisible && !m_readOnly && !m_buffer.hasSelection())
        painter.fillRect(QRect(places.x[m_buffer.caret()], top, 1, metrics.height()), colors.text());
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
        const int x = content.left() - m_scroll + layout().x.value(m_buffer.caret());
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
    // The position whose character lies under the pointer: the boundary on its left.
    const int x = event->position().toPoint().x() - contentRect().left() + m_scroll;
    const Layout places = layout();
    qsizetype cell = 0;
    while (cell + 1 < places.x.size() - 1 && places.x[cell + 1] <= x)
        ++cell;
    m_buffer.selectWordAt(cell);
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
        ->setEnabled(editable && !patternFromMimeData(QGuiApplication::clipboard()->mimeData()).isEmpty());
    menu.addAction(Localized::text("PatternFieldDelete"), this, [this] { edited(m_buffer.removeSelection()); })->setEnabled(editable && selected);
    menu.addSeparator();
    menu.addAction(Localized::text("MenuSelectAll"), this, &PatternField::selectAll)->setEnabled(m_buffer.length() > 0);
    menu.exec(event->globalPos());
}

QMimeData *PatternField::mimeDataFor(const Pattern &piece)
{
    auto *data = new QMimeData;
    const QJsonArray stored = QJsonArray::fromVariantList(PatternUtil::toStoredForm(piece));
    data->setData(QString::fromLatin1(MimeType), QJsonDocument(stored).toJson(QJsonDocument::Compact));
    data->setText(PatternSyntax::format(piece));
    return data;
}

Pattern PatternField::patternFromMimeData(const QMimeData *data)
{
    if (!data)
        return {};
    const QString type = QString::fromLatin1(MimeType);
    if (data->hasFormat(type)) {
        const QJsonDocument document = QJsonDocument::fromJson(data->data(type));
        if (document.isArray())
            return PatternUtil::fromStoredForm(document.array().toVariantList());
    }
    // Plain text stays literal; a line break would end the single line.
    QString text = data->text();
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    if (text.isEmpty())
        return {};
    return {PatternElement::literal(text)};
}

void PatternField::copy() const
{
    if (m_buffer.hasSelection())
        QGuiApplication::clipboard()->setMimeData(mimeDataFor(m_buffer.selectedPattern()));
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
    const Pattern piece = patternFromMimeData(QGuiApplication::clipboard()->mimeData());
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
