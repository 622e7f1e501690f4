// Loading: dispatch by extension, the state of loaded songs, damaged input, and parsing on
// several threads.

#include "fixtures.h"
#include "id3fixture.h"
#include "songdump.h"

#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/tagsreader.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/fileref.h>
#include <taglib/flacfile.h>
#include <taglib/flacpicture.h>
#include <taglib/mp4coverart.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/tag.h>

namespace {

const QStringList FixtureExtensions = {"mp3", "m4a", "flac", "aiff", "wav"};

// Sets the generic fields through TagLib's format-neutral interface.
bool setGenericFields(const QString &path, const QString &title, const QString &artist, unsigned track)
{
    TagLib::FileRef file(path.toUtf8().constData());
    if (file.isNull() || !file.tag())
        return false;
    file.tag()->setTitle(Id3Fixture::tl(title));
    file.tag()->setArtist(Id3Fixture::tl(artist));
    file.tag()->setAlbum("Album");
    file.tag()->setTrack(track);
    file.tag()->setYear(2000 + track);
    return file.save();
}

bool addCover(const QString &path, const QByteArray &bytes)
{
    const TagLib::ByteVector data(bytes.constData(), unsigned(bytes.size()));
    const QByteArray name = path.toUtf8();
    if (path.endsWith(QLatin1String(".flac"))) {
        TagLib::FLAC::File file(name.constData());
        auto *picture = new TagLib::FLAC::Picture;
        picture->setMimeType("image/png");
        picture->setData(data);
        file.addPicture(picture);
        return file.save();
    }
    if (path.endsWith(QLatin1String(".m4a")) || path.endsWith(QLatin1String(".m4b"))) {
        TagLib::MP4::File file(name.constData());
        TagLib::MP4::CoverArtList covers = file.tag()->item("covr").toCoverArtList();
        covers.append(TagLib::MP4::CoverArt(TagLib::MP4::CoverArt::PNG, data));
        file.tag()->setItem("covr", covers);
        return file.save();
    }
    return Id3Fixture::tagFile(path, {QStringLiteral("APIC=") + QString::fromLatin1(bytes)});
}

QStringList namesOf(const SongList &songs)
{
    QStringList names;
    for (const auto &song : songs)
        names << song->fileName();
    return names;
}

QByteArray randomBytes(quint32 seed, int size)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(generator.bounded(256));
    return bytes;
}

} // namespace

class TestTagsReader : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        useTemporarySettings(m_dir);
        UserDefaults::shared().setBool(true, QStringLiteral("BIND_ALBUM_ARTIST_TO_ARTIST"));
        UserDefaults::shared().setBool(true, QStringLiteral("BIND_COMPILATION_FLAG_TO_VARIOUS_ARTISTS"));
    }

    // The extension picks the reader, whatever its case; other files are skipped.
    void dispatchesByExtension_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("listed");
        QTest::newRow("mp3") << "silence.mp3" << "a.mp3" << true;
        QTest::newRow("MP3") << "silence.mp3" << "b.MP3" << true;
        QTest::newRow("m4a") << "silence.m4a" << "c.m4a" << true;
        QTest::newRow("M4B") << "silence.m4a" << "d.M4B" << true;
        QTest::newRow("Flac") << "silence.flac" << "e.Flac" << true;
        QTest::newRow("aif") << "silence.aiff" << "f.aif" << true;
        QTest::newRow("AIFF") << "silence.aiff" << "g.AIFF" << true;
        QTest::newRow("wav") << "silence.wav" << "h.wav" << true;
        QTest::newRow("dots in name") << "silence.mp3" << "i.j.k.mp3" << true;
        QTest::newRow("ogg") << "silence.flac" << "l.ogg" << false;
        QTest::newRow("mp4") << "silence.m4a" << "m.mp4" << false;
        QTest::newRow("no extension") << "silence.mp3" << "mp3" << false;
        QTest::newRow("extension elsewhere") << "silence.mp3" << "n.mp3.bak" << false;
    }

    void dispatchesByExtension()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, name);
        QFETCH(bool, listed);
        QTemporaryDir dir;
        const QString path = copyFixture(dir, fixture, name);
        QVERIFY(!path.isEmpty());
        QVERIFY(setGenericFields(path, QStringLiteral("Read by ") + name, QStringLiteral("Artist"), 4));

        TagsReader reader;
        SongList songs;
        reader.parseFiles({path}, &songs);
        QCOMPARE(songs.size(), size_t(listed ? 1 : 0));
        if (listed) {
            QCOMPARE(songs.front()->title(), QStringLiteral("Read by ") + name);
            QCOMPARE(songs.front()->track(), QStringLiteral("4"));
        }
    }

    // Loading sets path and name and clears the flags that reading raised.
    void listsUnmodifiedSongsInPathOrder()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (const char *extension : {"wav", "flac", "mp3", "aiff", "m4a"}) {
            const QString path = copyFixture(dir, QStringLiteral("silence.") + extension,
                                             QStringLiteral("Song – ") + extension + u'.' + extension);
            QVERIFY(setGenericFields(path, extension, QStringLiteral("Various Artists"), 1));
            QVERIFY(addCover(path, "cover"));
            paths << path;
        }
        paths.insert(2, dir.filePath(QStringLiteral("skipped.txt")));
        paths << dir.filePath(QStringLiteral("missing.mp3"));

        TagsReader reader;
        reader.setThreadCount(1);
        SongList songs;
        reader.parseFiles(paths, &songs);
        QCOMPARE(namesOf(songs), (QStringList{"Song – wav.wav", "Song – flac.flac", "Song – mp3.mp3",
                                              "Song – aiff.aiff", "Song – m4a.m4a", "missing.mp3"}));
        for (const auto &song : songs) {
            QVERIFY2(!song->isModified(), qPrintable(song->fileName()));
            QCOMPARE(song->filePath(), dir.filePath(song->fileName()));
            QVERIFY(song->isRenamable());
        }
        for (int i = 0; i < 5; ++i) {
            // The bindings acted while reading.
            QCOMPARE(songs[i]->albumArtist(), QStringLiteral("Various Artists"));
            QCOMPARE(songs[i]->isCompilation(), qint64(1));
            QCOMPARE(songs[i]->countOfImages(), 1);
        }
        QVERIFY(songs[5]->title().isEmpty());
        QCOMPARE(songs[5]->bitrate(), 0);
    }

    void appendsToSongsAlreadyListed()
    {
        QTemporaryDir dir;
        TagsReader reader;
        SongList songs;
        songs.push_back(std::make_unique<Song>());
        reader.parseFiles({copyFixture(dir, QStringLiteral("silence.mp3"), QStringLiteral("x.mp3"))}, &songs);
        QCOMPARE(songs.size(), size_t(2));
        QCOMPARE(songs[1]->fileName(), QStringLiteral("x.mp3"));
    }

    void passesLeadingZerosToTheMP4Reader()
    {
        QTemporaryDir dir;
        const QString path = copyFixture(dir, QStringLiteral("silence.m4a"), QStringLiteral("z.m4a"));
        {
            TagLib::MP4::File file(path.toUtf8().constData());
            file.tag()->setItem("trkn", TagLib::MP4::Item(3, 12));
            QVERIFY(file.save());
        }
        TagsReader reader;
        for (const bool leadingZeros : {true, false}) {
            reader.setLeadingZeros(leadingZeros);
            SongList songs;
            reader.parseFiles({path}, &songs);
            QCOMPARE(songs.front()->track(), leadingZeros ? QStringLiteral("03/12") : QStringLiteral("3/12"));
        }
    }

    // A file name the library would get as other bytes than the QString names is not read; a
    // valid non-ASCII name is.
    void skipsNamesThatAreNotUtf8()
    {
        QTemporaryDir dir;
        const QString good = copyFixture(dir, QStringLiteral("silence.mp3"), QStringLiteral("Ünïcødé ’🎵’.mp3"));
        QVERIFY(setGenericFields(good, QStringLiteral("Unicode"), QStringLiteral("A"), 1));
        const QString bad = dir.filePath(QStringLiteral("lone ") + QChar(0xD800) + QStringLiteral(".mp3"));

        TagsReader reader;
        SongList songs;
        reader.parseFiles({bad, good}, &songs);
        QCOMPARE(songs.size(), size_t(1));
        QCOMPARE(songs.front()->title(), QStringLiteral("Unicode"));
        QCOMPARE(songs.front()->fileName(), QStringLiteral("Ünïcødé ’🎵’.mp3"));
    }

    // Files that are empty, cut short or not audio at all are listed as empty songs.
    void listsDamagedFilesAsEmptySongs_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("audioless");
        quint32 seed = 1;
        for (const QString &extension : FixtureExtensions) {
            QFile fixture(fixturePath(QStringLiteral("silence.") + extension));
            QVERIFY(fixture.open(QIODevice::ReadOnly));
            const QByteArray whole = fixture.readAll();
            QTest::addRow("zero-length %s", qPrintable(extension)) << "empty." + extension << QByteArray() << true;
            for (const int size : {4, 12, 64, int(whole.size() / 2), int(whole.size() - 1)}) {
                QTest::addRow("%s cut at %d", qPrintable(extension), size)
                    << QStringLiteral("cut%1.%2").arg(size).arg(extension) << whole.left(size) << false;
            }
            for (const int size : {1, 100, 5000, 70000}) {
                QTest::addRow("random %d bytes as %s", size, qPrintable(extension))
                    << QStringLiteral("random%1.%2").arg(size).arg(extension) << randomBytes(seed++, size) << false;
            }
        }
    }

    void listsDamagedFilesAsEmptySongs()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, audioless);
        QTemporaryDir dir;
        const QString path = writeFile(dir, name, bytes);
        QVERIFY(!path.isEmpty());
        TagsReader reader;
        SongList songs;
        reader.parseFiles({path}, &songs);
        QCOMPARE(songs.size(), size_t(1));
        const Song &song = *songs.front();
        QCOMPARE(song.fileName(), name);
        QVERIFY(!song.isModified());
        for (const char *field : {"track", "title", "artist", "albumArtist", "composer", "album", "disc",
                                  "genre", "comment", "lyrics"})
            QVERIFY2(song.valueForKey(QString::fromLatin1(field)).toString().isEmpty(), field);
        QCOMPARE(song.year(), qint64(0));
        QCOMPARE(song.isCompilation(), qint64(0));
        QCOMPARE(song.countOfImages(), 0);
        if (audioless) {
            QCOMPARE(song.bitrate(), 0);
            QCOMPARE(song.length(), 0);
        }
    }

    // Tagged files cut inside their tag: whatever is left is read without a crash, and the
    // file is listed.
    void listsTaggedFilesCutShort_data()
    {
        QTest::addColumn<QString>("extension");
        for (const QString &extension : FixtureExtensions)
            QTest::newRow(qPrintable(extension)) << extension;
    }

    void listsTaggedFilesCutShort()
    {
        QFETCH(QString, extension);
        QTemporaryDir dir;
        const QString tagged = copyFixture(dir, QStringLiteral("silence.") + extension,
                                           QStringLiteral("tagged.") + extension);
        QVERIFY(setGenericFields(tagged, QStringLiteral("Title"), QStringLiteral("Artist"), 3));
        QVERIFY(addCover(tagged, samplePng(qRgb(10, 20, 30))));
        QFile file(tagged);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray whole = file.readAll();
        QStringList paths;
        for (qsizetype size = 1; size < whole.size(); size += 1 + size / 3)
            paths << writeFile(dir, QStringLiteral("cut%1.").arg(size) + extension, whole.left(size));

        TagsReader reader;
        SongList songs;
        reader.parseFiles(paths, &songs);
        QCOMPARE(songs.size(), size_t(paths.size()));
    }

    // Parsing on several threads gives exactly the list a sequential read gives.
    void parsesOnThreadsLikeSequentially()
    {
        QTemporaryDir dir;
        QStringList paths;
        const QList<QByteArray> covers = {samplePng(qRgb(200, 0, 0)), samplePng(qRgb(0, 200, 0)),
                                          sampleJpeg(qRgb(0, 0, 200))};
        for (int i = 0; i < 40; ++i) {
            const QString extension = FixtureExtensions.at(i % FixtureExtensions.size());
            const QString path = copyFixture(dir, QStringLiteral("silence.") + extension,
                                             QStringLiteral("%1.%2").arg(i, 2, 10, QChar(u'0')).arg(extension));
            QVERIFY(setGenericFields(path, QStringLiteral("Title %1").arg(i),
                                     i % 3 ? QStringLiteral("Artist %1").arg(i % 4) : QStringLiteral("Various"),
                                     unsigned(i + 1)));
            if (i % 2)
                QVERIFY(addCover(path, covers.at(i % covers.size())));
            if (i % 7 == 0)
                QVERIFY(addCover(path, covers.at((i + 1) % covers.size())));
            paths << path;
        }
        paths << writeFile(dir, QStringLiteral("empty.flac"), {})
              << writeFile(dir, QStringLiteral("random.m4a"), randomBytes(7, 3000))
              << dir.filePath(QStringLiteral("notes.txt")) << dir.filePath(QStringLiteral("gone.wav"));
        std::swap(paths[3], paths[41]);

        TagsReader reader;
        reader.setLeadingZeros(true);
        reader.setThreadCount(1);
        SongList sequential;
        reader.parseFiles(paths, &sequential);
        QCOMPARE(sequential.size(), size_t(paths.size() - 1));
        QStringList expected;
        for (const auto &song : sequential)
            expected << dumpSong(*song);

        for (const int threads : {2, 3, 8, 0}) {
            reader.setThreadCount(threads);
            SongList parallel;
            reader.parseFiles(paths, &parallel);
            QCOMPARE(parallel.size(), sequential.size());
            for (size_t i = 0; i < parallel.size(); ++i)
                QCOMPARE(dumpSong(*parallel[i]), expected.at(qsizetype(i)));
        }
    }
};

QTEST_GUILESS_MAIN(TestTagsReader)
#include "test_tagsreader.moc"
