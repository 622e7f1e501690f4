#pragma once

#include "editor/leadimage.h"
#include "model/image.h"
#include "model/noneindex.h"
#include "model/result.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

class EditorController;
class QImage;
class Song;

// The cover panel: the distinct pictures of the selected songs, a cursor on one of them (the
// lead image) and the commands that add, remove and spread pictures across the selection.
// Pictures live in the songs; the controller keeps the list it last computed, the cursor and
// the lead image.
//
// The window calls selectionDidChange() when the table selection changes and imagesDidChange()
// when the pictures of a selected song changed by other means than these commands (the
// commands bring the list up to date themselves). Both bring the lead image back to the first
// picture when the list changed. The controller must not outlive the song controller, whose
// questions give the file chooser.
class ImageController : public QObject {
    Q_OBJECT

public:
    explicit ImageController(EditorController *songsController, QObject *parent = nullptr);

    // The picture list (arrangedObjects); nullopt when no song is selected.
    const std::optional<QList<Image>> &arrangedObjects() const { return m_pictures; }
    qsizetype pictureCount() const { return m_pictures ? m_pictures->size() : 0; }
    // Position of the lead image in the picture list, or NoneIndex.
    qint64 leadImageCursor() const { return m_cursor; }
    const LeadImage &leadImage() const { return m_leadImage; }

    // Commands.
    // Shows the chooser for JPEG and PNG files and adds each chosen file whose bytes are a valid
    // JPEG or PNG, in the chosen order; others are skipped silently. Nothing without a selection.
    void addImage();
    // Scales the bytes if the settings ask for it and adds one picture made of them to every
    // selected song; the cursor goes to the last picture. Nothing without a selection.
    void addImageWithData(const QByteArray &data);
    void removeLeadImage();
    void removeAllImages();
    void applyLeadImageToSelection();
    void moveLeadImageForward();
    void moveLeadImageBackward();

    // The bytes of the picture at the cursor; empty when the cursor is NoneIndex.
    QByteArray leadImageData() const;
    // Brings the cursor into the list: NoneIndex for no or an empty list; otherwise it stays
    // where it is if reset is false and it is in range, else it goes to 0.
    void validateLeadImageCursor(bool reset);
    void updateLeadImageWithCursor();
    // "NoImages", "1Image" or "NImages" with the position and the count.
    QString statusMessage() const;

    // Entry points of the window.
    void selectionDidChange();
    void imagesDidChange();

    // Dropping on the cover panel. A drop needs a selected song; the window offers copying.
    bool canAcceptDrop() const;
    // File references: refused (false, nothing added) unless CoverDragDrop::isAcceptableFileDrop;
    // otherwise each file whose bytes are a valid JPEG or PNG is added.
    bool dropFiles(const QStringList &paths);
    // A dropped picture, encoded as JPEG and added; false if it cannot be encoded.
    bool dropPicture(const QImage &picture);

    // Dragging the lead picture out: writes it into the folder under a name made from the first
    // selected song, never replacing a file; returns the path written.
    Result<QString> writeLeadImageIntoFolder(const QString &folder) const;

signals:
    void arrangedObjectsChanged();
    void leadImageChanged();
    void statusMessageChanged();

private:
    // Recomputes the picture list; with force, or when it differs from the one held, reacts to
    // the change: the cursor back to the first picture, the lead image and the status anew.
    void rearrangeObjects(bool force);
    bool setPictures(const std::optional<QList<Image>> &pictures);
    const Image *pictureAtCursor() const;

    EditorController *m_songsController;
    std::optional<QList<Image>> m_pictures;
    qint64 m_cursor = NoneIndex;
    LeadImage m_leadImage;
};
