// Outputs that are whole or reported as failed: the song list export and extracted pictures on
// a full disk (a small file system mounted for the test), and standard output into a full device.

#include "clitesting.h"
#include "smallfilesystem.h"

#include "editor/settingsregistry.h"
#include "model/localized.h"

#include <QCryptographicHash>
#include <QTemporaryDir>
#include <QTest>

using Kind = SmallFileSystem::Kind;
Q_DECLARE_METATYPE(SmallFileSystem::Kind)

class TestCliOutput : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();

    void fullDiskExportKeepsTheList_data();
    void fullDiskExportKeepsTheList();
    void fullDiskExtractLeavesNoPicture_data();
    void fullDiskExtractLeavesNoPicture();
    void fullStandardOutputFails_data();
    void fullStandardOutputFails();

private:
    CliRun run(const QStringList &arguments, const QString &outputFile = {}) const;
    // Every name in the folder, hidden ones included.
    static QStringList allNames(const QString &folder);

    QTemporaryDir m_work;
    QString m_songs;
    QByteArray m_picture;
};

void TestCliOutput::initTestCase()
{
    QVERIFY(m_work.isValid());
    QVERIFY(Localized::installStringTable());
    useTemporarySettings(m_work);
    SettingsRegistry::registerDefaults();
    // More than either amount left free below, in both outputs.
    m_picture = noisyJpeg(120);
    QVERIFY(m_picture.size() > 16 * 1024);
    m_songs = m_work.filePath(QStringLiteral("songs"));
    // A comment that makes the exported list larger than the space left, too.
    const QString comment = QStringLiteral("la la la ").repeated(3000);
    QVERIFY(!makeSong(m_songs, QStringLiteral("mp3"), QStringLiteral("long/1.mp3"),
                      {{QStringLiteral("title"), QStringLiteral("One")}, {QStringLiteral("comment"), comment}},
                      {m_picture}).isEmpty());
    QVERIFY(!makeSong(m_songs, QStringLiteral("flac"), QStringLiteral("short/2.flac"),
                      {{QStringLiteral("title"), QStringLiteral("Two")}},
                      {pictureBytes(16, 16, 0xff00ff00, "PNG")}).isEmpty());
}

CliRun TestCliOutput::run(const QStringList &arguments, const QString &outputFile) const
{
    return runCli(arguments, m_work.filePath(QStringLiteral("config")), outputFile);
}

QStringList TestCliOutput::allNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

void TestCliOutput::fullDiskExportKeepsTheList_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<qint64>("leftBytes");
    QTest::addColumn<QString>("songs");
    // A short list stays in the file's buffer until it is closed; a long one is written at once.
    QTest::newRow("tmpfs, nothing left, short list") << Kind::Tmpfs << qint64(0) << "short";
    QTest::newRow("tmpfs, nothing left, long list") << Kind::Tmpfs << qint64(0) << "long";
    QTest::newRow("tmpfs, 8 KB left, long list") << Kind::Tmpfs << qint64(8192) << "long";
    QTest::newRow("ext2 image, nothing left, short list") << Kind::LoopImage << qint64(0) << "short";
    QTest::newRow("ext2 image, nothing left, long list") << Kind::LoopImage << qint64(0) << "long";
    QTest::newRow("ext2 image, 8 KB left, long list") << Kind::LoopImage << qint64(8192) << "long";
}

void TestCliOutput::fullDiskExportKeepsTheList()
{
    QFETCH(Kind, kind);
    QFETCH(qint64, leftBytes);
    QFETCH(QString, songs);
    SmallFileSystem disk(512 * 1024, kind);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.failure()));
    const QString list = disk.path() + QStringLiteral("/list.tsv");
    const QByteArray before = "Title\tFile Name\nOld\told.mp3\n";
    QFile old(list);
    QVERIFY(old.open(QIODevice::WriteOnly) && old.write(before) == before.size() && old.flush());
    old.close();
    QVERIFY2(disk.fillLeaving(leftBytes), qPrintable(disk.failure()));
    const QStringList names = allNames(disk.path());
    const QString folder = m_songs + QLatin1Char('/') + songs;

    const CliRun full = run({QStringLiteral("export"), QStringLiteral("-o"), list, folder});
    QCOMPARE(full.exitCode, 1);
    QVERIFY2(full.err.contains(Localized::text("CouldNotExport").toUtf8()), full.err.constData());
    QCOMPARE(fileBytes(list), before);
    QCOMPARE(allNames(disk.path()), names);

    // With room again the same export replaces the list: the failure was the full disk's.
    disk.unfill();
    const CliRun roomy = run({QStringLiteral("export"), QStringLiteral("-o"), list, folder});
    QVERIFY2(roomy.exitCode == 0, roomy.err.constData());
    QVERIFY(fileBytes(list).contains(songs == u"long" ? "la la la" : "Two"));
}

void TestCliOutput::fullDiskExtractLeavesNoPicture_data()
{
    QTest::addColumn<Kind>("kind");
    QTest::addColumn<qint64>("leftBytes");
    QTest::newRow("tmpfs, nothing left") << Kind::Tmpfs << qint64(0);
    QTest::newRow("tmpfs, 8 KB left") << Kind::Tmpfs << qint64(8192);
    QTest::newRow("ext2 image, nothing left") << Kind::LoopImage << qint64(0);
    QTest::newRow("ext2 image, 8 KB left") << Kind::LoopImage << qint64(8192);
}

void TestCliOutput::fullDiskExtractLeavesNoPicture()
{
    QFETCH(Kind, kind);
    QFETCH(qint64, leftBytes);
    SmallFileSystem disk(512 * 1024, kind);
    if (!disk.isMounted())
        QSKIP(qPrintable(disk.failure()));
    const QString folder = disk.path() + QStringLiteral("/covers");
    QVERIFY(QDir().mkpath(folder));
    QVERIFY2(disk.fillLeaving(leftBytes), qPrintable(disk.failure()));
    const QString picture = folder + QLatin1Char('/')
                            + QString::fromLatin1(QCryptographicHash::hash(m_picture, QCryptographicHash::Md5).toHex())
                            + QStringLiteral(".jpg");

    const CliRun full = run({QStringLiteral("covers"), QStringLiteral("--extract"), folder, m_songs});
    QCOMPARE(full.exitCode, 1);
    QVERIFY2(full.err.contains(Localized::text("CliCannotWritePictureXY").arg(picture, QString()).toUtf8()),
             full.err.constData());
    QVERIFY2(!full.out.contains("     " + Localized::text("CliPictureWritten").toUtf8() + ' ' + picture.toUtf8()),
             full.out.constData());
    // The small picture may have fitted; whatever is there is whole.
    for (const QString &name : allNames(folder)) {
        const QByteArray bytes = fileBytes(folder + QLatin1Char('/') + name);
        QCOMPARE(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex() + ".png", name.toLatin1());
    }
    QVERIFY(!QFileInfo::exists(picture));

    disk.unfill();
    const CliRun roomy = run({QStringLiteral("covers"), QStringLiteral("--extract"), folder, m_songs});
    QVERIFY2(roomy.exitCode == 0, roomy.err.constData());
    QCOMPARE(fileBytes(picture), m_picture);
    QCOMPARE(allNames(folder).size(), 2);
}

void TestCliOutput::fullStandardOutputFails_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("saves");
    QTest::newRow("read --json") << QStringList{"--json", "read"} << false;
    QTest::newRow("read") << QStringList{"read"} << false;
    QTest::newRow("export") << QStringList{"export"} << false;
    QTest::newRow("covers") << QStringList{"covers"} << false;
    QTest::newRow("edit, summary") << QStringList{"edit", "--comment", "saved"} << true;
    QTest::newRow("edit --json") << QStringList{"--json", "edit", "--comment", "saved"} << true;
    QTest::newRow("help") << QStringList{"--help"} << false;
}

void TestCliOutput::fullStandardOutputFails()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, saves);
    if (!QFileInfo(QStringLiteral("/dev/full")).isWritable())
        QSKIP("/dev/full cannot be written here");
    QTemporaryDir folder;
    const QString song = makeSong(folder.path(), QStringLiteral("m4a"), QStringLiteral("a.m4a"),
                                  {{QStringLiteral("title"), QStringLiteral("A")}});
    QVERIFY(!song.isEmpty());
    if (arguments.first() != u"--help")
        arguments.append(song);

    const CliRun result = run(arguments, QStringLiteral("/dev/full"));
    QCOMPARE(result.exitCode, 1);
    const QByteArray message = Localized::text("CliCannotWriteOutputX").arg(QString()).toUtf8();
    QVERIFY2(result.err.contains(message), result.err.constData());
    // What was saved before the output failed stays saved.
    const std::unique_ptr<Song> after = readSong(song);
    QVERIFY(after);
    QCOMPARE(after->comment(), saves ? QStringLiteral("saved") : QString());
}

QTEST_GUILESS_MAIN(TestCliOutput)
#include "test_cli_output.moc"
