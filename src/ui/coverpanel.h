#pragma once

#include "editor/leadimage.h"

#include <QFrame>
#include <QImage>
#include <QPixmap>
#include <QTemporaryDir>

#include <memory>

class ImageController;
class QLabel;
class QMimeData;
class QToolButton;

// Where the cover panel shows the lead picture: the picture fitted into it, the "drop"
// placeholder while the selected songs have none, nothing without a selection. Pictures and
// JPEG or PNG files dropped on it are added to the selected songs; the shown picture can be
// dragged out to a file manager as a file.
class CoverPictureView : public QFrame {
    Q_OBJECT

public:
    explicit CoverPictureView(ImageController *images, QWidget *parent = nullptr);

    void setLeadImage(const LeadImage &leadImage);
    const QImage &picture() const { return m_picture; }
    bool showsPlaceholder() const { return m_leadImage.kind == LeadImage::Kind::Placeholder; }

    // The data a drag out carries: the picture written as a file into a folder of its own (the
    // file manager copies it from there) and the picture itself. Null when no picture is shown.
    QMimeData *makeDragData();

protected:
    QSize sizeHint() const override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    bool acceptsDrop(const QDropEvent *event) const;

    ImageController *m_images;
    LeadImage m_leadImage;
    QImage m_picture;
    QPixmap m_scaled;
    QPoint m_pressedAt;
    bool m_pressed = false;
    std::unique_ptr<QTemporaryDir> m_dragFolder;
};

// The cover panel: the lead picture, the buttons that step through the pictures of the
// selection, add (the picture chooser), remove and give the lead picture to every selected
// song, the count line ("2 of 3 pictures") and the picture's size in pixels.
class CoverPanel : public QWidget {
    Q_OBJECT

public:
    explicit CoverPanel(ImageController *images, QWidget *parent = nullptr);

    void setEditingBlocked(bool blocked);

    CoverPictureView *pictureView() const { return m_view; }
    QToolButton *previousButton() const { return m_previous; }
    QToolButton *nextButton() const { return m_next; }
    QToolButton *addButton() const { return m_add; }
    QToolButton *removeButton() const { return m_remove; }
    QToolButton *applyButton() const { return m_apply; }
    QString statusText() const;
    QString sizeText() const;

private:
    void showLead();

    ImageController *m_images;
    CoverPictureView *m_view;
    QToolButton *m_previous;
    QToolButton *m_next;
    QToolButton *m_add;
    QToolButton *m_remove;
    QToolButton *m_apply;
    QLabel *m_status;
    QLabel *m_size;
    bool m_blocked = false;
};
