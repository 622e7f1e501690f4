#include "barewriter.h"

#include <taglib/aifffile.h>
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

bool setMp3(const char *path, const TagLib::String &title)
{
    TagLib::MPEG::File file(path, ReadProperties);
    if (!file.isValid())
        return false;
    file.ID3v2Tag(true)->setTitle(title);
    return file.save(TagLib::MPEG::File::AllTags, TagLib::File::StripNone, TagLib::ID3v2::v4,
                     TagLib::File::DoNotDuplicate);
}

bool setMp4(const char *path, const TagLib::String &title)
{
    TagLib::MP4::File file(path, ReadProperties);
    if (!file.isValid() || !file.tag())
        return false;
    file.tag()->setTitle(title);
    return file.save();
}

bool setFlac(const char *path, const TagLib::String &title)
{
    TagLib::FLAC::File file(path, ReadProperties);
    if (!file.isValid())
        return false;
    file.xiphComment(true)->setTitle(title);
    return file.save();
}

bool setAiff(const char *path, const TagLib::String &title)
{
    TagLib::RIFF::AIFF::File file(path, ReadProperties);
    if (!file.isValid() || !file.tag())
        return false;
    file.tag()->setTitle(title);
    return file.save();
}

bool setWav(const char *path, const TagLib::String &title)
{
    TagLib::RIFF::WAV::File file(path, ReadProperties);
    if (!file.isValid() || !file.ID3v2Tag())
        return false;
    file.ID3v2Tag()->setTitle(title);
    return file.save();
}

} // namespace

int setTitles(const QStringList &paths, const QString &title)
{
    const TagLib::String text(title.toUtf8().constData(), TagLib::String::UTF8);
    int saved = 0;
    for (const QString &path : paths) {
        const QByteArray name = path.toUtf8();
        const QString extension = path.section(u'.', -1).toLower();
        bool ok = false;
        if (extension == u"mp3")
            ok = setMp3(name.constData(), text);
        else if (extension == u"m4a" || extension == u"m4b")
            ok = setMp4(name.constData(), text);
        else if (extension == u"flac")
            ok = setFlac(name.constData(), text);
        else if (extension == u"aif" || extension == u"aiff")
            ok = setAiff(name.constData(), text);
        else if (extension == u"wav")
            ok = setWav(name.constData(), text);
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
