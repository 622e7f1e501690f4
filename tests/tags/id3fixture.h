#pragma once

// Writes ID3v2 frames into copies of the fixtures for the reader tests. Header-only: it is shared
// by the test executables of this folder.

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <taglib/aifffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/wavfile.h>

#include <functional>

namespace Id3Fixture {

inline TagLib::String tl(const QString &text)
{
    return TagLib::String(text.toUtf8().constData(), TagLib::String::UTF8);
}

// One frame from a short description:
//   "TRCK=03/10"              text identification frame
//   "COMM=text", "COMM[desc]=text", and the same for "USLT"
//   "APIC=bytes" / "APIC[desc]=bytes"   picture frame holding the Latin-1 bytes given
inline TagLib::ID3v2::Frame *makeFrame(const QString &definition)
{
    static const QRegularExpression shape(QStringLiteral("^(\\w{4})(?:\\[(.*)\\])?=(.*)$"),
                                          QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = shape.match(definition);
    if (!match.hasMatch())
        return nullptr;
    const QByteArray id = match.captured(1).toLatin1();
    const QString description = match.captured(2);
    const QString value = match.captured(3);
    if (id == "COMM") {
        auto *frame = new TagLib::ID3v2::CommentsFrame(TagLib::String::UTF8);
        frame->setLanguage("eng");
        frame->setDescription(tl(description));
        frame->setText(tl(value));
        return frame;
    }
    if (id == "USLT") {
        auto *frame = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
        frame->setLanguage("eng");
        frame->setDescription(tl(description));
        frame->setText(tl(value));
        return frame;
    }
    if (id == "APIC") {
        auto *frame = new TagLib::ID3v2::AttachedPictureFrame;
        frame->setMimeType("image/png");
        frame->setDescription(tl(description));
        const QByteArray bytes = value.toLatin1();
        frame->setPicture(TagLib::ByteVector(bytes.constData(), unsigned(bytes.size())));
        return frame;
    }
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(TagLib::ByteVector(id.constData(), 4),
                                                             TagLib::String::UTF8);
    frame->setText(tl(value));
    return frame;
}

inline void addFrames(TagLib::ID3v2::Tag *tag, const QStringList &definitions)
{
    for (const QString &definition : definitions) {
        if (TagLib::ID3v2::Frame *frame = makeFrame(definition))
            tag->addFrame(frame);
    }
}

using TagFiller = std::function<void(TagLib::ID3v2::Tag *)>;

// Opens an MP3, AIFF or WAV file by its extension, lets fill() change its ID3v2 tag and saves
// only that tag (an MP3 file may also get an ID3v1 tag through fillV1). Returns save()'s result.
inline bool tagFile(const QString &path, const TagFiller &fill,
                    const std::function<void(TagLib::ID3v1::Tag *)> &fillV1 = {})
{
    const QByteArray name = path.toUtf8();
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String(".mp3"))) {
        TagLib::MPEG::File file(name.constData());
        fill(file.ID3v2Tag(true));
        int tags = TagLib::MPEG::File::ID3v2;
        if (fillV1) {
            fillV1(file.ID3v1Tag(true));
            tags |= TagLib::MPEG::File::ID3v1;
        }
        return file.save(tags, TagLib::File::StripOthers, TagLib::ID3v2::v4, TagLib::File::DoNotDuplicate);
    }
    if (lower.endsWith(QLatin1String(".aiff")) || lower.endsWith(QLatin1String(".aif"))) {
        TagLib::RIFF::AIFF::File file(name.constData());
        fill(file.tag());
        return file.save();
    }
    TagLib::RIFF::WAV::File file(name.constData());
    fill(file.tag());
    return file.save(TagLib::RIFF::WAV::File::ID3v2);
}

inline bool tagFile(const QString &path, const QStringList &frameTexts)
{
    return tagFile(path, [&](TagLib::ID3v2::Tag *tag) { addFrames(tag, frameTexts); });
}

} // namespace Id3Fixture
