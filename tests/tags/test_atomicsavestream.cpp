#include "fixtures.h"
#include "savetesting.h"
#include "smallfilesystem.h"

#include "model/replacementfile.h"
#include "model/song.h"
#include "tags/atomicsavestream.h"

#include <QDir>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

// The stream TagLib saves through: what it reads back, what reaches the file and when, and
// what the new file keeps of the old one.
class TestAtomicSaveStream : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { useTemporarySettings(m_settings); }
    void cleanup() { ReplacementFile::setUnnamedFilesAllowed(true); }

    void editsMatchAModel_data();
    void editsMatchAModel();
    void newFileKeepsPermissionsAndAttributes();
    void secondSaveOfOneFileIsRefused();
    void savingThroughALinkKeepsTheLink();
    void leftoverTemporaryFileIsReplaced();
    void fullDiskLeavesFilesAsTheyWere_data();
    void fullDiskLeavesFilesAsTheyWere();

private:
    QTemporaryDir m_settings;
};

namespace {

TagLib::ByteVector bytesOf(const QByteArray &bytes)
{
    return TagLib::ByteVector(bytes.constData(), static_cast<unsigned int>(bytes.size()));
}

QByteArray randomBytes(QRandomGenerator &random, int size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &c : bytes)
        c = char(random.bounded(256));
    return bytes;
}

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

} // namespace

// Random runs of TagLib's edit operations, applied to the stream and to a byte array: every read
// between them and the committed file must equal the array, and nothing may reach the file
// before the commit. Sizes cross the read-ahead and copy chunk sizes.
void TestAtomicSaveStream::editsMatchAModel_data()
{
    QTest::addColumn<int>("seed");
    QTest::addColumn<int>("fileSize");
    QTest::addColumn<bool>("unnamed");
    QTest::addColumn<bool>("sizeChanges");

    QTest::newRow("in place, small") << 1 << 3000 << true << false;
    QTest::newRow("in place, larger than the read-ahead") << 2 << 100000 << true << false;
    QTest::newRow("moving bytes, small") << 3 << 5000 << true << true;
    QTest::newRow("moving bytes, several copy chunks") << 4 << 2500000 << true << true;
    QTest::newRow("moving bytes, named new file") << 5 << 70000 << false << true;
    QTest::newRow("empty file grows") << 6 << 0 << true << true;
    for (int seed = 10; seed < 30; ++seed)
        QTest::newRow(qPrintable(QStringLiteral("mixed %1").arg(seed))) << seed << 40000 << (seed % 3 != 0) << true;
}

void TestAtomicSaveStream::editsMatchAModel()
{
    QFETCH(int, seed);
    QFETCH(int, fileSize);
    QFETCH(bool, unnamed);
    QFETCH(bool, sizeChanges);
    ReplacementFile::setUnnamedFilesAllowed(unnamed);
    QRandomGenerator random{quint32(seed)};
    QTemporaryDir dir;
    const QByteArray original = randomBytes(random, fileSize);
    const QString path = writeFile(dir, QStringLiteral("a.bin"), original);
    QVERIFY(!path.isEmpty());

    auto opened = AtomicSaveStream::open(path);
    QVERIFY2(opened.ok(), qPrintable(opened.ok() ? QString() : opened.error().detail));
    std::unique_ptr<AtomicSaveStream> stream = std::move(opened).value();
    QByteArray model = original;
    for (int step = 0; step < 12; ++step) {
        const int length = int(model.size());
        const int start = length == 0 ? 0 : int(random.bounded(length + 1));
        const int count = int(random.bounded(qMin(length - start, 3 * 1024 * 1024) + 1));
        const QByteArray data = randomBytes(random, int(random.bounded(sizeChanges ? 40000 : 2000)));
        const int operation = sizeChanges ? int(random.bounded(5)) : 0;
        switch (operation) {
        case 0: { // a write in place; past the end only where sizes may change
            const int at = sizeChanges ? start : qMax(0, qMin(start, length - int(data.size())));
            const QByteArray put = sizeChanges ? data : data.left(length - at);
            stream->seek(at);
            stream->writeBlock(bytesOf(put));
            if (at + put.size() > model.size())
                model.resize(at + put.size());
            model.replace(at, put.size(), put);
            break;
        }
        case 1:
            stream->insert(bytesOf(data), ulong(start), ulong(count));
            model.replace(start, count, data);
            break;
        case 2:
            stream->removeBlock(ulong(start), ulong(count));
            model.remove(start, count);
            break;
        case 3:
            stream->truncate(start);
            model.truncate(start);
            break;
        default: { // a write after moving the position from the end
            const int back = int(random.bounded(length + 1));
            stream->seek(-back, TagLib::IOStream::End);
            stream->writeBlock(bytesOf(data));
            const int at = length - back;
            if (at + data.size() > model.size())
                model.resize(at + data.size());
            model.replace(at, data.size(), data);
            break;
        }
        }
        QCOMPARE(stream->length(), long(model.size()));
        const int readFrom = model.isEmpty() ? 0 : int(random.bounded(int(model.size())));
        stream->seek(readFrom);
        const TagLib::ByteVector read = stream->readBlock(ulong(model.size()));
        QCOMPARE(QByteArray(read.data(), int(read.size())), model.mid(readFrom));
        QCOMPARE(fileBytes(path), original);
    }
    const Result<void> committed = stream->commit();
    QVERIFY2(committed.ok(), qPrintable(committed.ok() ? QString() : committed.error().detail));
    stream.reset();
    QCOMPARE(fileBytes(path), model);
    QCOMPARE(namesIn(dir.path()), QStringList{QStringLiteral("a.bin")});
}

void TestAtomicSaveStream::newFileKeepsPermissionsAndAttributes()
{
    QTemporaryDir dir;
    const QString path = copyFixture(dir, QStringLiteral("silence.flac"), QStringLiteral("a.flac"));
    const QByteArray native = QFile::encodeName(path);
    QCOMPARE(::chmod(native.constData(), 0640), 0);
    const bool attributes = ::setxattr(native.constData(), "user.quorl.test", "kept", 4, 0) == 0;
    struct stat before {};
    QCOMPARE(::stat(native.constData(), &before), 0);

    std::unique_ptr<Song> song = readSong(path);
    QVERIFY(song);
    song->setTitle(QStringLiteral("Grown"));
    song->addImage(Image(sampleJpeg(qRgb(10, 20, 30)).repeated(2000)));
    const SaveReport report = writeSong(song.get());
    QVERIFY2(!report.hasErrors(), qPrintable(report.errorText));

    struct stat after {};
    QCOMPARE(::stat(native.constData(), &after), 0);
    QVERIFY2(after.st_ino != before.st_ino, "a growing tag is written to a new file");
    QCOMPARE(after.st_mode & 07777, 0640u);
    QCOMPARE(after.st_uid, before.st_uid);
    QCOMPARE(after.st_gid, before.st_gid);
    if (attributes) {
        char value[8] = {};
        QCOMPARE(::getxattr(native.constData(), "user.quorl.test", value, sizeof value), ssize_t(4));
        QCOMPARE(QByteArray(value), QByteArray("kept"));
    }
    QCOMPARE(readSong(path)->title(), QStringLiteral("Grown"));
}

void TestAtomicSaveStream::secondSaveOfOneFileIsRefused()
{
    QTemporaryDir dir;
    const QString path = copyFixture(dir, QStringLiteral("silence.mp3"), QStringLiteral("a.mp3"));
    const QByteArray before = fileBytes(path);
    std::unique_ptr<Song> song = readSong(path);
    QVERIFY(song);
    auto held = AtomicSaveStream::open(path);
    QVERIFY(held.ok());

    song->setTitle(QStringLiteral("Second"));
    const SaveReport report = writeSong(song.get());
    QCOMPARE(report.errorCount, quint64(1));
    QVERIFY(song->isTitleModified());
    QCOMPARE(fileBytes(path), before);

    held = Error{ErrorCode::Cancelled, {}}; // the first save ends without a change
    QVERIFY(!writeSong(song.get()).hasErrors());
    QCOMPARE(readSong(path)->title(), QStringLiteral("Second"));
}

void TestAtomicSaveStream::savingThroughALinkKeepsTheLink()
{
    QTemporaryDir dir;
    const QString target = copyFixture(dir, QStringLiteral("silence.m4a"), QStringLiteral("target.m4a"));
    const QString link = dir.filePath(QStringLiteral("link.m4a"));
    QVERIFY(QFile::link(target, link));
    std::unique_ptr<Song> song = readSong(link);
    QVERIFY(song);
    song->setTitle(QStringLiteral("Through the link"));
    song->addImage(Image(samplePng(qRgb(1, 2, 3)).repeated(500)));
    QVERIFY(!writeSong(song.get()).hasErrors());
    QVERIFY(QFileInfo(link).isSymLink());
    QCOMPARE(readSong(target)->title(), QStringLiteral("Through the link"));
}

void TestAtomicSaveStream::leftoverTemporaryFileIsReplaced()
{
    for (const bool unnamed : {true, false}) {
        ReplacementFile::setUnnamedFilesAllowed(unnamed);
        QTemporaryDir dir;
        const QString path = copyFixture(dir, QStringLiteral("silence.wav"), QStringLiteral("a.wav"));
        const QString leftover = dir.filePath(QString::fromUtf8(ReplacementFile::temporaryName("a.wav")));
        QVERIFY(!writeFile(dir, QFileInfo(leftover).fileName(), "left by a killed save").isEmpty());
        std::unique_ptr<Song> song = readSong(path);
        QVERIFY(song);
        song->setTitle(QStringLiteral("After a kill"));
        song->addImage(Image(sampleJpeg(qRgb(5, 5, 5)).repeated(300)));
        QVERIFY(!writeSong(song.get()).hasErrors());
        QCOMPARE(namesIn(dir.path()), QStringList{QStringLiteral("a.wav")});
        QCOMPARE(readSong(path)->title(), QStringLiteral("After a kill"));
    }
}

void TestAtomicSaveStream::fullDiskLeavesFilesAsTheyWere_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<SmallFileSystem::Kind>("kind");
    for (const char *fixture : {"silence.mp3", "silence.m4a", "silence.flac", "silence.aiff", "silence.wav"}) {
        QTest::addRow("%s on tmpfs", fixture) << QString::fromLatin1(fixture) << SmallFileSystem::Kind::Tmpfs;
        QTest::addRow("%s on an image", fixture) << QString::fromLatin1(fixture) << SmallFileSystem::Kind::LoopImage;
    }
}

// A tag that grows by a picture larger than the space left: the save fails and says so, the
// file keeps every byte and nothing else is left on the disk.
void TestAtomicSaveStream::fullDiskLeavesFilesAsTheyWere()
{
    QFETCH(QString, fixture);
    QFETCH(SmallFileSystem::Kind, kind);
    SmallFileSystem disk(1024 * 1024, kind);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.failure()));
    const QString path = disk.path() + QStringLiteral("/song.") + QFileInfo(fixture).suffix();
    QVERIFY(QFile::copy(fixturePath(fixture), path));
    QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
    const QByteArray before = fileBytes(path);
    std::unique_ptr<Song> song = readSong(path);
    QVERIFY(song);
    QVERIFY2(disk.fillLeaving(64 * 1024), qPrintable(disk.failure()));

    song->setTitle(QStringLiteral("Too big for the disk"));
    const QByteArray picture = sampleJpeg(qRgb(9, 9, 9));
    song->addImage(Image(picture.repeated(int(400000 / picture.size()))));
    const SaveReport report = writeSong(song.get());
    QCOMPARE(report.errorCount, quint64(1));
    QVERIFY(song->isTitleModified());
    QCOMPARE(fileBytes(path), before);
    disk.unfill();
    QCOMPARE(namesIn(disk.path()), QStringList{QFileInfo(path).fileName()});

    // With the space back the same song saves.
    QVERIFY2(!writeSong(song.get()).hasErrors(), "saved once there is room");
    QCOMPARE(readSong(path)->title(), QStringLiteral("Too big for the disk"));
}

QTEST_GUILESS_MAIN(TestAtomicSaveStream)
#include "test_atomicsavestream.moc"
