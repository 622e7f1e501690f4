// Loading opens each file once and reads it through the open stream; a reader opening the path
// by itself must give the very same song, and the identity taken from the open file must be the
// one of the path.

#include "fixtures.h"
#include "savetesting.h"
#include "songdump.h"

#include "model/fileidentity.h"
#include "model/image.h"
#include "model/song.h"
#include "tags/reader.h"
#include "tags/tagsreader.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Corpus files above this size are left to the corpus test; this one reads every file twice.
constexpr qint64 MaxCorpusFileSize = 256 * 1024;

} // namespace

class TestReadRoutes : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void streamAndPathGiveTheSameSong_data();
    void streamAndPathGiveTheSameSong();
    void fileThatCannotBeOpenedKeepsItsOldRoute();

private:
    QTemporaryDir m_dir;
};

void TestReadRoutes::initTestCase()
{
    QVERIFY(m_dir.isValid());
    useTemporarySettings(m_dir);
}

void TestReadRoutes::streamAndPathGiveTheSameSong_data()
{
    QTest::addColumn<QString>("path");
    // The fixtures, tagged through the editor's own save pass so that pictures are read too.
    for (const char *extension : {"mp3", "m4a", "flac", "aiff", "wav"}) {
        const QString path = copyFixture(m_dir, QStringLiteral("silence.") + extension,
                                         QStringLiteral("tagged.") + extension);
        QVERIFY(!path.isEmpty());
        std::unique_ptr<Song> song = readSong(path);
        QVERIFY(song);
        song->setTitle(QStringLiteral("Title ") + extension);
        song->setArtist(QStringLiteral("Artist"));
        song->setTrack(QStringLiteral("3/12"));
        song->addImage(Image(sampleJpeg(qRgb(200, 40, 40))));
        song->addImage(Image(samplePng(qRgb(40, 40, 200))));
        QVERIFY(!writeSong(song.get()).hasErrors());
        QTest::newRow(qPrintable(QStringLiteral("fixture ") + extension)) << path;
    }
    // Small real files, damaged ones among them.
    QDirIterator it(QStringLiteral(QUORL_CORPUS_DIR), QDir::Files, QDirIterator::Subdirectories);
    TagsReader reader;
    while (it.hasNext()) {
        const QString path = it.next();
        if (reader.readerForPath(path) && QFileInfo(path).size() <= MaxCorpusFileSize)
            QTest::newRow(qPrintable(path.mid(path.indexOf(QStringLiteral("corpus/"))))) << path;
    }
}

void TestReadRoutes::streamAndPathGiveTheSameSong()
{
    QFETCH(QString, path);
    TagsReader reader;
    reader.setThreadCount(1);
    const std::unique_ptr<Song> loaded = reader.parseFile(path);
    QVERIFY(loaded);
    QCOMPARE(loaded->fileIdentity(), FileIdentity::ofPath(path));
    QVERIFY(!loaded->fileIdentity().isEmpty());

    std::unique_ptr<Song> direct = reader.readerForPath(path)->parseFile(path);
    QVERIFY(direct);
    direct->setFilePath(path);
    direct->setFileName(QFileInfo(path).fileName());
    direct->resetModifications();
    QCOMPARE(dumpSong(*loaded), dumpSong(*direct));
}

void TestReadRoutes::fileThatCannotBeOpenedKeepsItsOldRoute()
{
    TagsReader reader;
    // Missing: listed with empty values and no identity.
    const std::unique_ptr<Song> missing = reader.parseFile(m_dir.filePath(QStringLiteral("missing.mp3")));
    QVERIFY(missing);
    QVERIFY(missing->fileIdentity().isEmpty());
    QCOMPARE(missing->bitrate(), 0);

    // A folder named like a music file: no song values, but the identity of what is there.
    const QString folder = m_dir.filePath(QStringLiteral("folder.flac"));
    QVERIFY(QDir().mkpath(folder));
    const std::unique_ptr<Song> notAFile = reader.parseFile(folder);
    QVERIFY(notAFile);
    QVERIFY(notAFile->title().isEmpty());
    QCOMPARE(notAFile->fileIdentity(), FileIdentity::ofPath(folder));
}

QTEST_GUILESS_MAIN(TestReadRoutes)
#include "test_readroutes.moc"
