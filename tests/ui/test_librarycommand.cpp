#include "fixtures.h"
#include "model/userdefaults.h"
#include "ui/bottombar.h"
#include "ui/librarycommand.h"
#include "ui/mainwindow.h"
#include "windowtesting.h"

#include <QAction>
#include <QFile>
#include <QPushButton>
#include <QStatusBar>
#include <QtTest>

using namespace WindowTesting;

// Add to Music Library in the window: the player, a script that records each file and then takes
// a second, is waited for on a worker while the window goes on.
class TestLibraryCommand : public QObject {
    Q_OBJECT

private slots:
    void staysResponsiveWhileThePlayerWorks_data()
    {
        QTest::addColumn<QString>("interruption"); // once the first file is in the player's hands
        QTest::addColumn<int>("handed");
        QTest::addColumn<QString>("message"); // in the status bar afterwards
        QTest::newRow("none") << "" << 3 << "Music library — 3 songs handed to player";
        QTest::newRow("Cancel in the bottom bar") << "cancel" << 1 << "Music library — Stopped: 1 of 3 songs handed to player";
        QTest::newRow("the window closed") << "close" << 1 << "";
    }

    void staysResponsiveWhileThePlayerWorks()
    {
        QFETCH(QString, interruption);
        QFETCH(int, handed);
        QFETCH(QString, message);
        TestWindow test;
        QVERIFY(test.open({{"a.mp3", "Alpha", {}, {}, {}}, {"b.mp3", "Beta", {}, {}, {}}, {"c.flac", "Gamma", {}, {}, {}, "silence.flac"}}));
        const QString received = test.dir().filePath(QStringLiteral("received"));
        const QString player = writeFile(test.dir(), QStringLiteral("player"),
                                         "#!/bin/sh\necho \"$1\" >> \"$(dirname \"$0\")/received\"\nsleep 1\n");
        QVERIFY(QFile::setPermissions(player, QFile::ReadOwner | QFile::ExeOwner));
        UserDefaults::shared().setObject(player + QStringLiteral(" %f"), QStringLiteral("LIBRARY_HANDOFF_COMMAND"));
        UserDefaults::shared().setBool(true, QStringLiteral("CONFIRMED_ADD_TO_ITUNES"));
        LibraryCommand *command = test->libraryCommand();
        BottomBar *bar = test->bottomBar();

        int ticks = 0;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, [&ticks] { ++ticks; });
        ticker.start(20);
        command->action()->trigger();
        QVERIFY(command->isRunning());
        QVERIFY(!command->action()->isEnabled());
        QVERIFY(bar->cancelButton()->isVisible());
        QTRY_VERIFY(QFile(received).size() > 0);
        if (interruption == u"cancel")
            QTest::mouseClick(bar->cancelButton(), Qt::LeftButton);
        if (interruption == u"close") {
            QVERIFY(test->close());
            test.window.reset();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!test.window || !command->isRunning(), 15000);
        QFile file(received);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count('\n'), handed);
        if (!test.window)
            return;
        // The window went on while the player was waited for (a Cancel waits no longer: the player
        // in hand is left running), and the message came at the end.
        if (interruption.isEmpty())
            QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));
        QCOMPARE(test->statusBar()->currentMessage(), message);
        QVERIFY(!bar->isProgressShown());
        QVERIFY(command->action()->isEnabled());
    }
};

QTEST_MAIN(TestLibraryCommand)
#include "test_librarycommand.moc"
