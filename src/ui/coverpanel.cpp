#include "ui/coverpanel.h"

#include "editor/coverdragdrop.h"
#include "editor/imagecontroller.h"
#include "model/localized.h"
#include "ui/icons.h"

#include <QApplication>
#include <QBuffer>
#include <QContextMenuEvent>
#include <QDrag>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

QImage decoded(const QByteArray &data)
{
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    return reader.read();
}

QStringList localPaths(const QMimeData *data)
{
    QStringList paths;
    for (const QUrl &url : data->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

// ---- The picture ---------------------------------------------------------------------------------

CoverPictureView::CoverPictureView(ImageController *images, QWidget *parent)
    : QFrame(parent)
    , m_images(images)
{
    setFrameShape(QFrame::StyledPanel);
    setAcceptDrops(true);
    setMinimumSize(120, 120);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAccessibleName(Localized::text("CoverPicture"));
}

QSize CoverPictureView::sizeHint() const
{
    return {260, 260};
}

void CoverPictureView::setLeadImage(const LeadImage &leadImage)
{
    if (leadImage == m_leadImage)
        return;
    m_leadImage = leadImage;
    m_picture = leadImage.kind == LeadImage::Kind::Picture ? decoded(leadImage.data) : QImage();
    m_scaled = QPixmap();
    update();
}

void CoverPictureView::resizeEvent(QResizeEvent *event)
{
    m_scaled = QPixmap();
    QFrame::resizeEvent(event);
}

void CoverPictureView::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(4, 4, -4, -4);
    if (m_leadImage.kind == LeadImage::Kind::Placeholder) {
        Icons::paintDropPlaceholder(painter, area, Localized::text("DropCoverHere"));
        return;
    }
    if (m_picture.isNull())
        return;
    const qreal ratio = devicePixelRatioF();
    const QSize target = m_picture.size().scaled(area.size() * ratio, Qt::KeepAspectRatio).boundedTo(m_picture.size());
    if (m_scaled.isNull() || m_scaled.size() != target) {
        m_scaled = QPixmap::fromImage(m_picture.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        m_scaled.setDevicePixelRatio(ratio);
    }
    const QSizeF shown = QSizeF(m_scaled.size()) / ratio;
    const QPointF origin(area.x() + (area.width() - shown.width()) / 2, area.y() + (area.height() - shown.height()) / 2);
    painter.drawPixmap(origin, m_scaled);
}

void CoverPictureView::mousePressEvent(QMouseEvent *event)
{
    m_pressed = event->button() == Qt::LeftButton && !m_picture.isNull();
    m_pressedAt = event->position().toPoint();
    QFrame::mousePressEvent(event);
}

QMimeData *CoverPictureView::makeDragData()
{
    if (m_picture.isNull())
        return nullptr;
    m_dragFolder = std::make_unique<QTemporaryDir>();
    auto *data = new QMimeData;
    if (m_dragFolder->isValid()) {
        const Result<QString> written = m_images->writeLeadImageIntoFolder(m_dragFolder->path());
        if (written)
            data->setUrls({QUrl::fromLocalFile(written.value())});
    }
    data->setImageData(m_picture);
    return data;
}

void CoverPictureView::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_pressed || (event->position().toPoint() - m_pressedAt).manhattanLength() < QApplication::startDragDistance()) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    m_pressed = false;
    QMimeData *data = makeDragData();
    if (!data)
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(data);
    drag->setPixmap(QPixmap::fromImage(m_picture.scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation)));
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

bool CoverPictureView::acceptsDrop(const QDropEvent *event) const
{
    // The panel's own picture dragged back onto it adds nothing.
    if (event->source() == this || !m_images->canAcceptDrop() || !(event->possibleActions() & Qt::CopyAction))
        return false;
    const QMimeData *data = event->mimeData();
    if (data->hasImage())
        return true;
    if (data->hasUrls()) {
        const QStringList paths = localPaths(data);
        return !paths.isEmpty() && CoverDragDrop::isAcceptableFileDrop(paths);
    }
    return false;
}

void CoverPictureView::dragEnterEvent(QDragEnterEvent *event)
{
    dragMoveEvent(event);
}

void CoverPictureView::dragMoveEvent(QDragMoveEvent *event)
{
    if (!acceptsDrop(event)) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CoverPictureView::dropEvent(QDropEvent *event)
{
    if (!acceptsDrop(event)) {
        event->ignore();
        return;
    }
    const QMimeData *data = event->mimeData();
    const bool added = data->hasImage() ? m_images->dropPicture(qvariant_cast<QImage>(data->imageData()))
                                        : m_images->dropFiles(localPaths(data));
    if (!added) {
        event->ignore();
        return;
    }
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void CoverPictureView::contextMenuEvent(QContextMenuEvent *event)
{
    if (!isEnabled() || !m_images->arrangedObjects() || m_images->pictureCount() == 0)
        return;
    QMenu menu(this);
    menu.addAction(Localized::text("RemoveAllPictures"), m_images, &ImageController::removeAllImages);
    menu.exec(event->globalPos());
}

// ---- The panel -----------------------------------------------------------------------------------

CoverPanel::CoverPanel(ImageController *images, QWidget *parent)
    : QWidget(parent)
    , m_images(images)
    , m_view(new CoverPictureView(images, this))
    , m_status(new QLabel(this))
    , m_size(new QLabel(this))
{
    const auto button = [this](Icons::Glyph glyph, const char *toolTipKey, void (ImageController::*command)()) {
        auto *made = new QToolButton(this);
        made->setIcon(Icons::icon(glyph));
        made->setAutoRaise(true);
        made->setToolTip(Localized::text(toolTipKey));
        made->setAccessibleName(Localized::text(toolTipKey));
        connect(made, &QToolButton::clicked, m_images, command);
        return made;
    };
    m_previous = button(Icons::Previous, "PreviousPicture", &ImageController::moveLeadImageBackward);
    m_next = button(Icons::Next, "NextPicture", &ImageController::moveLeadImageForward);
    m_add = button(Icons::Add, "AddPictures", &ImageController::addImage);
    m_remove = button(Icons::Remove, "RemovePicture", &ImageController::removeLeadImage);
    m_apply = button(Icons::Apply, "ApplyPictureToSelection", &ImageController::applyLeadImageToSelection);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    buttons->addWidget(m_previous);
    buttons->addWidget(m_next);
    buttons->addStretch(1);
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_apply);

    m_status->setAlignment(Qt::AlignCenter);
    m_size->setAlignment(Qt::AlignCenter);
    m_size->setForegroundRole(QPalette::PlaceholderText);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->setSpacing(4);
    layout->addWidget(m_view, 1);
    layout->addWidget(m_size);
    layout->addLayout(buttons);
    layout->addWidget(m_status);

    connect(m_images, &ImageController::leadImageChanged, this, &CoverPanel::showLead);
    connect(m_images, &ImageController::statusMessageChanged, this, &CoverPanel::showLead);
    connect(m_images, &ImageController::arrangedObjectsChanged, this, &CoverPanel::showLead);
    showLead();
}

void CoverPanel::showLead()
{
    m_view->setLeadImage(m_images->leadImage());
    const bool selected = m_images->arrangedObjects().has_value();
    const bool hasLead = m_images->leadImageCursor() != NoneIndex;
    m_status->setText(selected ? m_images->statusMessage() : QString());
    m_size->setText(LeadImage2ImageSizeTransformer::transformedValue(m_images->leadImage()).value_or(QString()));
    m_previous->setEnabled(!m_blocked && m_images->pictureCount() > 1);
    m_next->setEnabled(!m_blocked && m_images->pictureCount() > 1);
    m_add->setEnabled(!m_blocked && selected);
    m_remove->setEnabled(!m_blocked && hasLead);
    m_apply->setEnabled(!m_blocked && hasLead);
    m_view->setEnabled(!m_blocked);
}

void CoverPanel::setEditingBlocked(bool blocked)
{
    m_blocked = blocked;
    showLead();
}

QString CoverPanel::statusText() const
{
    return m_status->text();
}

QString CoverPanel::sizeText() const
{
    return m_size->text();
}
