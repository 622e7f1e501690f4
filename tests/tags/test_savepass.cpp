#include "audiostream.h"
#include "fixtures.h"
#include "savetesting.h"
#include "songdump.h"

#include "model/fileidentity.h"
#include "model/filemove.h"
#include "model/filerename.h"
#include "model/image.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tags/tagswriter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <taglib/apetag.h>
#include <taglib/aifffile.h>
#include <taglib/flacfile.h>
#include <taglib/id3v1tag.h>
#include <taglib/id3v2tag.h>
#include <taglib/mp4file.h>
#include <taglib/mp4tag.h>
#include <taglib/mpegfile.h>
#include <taglib/tpropertymap.h>
#include <taglib/wavfile.h>
#include <taglib/xiphcomment.h>

#include <limits>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList entries(const SaveReport &report)
{
    return report.errorText.split(u'\n', Qt::SkipEmptyParts);
}

QString notSaved(const QString &name)
{
    return Localized::text("FileWasNotSaved").arg(name).trimmed();
}

QString notRenamedTo(const QString &name, const QString &wanted)
{
    return Localized::text("FileWasNotRenamedTo").arg(name, wanted).trimmed();
}

QString notRenamed(const QString &wanted)
{
    return Localized::text("FileWasNotRenamed").arg(wanted).trimmed();
}

QStringList folderListing(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
}

ino_t inodeOf(const QString &path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_ino : 0;
}

// Frames, items or comment keys a tag holds more than once (a FLAC album artist under its four
// keys counts once per key); in MP4 files also a second "covr" atom.
QStringList duplicatedTagFields(const QString &path)
{
    QStringList names;
    const auto check = [&names](const TagLib::PropertyMap &properties) {
        for (const auto &[key, values] : properties) {
            if (values.size() > 1)
                names.append(QString::fromStdString(key.to8Bit(true)));
        }
    };
    const auto id3 = [&names](TagLib::ID3v2::Tag *tag) {
        if (!tag)
            return;
        for (const auto &[id, frames] : tag->frameListMap()) {
            if (frames.size() > 1 && id != "APIC")
                names.append(QString::fromLatin1(id.data(), int(id.size())));
        }
    };
    if (path.endsWith(QStringLiteral(".mp3"))) {
        TagLib::MPEG::File file(path.toUtf8().constData());
        id3(file.ID3v2Tag());
    } else if (path.endsWith(QStringLiteral(".aiff"))) {
        TagLib::RIFF::AIFF::File file(path.toUtf8().constData());
        id3(file.tag());
    } else if (path.endsWith(QStringLiteral(".wav"))) {
        TagLib::RIFF::WAV::File file(path.toUtf8().constData());
        id3(file.ID3v2Tag());
    } else if (path.endsWith(QStringLiteral(".flac"))) {
        TagLib::FLAC::File file(path.toUtf8().constData());
        check(file.xiphComment()->properties());
    } else if (path.endsWith(QStringLiteral(".m4a"))) {
        const QByteArray bytes = fileBytes(path);
        if (bytes.count("covr") != 1)
            names.append(QStringLiteral("covr"));
        TagLib::MP4::File file(path.toUtf8().constData());
        check(file.properties());
    }
    return names;
}

void makeReadOnly(const QString &path)
{
    QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
}

} // namespace

class TestSavePass : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void entriesEndWithALineBreak();
    void writesOnlyModifiedSongs();
    void forcedPassWritesEverySongAndRenamesOnlyChangedNames();
    void passesOverUnknownTypes();

    void renames_data();
    void renames();
    void renameNeverReplacesAFile_data();
    void renameNeverReplacesAFile();
    void fileMovesNeverReplace_data();
    void fileMovesNeverReplace();
    void staleNamesDoNotBlock_data();
    void staleNamesDoNotBlock();
    void refusedNames_data();
    void refusedNames();
    void nameLengths_data();
    void nameLengths();
    void parkingDetour_data();
    void parkingDetour();
    void caseOnlyRenameWhereCaseIsIgnored();

    void unsaveableFileIsLeftAsItWas_data();
    void unsaveableFileIsLeftAsItWas();
    void readOnlyFolderKeepsTheName();
    void identityFollowsOwnSaves();

    void errorListKeepsTenEntries_data();
    void errorListKeepsTenEntries();
    void saveAndRenameFailingTogether();

    void dryRunChangesNothing();

    void keepsAudioStream_data();
    void keepsAudioStream();
    void secondSaveChangesNothing_data();
    void secondSaveChangesNothing();

private:
    // A fresh folder per test, so that listings show only what the test made.
    QString folder() const { return m_work->path(); }
    std::unique_ptr<Song> load(const QString &fixture, const QString &name);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<QTemporaryDir> m_work;
};

void TestSavePass::initTestCase()
{
    QVERIFY(useEditorSettings(m_settingsDir));
}

void TestSavePass::init()
{
    UserDefaults::shared().clearOverrides();
    m_work = std::make_unique<QTemporaryDir>();
    QVERIFY(m_work->isValid());
}

void TestSavePass::cleanup()
{
    // Tests make files and folders read-only; the temporary folder must be removable.
    QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_work.reset();
}

std::unique_ptr<Song> TestSavePass::load(const QString &fixture, const QString &name)
{
    const QString path = copyFixture(*m_work, fixture, name);
    return path.isEmpty() ? nullptr : readSong(path);
}

void TestSavePass::entriesEndWithALineBreak()
{
    // Entries are appended to each other without a separator.
    for (const char *key : {"FileWasNotSaved", "FileWasNotRenamedTo", "FileWasNotRenamed"}) {
        const QString text = Localized::text(key);
        QVERIFY2(text != QString::fromLatin1(key), key);
        QVERIFY2(text.endsWith(u'\n'), key);
        QVERIFY2(text.contains(QStringLiteral("%1")), key);
    }
    QVERIFY(Localized::text("FileWasNotRenamedTo").contains(QStringLiteral("%2")));
}

void TestSavePass::writesOnlyModifiedSongs()
{
    auto a = load(QStringLiteral("silence.mp3"), QStringLiteral("a.mp3"));
    auto b = load(QStringLiteral("silence.flac"), QStringLiteral("b.flac"));
    QVERIFY(a && b);
    const QByteArray identityB = FileIdentity::ofPath(b->filePath());
    const QByteArray bytesB = fileBytes(b->filePath());

    TagsWriter writer;
    SaveReport report = writer.writeFiles({a.get(), b.get()}, false);
    QVERIFY(!report.hasErrors());
    QCOMPARE(report.savedCount, 0);

    a->setTitle(QStringLiteral("Changed"));
    report = writer.writeFiles({a.get(), b.get()}, false);
    QVERIFY(!report.hasErrors());
    QCOMPARE(report.savedCount, 1);
    QVERIFY(!a->isModified());
    QCOMPARE(readSong(a->filePath())->title(), QStringLiteral("Changed"));
    QCOMPARE(FileIdentity::ofPath(b->filePath()), identityB);
    QCOMPARE(fileBytes(b->filePath()), bytesB);
}

void TestSavePass::forcedPassWritesEverySongAndRenamesOnlyChangedNames()
{
    auto a = load(QStringLiteral("silence.m4a"), QStringLiteral("a.m4a"));
    auto b = load(QStringLiteral("silence.wav"), QStringLiteral("b.wav"));
    QVERIFY(a && b);
    // Values the files do not hold yet, without flags: only a forced pass writes them.
    a->setTitle(QStringLiteral("Title A"));
    b->setTitle(QStringLiteral("Title B"));
    a->resetModifications();
    b->resetModifications();
    b->setFileName(QStringLiteral("renamed.wav"));

    TagsWriter writer;
    const SaveReport report = writer.writeFiles({a.get(), b.get()}, true);
    QVERIFY(!report.hasErrors());
    QCOMPARE(report.savedCount, 2);
    QCOMPARE(report.renamedCount, 1);
    QCOMPARE(folderListing(folder()), (QStringList{"a.m4a", "renamed.wav"}));
    QCOMPARE(a->filePath(), folder() + QStringLiteral("/a.m4a"));
    QCOMPARE(b->filePath(), folder() + QStringLiteral("/renamed.wav"));
    QCOMPARE(readSong(a->filePath())->title(), QStringLiteral("Title A"));
    QCOMPARE(readSong(b->filePath())->title(), QStringLiteral("Title B"));
    QVERIFY(!a->isModified() && !b->isModified());
}

void TestSavePass::passesOverUnknownTypes()
{
    const QString path = writeFile(*m_work, QStringLiteral("notes.ogg"), QByteArray("not audio"));
    QVERIFY(!path.isEmpty());
    Song song;
    song.setFilePath(path);
    song.setFileName(QStringLiteral("other.ogg"));
    song.setTitle(QStringLiteral("Title"));

    TagsWriter writer;
    const SaveReport report = writer.writeFiles({&song}, true);
    QVERIFY(!report.hasErrors());
    QCOMPARE(report.savedCount, 0);
    QVERIFY(song.isModified());
    QCOMPARE(fileBytes(path), QByteArray("not audio"));
    QCOMPARE(folderListing(folder()), QStringList{"notes.ogg"});
}

void TestSavePass::renames_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("oldName");
    QTest::addColumn<QString>("wantedName");
    QTest::addColumn<QString>("newName");
    QTest::addColumn<int>("moves");

    QTest::newRow("new name") << "silence.mp3" << "Song.mp3" << "Other Song.mp3" << "Other Song.mp3" << 1;
    QTest::newRow("letter case only") << "silence.mp3" << "Song.mp3" << "song.mp3" << "song.mp3" << 1;
    QTest::newRow("extension case as wanted") << "silence.flac" << "a.FLAC" << "b.flac" << "b.flac" << 1;
    QTest::newRow("extension case only") << "silence.m4a" << "a.m4a" << "a.M4A" << "a.M4A" << 1;
    QTest::newRow("sanitized") << "silence.aiff" << "x.aiff" << "AC/DC: Live?.aiff" << "AC-DC- Live.aiff" << 1;
    QTest::newRow("dots kept") << "silence.wav" << "x.wav" << "a.b.wav" << "a.b.wav" << 1;
    QTest::newRow("sanitizes to the current name") << "silence.mp3" << "Song.mp3" << "  Song   .mp3" << "Song.mp3" << 0;
    QTest::newRow("NUL before the extension") << "silence.m4a" << "x.m4a" << QString::fromUtf8("01. and\0.m4a", 12)
                                              << "01. and.m4a" << 1;
    QTest::newRow("line break") << "silence.wav" << "x.wav" << "a\nb\r\n.wav" << "a b.wav" << 1;
    QTest::newRow("tab, escape and DEL") << "silence.flac" << "x.flac" << "a\tb\x1b\x7f.flac" << "a b.flac" << 1;
    QTest::newRow("hidden name kept") << "silence.aiff" << "x.aiff" << ".a.aiff" << ".a.aiff" << 1;
}

void TestSavePass::renames()
{
    QFETCH(QString, fixture);
    QFETCH(QString, oldName);
    QFETCH(QString, wantedName);
    QFETCH(QString, newName);
    QFETCH(int, moves);

    auto song = load(fixture, oldName);
    QVERIFY(song);
    song->setFileName(wantedName);
    QVERIFY(song->isFileNameModified());
    const QString keptFileName = song->fileName();

    const SaveReport report = writeSong(song.get());
    QCOMPARE(report.errorText, QString());
    QCOMPARE(report.renamedCount, moves);
    QCOMPARE(folderListing(folder()), QStringList{newName});
    QCOMPARE(song->filePath(), folder() + u'/' + newName);
    QCOMPARE(song->fileName(), keptFileName);
    QVERIFY(!song->isModified());
    // Moved, not copied: the file the save left is the one under the new name.
    QCOMPARE(FileIdentity::ofPath(song->filePath()), song->fileIdentity());
}

void TestSavePass::renameNeverReplacesAFile_data()
{
    QTest::addColumn<QString>("blocker");
    QTest::newRow("a file has the new name") << "New.mp3";
    QTest::newRow("a folder has the new name") << "New.mp3/";
    QTest::newRow("a link to the file itself has the new name") << "New.mp3=";
}

void TestSavePass::renameNeverReplacesAFile()
{
    QFETCH(QString, blocker);

    auto song = load(QStringLiteral("silence.mp3"), QStringLiteral("Old.mp3"));
    QVERIFY(song);
    const QString oldPath = song->filePath();
    const QByteArray songBytes = fileBytes(oldPath);
    QString blockerPath;
    if (blocker.endsWith(u'/')) {
        blocker.chop(1);
        QVERIFY(QDir(folder()).mkdir(blocker));
    } else if (blocker.endsWith(u'=')) {
        blocker.chop(1);
        QVERIFY(::link(QFile::encodeName(oldPath).constData(), QFile::encodeName(folder() + u'/' + blocker).constData()) == 0);
    } else {
        blockerPath = writeFile(*m_work, blocker, QByteArray("precious"));
        QVERIFY(!blockerPath.isEmpty());
    }
    const QStringList before = folderListing(folder());
    song->setFileName(QStringLiteral("New.mp3"));

    TagsWriter dryRun;
    dryRun.setDryRun(true);
    const SaveReport dryReport = dryRun.writeFiles({song.get()}, false);
    const SaveReport report = writeSong(song.get());
    QCOMPARE(entries(report), QStringList{notRenamedTo(QStringLiteral("Old.mp3"), QStringLiteral("New.mp3"))});
    QCOMPARE(entries(dryReport), entries(report));
    QCOMPARE(report.errorCount, 1u);
    QCOMPARE(folderListing(folder()), before);
    QCOMPARE(fileBytes(oldPath), songBytes);
    if (!blockerPath.isEmpty())
        QCOMPARE(fileBytes(blockerPath), QByteArray("precious"));
    QCOMPARE(song->filePath(), oldPath);
    QCOMPARE(song->fileName(), QStringLiteral("New.mp3"));
    QVERIFY(song->isFileNameModified());
}

void TestSavePass::fileMovesNeverReplace_data()
{
    QTest::addColumn<bool>("byLink");
    QTest::newRow("no-replace rename") << false;
    QTest::newRow("link and unlink") << true;
}

void TestSavePass::fileMovesNeverReplace()
{
    QFETCH(bool, byLink);
    const auto move = [byLink](const QString &from, const QString &to) {
        return byLink ? FileMove::moveByLink(from, to) : FileMove::moveNoReplace(from, to);
    };
    const QString a = writeFile(*m_work, QStringLiteral("a"), QByteArray("A"));
    const QString b = writeFile(*m_work, QStringLiteral("b"), QByteArray("B"));
    QVERIFY(!a.isEmpty() && !b.isEmpty());
    const ino_t inode = inodeOf(a);

    const Result<void> refused = move(a, b);
    QVERIFY(!refused.ok());
    QCOMPARE(fileBytes(a), QByteArray("A"));
    QCOMPARE(fileBytes(b), QByteArray("B"));

    const QString c = folder() + QStringLiteral("/c");
    QVERIFY(move(a, c).ok());
    QVERIFY(!QFile::exists(a));
    QCOMPARE(fileBytes(c), QByteArray("A"));
    QCOMPARE(inodeOf(c), inode);

    const Result<void> missing = move(a, folder() + QStringLiteral("/d"));
    QVERIFY(!missing.ok());
    QCOMPARE(missing.error().code, ErrorCode::NotFound);
}

void TestSavePass::staleNamesDoNotBlock_data()
{
    QTest::addColumn<QString>("stale");
    QTest::newRow("the old temporary name") << "Old.mp3~";
    QTest::newRow("a file named like a parking folder") << ".quorl-rename-Ab12Cd";
    QTest::newRow("a parking folder") << ".quorl-rename-Ab12Cd/Other.mp3";
}

void TestSavePass::staleNamesDoNotBlock()
{
    QFETCH(QString, stale);

    auto song = load(QStringLiteral("silence.mp3"), QStringLiteral("Old.mp3"));
    QVERIFY(song);
    QVERIFY(QDir(folder()).mkpath(QFileInfo(folder() + u'/' + stale).path()));
    const QString stalePath = writeFile(*m_work, stale, QByteArray("stale"));
    QVERIFY(!stalePath.isEmpty());
    song->setFileName(QStringLiteral("New.mp3"));

    const SaveReport report = writeSong(song.get());
    QCOMPARE(report.errorText, QString());
    QCOMPARE(report.renamedCount, 1);
    QCOMPARE(song->filePath(), folder() + QStringLiteral("/New.mp3"));
    QVERIFY(folderListing(folder()).contains(QStringLiteral("New.mp3")));
    QCOMPARE(fileBytes(stalePath), QByteArray("stale"));
}

void TestSavePass::refusedNames_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<QString>("stem");
    for (const char *fixture : {"silence.mp3", "silence.m4a", "silence.flac", "silence.aiff", "silence.wav"}) {
        QTest::addRow("%s nothing", fixture) << QString::fromLatin1(fixture) << "";
        QTest::addRow("%s one dot", fixture) << QString::fromLatin1(fixture) << ".";
        QTest::addRow("%s two dots", fixture) << QString::fromLatin1(fixture) << "..";
        QTest::addRow("%s three dots", fixture) << QString::fromLatin1(fixture) << "...";
        QTest::addRow("%s dot amid blanks", fixture) << QString::fromLatin1(fixture) << " . ";
        QTest::addRow("%s dots amid hyphens and controls", fixture) << QString::fromLatin1(fixture) << "-\n.\t.-";
    }
}

void TestSavePass::refusedNames()
{
    QFETCH(QString, fixture);
    QFETCH(QString, stem);

    const QString extension = fixture.section(u'.', 1);
    auto song = load(fixture, QStringLiteral("Old.") + extension);
    QVERIFY(song);
    const QString path = song->filePath();
    const QString wanted = stem + u'.' + extension;
    song->setFileName(wanted);
    QVERIFY(song->isFileNameModified());

    TagsWriter dryRun;
    dryRun.setDryRun(true);
    const SaveReport dryReport = dryRun.writeFiles({song.get()}, false);
    const SaveReport report = writeSong(song.get());
    // The setter trims the name.
    const QString refusal = Localized::text("FileNameInvalidXY").arg(QStringLiteral("Old.") + extension, song->fileName());
    QCOMPARE(report.errorText, refusal);
    QCOMPARE(report.errorCount, 1u);
    QCOMPARE(report.renamedCount, 0);
    QCOMPARE(dryReport.errorText, report.errorText);
    QCOMPARE(folderListing(folder()), QStringList{QStringLiteral("Old.") + extension});
    QCOMPARE(song->filePath(), path);
    QVERIFY(song->isModified());
    QCOMPARE(song->fileName(), wanted.trimmed());
}

namespace {

constexpr int ShortName = std::numeric_limits<int>::min();

// "Old"/"New" for ShortName, else a name of non-ASCII letters (two bytes each) that is
// bytesOverLimit longer than the limit, with the extension.
QString nameOfLength(int bytesOverLimit, qint64 limit, const QString &shortStem, const QString &extension)
{
    if (bytesOverLimit == ShortName)
        return shortStem + u'.' + extension;
    const qint64 stemBytes = limit + bytesOverLimit - 1 - extension.size();
    return QString(stemBytes / 2, QChar(0x00E9)) + QString(stemBytes % 2, u'a') + u'.' + extension;
}

} // namespace

void TestSavePass::nameLengths_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<int>("oldOverLimit");
    QTest::addColumn<int>("newOverLimit");
    QTest::addColumn<bool>("renamed");
    for (const char *fixture : {"silence.mp3", "silence.m4a", "silence.flac", "silence.aiff", "silence.wav"}) {
        QTest::addRow("%s to the limit", fixture) << QString::fromLatin1(fixture) << ShortName << 0 << true;
        QTest::addRow("%s from the limit", fixture) << QString::fromLatin1(fixture) << 0 << ShortName << true;
        QTest::addRow("%s at the limit to one byte less", fixture) << QString::fromLatin1(fixture) << 0 << -1 << true;
        QTest::addRow("%s one byte over", fixture) << QString::fromLatin1(fixture) << ShortName << 1 << false;
    }
}

void TestSavePass::nameLengths()
{
    QFETCH(QString, fixture);
    QFETCH(int, oldOverLimit);
    QFETCH(int, newOverLimit);
    QFETCH(bool, renamed);

    const qint64 limit = FileRename::nameLimit(folder());
    if (limit > 4096)
        QSKIP("The file system of the temporary folder sets no name limit");
    const QString extension = fixture.section(u'.', 1);
    const QString oldName = nameOfLength(oldOverLimit, limit, QStringLiteral("Old"), extension);
    const QString newName = nameOfLength(newOverLimit, limit, QStringLiteral("New"), extension);
    QCOMPARE(QFile::encodeName(newName).size(), newOverLimit == ShortName ? newName.size() : limit + newOverLimit);
    auto song = load(fixture, oldName);
    QVERIFY(song);
    song->setTitle(QStringLiteral("Saved"));
    song->setFileName(newName);

    TagsWriter dryRun;
    dryRun.setDryRun(true);
    const SaveReport dryReport = dryRun.writeFiles({song.get()}, false);
    const SaveReport report = writeSong(song.get());
    QCOMPARE(entries(dryReport), entries(report));
    QCOMPARE(dryReport.renamedCount, report.renamedCount);
    // The tags are saved either way.
    QCOMPARE(report.savedCount, 1);
    QCOMPARE(readSong(song->filePath())->title(), QStringLiteral("Saved"));
    if (renamed) {
        QCOMPARE(report.errorText, QString());
        QCOMPARE(folderListing(folder()), QStringList{newName});
        QVERIFY(!song->isModified());
    } else {
        const QString refusal = Localized::text("FileNameTooLongXYZ").arg(oldName, newName).arg(limit);
        QCOMPARE(entries(report), QStringList{refusal.trimmed()});
        QVERIFY(refusal.contains(QString::number(limit)));
        QCOMPARE(folderListing(folder()), QStringList{oldName});
        QVERIFY(song->isFileNameModified());
    }
}

void TestSavePass::parkingDetour_data()
{
    QTest::addColumn<bool>("newNameTaken");
    QTest::newRow("moved on to the new name") << false;
    QTest::newRow("put back when the new name is taken") << true;
}

void TestSavePass::parkingDetour()
{
    QFETCH(bool, newNameTaken);

    const QString from = copyFixture(*m_work, QStringLiteral("silence.flac"), QStringLiteral("Song.flac"));
    QVERIFY(!from.isEmpty());
    const ino_t inode = inodeOf(from);
    const QString to = folder() + QStringLiteral("/song.flac");
    if (newNameTaken)
        QVERIFY(!writeFile(*m_work, QStringLiteral("song.flac"), QByteArray("taken")).isEmpty());

    const FileRename::Status status = FileRename::renameThroughParking(from, to);
    QCOMPARE(status, newNameTaken ? FileRename::Status::Failed : FileRename::Status::Done);
    // Neither way is the parking folder left behind.
    QCOMPARE(folderListing(folder()), newNameTaken ? (QStringList{"Song.flac", "song.flac"}) : QStringList{"song.flac"});
    QCOMPARE(inodeOf(newNameTaken ? from : to), inode);
    if (newNameTaken)
        QCOMPARE(fileBytes(to), QByteArray("taken"));
}

void TestSavePass::caseOnlyRenameWhereCaseIsIgnored()
{
    // A small FAT image, whose names ignore case, on a loop device.
    const QString tools = QStandardPaths::findExecutable(QStringLiteral("mkfs.vfat"), {"/sbin", "/usr/sbin"});
    if (tools.isEmpty())
        QSKIP("mkfs.vfat is missing: no file system that ignores case can be made");
    QTemporaryDir imageFolder;
    QVERIFY(imageFolder.isValid());
    const QString image = imageFolder.filePath(QStringLiteral("fat.img"));
    QFile imageFile(image);
    QVERIFY(imageFile.open(QIODevice::WriteOnly) && imageFile.resize(4 * 1024 * 1024));
    imageFile.close();
    if (QProcess::execute(tools, {QStringLiteral("-n"), QStringLiteral("QUORLTEST"), image}) != 0)
        QSKIP("mkfs.vfat failed");
    const QString mountPoint = imageFolder.filePath(QStringLiteral("mnt"));
    QVERIFY(QDir().mkdir(mountPoint));
    if (QProcess::execute(QStringLiteral("mount"), {QStringLiteral("-o"), QStringLiteral("loop"), image, mountPoint}) != 0)
        QSKIP("A FAT image cannot be mounted here (not root, or no FAT support in the kernel)");
    const auto unmount = qScopeGuard([&] { QProcess::execute(QStringLiteral("umount"), {mountPoint}); });

    const QString oldPath = mountPoint + QStringLiteral("/Song.mp3");
    QVERIFY(QFile::copy(fixturePath(QStringLiteral("silence.mp3")), oldPath));
    const QString stale = mountPoint + QStringLiteral("/.quorl-rename-Ab12Cd");
    QFile staleFile(stale);
    QVERIFY(staleFile.open(QIODevice::WriteOnly) && staleFile.write("stale") == 5);
    staleFile.close();
    auto song = readSong(oldPath);
    QVERIFY(song);
    song->setFileName(QStringLiteral("song.mp3"));

    TagsWriter dryRun;
    dryRun.setDryRun(true);
    const SaveReport dryReport = dryRun.writeFiles({song.get()}, false);
    QCOMPARE(dryReport.errorText, QString());
    QCOMPARE(dryReport.renamedCount, 1);
    const SaveReport report = writeSong(song.get());
    QCOMPARE(report.errorText, QString());
    QCOMPARE(report.renamedCount, 1);
    QCOMPARE(folderListing(mountPoint), (QStringList{".quorl-rename-Ab12Cd", "song.mp3"}));
    QCOMPARE(fileBytes(stale), QByteArray("stale"));
    QCOMPARE(fileBytes(mountPoint + QStringLiteral("/song.mp3")), fileBytes(fixturePath(QStringLiteral("silence.mp3"))));
}

void TestSavePass::unsaveableFileIsLeftAsItWas_data()
{
    QTest::addColumn<QString>("change");
    QTest::newRow("read-only file") << "read-only";
    QTest::newRow("file removed") << "removed";
    QTest::newRow("file replaced") << "replaced";
    QTest::newRow("file changed since loading") << "changed";
    QTest::newRow("folder in place of the file") << "folder";
}

void TestSavePass::unsaveableFileIsLeftAsItWas()
{
    QFETCH(QString, change);

    // ID3v1 and APE tags make the writer strip them at once: nothing of that may happen.
    const QString path = copyFixture(*m_work, QStringLiteral("silence.mp3"), QStringLiteral("Song.mp3"));
    QVERIFY(!path.isEmpty());
    {
        TagLib::MPEG::File file(path.toUtf8().constData());
        file.ID3v1Tag(true)->setTitle("Old title");
        file.APETag(true)->setTitle("Old title");
        QVERIFY(file.save(TagLib::MPEG::File::ID3v1 | TagLib::MPEG::File::APE, TagLib::File::StripNone));
    }
    auto song = readSong(path);
    QVERIFY(song);
    song->setTitle(QStringLiteral("New title"));

    if (change == u"read-only") {
        makeReadOnly(path);
    } else if (change == u"removed") {
        QVERIFY(QFile::remove(path));
    } else if (change == u"replaced") {
        // Same bytes, another file.
        const QByteArray bytes = fileBytes(path);
        QVERIFY(QFile::remove(path));
        QVERIFY(!writeFile(*m_work, QStringLiteral("Song.mp3"), bytes).isEmpty());
    } else if (change == u"changed") {
        QFile file(path);
        QVERIFY(file.open(QIODevice::Append));
        file.write("more");
    } else if (change == u"folder") {
        QVERIFY(QFile::remove(path));
        QVERIFY(QDir(folder()).mkdir(QStringLiteral("Song.mp3")));
    }
    const QByteArray before = fileBytes(path);
    const QByteArray identity = FileIdentity::ofPath(path);

    const SaveReport report = writeSong(song.get());
    QCOMPARE(entries(report), QStringList{notSaved(QStringLiteral("Song.mp3"))});
    QCOMPARE(report.errorCount, 1u);
    QCOMPARE(report.savedCount, 0);
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(FileIdentity::ofPath(path), identity);
    QVERIFY(song->isTitleModified());
    QCOMPARE(folderListing(folder()), change == u"removed" ? QStringList() : QStringList{"Song.mp3"});
}

void TestSavePass::readOnlyFolderKeepsTheName()
{
    auto song = load(QStringLiteral("silence.flac"), QStringLiteral("Old.flac"));
    QVERIFY(song);
    song->setTitle(QStringLiteral("Saved in place"));
    song->setFileName(QStringLiteral("New.flac"));
    QVERIFY(QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                                | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther));

    const SaveReport report = writeSong(song.get());
    // The tags go into the writable file; only the name cannot change.
    QCOMPARE(entries(report), QStringList{notRenamedTo(QStringLiteral("Old.flac"), QStringLiteral("New.flac"))});
    QCOMPARE(folderListing(folder()), QStringList{"Old.flac"});
    QCOMPARE(readSong(song->filePath())->title(), QStringLiteral("Saved in place"));
    QVERIFY(song->isModified());
    QVERIFY(song->isTitleModified());
}

void TestSavePass::identityFollowsOwnSaves()
{
    auto song = load(QStringLiteral("silence.m4a"), QStringLiteral("a.m4a"));
    QVERIFY(song);
    song->setTitle(QStringLiteral("First"));
    QVERIFY(!writeSong(song.get()).hasErrors());
    QCOMPARE(song->fileIdentity(), FileIdentity::ofPath(song->filePath()));

    // Its own save does not make the next one refuse...
    song->setArtist(QStringLiteral("Second"));
    QVERIFY(!writeSong(song.get()).hasErrors());
    auto reread = readSong(song->filePath());
    QCOMPARE(reread->title(), QStringLiteral("First"));
    QCOMPARE(reread->artist(), QStringLiteral("Second"));

    // ...another program's write does.
    {
        TagLib::MP4::File file(song->filePath().toUtf8().constData());
        file.tag()->setAlbum("Outside");
        QVERIFY(file.save());
    }
    song->setArtist(QStringLiteral("Third"));
    QCOMPARE(entries(writeSong(song.get())), QStringList{notSaved(QStringLiteral("a.m4a"))});
    QCOMPARE(readSong(song->filePath())->album(), QStringLiteral("Outside"));
}

void TestSavePass::errorListKeepsTenEntries_data()
{
    QTest::addColumn<int>("failures");
    QTest::newRow("ten") << 10;
    QTest::newRow("eleven") << 11;
    QTest::newRow("twelve") << 12;
}

void TestSavePass::errorListKeepsTenEntries()
{
    QFETCH(int, failures);

    std::vector<std::unique_ptr<Song>> songs;
    QList<Song *> list;
    QStringList wanted;
    for (int i = 0; i < failures; ++i) {
        const QString name = QStringLiteral("song%1.wav").arg(i, 2, 10, QLatin1Char('0'));
        songs.push_back(load(QStringLiteral("silence.wav"), name));
        QVERIFY(songs.back());
        songs.back()->setTitle(QStringLiteral("x"));
        makeReadOnly(songs.back()->filePath());
        list.append(songs.back().get());
        if (i < 10)
            wanted.append(notSaved(name));
    }
    TagsWriter writer;
    const SaveReport report = writer.writeFiles(list, false);
    QCOMPARE(entries(report), wanted);
    QCOMPARE(report.errorCount, quint64(failures));
}

void TestSavePass::saveAndRenameFailingTogether()
{
    // Below the limit the song adds two entries and one to the count...
    auto song = load(QStringLiteral("silence.mp3"), QStringLiteral("Old.mp3"));
    QVERIFY(song);
    QVERIFY(!writeFile(*m_work, QStringLiteral("New.mp3"), QByteArray("taken")).isEmpty());
    song->setTitle(QStringLiteral("x"));
    song->setFileName(QStringLiteral("New.mp3"));
    makeReadOnly(song->filePath());
    SaveReport report = writeSong(song.get());
    QCOMPARE(entries(report), (QStringList{notSaved(QStringLiteral("Old.mp3")), notRenamed(QStringLiteral("New.mp3"))}));
    QCOMPARE(report.errorCount, 1u);

    // ...at the limit it adds two to the count and no entry.
    std::vector<std::unique_ptr<Song>> others;
    QList<Song *> list;
    for (int i = 0; i < 9; ++i) {
        others.push_back(load(QStringLiteral("silence.mp3"), QStringLiteral("other%1.mp3").arg(i)));
        QVERIFY(others.back());
        others.back()->setTitle(QStringLiteral("x"));
        makeReadOnly(others.back()->filePath());
        list.append(others.back().get());
    }
    list.append(song.get());
    TagsWriter writer;
    report = writer.writeFiles(list, false);
    QCOMPARE(entries(report).size(), 10);
    QCOMPARE(entries(report).last(), notSaved(QStringLiteral("Old.mp3")));
    QCOMPARE(report.errorCount, 11u);

    others.push_back(load(QStringLiteral("silence.mp3"), QStringLiteral("tenth.mp3")));
    others.back()->setTitle(QStringLiteral("x"));
    makeReadOnly(others.back()->filePath());
    list.insert(0, others.back().get());
    report = writer.writeFiles(list, false);
    QCOMPARE(entries(report).size(), 10);
    QVERIFY(!entries(report).contains(notSaved(QStringLiteral("Old.mp3"))));
    QCOMPARE(report.errorCount, 12u);
}

void TestSavePass::dryRunChangesNothing()
{
    auto tagged = load(QStringLiteral("silence.mp3"), QStringLiteral("tagged.mp3"));
    auto renamed = load(QStringLiteral("silence.flac"), QStringLiteral("renamed.flac"));
    auto readOnly = load(QStringLiteral("silence.m4a"), QStringLiteral("readonly.m4a"));
    auto blocked = load(QStringLiteral("silence.wav"), QStringLiteral("blocked.wav"));
    QVERIFY(tagged && renamed && readOnly && blocked);
    QVERIFY(!writeFile(*m_work, QStringLiteral("taken.wav"), QByteArray("taken")).isEmpty());
    tagged->setTitle(QStringLiteral("x"));
    tagged->addImage(Image(samplePng(qRgb(1, 1, 1))));
    renamed->setFileName(QStringLiteral("new name.flac"));
    readOnly->setTitle(QStringLiteral("x"));
    makeReadOnly(readOnly->filePath());
    blocked->setFileName(QStringLiteral("taken.wav"));

    const QList<Song *> songs = {tagged.get(), renamed.get(), readOnly.get(), blocked.get()};
    QHash<QString, QByteArray> before;
    for (const QString &name : folderListing(folder()))
        before.insert(name, fileBytes(folder() + u'/' + name));

    TagsWriter writer;
    writer.setDryRun(true);
    for (bool forced : {false, true}) {
        const SaveReport report = writer.writeFiles(songs, forced);
        QCOMPARE(entries(report), (QStringList{notSaved(QStringLiteral("readonly.m4a")),
                                               notRenamedTo(QStringLiteral("blocked.wav"), QStringLiteral("taken.wav"))}));
        // The two songs that only change their names are renamed without a save unless forced.
        QCOMPARE(report.savedCount, forced ? 3 : 1);
        QCOMPARE(report.renamedCount, 1);
        QStringList names = before.keys();
        names.sort();
        QCOMPARE(folderListing(folder()), names);
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            QCOMPARE(fileBytes(folder() + u'/' + it.key()), it.value());
        for (Song *song : songs)
            QVERIFY(song->isModified());
        QCOMPARE(renamed->filePath(), folder() + QStringLiteral("/renamed.flac"));
    }
    QCOMPARE(before.size(), 5);
    QCOMPARE(folderListing(folder()).size(), 5);
}

void TestSavePass::keepsAudioStream_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<bool>("writeID3v1");
    for (const char *fixture : {"silence.mp3", "silence.m4a", "silence.flac", "silence.aiff", "silence.wav"})
        QTest::newRow(fixture) << QString::fromLatin1(fixture) << false;
    QTest::newRow("silence.mp3 with ID3v1") << "silence.mp3" << true;
}

void TestSavePass::keepsAudioStream()
{
    QFETCH(QString, fixture);
    QFETCH(bool, writeID3v1);
    UserDefaults::shared().setOverride(QStringLiteral("WRITE_ID3_V1_TAGS"), writeID3v1);

    const QByteArray original = audioStream(fixturePath(fixture));
    QVERIFY(!original.isEmpty());
    auto song = load(fixture, QStringLiteral("audio.") + fixture.section(u'.', 1));
    QVERIFY(song);
    const QString path = song->filePath();

    // Grow the tag well past any padding, so that the audio has to move...
    QByteArray big = QByteArray::fromHex("ffd8ffe0");
    for (int i = 0; big.size() < 300000; ++i)
        big += QByteArray::number(i * 7919);
    big += QByteArray::fromHex("ffd9");
    song->setTitle(QStringLiteral("A title long enough to matter ").repeated(20));
    song->setLyrics(QStringLiteral("Lyrics line\n").repeated(500));
    song->addImage(Image(big));
    song->addImage(Image(samplePng(qRgb(10, 20, 30))));
    QVERIFY(!writeSong(song.get()).hasErrors());
    QCOMPARE(readSong(path)->countOfImages(), 2);
    QCOMPARE(audioStream(path), original);

    // ...shrink it again...
    song->removeAllImages();
    song->setLyrics(QStringLiteral(""));
    QVERIFY(!writeSong(song.get()).hasErrors());
    QCOMPARE(readSong(path)->countOfImages(), 0);
    QCOMPARE(audioStream(path), original);

    // ...and rebuild it from nothing.
    QVERIFY(!writeSong(song.get(), true).hasErrors());
    QCOMPARE(audioStream(path), original);
    QCOMPARE(readSong(path)->title(), song->title());
}

void TestSavePass::secondSaveChangesNothing_data()
{
    QTest::addColumn<QString>("fixture");
    QTest::addColumn<bool>("forced");
    QTest::addColumn<QString>("setting");
    for (const char *fixture : {"silence.mp3", "silence.m4a", "silence.flac", "silence.aiff", "silence.wav"}) {
        QTest::addRow("%s flagged", fixture) << QString::fromLatin1(fixture) << false << QString();
        QTest::addRow("%s forced", fixture) << QString::fromLatin1(fixture) << true << QString();
    }
    QTest::newRow("silence.mp3 ID3v1") << "silence.mp3" << false << "WRITE_ID3_V1_TAGS";
    QTest::newRow("silence.mp3 ID3v2.3") << "silence.mp3" << false << "WRITE_ID3_V23_TAGS";
}

void TestSavePass::secondSaveChangesNothing()
{
    QFETCH(QString, fixture);
    QFETCH(bool, forced);
    QFETCH(QString, setting);
    if (!setting.isEmpty())
        UserDefaults::shared().setOverride(setting, true);

    auto first = load(fixture, QStringLiteral("twice.") + fixture.section(u'.', 1));
    QVERIFY(first);
    const QString path = first->filePath();
    const auto edit = [](Song *song, const QString &suffix) {
        // The suffix is trimmed away: it flags every text field without changing its value.
        song->setTitle(QStringLiteral("Title") + suffix);
        song->setArtist(QStringLiteral("Artist") + suffix);
        song->setAlbum(QStringLiteral("Album") + suffix);
        song->setAlbumArtist(QStringLiteral("Album Artist") + suffix);
        song->setComposer(QStringLiteral("Composer") + suffix);
        song->setGenre(QStringLiteral("Genre") + suffix);
        song->setComment(QStringLiteral("Comment") + suffix);
        song->setLyrics(QStringLiteral("Lyrics") + suffix);
        song->noCheck_setTrack(QStringLiteral("03/12"));
        song->noCheck_setDisc(QStringLiteral("1/2"));
        song->removeAllImages();
        song->addImage(Image(sampleJpeg(qRgb(1, 2, 3))));
        song->addImage(Image(samplePng(qRgb(4, 5, 6))));
    };
    edit(first.get(), QString());
    first->setYear(2020);
    first->setIsCompilation(1);
    QVERIFY(!writeSong(first.get(), forced).hasErrors());
    const QByteArray once = fileBytes(path);
    const QString dumpOnce = dumpSong(*readSong(path));

    auto second = readSong(path);
    QVERIFY(second);
    edit(second.get(), QStringLiteral(" "));
    QVERIFY(second->isTitleModified() && second->isTrackModified() && second->isImagesModified());
    QVERIFY(!writeSong(second.get(), forced).hasErrors());

    // Same size and same values; a forced save also gives the same bytes. (Not forced, the
    // frames of the year and compilation flag keep their places while the rewritten ones
    // move behind them.)
    const QByteArray twice = fileBytes(path);
    QCOMPARE(twice.size(), once.size());
    if (forced)
        QCOMPARE(twice, once);
    QCOMPARE(dumpSong(*readSong(path)), dumpOnce);
    QCOMPARE(duplicatedTagFields(path), QStringList());
}

QTEST_GUILESS_MAIN(TestSavePass)
#include "test_savepass.moc"
