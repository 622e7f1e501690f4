// End-to-end runs of "quorl-cli edit" on copies of the fixtures: every option and the fixed order
// of the steps, what reaches the disk, --dry-run, --force, --json after the save, the failure
// report and the exit codes.

#include "clitesting.h"

#include "model/userdefaults.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

class TestCliEdit : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void edits_data();
    void edits();
    void dryRunChangesNoByte();
    void jsonAfterSaveIsWhatReadPrints();
    void forceSavesUnmodifiedSongs_data();
    void forceSavesUnmodifiedSongs();
    void refusedSaveIsReported_data();
    void refusedSaveIsReported();
    void badInputChangesNothing_data();
    void badInputChangesNothing();

private:
    QString song(const QString &extension, const QString &name);
    CliRun run(const QStringList &arguments) { return runCli(arguments, m_config); }

    QTemporaryDir m_work;
    QString m_config;
    QString m_songs;
    QByteArray m_coverA;
    QByteArray m_coverB;
    QByteArray m_coverC;
    QString m_coverBPath;
    QString m_coverCPath;
    QString m_notPicturePath;
};

namespace {

// What every song holds before a test edits it.
QVariantMap oldValues()
{
    return {{"title", "Old Title"},   {"artist", "Old Artist"}, {"albumArtist", "Old Band"},
            {"composer", "Old Composer"}, {"album", "Old Album"}, {"track", "1/2"},
            {"disc", "1/1"},           {"genre", "Rock"},        {"year", 1980},
            {"comment", "old comment"}, {"lyrics", "old lyrics"}, {"isCompilation", 1}};
}

QStringList md5s(const QList<QByteArray> &pictures)
{
    QStringList hashes;
    for (const QByteArray &picture : pictures)
        hashes.append(QString::fromLatin1(Image::digest(picture).toHex()));
    return hashes;
}

QStringList md5s(const Song &song)
{
    QStringList hashes;
    for (const Image &image : song.images())
        hashes.append(QString::fromLatin1(image.hashHex()));
    return hashes;
}

} // namespace

void TestCliEdit::initTestCase()
{
    QVERIFY(prepareCliTests(m_work));
    // Read back track and disc as they were written.
    UserDefaults::shared().setBool(false, QStringLiteral("NUMBERING_LEADING_ZERO"));

    m_coverA = pictureBytes(64, 48, qRgb(200, 40, 40), "JPG");
    m_coverB = pictureBytes(20, 24, qRgb(10, 90, 200), "PNG");
    m_coverC = pictureBytes(30, 30, qRgb(10, 200, 90), "JPG");
    m_coverBPath = writeFile(m_work, QStringLiteral("b.png"), m_coverB);
    m_coverCPath = writeFile(m_work, QStringLiteral("c.jpg"), m_coverC);
    m_notPicturePath = writeFile(m_work, QStringLiteral("notes.jpg"), "not a picture");
    QVERIFY(!m_coverBPath.isEmpty() && !m_coverCPath.isEmpty() && !m_notPicturePath.isEmpty());
}

void TestCliEdit::init()
{
    QVERIFY(nextCliFolders(m_work, &m_config, &m_songs));
}

QString TestCliEdit::song(const QString &extension, const QString &name)
{
    return makeSong(m_songs, extension, name, oldValues(), {m_coverA});
}

void TestCliEdit::edits_data()
{
    QTest::addColumn<QString>("extension");
    QTest::addColumn<QStringList>("arguments");
    // Song property → value read back; "images" → MD5s in order; "fileName" → name on disk.
    QTest::addColumn<QVariantMap>("expected");

    const QStringList setters = {
        "--track", "7/9", "--title", "New Title", "--artist", "Nina Åberg", "--album-artist", "The Band",
        "--composer", "J. Moreau", "--album", "Coastlines", "--disc", "2/3", "--genre", "Jazz",
        "--year", "1999", "--comment", "live take", "--lyrics", "line one\nline two", "--compilation", "0"};
    const QVariantMap set = {
        {"track", "7/9"},       {"title", "New Title"},  {"artist", "Nina Åberg"}, {"albumArtist", "The Band"},
        {"composer", "J. Moreau"}, {"album", "Coastlines"}, {"disc", "2/3"},       {"genre", "Jazz"},
        {"year", 1999},         {"comment", "live take"}, {"lyrics", "line one\nline two"},
        {"isCompilation", 0},   {"images", md5s({m_coverA})}};
    for (const char *extension : {"mp3", "m4a", "flac", "aiff", "wav"})
        QTest::addRow("every setter: %s", extension) << QString::fromLatin1(extension) << setters << set;

    QVariantMap clearThenSet = oldValues();
    clearThenSet.insert("artist", "X");
    clearThenSet.insert("title", "");
    QTest::newRow("clear comes before the setter")
        << "mp3" << QStringList{"--artist", "X", "--clear", "artist", "--clear", "title"} << clearThenSet;

    QStringList clears;
    QVariantMap cleared = oldValues();
    for (const char *field : {"title", "artist", "album-artist", "composer", "album", "track", "disc", "genre",
                              "year", "comment"})
        clears << "--clear" << field;
    for (const char *property : {"title", "artist", "albumArtist", "composer", "album", "track", "disc", "genre",
                                 "comment"})
        cleared.insert(property, "");
    cleared.insert("year", 0);
    QTest::newRow("every clear, lyrics and compilation kept") << "flac" << clears << cleared;
    QTest::newRow("lyrics and compilation cleared")
        << "m4a" << QStringList{"--clear", "lyrics", "--clear", "compilation"}
        << QVariantMap{{"lyrics", ""}, {"isCompilation", 0}, {"title", "Old Title"}};

    QTest::newRow("covers removed before added")
        << "m4a" << QStringList{"--add-cover", m_coverBPath, "--remove-covers"}
        << QVariantMap{{"images", md5s({m_coverB})}};
    QTest::newRow("covers added in order")
        << "aiff" << QStringList{"--add-cover", m_coverBPath, "--add-cover", m_coverCPath}
        << QVariantMap{{"images", md5s({m_coverA, m_coverB, m_coverC})}};
    QTest::newRow("empty values clear")
        << "wav" << QStringList{"--year=", "--comment", "", "--track", ""}
        << QVariantMap{{"year", 0}, {"comment", ""}, {"track", ""}, {"title", "Old Title"}};
    QTest::newRow("setting override binds album artist")
        << "mp3" << QStringList{"-D", "BIND_ALBUM_ARTIST_TO_ARTIST=true", "--artist", "Solo"}
        << QVariantMap{{"artist", "Solo"}, {"albumArtist", "Solo"}};
    QTest::newRow("file name")
        << "flac" << QStringList{"--file-name", "Renamed Song.FLAC", "--title", "T"}
        << QVariantMap{{"fileName", "Renamed Song.FLAC"}, {"title", "T"}};
    QTest::newRow("file name with control characters")
        << "m4a" << QStringList{"--file-name", "Line\nBreak\tand\x1b escape.m4a"}
        << QVariantMap{{"fileName", "Line Break and escape.m4a"}};
    QTest::newRow("file name at the byte limit")
        << "aiff" << QStringList{"--file-name", QString(124, QChar(0x00E9)) + "xy.aiff"}
        << QVariantMap{{"fileName", QString(124, QChar(0x00E9)) + "xy.aiff"}};
}

void TestCliEdit::edits()
{
    QFETCH(QString, extension);
    QFETCH(QStringList, arguments);
    QFETCH(QVariantMap, expected);
    const QString path = song(extension, QStringLiteral("song.") + extension);
    QVERIFY(!path.isEmpty());

    const CliRun result = run(QStringList{"edit"} + arguments + QStringList{path});
    QVERIFY2(result.exitCode == 0, result.err.constData());

    QString readPath = path;
    if (expected.contains("fileName")) {
        readPath = QDir(m_songs).filePath(expected.value("fileName").toString());
        QCOMPARE(fileNames(m_songs), QStringList{expected.value("fileName").toString()});
    }
    const std::unique_ptr<Song> after = readSong(readPath);
    QVERIFY(after);
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (it.key() == u"images")
            QCOMPARE(md5s(*after), it.value().toStringList());
        else if (it.key() != u"fileName")
            QCOMPARE(after->valueForKey(it.key()).toString(), it.value().toString());
    }
}

void TestCliEdit::dryRunChangesNoByte()
{
    const QString mp3 = song("mp3", "a.mp3");
    const QString flac = song("flac", "b.flac");
    const QByteArray mp3Before = fileBytes(mp3);
    const QByteArray flacBefore = fileBytes(flac);

    const CliRun result = run({"--dry-run", "--json", "edit", "--title", "Dry", "--clear", "album",
                               "--remove-covers", "--add-cover", m_coverBPath, mp3, flac});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    QCOMPARE(fileBytes(mp3), mp3Before);
    QCOMPARE(fileBytes(flac), flacBefore);
    QCOMPARE(fileNames(m_songs), (QStringList{"a.mp3", "b.flac"}));
    // The songs show what a real run would have saved, still modified.
    const QJsonArray songs = result.songs();
    QCOMPARE(songs.size(), 2);
    for (const QJsonValue &value : songs) {
        const QJsonObject object = value.toObject();
        QCOMPARE(object.value("title").toString(), QStringLiteral("Dry"));
        QCOMPARE(object.value("album").toString("absent"), QString());
        QCOMPARE(object.value("isModified").toBool(false), true);
        QCOMPARE(object.value("images").toArray().size(), 1);
    }
}

void TestCliEdit::jsonAfterSaveIsWhatReadPrints()
{
    const QString path = song("mp3", "a.mp3");
    const CliRun edited = run({"--json", "edit", "--title", "Saved", "--file-name", "Moved.mp3", path});
    QVERIFY2(edited.exitCode == 0, edited.err.constData());
    const QString moved = QDir(m_songs).filePath("Moved.mp3");
    const QJsonObject object = edited.songs().at(0).toObject();
    QCOMPARE(object.value("filePath").toString(), moved);
    QCOMPARE(object.value("title").toString(), QStringLiteral("Saved"));
    QCOMPARE(object.value("isModified").toBool(true), false);

    const CliRun read = run({"--json", "read", moved});
    QCOMPARE(read.exitCode, 0);
    QCOMPARE(edited.out, read.out);
}

void TestCliEdit::forceSavesUnmodifiedSongs_data()
{
    QTest::addColumn<bool>("force");
    QTest::newRow("only modified songs") << false;
    QTest::newRow("--force") << true;
}

void TestCliEdit::forceSavesUnmodifiedSongs()
{
    QFETCH(bool, force);
    const QString path = song("mp3", "a.mp3");
    const QByteArray before = fileBytes(path);
    // A forced save scales the pictures it writes while scaling is on.
    QStringList arguments = {"-D", "SCALE_IMAGES=true", "-D", "SCALE_MAX_PIXEL_SIZE=16"};
    if (force)
        arguments << "--force";
    const CliRun result = run(arguments + QStringList{"edit", path});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    if (!force) {
        QCOMPARE(fileBytes(path), before);
        return;
    }
    const std::unique_ptr<Song> after = readSong(path);
    QVERIFY(after);
    QCOMPARE(after->countOfImages(), 1);
    QCOMPARE(QImage::fromData(after->images().at(0).data()).size(), QSize(16, 12));
    QCOMPARE(after->title(), QStringLiteral("Old Title"));
}

void TestCliEdit::refusedSaveIsReported_data()
{
    QTest::addColumn<QStringList>("options");
    // Standard input is not a terminal: the report is printed with its details either way.
    QTest::newRow("no answers") << QStringList();
    QTest::newRow("--yes") << QStringList{"--yes"};
}

void TestCliEdit::refusedSaveIsReported()
{
    QFETCH(QStringList, options);
    const QString locked = song("mp3", "locked.mp3");
    const QString open = song("flac", "open.flac");
    QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray lockedBefore = fileBytes(locked);

    const CliRun result = run(options + QStringList{"--json", "edit", "--title", "New", locked, open});
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner);
    QCOMPARE(result.exitCode, 1);
    QVERIFY2(result.err.contains("locked.mp3"), result.err.constData());
    QVERIFY(!result.err.contains("open.flac"));
    QCOMPARE(fileBytes(locked), lockedBefore);
    QCOMPARE(readSong(open)->title(), QStringLiteral("New"));
    // The song that was not saved stays modified.
    const QJsonArray songs = result.songs();
    QCOMPARE(songs.size(), 2);
    QCOMPARE(songs.at(0).toObject().value("isModified").toBool(false), true);
    QCOMPARE(songs.at(1).toObject().value("isModified").toBool(true), false);
}

void TestCliEdit::badInputChangesNothing_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("unknown clear field") << QStringList{"--clear", "length"} << 2;
    QTest::newRow("track not a number") << QStringList{"--track", "seven"} << 2;
    QTest::newRow("year not a number") << QStringList{"--year", "19x9"} << 2;
    QTest::newRow("compilation not 0 or 1") << QStringList{"--compilation", "2"} << 2;
    QTest::newRow("empty file name") << QStringList{"--file-name", ""} << 2;
    QTest::newRow("unknown option") << QStringList{"--colour", "red"} << 2;
    QTest::newRow("missing cover") << QStringList{"--add-cover", m_work.filePath("gone.jpg")} << 1;
    QTest::newRow("cover not a picture") << QStringList{"--add-cover", m_coverBPath, "--add-cover", m_notPicturePath}
                                         << 1;
    QTest::newRow("file name of another type") << QStringList{"--file-name", "x.flac"} << 1;
    QTest::newRow("file name of dots") << QStringList{"--file-name", "...mp3"} << 1;
    QTest::newRow("file name of a dot amid controls") << QStringList{"--file-name", "\n.\t.mp3"} << 1;
    QTest::newRow("file name over the byte limit") << QStringList{"--file-name", QString(126, QChar(0x00E9)) + ".mp3"}
                                                   << 1;
}

void TestCliEdit::badInputChangesNothing()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    const QString path = song("mp3", "a.mp3");
    const QByteArray before = fileBytes(path);
    const CliRun result = run(QStringList{"edit", "--title", "Changed"} + arguments + QStringList{path});
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY(result.out.isEmpty());
    QVERIFY(!result.err.isEmpty());
    QCOMPARE(fileBytes(path), before);
    QCOMPARE(fileNames(m_songs), QStringList{"a.mp3"});
}

QTEST_GUILESS_MAIN(TestCliEdit)
#include "test_cli_edit.moc"
