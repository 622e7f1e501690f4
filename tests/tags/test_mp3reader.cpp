// The ID3 readers: MP3 (ID3v2 with ID3v1 fallback) and the ID3v2 chunk of AIFF and WAV files.

#include "fixtures.h"
#include "id3fixture.h"

#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/aiffreader.h"
#include "tags/mp3reader.h"
#include "tags/wavreader.h"

#include <QTemporaryDir>
#include <QTest>

#include <taglib/infotag.h>

using namespace Id3Fixture;

namespace {

std::unique_ptr<Song> readWith(const QString &path)
{
    const QString lower = path.toLower();
    if (lower.endsWith(QLatin1String(".aiff")))
        return AIFFReader().parseFile(path);
    if (lower.endsWith(QLatin1String(".wav")))
        return WAVReader().parseFile(path);
    return MP3Reader().parseFile(path);
}

const QString BindAlbumArtist = QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST");
const QString BindCompilation = QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS");

} // namespace

class TestMP3Reader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;
    int m_counter = 0;

    // A fresh copy of the fixture for the container ("mp3", "aiff" or "wav").
    QString freshCopy(const QString &container)
    {
        return copyFixture(m_dir, QStringLiteral("silence.") + container,
                           QStringLiteral("copy%1.%2").arg(++m_counter).arg(container));
    }

    void addContainerRows()
    {
        QTest::addColumn<QString>("container");
        QTest::newRow("mp3") << QStringLiteral("mp3");
        QTest::newRow("aiff") << QStringLiteral("aiff");
        QTest::newRow("wav") << QStringLiteral("wav");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        useTemporarySettings(m_dir);
    }

    void init()
    {
        UserDefaults::shared().setBool(false, BindAlbumArtist);
        UserDefaults::shared().setBool(false, BindCompilation);
    }

    void readsEveryMappedFrame_data()
    {
        QTest::addColumn<QString>("container");
        QTest::addColumn<int>("bitrate");
        QTest::newRow("mp3") << QStringLiteral("mp3") << 32;
        QTest::newRow("aiff") << QStringLiteral("aiff") << 64;
        QTest::newRow("wav") << QStringLiteral("wav") << 64;
    }

    void readsEveryMappedFrame()
    {
        QFETCH(QString, container);
        QFETCH(int, bitrate);
        const QString path = freshCopy(container);
        const QByteArray red = samplePng(qRgb(255, 0, 0));
        const QByteArray blue = samplePng(qRgb(0, 0, 255));
        QVERIFY(tagFile(path, [&](TagLib::ID3v2::Tag *tag) {
            tag->setTitle(tl(QStringLiteral("Título")));
            tag->setArtist(tl(QStringLiteral("Artist")));
            tag->setAlbum(tl(QStringLiteral("Album")));
            tag->setGenre(tl(QStringLiteral("Jazz")));
            tag->setYear(1999);
            addFrames(tag, {QStringLiteral("TRCK=03/10"), QStringLiteral("TPOS=1/2"),
                            QStringLiteral("TPE2=Album Artist"), QStringLiteral("TCOM=Composer"),
                            QStringLiteral("TCMP=1"), QStringLiteral("COMM=A comment"),
                            QStringLiteral("USLT=Line one\nLine two")});
            for (const QByteArray &bytes : {red, blue}) {
                auto *picture = new TagLib::ID3v2::AttachedPictureFrame;
                picture->setMimeType("image/png");
                picture->setPicture(TagLib::ByteVector(bytes.constData(), unsigned(bytes.size())));
                tag->addFrame(picture);
            }
        }));

        const auto song = readWith(path);
        QVERIFY(song);
        QCOMPARE(song->title(), QStringLiteral("Título"));
        QCOMPARE(song->artist(), QStringLiteral("Artist"));
        QCOMPARE(song->album(), QStringLiteral("Album"));
        QCOMPARE(song->genre(), QStringLiteral("Jazz"));
        QCOMPARE(song->year(), qint64(1999));
        QCOMPARE(song->track(), QStringLiteral("03/10"));
        QCOMPARE(song->disc(), QStringLiteral("1/2"));
        QCOMPARE(song->albumArtist(), QStringLiteral("Album Artist"));
        QCOMPARE(song->composer(), QStringLiteral("Composer"));
        QCOMPARE(song->isCompilation(), qint64(1));
        QCOMPARE(song->comment(), QStringLiteral("A comment"));
        QCOMPARE(song->lyrics(), QStringLiteral("Line one\nLine two"));
        QCOMPARE(song->countOfImages(), 2);
        QCOMPARE(song->images().at(0).data(), red);
        QCOMPARE(song->images().at(1).data(), blue);
        QCOMPARE(song->bitrate(), bitrate);
        QCOMPARE(song->length(), 1);
    }

    void untaggedFileGivesAudioPropertiesOnly_data() { addContainerRows(); }

    void untaggedFileGivesAudioPropertiesOnly()
    {
        QFETCH(QString, container);
        const auto song = readWith(freshCopy(container));
        QVERIFY(song);
        QVERIFY(song->title().isEmpty() && song->artist().isEmpty() && song->album().isEmpty());
        QVERIFY(song->track().isEmpty() && song->disc().isEmpty() && song->comment().isEmpty());
        QCOMPARE(song->year(), qint64(0));
        QCOMPARE(song->countOfImages(), 0);
        QVERIFY(song->bitrate() > 0);
        QCOMPARE(song->length(), 1);
    }

    // TRCK and TPOS texts go through the song's validation, then lose a trailing "/" and become
    // empty when no number is left.
    void normalisesTrackAndDisc_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("number") << "7" << "7";
        QTest::newRow("number and count") << "03/10" << "03/10";
        QTest::newRow("trailing slash") << "3/" << "3";
        QTest::newRow("zero-padded, trailing slash") << "07/" << "07";
        QTest::newRow("count only") << "/12" << "/12";
        QTest::newRow("slash only") << "/" << "";
        QTest::newRow("letters") << "x" << "";
        QTest::newRow("zero") << "0" << "";
        QTest::newRow("zero with count") << "0/12" << "";
        QTest::newRow("two slashes") << "1/2/3" << "";
        QTest::newRow("blank inside") << " 5" << "";
        QTest::newRow("overflow") << "2147483647" << "";
    }

    void normalisesTrackAndDisc()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString path = freshCopy(QStringLiteral("mp3"));
        QVERIFY(tagFile(path, {QStringLiteral("TRCK=") + text, QStringLiteral("TPOS=") + text}));
        const auto song = readWith(path);
        QCOMPARE(song->track(), expected);
        QCOMPARE(song->disc(), expected);
    }

    // Several frames of one id: the last text frame decides, the first comment or lyrics frame
    // without a description decides.
    void picksFramesInTagOrder_data()
    {
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("last TRCK") << QStringList{"TRCK=2", "TRCK=5"} << "track" << "5";
        QTest::newRow("last TRCK invalid") << QStringList{"TRCK=2", "TRCK=x"} << "track" << "";
        QTest::newRow("last TPOS") << QStringList{"TPOS=1/2", "TPOS=2/2"} << "disc" << "2/2";
        QTest::newRow("last TPE2") << QStringList{"TPE2=One", "TPE2=Two"} << "albumArtist" << "Two";
        QTest::newRow("last TCOM") << QStringList{"TCOM=One", "TCOM=Two"} << "composer" << "Two";
        QTest::newRow("described COMM first")
            << QStringList{"COMM[note]=Described", "COMM=Plain"} << "comment" << "Plain";
        QTest::newRow("first plain COMM") << QStringList{"COMM=First", "COMM=Second"} << "comment" << "First";
        QTest::newRow("only described COMM") << QStringList{"COMM[note]=Described"} << "comment" << "";
        QTest::newRow("described USLT first")
            << QStringList{"USLT[verse]=Described", "USLT=Plain"} << "lyrics" << "Plain";
        QTest::newRow("only described USLT") << QStringList{"USLT[verse]=Described"} << "lyrics" << "";
    }

    void picksFramesInTagOrder()
    {
        QFETCH(QStringList, frames);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        const QString path = freshCopy(QStringLiteral("mp3"));
        QVERIFY(tagFile(path, frames));
        const auto song = readWith(path);
        QCOMPARE(song->valueForKey(field).toString(), expected);
    }

    void readsCompilationFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("expected");
        QTest::newRow("1") << "1" << qint64(1);
        QTest::newRow("0") << "0" << qint64(0);
        QTest::newRow("2") << "2" << qint64(2);
        QTest::newRow("leading number") << "1 yes" << qint64(1);
        QTest::newRow("no number") << "yes" << qint64(0);
    }

    void readsCompilationFromText()
    {
        QFETCH(QString, text);
        QFETCH(qint64, expected);
        const QString path = freshCopy(QStringLiteral("mp3"));
        QVERIFY(tagFile(path, {QStringLiteral("TCMP=") + text}));
        QCOMPARE(readWith(path)->isCompilation(), expected);
    }

    void dropsRepeatedPictures_data() { addContainerRows(); }

    void dropsRepeatedPictures()
    {
        QFETCH(QString, container);
        const QString path = freshCopy(container);
        QVERIFY(tagFile(path, {QStringLiteral("APIC[front]=same bytes"), QStringLiteral("APIC=other bytes"),
                               QStringLiteral("APIC[back]=same bytes")}));
        const auto song = readWith(path);
        QCOMPARE(song->countOfImages(), 2);
        QCOMPARE(song->images().at(0).data(), QByteArray("same bytes"));
        QCOMPARE(song->images().at(1).data(), QByteArray("other bytes"));
    }

    // Frames whose class does not match their id (a text frame filed under COMM, USLT or APIC)
    // are passed over. TagLib never makes such frames from a file, so the tag is built in memory
    // and handed to the frame reader directly.
    void passesOverFramesOfTheWrongKind()
    {
        const QString path = freshCopy(QStringLiteral("mp3"));
        TagLib::MPEG::File file(path.toUtf8().constData());
        TagLib::ID3v2::Tag *tag = file.ID3v2Tag(true);
        for (const char *id : {"COMM", "USLT", "APIC"}) {
            auto *wrong = new TagLib::ID3v2::TextIdentificationFrame(TagLib::ByteVector(id, 4), TagLib::String::UTF8);
            wrong->setText("wrong kind");
            tag->addFrame(wrong);
        }
        addFrames(tag, {QStringLiteral("COMM=Comment"), QStringLiteral("USLT=Lyrics"), QStringLiteral("APIC=picture")});
        QCOMPARE(tag->frameList("COMM").size(), 2u);

        Song song;
        MP3Reader().parseFile(file, &song, tag);
        QCOMPARE(song.comment(), QStringLiteral("Comment"));
        QCOMPARE(song.lyrics(), QStringLiteral("Lyrics"));
        QCOMPARE(song.countOfImages(), 1);
        QCOMPARE(song.images().at(0).data(), QByteArray("picture"));
        QCOMPARE(song.bitrate(), 32);
    }

    // The ID3v1 tag fills only what the ID3v2 tag left empty.
    void fallsBackToID3v1_data()
    {
        QTest::addColumn<QStringList>("v2Frames");
        QTest::addColumn<QString>("v1Title");
        QTest::addColumn<uint>("v1Track");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("expected");
        QTest::newRow("v2 title wins") << QStringList{"TIT2=A"} << "B" << 0u << "title" << "A";
        QTest::newRow("v1 title fills") << QStringList{"TPE1=Artist"} << "B" << 0u << "title" << "B";
        QTest::newRow("v1 track fills") << QStringList{"TIT2=A"} << "" << 7u << "track" << "7";
        QTest::newRow("v1 track 0") << QStringList{"TIT2=A"} << "" << 0u << "track" << "";
        QTest::newRow("v2 track wins") << QStringList{"TRCK=3"} << "" << 7u << "track" << "3";
        QTest::newRow("invalid v2 track falls back") << QStringList{"TRCK=x"} << "" << 7u << "track" << "7";
        QTest::newRow("no v2 tag") << QStringList{} << "Only v1" << 9u << "title" << "Only v1";
    }

    void fallsBackToID3v1()
    {
        QFETCH(QStringList, v2Frames);
        QFETCH(QString, v1Title);
        QFETCH(uint, v1Track);
        QFETCH(QString, field);
        QFETCH(QString, expected);
        const QString path = freshCopy(QStringLiteral("mp3"));
        QVERIFY(tagFile(path, [&](TagLib::ID3v2::Tag *tag) { addFrames(tag, v2Frames); },
                        [&](TagLib::ID3v1::Tag *tag) {
                            tag->setTitle(tl(v1Title));
                            tag->setTrack(v1Track);
                            tag->setComment("v1 comment"); // keeps the tag non-empty
                        }));
        QCOMPARE(readWith(path)->valueForKey(field).toString(), expected);
    }

    void fillsEveryGenericFieldFromID3v1()
    {
        const QString path = freshCopy(QStringLiteral("mp3"));
        QVERIFY(tagFile(path, [](TagLib::ID3v2::Tag *tag) { tag->setTitle("v2 title"); },
                        [](TagLib::ID3v1::Tag *tag) {
                            tag->setTitle("v1 title");
                            tag->setArtist("v1 artist");
                            tag->setAlbum("v1 album");
                            tag->setGenre("Blues");
                            tag->setYear(1987);
                            tag->setComment("v1 comment");
                        }));
        const auto song = readWith(path);
        QCOMPARE(song->title(), QStringLiteral("v2 title"));
        QCOMPARE(song->artist(), QStringLiteral("v1 artist"));
        QCOMPARE(song->album(), QStringLiteral("v1 album"));
        QCOMPARE(song->genre(), QStringLiteral("Blues"));
        QCOMPARE(song->year(), qint64(1987));
        QCOMPARE(song->comment(), QStringLiteral("v1 comment"));
    }

    // An ID3v2 comment frame counts even where the ID3v1 tag has a comment too.
    void keepsID3v2CommentOverID3v1()
    {
        const QString path = freshCopy(QStringLiteral("mp3"));
        QVERIFY(tagFile(path, [](TagLib::ID3v2::Tag *tag) { addFrames(tag, {QStringLiteral("COMM=v2 comment")}); },
                        [](TagLib::ID3v1::Tag *tag) { tag->setComment("v1 comment"); }));
        QCOMPARE(readWith(path)->comment(), QStringLiteral("v2 comment"));
    }

    void ignoresWavInfoChunk()
    {
        const QString path = freshCopy(QStringLiteral("wav"));
        {
            TagLib::RIFF::WAV::File file(path.toUtf8().constData());
            file.InfoTag()->setTitle("Info title");
            file.InfoTag()->setArtist("Info artist");
            QVERIFY(file.save(TagLib::RIFF::WAV::File::Info));
        }
        {
            TagLib::RIFF::WAV::File file(path.toUtf8().constData());
            QVERIFY(file.hasInfoTag());
            QCOMPARE(file.InfoTag()->title(), TagLib::String("Info title"));
        }
        const auto song = readWith(path);
        QCOMPARE(song->title(), QString());
        QCOMPARE(song->artist(), QString());
        QCOMPARE(song->bitrate(), 64);
    }

    // The song's bindings act while reading: the artist fills the album artist unless a TPE2
    // frame, read later, says otherwise; the album artist sets the compilation flag last.
    void appliesBindingsWhileReading_data()
    {
        QTest::addColumn<bool>("bindAlbumArtist");
        QTest::addColumn<bool>("bindCompilation");
        QTest::addColumn<QStringList>("frames");
        QTest::addColumn<QString>("albumArtist");
        QTest::addColumn<qint64>("isCompilation");
        QTest::newRow("artist bound, no TPE2") << true << false << QStringList{"TPE1=X"} << "X" << qint64(0);
        QTest::newRow("artist bound, TPE2") << true << false << QStringList{"TPE1=X", "TPE2=Y"} << "Y" << qint64(0);
        QTest::newRow("not bound") << false << false << QStringList{"TPE1=X"} << "" << qint64(0);
        QTest::newRow("various artists") << false << true << QStringList{"TPE2=Various Artists"}
                                         << "Various Artists" << qint64(1);
        QTest::newRow("album artist overrides TCMP") << false << true << QStringList{"TCMP=1", "TPE2=Someone"}
                                                     << "Someone" << qint64(0);
        QTest::newRow("both bindings, artist various") << true << true << QStringList{"TPE1=Various"}
                                                       << "Various" << qint64(1);
    }

    void appliesBindingsWhileReading()
    {
        QFETCH(bool, bindAlbumArtist);
        QFETCH(bool, bindCompilation);
        QFETCH(QStringList, frames);
        QFETCH(QString, albumArtist);
        QFETCH(qint64, isCompilation);
        UserDefaults::shared().setBool(bindAlbumArtist, BindAlbumArtist);
        UserDefaults::shared().setBool(bindCompilation, BindCompilation);
        const QString path = freshCopy(QStringLiteral("mp3"));
        QVERIFY(tagFile(path, frames));
        const auto song = readWith(path);
        QCOMPARE(song->albumArtist(), albumArtist);
        QCOMPARE(song->isCompilation(), isCompilation);
    }

    // The length of an MPEG file with a Xing header comes from its frame count (1152 samples a
    // frame at 44.1 kHz); a count whose duration overflows the library's milliseconds is unknown.
    void readsLengthFromXingFrameCount_data()
    {
        QTest::addColumn<quint32>("frames");
        QTest::addColumn<int>("length");
        QTest::newRow("1000 frames") << quint32(1000) << 26;
        QTest::newRow("80 million frames") << quint32(80000000) << 2089795;
        QTest::newRow("overflowing count") << quint32(0xfed70000) << 0;
        QTest::newRow("largest count") << quint32(0xffffffff) << 0;
    }

    void readsLengthFromXingFrameCount()
    {
        QFETCH(quint32, frames);
        QFETCH(int, length);
        // Three frames of MPEG-1 layer III at 128 kbit/s, 44.1 kHz, stereo: 417 bytes each; the
        // first carries the Xing header after its 32 bytes of side information.
        QByteArray frame(417, '\0');
        frame.replace(0, 4, QByteArray("\xff\xfb\x90\x00", 4));
        QByteArray bytes = frame + frame + frame;
        const char count[4] = {char(frames >> 24), char(frames >> 16), char(frames >> 8), char(frames)};
        // Flags: frame count and byte count present; the byte count is the file's.
        bytes.replace(36, 16, QByteArray("Xing\0\0\0\x03", 8) + QByteArray(count, 4) + QByteArray("\0\0\x04\xe3", 4));
        const QString path = writeFile(m_dir, QStringLiteral("xing%1.mp3").arg(++m_counter), bytes);
        QVERIFY(!path.isEmpty());
        const auto song = MP3Reader().parseFile(path);
        QVERIFY(song);
        QCOMPARE(song->length(), length);
    }
};

QTEST_GUILESS_MAIN(TestMP3Reader)
#include "test_mp3reader.moc"
