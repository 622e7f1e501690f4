#include "corpustagger.h"

#include "corpusplan.h"

#include <QFile>

#include <taglib/aifffile.h>
#include <taglib/attachedpictureframe.h>
#include <taglib/commentsframe.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mpegfile.h>
#include <taglib/textidentificationframe.h>
#include <taglib/unsynchronizedlyricsframe.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

namespace CorpusTagger {

namespace {

TagLib::String text(const QString &value)
{
    return TagLib::String(value.toUtf8().constData(), TagLib::String::UTF8);
}

TagLib::ByteVector bytes(const QByteArray &data)
{
    return TagLib::ByteVector(data.constData(), unsigned(data.size()));
}

QString pair(int number, int count)
{
    return QStringLiteral("%1/%2").arg(number).arg(count);
}

void addTextFrame(TagLib::ID3v2::Tag *tag, const char *id, const QString &value)
{
    if (value.isEmpty())
        return;
    auto *frame = new TagLib::ID3v2::TextIdentificationFrame(id, TagLib::String::UTF8);
    frame->setText(text(value));
    tag->addFrame(frame);
}

void fillGeneric(TagLib::Tag *tag, const PlannedSong &song)
{
    tag->setTitle(text(song.title));
    tag->setArtist(text(song.artist));
    tag->setAlbum(text(song.album));
    tag->setGenre(text(song.genre));
    tag->setYear(song.year);
    if (!song.comment.isEmpty())
        tag->setComment(text(song.comment));
}

void fillId3(TagLib::ID3v2::Tag *tag, const PlannedSong &song, const QByteArray &cover)
{
    fillGeneric(tag, song);
    addTextFrame(tag, "TRCK", pair(song.track, song.trackCount));
    addTextFrame(tag, "TPOS", pair(song.disc, song.discCount));
    addTextFrame(tag, "TPE2", song.albumArtist);
    addTextFrame(tag, "TCOM", song.composer);
    if (song.compilation)
        addTextFrame(tag, "TCMP", QStringLiteral("1"));
    if (!song.lyrics.isEmpty()) {
        auto *lyrics = new TagLib::ID3v2::UnsynchronizedLyricsFrame(TagLib::String::UTF8);
        lyrics->setLanguage("eng");
        lyrics->setText(text(song.lyrics));
        tag->addFrame(lyrics);
    }
    auto *picture = new TagLib::ID3v2::AttachedPictureFrame;
    picture->setMimeType("image/jpeg");
    picture->setType(TagLib::ID3v2::AttachedPictureFrame::FrontCover);
    picture->setPicture(bytes(cover));
    tag->addFrame(picture);
}

void fillMp4(TagLib::MP4::Tag *tag, const PlannedSong &song, const QByteArray &cover)
{
    fillGeneric(tag, song);
    tag->setItem("trkn", TagLib::MP4::Item(song.track, song.trackCount));
    tag->setItem("disk", TagLib::MP4::Item(song.disc, song.discCount));
    tag->setItem("aART", TagLib::StringList(text(song.albumArtist)));
    if (!song.composer.isEmpty())
        tag->setItem("\251wrt", TagLib::StringList(text(song.composer)));
    if (!song.lyrics.isEmpty())
        tag->setItem("\251lyr", TagLib::StringList(text(song.lyrics)));
    if (song.compilation)
        tag->setItem("cpil", TagLib::MP4::Item(true));
    TagLib::MP4::CoverArtList covers;
    covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::JPEG, bytes(cover)));
    tag->setItem("covr", covers);
}

void fillFlac(TagLib::FLAC::File *file, const PlannedSong &song, const QByteArray &cover)
{
    TagLib::Ogg::XiphComment *comment = file->xiphComment(true);
    fillGeneric(comment, song);
    comment->addField("TRACKNUMBER", text(QString::number(song.track)));
    comment->addField("TRACKTOTAL", text(QString::number(song.trackCount)));
    comment->addField("DISCNUMBER", text(QString::number(song.disc)));
    comment->addField("DISCTOTAL", text(QString::number(song.discCount)));
    comment->addField("ALBUMARTIST", text(song.albumArtist));
    if (!song.composer.isEmpty())
        comment->addField("COMPOSER", text(song.composer));
    if (!song.lyrics.isEmpty())
        comment->addField("LYRICS", text(song.lyrics));
    if (song.compilation)
        comment->addField("COMPILATION", "1");
    auto *picture = new TagLib::FLAC::Picture;
    picture->setType(TagLib::FLAC::Picture::FrontCover);
    picture->setMimeType("image/jpeg");
    picture->setData(bytes(cover));
    file->addPicture(picture);
}

} // namespace

bool tag(const QString &path, const PlannedSong &song, const QByteArray &jpegCover)
{
    const QByteArray name = QFile::encodeName(path);
    if (song.extension == u"mp3") {
        TagLib::MPEG::File file(name.constData(), false);
        fillId3(file.ID3v2Tag(true), song, jpegCover);
        return file.save(TagLib::MPEG::File::ID3v2);
    }
    if (song.extension == u"m4a") {
        TagLib::MP4::File file(name.constData(), false);
        fillMp4(file.tag(), song, jpegCover);
        return file.save();
    }
    if (song.extension == u"flac") {
        TagLib::FLAC::File file(name.constData(), false);
        fillFlac(&file, song, jpegCover);
        return file.save();
    }
    if (song.extension == u"aiff") {
        TagLib::RIFF::AIFF::File file(name.constData(), false);
        fillId3(file.tag(), song, jpegCover);
        return file.save();
    }
    if (song.extension == u"wav") {
        TagLib::RIFF::WAV::File file(name.constData(), false);
        fillId3(file.ID3v2Tag(), song, jpegCover);
        return file.save();
    }
    return false;
}

} // namespace CorpusTagger
