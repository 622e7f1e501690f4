#include "barewriter.h"

#include <taglib/aifffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

namespace BareWriter {

namespace {

// Writing a tag needs no audio properties.
constexpr bool ReadProperties = false;

void addPicture(TagLib::ID3v2::Tag *tag, const TagLib::ByteVector &picture)
{
    if (picture.isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
    frame->setMimeType("image/jpeg");
    frame->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    frame->setPicture(picture);
    tag->addFrame(frame);
}

bool setMp3(const char *path, const TagLib::String &title, const TagLib::ByteVector &picture)
{
    TagLib::MPEG::File file(path, ReadProperties);
    if (!file.isValid())
        return false;
    file.ID3v2Tag(true)->setTitle(title);
    addPicture(file.ID3v2Tag(), picture);
    return file.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone, TagLib::ID3v2::v4,
                     TagLib::File::DoNotDuplicate);
}

bool setMp4(const char *path, const TagLib::String &title, const TagLib::ByteVector &picture)
{
    TagLib::MP4::File file(path, ReadProperties);
    if (!file.isValid() || !file.tag())
        return false;
    file.tag()->setTitle(title);
    if (!picture.isEmpty()) {
        // Added to the covers there are, as the editor adds a picture.
        TagLib::MP4::CoverArtList covers = file.tag()->item("covr").toCoverArtList();
        covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::JPEG, picture));
        file.tag()->setItem("covr", TagLib::MP4::Item(covers));
    }
    return file.save();
}

bool setFlac(const char *path, const TagLib::String &title, const TagLib::ByteVector &picture)
{
    TagLib::FLAC::File file(path, ReadProperties);
    if (!file.isValid())
        return false;
    file.xiphComment(true)->setTitle(title);
    if (!picture.isEmpty()) {
        auto *block = new TagLib::FLAC::Picture;
        block->setMimeType("image/jpeg");
        block->setType(TagLib::FLAC::Picture::FrontCover);
        block->setData(picture);
        file.addPicture(block);
    }
    return file.save();
}

bool setAiff(const char *path, const TagLib::String &title, const TagLib::ByteVector &picture)
{
    TagLib::RIFF::AIFF::File file(path, ReadProperties);
    if (!file.isValid() || !file.tag())
        return false;
    file.tag()->setTitle(title);
    addPicture(file.tag(), picture);
    return file.save();
}

bool setWav(const char *path, const TagLib::String &title, const TagLib::ByteVector &picture)
{
    TagLib::RIFF::WAV::File file(path, ReadProperties);
    if (!file.isValid() || !file.ID3v2Tag())
        return false;
    file.ID3v2Tag()->setTitle(title);
    addPicture(file.ID3v2Tag(), picture);
    return file.save();
}

} // namespace

int setTitles(const QStringList &paths, const QString &title, const QByteArray &pictureBytes)
{
    const TagLib::String text(title.toUtf8().constData(), TagLib::String::UTF8);
    const TagLib::ByteVector picture(pictureBytes.constData(), static_cast<unsigned int>(pictureBytes.size()));
    int saved = 0;
    for (const QString &path : paths) {
        const QByteArray name = path.toUtf8();
        const QString extension = path.section(u'.', -1).toLower();
        bool ok = false;
        if (extension == u"mp3")
            ok = setMp3(name.constData(), text, picture);
        else if (extension == u"m4a" || extension == u"m4b")
            ok = setMp4(name.constData(), text, picture);
        else if (extension == u"flac")
            ok = setFlac(name.constData(), text, picture);
        else if (extension == u"aif" || extension == u"aiff")
            ok = setAiff(name.constData(), text, picture);
        else if (extension == u"wav")
            ok = setWav(name.constData(), text, picture);
        saved += ok ? 1 : 0;
    }
    return saved;
}

QString titleOf(const QString &path)
{
    const TagLib::FileRef file(path.toUtf8().constData(), false);
    if (file.isNull() || !file.tag())
        return {};
    return QString::fromStdString(file.tag()->title().to8Bit(true));
}

} // namespace BareWriter
