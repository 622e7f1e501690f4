#include "editor/standardfolders.h"

#include <QTest>

class TestStandardFolders : public QObject {
    Q_OBJECT

private slots:
    void computesFoldersFromHome_data();
    void computesFoldersFromHome();
    void processFoldersAreComputedOnceAndCanBeReplaced();
};

void TestStandardFolders::computesFoldersFromHome_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<bool>("linuxSandboxed");
    QTest::addColumn<bool>("unsandboxed");
    QTest::addColumn<QString>("music");
    QTest::addColumn<QString>("downloads");

    const QString container = QStringLiteral("/Library/Containers/") + QString::fromLatin1(StandardFolders::BundleIdentifier)
        + QStringLiteral("/Data");
    const QString noMusic = QStringLiteral("__MUSIC_DIRECTORY_CANNOT_BE_DETERMINED__");
    const QString noDownloads = QStringLiteral("__DOWNLOADS_DIRECTORY_CANNOT_BE_DETERMINED__");

    QTest::newRow("user folder") << "/Users/bob" << false << false << "/Users/bob/Music" << "/Users/bob/Downloads";
    QTest::newRow("trailing slash") << "/Users/bob/" << false << false << "/Users/bob/Music" << "/Users/bob/Downloads";
    // The user's own folder is the third component, whatever lies below it.
    QTest::newRow("inside sandbox container") << "/Users/bob" + container << false << false
                                              << "/Users/bob/Music" << "/Users/bob/Downloads";
    QTest::newRow("only /Users") << "/Users" << false << false << noMusic << noDownloads;
    QTest::newRow("users lower case") << "/users/bob" << false << false << noMusic << noDownloads;
    QTest::newRow("container elsewhere") << "/Volumes/Home/bob" + container << false << false
                                         << "/Volumes/Home/bob/Music" << "/Volumes/Home/bob/Downloads";
    QTest::newRow("container of another app") << "/home/bob/Library/Containers/org.other.App/Data" << false << false
                                              << noMusic << noDownloads;
    QTest::newRow("container without Data") << "/home/bob/Library/Containers/" + QString::fromLatin1(StandardFolders::BundleIdentifier)
                                            << false << false << noMusic << noDownloads;
    QTest::newRow("home outside both") << "/home/bob" << false << false << noMusic << noDownloads;
    QTest::newRow("flatpak") << "/home/bob" << true << false << "/home/bob/Musik" << "/home/bob/Downloads";
    QTest::newRow("unsandboxed linux") << "/home/bob" << false << true << "/" << "/";
    // The macOS rules come first, also for a process that could rename everything.
    QTest::newRow("users before unsandboxed") << "/Users/bob" << false << true << "/Users/bob/Music" << "/Users/bob/Downloads";
}

void TestStandardFolders::computesFoldersFromHome()
{
    QFETCH(QString, home);
    QFETCH(bool, linuxSandboxed);
    QFETCH(bool, unsandboxed);
    QFETCH(QString, music);
    QFETCH(QString, downloads);

    StandardFolders::Environment environment;
    environment.homePath = home;
    environment.linuxSandboxed = linuxSandboxed;
    environment.unsandboxed = unsandboxed;
    environment.xdgMusic = QStringLiteral("/home/bob/Musik");
    environment.xdgDownloads = QStringLiteral("/home/bob/Downloads");
    const StandardFolders::Folders folders = StandardFolders::compute(environment);
    QCOMPARE(folders.music, music);
    QCOMPARE(folders.downloads, downloads);
}

void TestStandardFolders::processFoldersAreComputedOnceAndCanBeReplaced()
{
    StandardFolders::reset();
    const StandardFolders::Folders first = StandardFolders::current();
    QVERIFY(!first.music.isEmpty());
    QVERIFY(!first.downloads.isEmpty());
#if defined(Q_OS_LINUX)
    // A test run is not inside a Flatpak sandbox: every folder may be renamed in.
    if (!QFile::exists(QStringLiteral("/.flatpak-info"))) {
        QCOMPARE(first.music, QStringLiteral("/"));
        QCOMPARE(first.downloads, QStringLiteral("/"));
    }
#endif
    StandardFolders::setForTesting({QStringLiteral("/m"), QStringLiteral("/d")});
    QCOMPARE(StandardFolders::current().music, QStringLiteral("/m"));
    QCOMPARE(StandardFolders::current().downloads, QStringLiteral("/d"));
    StandardFolders::reset();
    QCOMPARE(StandardFolders::current().music, first.music);
}

QTEST_GUILESS_MAIN(TestStandardFolders)
#include "test_standardfolders.moc"
