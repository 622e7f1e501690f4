#include "baselinereader.h"

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <taglib/aifffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

namespace BaselineReader {

namespace {

constexpr auto Style = TagLib::AudioProperties::Average;

quint64 textSum(const TagLib::String &text)
{
    return text.isEmpty() ? 0 : quint64(text.to8Bit(true).size());
}

quint64 bytesSum(const TagLib::ByteVector &data)
{
    return data.isEmpty() ? 0 : quint64(data.size()) + quint64(static_cast<unsigned char>(data[data.size() / 2]));
}

quint64 genericSum(const TagLib::Tag *tag, bool withComment)
{
    if (!tag)
        return 0;
    quint64 sum = textSum(tag->title()) + textSum(tag->artist()) + textSum(tag->album())
                  + textSum(tag->genre()) + tag->year();
    if (withComment)
        sum += textSum(tag->comment());
    return sum;
}

quint64 propertiesSum(const TagLib::AudioProperties *properties)
{
    return properties ? quint64(properties->bitrate()) + quint64(properties->lengthInSeconds()) : 0;
}

quint64 id3Sum(TagLib::File &file, const TagLib::ID3v2::Tag *tag)
{
    if (!tag)
        return 0;
    quint64 sum = genericSum(tag, false) + propertiesSum(file.audioProperties());
    const TagLib::ID3v2::FrameListMap &frames = tag->frameListMap();
    for (const char *id : {"TRCK", "TCMP", "TPE2", "TCOM", "TPOS"}) {
        const auto found = frames.find(id);
        if (found != frames.end())
            for (const TagLib::ID3v2::Frame *frame : found->second)
                sum += textSum(frame->toString());
    }
    if (const auto found = frames.find("APIC"); found != frames.end())
        for (TagLib::ID3v2::Frame *frame : found->second)
            if (auto *picture = dynamic_cast<TagLib::ID3v2::AttachedPictureFrame *>(frame))
                sum += bytesSum(picture->picture());
    if (const auto found = frames.find("COMM"); found != frames.end())
        for (TagLib::ID3v2::Frame *frame : found->second)
            if (auto *comment = dynamic_cast<TagLib::ID3v2::CommentsFrame *>(frame); comment && comment->description().isEmpty())
                sum += textSum(comment->text());
    if (const auto found = frames.find("USLT"); found != frames.end())
        for (TagLib::ID3v2::Frame *frame : found->second)
            if (auto *lyrics = dynamic_cast<TagLib::ID3v2::UnsynchronizedLyricsFrame *>(frame); lyrics && lyrics->description().isEmpty())
                sum += textSum(lyrics->text());
    return sum;
}

quint64 readMp3(const char *path)
{
    TagLib::MPEG::File file(path, true, Style);
    quint64 sum = id3Sum(file, file.ID3v2Tag(true));
    if (file.hasID3v1Tag())
        sum += genericSum(file.ID3v1Tag(false), true);
    return sum;
}

quint64 readMp4(const char *path)
{
    TagLib::MP4::File file(path, true, Style);
    const TagLib::MP4::Tag *tag = file.tag();
    if (!tag)
        return 0;
    quint64 sum = genericSum(tag, true) + propertiesSum(file.audioProperties());
    const TagLib::MP4::ItemMap &items = tag->itemMap();
    for (const char *key : {"trkn", "disk"})
        if (const auto found = items.find(key); found != items.end())
            sum += quint64(found->second.toIntPair().first + found->second.toIntPair().second);
    for (const char *key : {"\251lyr", "aART", "\251wrt"})
        if (const auto found = items.find(key); found != items.end())
            sum += textSum(found->second.toStringList().toString(" "));
    if (const auto found = items.find("cpil"); found != items.end())
        sum += found->second.toBool() ? 1 : 0;
    if (const auto found = items.find("covr"); found != items.end())
        for (const TagLib::MP4::CoverArt &cover : found->second.toCoverArtList())
            sum += bytesSum(cover.data());
    return sum;
}

quint64 readFlac(const char *path)
{
    TagLib::FLAC::File file(path, true, Style);
    const TagLib::Ogg::XiphComment *comment = file.xiphComment(true);
    if (!comment)
        return 0;
    quint64 sum = genericSum(comment, true) + propertiesSum(file.audioProperties());
    const TagLib::Ogg::FieldListMap &fields = comment->fieldListMap();
    for (const char *key : {"TRACKNUMBER", "TRACKTOTAL", "LYRICS", "COMPILATION", "ALBUMARTIST",
                            "COMPOSER", "DISCNUMBER", "DISCTOTAL"})
        if (const auto found = fields.find(key); found != fields.end() && !found->second.isEmpty())
            sum += textSum(found->second.front());
    for (const TagLib::FLAC::Picture *picture : file.pictureList())
        sum += bytesSum(picture->data());
    return sum;
}

quint64 readAiff(const char *path)
{
    TagLib::RIFF::AIFF::File file(path, true, Style);
    return id3Sum(file, file.tag());
}

quint64 readWav(const char *path)
{
    TagLib::RIFF::WAV::File file(path, true, Style);
    return id3Sum(file, file.ID3v2Tag());
}

} // namespace

QStringList collect(const QString &folder)
{
    static const QStringList extensions = {"mp3", "m4a", "m4b", "flac", "aif", "aiff", "wav"};
    QStringList paths;
    QDirIterator it(folder, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (extensions.contains(QFileInfo(path).suffix().toLower()))
            paths.append(path);
    }
    return paths;
}

quint64 readAll(const QStringList &paths)
{
    quint64 sum = 0;
    for (const QString &path : paths) {
        const QByteArray name = path.toUtf8();
        const QString extension = path.section(u'.', -1).toLower();
        if (extension == u"mp3")
            sum += readMp3(name.constData());
        else if (extension == u"m4a" || extension == u"m4b")
            sum += readMp4(name.constData());
        else if (extension == u"flac")
            sum += readFlac(name.constData());
        else if (extension == u"aif" || extension == u"aiff")
            sum += readAiff(name.constData());
        else if (extension == u"wav")
            sum += readWav(name.constData());
    }
    return sum;
}

} // namespace BaselineReader
