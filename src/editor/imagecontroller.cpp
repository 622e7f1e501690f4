#include "editor/imagecontroller.h"

#include "editor/coverdragdrop.h"
#include "editor/editorcontroller.h"
#include "editor/transformers.h"
#include "editor/userquestions.h"
#include "model/imagepool.h"
#include "model/localized.h"
#include "model/picturedata.h"
#include "model/song.h"

#include <QFile>

#include <algorithm>

namespace {

bool isPicture(const QByteArray &bytes)
{
    return PictureData::isValidJPEG(bytes) || PictureData::isValidPNG(bytes);
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

// Same pictures in the same order.
bool isSameList(const std::optional<QList<Image>> &a, const std::optional<QList<Image>> &b)
{
    if (a.has_value() != b.has_value())
        return false;
    if (!a)
        return true;
    return std::equal(a->cbegin(), a->cend(), b->cbegin(), b->cend(),
                      [](const Image &x, const Image &y) { return x.isEqualToImage(y); });
}

} // namespace

ImageController::ImageController(EditorController *songsController, QObject *parent)
    : QObject(parent)
    , m_songsController(songsController)
{
}

void ImageController::addImage()
{
    if (m_songsController->selectedObjects().isEmpty())
        return;
    UserQuestions::FileChoice choice;
    choice.promptKey = QStringLiteral("Add");
    choice.messageKey = QStringLiteral("AddImageFilesToEmbed");
    choice.titleKey = QStringLiteral("Add");
    choice.extensions = {QStringLiteral("jpg"), QStringLiteral("jpeg"), QStringLiteral("png")};
    choice.allowFolders = false;
    choice.allowMultiple = true;
    choice.resolveAliases = true;
    const std::optional<QStringList> paths = m_songsController->questions()->chooseFiles(choice);
    if (!paths)
        return;
    for (const QString &path : *paths) {
        const std::optional<QByteArray> bytes = readFile(path);
        if (bytes && isPicture(*bytes))
            addImageWithData(*bytes);
    }
}

void ImageController::addImageWithData(const QByteArray &data)
{
    const QList<Song *> selection = m_songsController->selectedObjects();
    if (selection.isEmpty())
        return;
    // One Image for every song: they all share the (possibly scaled) buffer.
    const Image image = ImagePool::shared().imageFor(PictureData::scaleIfNeeded(data));
    for (Song *song : selection)
        song->addImage(image);
    rearrangeObjects(false);
    m_cursor = pictureCount() > 0 ? pictureCount() - 1 : NoneIndex;
    updateLeadImageWithCursor();
}

void ImageController::removeLeadImage()
{
    const Image *lead = pictureAtCursor();
    if (!lead)
        return;
    const Image picture = *lead; // the list is recomputed below
    for (Song *song : m_songsController->selectedObjects())
        song->removeImage(picture);
    rearrangeObjects(false);
    validateLeadImageCursor(false);
    updateLeadImageWithCursor();
}

void ImageController::removeAllImages()
{
    for (Song *song : m_songsController->selectedObjects())
        song->removeAllImages();
    rearrangeObjects(false);
    m_cursor = NoneIndex;
    updateLeadImageWithCursor();
}

void ImageController::applyLeadImageToSelection()
{
    const QList<Song *> selection = m_songsController->selectedObjects();
    const Image *lead = pictureAtCursor();
    if (selection.isEmpty() || !lead)
        return;
    const Image picture = *lead;
    bool changed = false;
    for (Song *song : selection) {
        const int before = song->countOfImages();
        song->addImage(picture);
        changed = changed || song->countOfImages() != before;
    }
    // A song that gained the picture is a change of the pictures of the selection, even when
    // the list of distinct pictures comes out the same.
    rearrangeObjects(changed);
}

void ImageController::moveLeadImageForward()
{
    if (m_cursor == NoneIndex)
        return;
    m_cursor = m_cursor >= pictureCount() - 1 ? 0 : m_cursor + 1;
    updateLeadImageWithCursor();
}

void ImageController::moveLeadImageBackward()
{
    if (m_cursor == NoneIndex)
        return;
    m_cursor = m_cursor <= 0 ? pictureCount() - 1 : m_cursor - 1;
    updateLeadImageWithCursor();
}

QByteArray ImageController::leadImageData() const
{
    const Image *lead = pictureAtCursor();
    return lead ? lead->data() : QByteArray();
}

void ImageController::validateLeadImageCursor(bool reset)
{
    if (pictureCount() == 0)
        m_cursor = NoneIndex;
    else if (reset || m_cursor >= pictureCount())
        m_cursor = 0;
}

void ImageController::updateLeadImageWithCursor()
{
    LeadImage lead;
    if (const Image *picture = pictureAtCursor())
        lead = LeadImage::picture(picture->data());
    else if (!m_songsController->selectedObjects().isEmpty())
        lead = LeadImage::placeholder();
    m_leadImage = lead;
    emit leadImageChanged();
    emit statusMessageChanged();
}

QString ImageController::statusMessage() const
{
    const qsizetype count = pictureCount();
    if (count == 0)
        return Localized::text("NoImages");
    if (count == 1)
        return Localized::text("1Image");
    const qint64 position = m_cursor == NoneIndex ? 0 : m_cursor + 1;
    return Localized::text("NImages").arg(position).arg(count);
}

void ImageController::selectionDidChange()
{
    rearrangeObjects(true);
}

void ImageController::imagesDidChange()
{
    rearrangeObjects(false);
}

bool ImageController::canAcceptDrop() const
{
    return !m_songsController->selectedObjects().isEmpty();
}

bool ImageController::dropFiles(const QStringList &paths)
{
    if (!canAcceptDrop() || !CoverDragDrop::isAcceptableFileDrop(paths))
        return false;
    for (const QString &path : paths) {
        const std::optional<QByteArray> bytes = readFile(path);
        if (bytes && isPicture(*bytes))
            addImageWithData(*bytes);
    }
    return true;
}

bool ImageController::dropPicture(const QImage &picture)
{
    if (!canAcceptDrop())
        return false;
    const QByteArray jpeg = CoverDragDrop::jpegData(picture);
    if (jpeg.isEmpty())
        return false;
    addImageWithData(jpeg);
    return true;
}

Result<QString> ImageController::writeLeadImageIntoFolder(const QString &folder) const
{
    const QByteArray data = leadImageData();
    if (data.isEmpty())
        return Error{ErrorCode::NotFound, folder};
    const QList<Song *> selection = m_songsController->selectedObjects();
    const Song *first = selection.isEmpty() ? nullptr : selection.first();
    return CoverDragDrop::writeIntoFolder(folder, CoverDragDrop::fileBaseName(first), data);
}

void ImageController::rearrangeObjects(bool force)
{
    const bool changed = setPictures(ImagesOfSongs2ArrayTransformer::transformedValue(
        m_songsController->selectedObjects()));
    if (!changed && !force)
        return;
    validateLeadImageCursor(true);
    updateLeadImageWithCursor();
}

bool ImageController::setPictures(const std::optional<QList<Image>> &pictures)
{
    if (isSameList(pictures, m_pictures))
        return false;
    m_pictures = pictures;
    emit arrangedObjectsChanged();
    return true;
}

const Image *ImageController::pictureAtCursor() const
{
    if (m_cursor == NoneIndex || m_cursor < 0 || m_cursor >= pictureCount())
        return nullptr;
    return &m_pictures->at(m_cursor);
}
