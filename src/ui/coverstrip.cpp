#include "ui/coverstrip.h"

#include "lookup/browsercontroller.h"
#include "lookup/cover.h"
#include "model/picturedata.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>
#include <QWheelEvent>

#include <algorithm>

namespace {

// At most this many bytes of scaled pictures are kept (about 300 items of 200 pixels).
constexpr qsizetype ScaledCacheBytes = 48 * 1024 * 1024;
constexpr int CaptionPixelSize = 11;
const QColor MarkColour(200, 200, 200);
const QColor CaptionColour(Qt::white);
const QColor BackgroundTop(0x3a, 0x3b, 0x3e);
const QColor BackgroundBottom(0x1e, 0x1f, 0x21);
const QColor EmptyPictureColour(0x5a, 0x5b, 0x5e);

} // namespace

// ---- Layout -----------------------------------------------------------------------------------------

CoverStripLayout::CoverStripLayout(int visibleHeight, int count)
    : visibleHeight(visibleHeight)
    , count(std::max(count, 0))
    , edgeLength(std::max(visibleHeight - Gap - BottomMargin - CaptionHeight, 0))
{
}

QRect CoverStripLayout::itemRect(int index) const
{
    const int height = edgeLength + CaptionHeight;
    return QRect(Gap + index * pitch(), visibleHeight - BottomMargin - height, edgeLength, height);
}

QRect CoverStripLayout::pictureRect() const
{
    return QRect(Inset, PictureTop, edgeLength - 2 * Inset, edgeLength - 2 * Inset);
}

QRect CoverStripLayout::captionRect() const
{
    return QRect(0, edgeLength, edgeLength, CaptionHeight);
}

QPolygonF CoverStripLayout::markTriangle() const
{
    const qreal middle = edgeLength / 2.0;
    return QPolygonF({QPointF(middle - MarkHalfWidth, 0), QPointF(middle + MarkHalfWidth, 0),
                      QPointF(middle, MarkDepth)});
}

int CoverStripLayout::indexAt(QPoint contentPoint) const
{
    if (edgeLength <= 0 || contentPoint.x() < Gap)
        return -1;
    const int index = (contentPoint.x() - Gap) / pitch();
    if (index >= count || !itemRect(index).contains(contentPoint))
        return -1;
    return index;
}

std::pair<int, int> CoverStripLayout::itemsIn(int left, int width) const
{
    if (count == 0 || width <= 0)
        return {0, -1};
    const int first = std::max((left - Gap - edgeLength) / pitch(), 0);
    const int last = std::min((left + width - Gap) / pitch(), count - 1);
    return {first, last};
}

int CoverStripLayout::scrollToShow(int selected, int visibleWidth) const
{
    // Whole items that fit, less one; a view narrower than one item starts at the selected one.
    const int before = std::clamp(visibleWidth / pitch() - 1, 0, std::max(selected, 0));
    return (selected - before) * pitch();
}

// ---- Strip ------------------------------------------------------------------------------------------

CoverStrip::CoverStrip(QWidget *parent)
    : QAbstractScrollArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setFocusPolicy(Qt::NoFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    QFont captionFont = font();
    captionFont.setPixelSize(CaptionPixelSize);
    setFont(captionFont);
    m_scaled.setMaxCost(ScaledCacheBytes);
    updateGeometries();
}

CoverStrip::~CoverStrip() = default;

void CoverStrip::setCovers(const QList<std::shared_ptr<Cover>> &covers)
{
    m_covers = covers;
    m_captions.clear();
    m_captions.reserve(m_covers.size());
    for (const auto &cover : std::as_const(m_covers))
        m_captions.append(cover ? BrowserController::labelForCover(*cover) : QString());
    m_scaled.clear();
    m_selected = 0;
    m_markShown = !m_covers.isEmpty();
    // A strip without items takes no focus.
    setFocusPolicy(m_covers.isEmpty() ? Qt::NoFocus : Qt::StrongFocus);
    updateGeometries();
    horizontalScrollBar()->setValue(0);
    viewport()->update();
}

void CoverStrip::setSelectedIndex(int index)
{
    if (index < 0 || index >= count())
        return;
    tabTo(index);
}

void CoverStrip::coverChanged(int index)
{
    if (index < 0 || index >= count())
        return;
    m_scaled.remove(index);
    const auto &cover = m_covers.at(index);
    m_captions[index] = cover ? BrowserController::labelForCover(*cover) : QString();
    viewport()->update(visualItemRect(index));
}

CoverStripLayout CoverStrip::stripLayout() const
{
    return CoverStripLayout(visibleHeight(), count());
}

int CoverStrip::visibleHeight() const
{
    int height = contentsRect().height();
    const QScrollBar *bar = horizontalScrollBar();
    if (!style()->styleHint(QStyle::SH_ScrollBar_Transient, nullptr, bar))
        height -= bar->sizeHint().height();
    return std::max(height, 0);
}

int CoverStrip::scrollPosition() const
{
    return horizontalScrollBar()->value();
}

QRect CoverStrip::visualItemRect(int index) const
{
    return stripLayout().itemRect(index).translated(-scrollPosition(), 0);
}

int CoverStrip::indexAt(QPoint viewportPoint) const
{
    return stripLayout().indexAt(viewportPoint + QPoint(scrollPosition(), 0));
}

QString CoverStrip::captionText(int index) const
{
    return index >= 0 && index < count() ? m_captions.at(index) : QString();
}

QString CoverStrip::toolTipAt(QPoint viewportPoint) const
{
    const int index = indexAt(viewportPoint);
    if (index < 0)
        return {};
    const CoverStripLayout layout = stripLayout();
    const QPoint inItem = viewportPoint - visualItemRect(index).topLeft();
    if (layout.pictureRect().contains(inItem))
        return PictureData::pixelSize(pictureOf(index)).value_or(QString());
    if (layout.captionRect().contains(inItem))
        return m_captions.at(index);
    return {};
}

QImage CoverStrip::pictureOf(int index) const
{
    if (index < 0 || index >= count() || !m_covers.at(index))
        return {};
    const Cover &cover = *m_covers.at(index);
    if (cover.imageUID().isEmpty())
        return placeholderPicture(NoImageUID);
    if (Cover::isPlaceholderUID(cover.imageUID()))
        return placeholderPicture(cover.imageUID());
    return cover.image();
}

QImage CoverStrip::placeholderPicture(const QString &uid)
{
    if (!Cover::isPlaceholderUID(uid))
        return {};
    // Loaded once; the widgets live on one thread.
    static QHash<QString, QImage> loaded;
    auto found = loaded.find(uid);
    if (found == loaded.end())
        found = loaded.insert(uid, QImage(QStringLiteral(":/ui/images/%1.png").arg(uid)));
    return *found;
}

// ---- Selection --------------------------------------------------------------------------------------

void CoverStrip::clickOn(int index)
{
    if (index < 0 || index >= count())
        return;
    m_markShown = true;
    viewport()->update(visualItemRect(index));
    if (index == m_selected)
        return;
    viewport()->update(visualItemRect(m_selected));
    m_selected = index;
    emit selectionChanged(index);
}

void CoverStrip::tabTo(int index)
{
    clickOn(index);
    horizontalScrollBar()->setValue(stripLayout().scrollToShow(m_selected, viewport()->width()));
}

void CoverStrip::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        const int index = indexAt(event->position().toPoint());
        if (index >= 0) {
            clickOn(index);
            event->accept();
            return;
        }
    }
    QAbstractScrollArea::mousePressEvent(event);
}

void CoverStrip::keyPressEvent(QKeyEvent *event)
{
    if (count() == 0 || event->modifiers() & ~(Qt::KeypadModifier)) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    const int wholeItems = std::max(viewport()->width() / stripLayout().pitch(), 1);
    int target = -1;
    switch (event->key()) {
    case Qt::Key_Left:
        target = m_selected - 1;
        break;
    case Qt::Key_Right:
        target = m_selected + 1;
        break;
    case Qt::Key_Home:
        target = 0;
        break;
    case Qt::Key_End:
        target = count() - 1;
        break;
    case Qt::Key_PageUp:
        target = std::max(m_selected - wholeItems, 0);
        break;
    case Qt::Key_PageDown:
        target = std::min(m_selected + wholeItems, count() - 1);
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    if (target >= 0 && target < count())
        tabTo(target);
    event->accept();
}

bool CoverStrip::focusNextPrevChild(bool next)
{
    // Tab steps from item to item as long as there is one in that direction.
    const int target = m_selected + (next ? 1 : -1);
    if (hasFocus() && target >= 0 && target < count()) {
        tabTo(target);
        return true;
    }
    return QAbstractScrollArea::focusNextPrevChild(next);
}

void CoverStrip::focusInEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusInEvent(event);
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
        // The keyboard brings the focus to the first item, which it thereby selects. Focus given
        // otherwise (a page of the window shown again, a search ended) leaves the selection.
        if (count() > 0)
            tabTo(0);
        break;
    default:
        break;
    }
}

void CoverStrip::focusOutEvent(QFocusEvent *event)
{
    QAbstractScrollArea::focusOutEvent(event);
    switch (event->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
    case Qt::MenuBarFocusReason:
        // The focus stays here as far as the window is concerned.
        break;
    default:
        if (m_markShown && count() > 0) {
            m_markShown = false;
            viewport()->update(visualItemRect(m_selected));
        }
        break;
    }
}

// ---- Scrolling and painting -------------------------------------------------------------------------

void CoverStrip::updateGeometries()
{
    const CoverStripLayout layout = stripLayout();
    if (layout.edgeLength != m_layoutEdge) {
        m_scaled.clear();
        m_layoutEdge = layout.edgeLength;
    }
    QScrollBar *bar = horizontalScrollBar();
    const int width = viewport()->width();
    bar->setRange(0, std::max(layout.contentWidth() - width, 0));
    bar->setPageStep(std::max(width, 1));
    bar->setSingleStep(std::max(layout.pitch() / 4, 1));
}

void CoverStrip::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    // A selected item that was wholly in view stays in view when the items grow or the view
    // narrows.
    const int oldPitch = m_layoutEdge + CoverStripLayout::Gap;
    const int oldLeft = CoverStripLayout::Gap + m_selected * oldPitch - scrollPosition();
    const bool wasInView = m_layoutEdge > 0 && count() > 0 && oldLeft >= 0
        && oldLeft + m_layoutEdge <= event->oldSize().width();
    updateGeometries();
    if (wasInView && !viewport()->rect().contains(visualItemRect(m_selected)))
        horizontalScrollBar()->setValue(stripLayout().scrollToShow(m_selected, viewport()->width()));
}

void CoverStrip::wheelEvent(QWheelEvent *event)
{
    // A wheel turned either way scrolls along the strip.
    QCoreApplication::sendEvent(horizontalScrollBar(), event);
}

bool CoverStrip::viewportEvent(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString text = toolTipAt(help->pos());
        if (text.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(help->globalPos(), text, viewport());
        }
        return true;
    }
    return QAbstractScrollArea::viewportEvent(event);
}

QPixmap CoverStrip::scaledPicture(int index, QSize side)
{
    if (const QPixmap *cached = m_scaled.object(index))
        return *cached;
    const QImage picture = pictureOf(index);
    if (picture.isNull() || side.isEmpty())
        return {};
    const qreal ratio = devicePixelRatioF();
    QPixmap scaled = QPixmap::fromImage(
        picture.scaled(side * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    scaled.setDevicePixelRatio(ratio);
    const qsizetype bytes = qsizetype(scaled.width()) * scaled.height() * 4;
    m_scaled.insert(index, new QPixmap(scaled), std::max<qsizetype>(bytes, 1));
    return scaled;
}

void CoverStrip::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    QLinearGradient background(0, 0, 0, viewport()->height());
    background.setColorAt(0, BackgroundTop);
    background.setColorAt(1, BackgroundBottom);
    painter.fillRect(event->rect(), background);

    const CoverStripLayout layout = stripLayout();
    if (layout.edgeLength <= 2 * CoverStripLayout::Inset)
        return;
    const int scrolled = scrollPosition();
    const QRect dirty = event->rect();
    const auto [first, last] = layout.itemsIn(scrolled + dirty.left(), dirty.width());
    const QFontMetrics metrics(font());
    painter.setFont(font());
    for (int index = first; index <= last; ++index) {
        const QRect item = layout.itemRect(index).translated(-scrolled, 0);
        const QRect square = layout.pictureRect().translated(item.topLeft());
        const QPixmap picture = scaledPicture(index, square.size());
        if (picture.isNull()) {
            painter.setPen(EmptyPictureColour);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(square.adjusted(0, 0, -1, -1));
        } else {
            const QSize shown = picture.deviceIndependentSize().toSize();
            QRect at(QPoint(), shown);
            at.moveCenter(square.center());
            painter.drawPixmap(at.topLeft(), picture);
        }

        // Each line of the caption cut off at its end when too long.
        QStringList lines = m_captions.at(index).split(QLatin1Char('\n'));
        for (QString &line : lines)
            line = metrics.elidedText(line, Qt::ElideRight, item.width());
        painter.setPen(CaptionColour);
        painter.drawText(layout.captionRect().translated(item.topLeft()), Qt::AlignCenter,
                         lines.join(QLatin1Char('\n')));

        if (index == m_selected && m_markShown) {
            painter.save();
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(MarkColour);
            painter.drawPolygon(layout.markTriangle().translated(item.topLeft()));
            painter.restore();
        }
    }
}

QSize CoverStrip::sizeHint() const
{
    const int bar = horizontalScrollBar()->sizeHint().height();
    return QSize(4 * (200 + CoverStripLayout::Gap) + CoverStripLayout::Gap, 259 + bar);
}

QSize CoverStrip::minimumSizeHint() const
{
    const int bar = horizontalScrollBar()->sizeHint().height();
    // Room for a picture of 64 pixels.
    const int height = 64 + 2 * CoverStripLayout::Inset + CoverStripLayout::Gap + CoverStripLayout::BottomMargin
        + CoverStripLayout::CaptionHeight;
    return QSize(height + 2 * CoverStripLayout::Gap, height + bar);
}
