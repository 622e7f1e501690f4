#include "editor/outsidelinks.h"
#include "model/localized.h"
#include "recordingopener.h"
#include "ui/desktoplinks.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"
#include "windowtesting.h"

#include <QMenuBar>
#include <QSignalSpy>
#include <QtTest>

using namespace WindowTesting;

namespace {

// A bus address nobody listens on: the connection is never made.
QDBusConnection absentBus()
{
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/quorl-test/bus"),
                                         QStringLiteral("quorl-test-absent-bus"));
}

QMenu *menuTitled(MainWindow &window, const char *key)
{
    const QList<QAction *> menus = window.menuBar()->actions();
    for (QAction *entry : menus) {
        if (entry->text() == Localized::text(key))
            return entry->menu();
    }
    return nullptr;
}

} // namespace

// The outside links on the desktop: the file manager request and its fallback, and the commands
// of the window's menus.
class TestOutsideLinksWindow : public QObject {
    Q_OBJECT

private slots:
    void fileUris_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("uris");
        QTest::newRow("plain") << QStringList{"/m/a.mp3"} << QStringList{"file:///m/a.mp3"};
        QTest::newRow("blank, accent, hash") << QStringList{"/m/a b/é#1.mp3", "/m/c.flac"}
                                             << QStringList{"file:///m/a%20b/%C3%A9%231.mp3", "file:///m/c.flac"};
    }

    void fileUris()
    {
        QFETCH(QStringList, paths);
        QFETCH(QStringList, uris);
        QCOMPARE(DesktopLinks::fileUris(paths), uris);
    }

    void revealOpensTheFolderWithoutABus_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("one file") << "/m/x" << QStringList{"/m/x/a.mp3"};
        QTest::newRow("two files") << "/m/y z" << QStringList{"/m/y z/b.mp3", "/m/y z/a.mp3"};
    }

    void revealOpensTheFolderWithoutABus()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, files);
        QList<QUrl> opened;
        DesktopLinks links(absentBus(), [&opened](const QUrl &url) {
            opened.append(url);
            return true;
        });
        QSignalSpy handled(&links, &DesktopLinks::revealHandled);
        links.revealFiles(folder, files);
        QCOMPARE(opened, QList<QUrl>{QUrl::fromLocalFile(folder)});
        QCOMPARE(handled.size(), 1);
        QCOMPARE(handled.first(), (QVariantList{folder, false}));

        links.openLink(QUrl(QStringLiteral("https://quorl.test/page")));
        QCOMPARE(opened.size(), 2);
        QCOMPARE(opened.last(), QUrl(QStringLiteral("https://quorl.test/page")));
    }

    void menusFollowTheSelection()
    {
        TestWindow test;
        QVERIFY(test.open({{"a.mp3", "Alpha", "Ann", "First", {}, "silence.mp3"},
                           {"b.mp3", "Beta", "Bob", {}, {}, "silence.mp3"}}));
        MainWindow &window = *test;
        RecordingOpener opener;
        window.outsideLinks().setOpener(&opener);

        QMenu *help = menuTitled(window, "MenuHelp");
        QMenu *edit = menuTitled(window, "MenuEdit");
        QVERIFY(help && edit);
        using Command = MainWindow::Command;
        for (const Command command : {Command::SendFeedback, Command::PrivacyPolicy})
            QVERIFY(help->actions().contains(window.action(command)));
        for (const Command command : {Command::SearchInStore, Command::ShowInFileManager})
            QVERIFY(edit->actions().contains(window.action(command)));

        // Both songs are selected after loading.
        window.refreshNow();
        for (const Command command : {Command::SearchInStore, Command::ShowInFileManager})
            QVERIFY(window.action(command)->isEnabled());
        window.action(MainWindow::Command::SearchInStore)->trigger();
        QCOMPARE(opener.links.size(), 1);
        QVERIFY(opener.links.first().toString(QUrl::FullyEncoded).endsWith("field-keywords=Ann+First"));
        window.action(MainWindow::Command::ShowInFileManager)->trigger();
        QCOMPARE(opener.reveals.size(), 1);
        QCOMPARE(opener.reveals.first().second, test.paths);

        window.action(MainWindow::Command::SendFeedback)->trigger();
        window.action(MainWindow::Command::PrivacyPolicy)->trigger();
        QCOMPARE(opener.links.size(), 3);
        QCOMPARE(opener.links.at(1).scheme(), QStringLiteral("mailto"));
        QCOMPARE(opener.links.at(2), OutsideLinks::configuredValues().privacyPage);

        window.table()->clearSelection();
        window.refreshNow();
        for (const Command command : {Command::SearchInStore, Command::ShowInFileManager})
            QVERIFY(!window.action(command)->isEnabled());
        for (const Command command : {Command::SendFeedback, Command::PrivacyPolicy})
            QVERIFY(window.action(command)->isEnabled());
    }
};

QTEST_MAIN(TestOutsideLinksWindow)
#include "test_outsidelinks.moc"
