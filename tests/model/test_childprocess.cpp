#include "fixtures.h"
#include "model/childprocess.h"

#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

// Programs run as children: real scripts that check what they were given and end (or not) as
// the row says.
class TestChildProcess : public QObject {
    Q_OBJECT

private slots:
    void runsAndWaits_data()
    {
        QTest::addColumn<QString>("program"); // "{script}": the row's script
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("script"); // after "#!/bin/sh"
        QTest::addColumn<bool>("runnable");
        QTest::addColumn<bool>("stop"); // set before the wait
        QTest::addColumn<int>("state"); // a State, or -1 for NotFound, -2 for Unwritable
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("errorLine");

        using S = ChildProcess::State;
        const QStringList one{"a b;*"};
        QTest::newRow("status and the last line of the error output") << "{script}" << one
            << QByteArray("printf 'one\\n  last words \\n\\n' >&2; exit 5") << true << false << int(S::Exited) << 5 << "last words";
        QTest::newRow("arguments whole, no shell") << "{script}" << one
            << QByteArray("[ \"$#\" = 1 ] && [ \"$1\" = 'a b;*' ] || exit 9") << true << false << int(S::Exited) << 0 << "";
        QTest::newRow("empty input, output nowhere, error output a file") << "{script}" << one
            << QByteArray("read line && exit 1\n[ \"$(readlink /proc/$$/fd/1)\" = /dev/null ] || exit 2\n"
                          "[ -f /proc/$$/fd/2 ] || exit 3")
            << true << false << int(S::Exited) << 0 << "";
        // (Of the signals, those 1 to 31: the C library's own above them may stay ignored.)
        QTest::newRow("own process group, no signal blocked or ignored") << "{script}" << one
            // The masks are read by the shell's builtins before it starts anything: a shell that
            // waits for a child may block signals meanwhile.
            << QByteArray("while read -r key value; do case $key in SigBlk:) blk=$value;; "
                          "SigIgn:) ign=$value;; esac; done < /proc/$$/status\n"
                          "case $blk in *[!0]*) exit 2;; esac\n"
                          "case $ign in ????????[08]0000000) ;; *) exit 3;; esac\n"
                          "set -- $(cat /proc/$$/stat); [ \"$5\" = $$ ] || exit 1")
            << true << false << int(S::Exited) << 0 << "";
        QTest::newRow("looked up in PATH") << "sh" << QStringList{"-c", "exit 4"} << QByteArray() << true << false
                                           << int(S::Exited) << 4 << "";
        QTest::newRow("ended by a signal") << "{script}" << one << QByteArray("kill -KILL $$") << true << false
                                           << int(S::Crashed) << 0 << "";
        QTest::newRow("left running at the deadline") << "{script}" << one << QByteArray("echo started >&2; exec sleep 30")
                                                      << true << false << int(S::Running) << 0 << "started";
        QTest::newRow("left running at the stop") << "{script}" << one << QByteArray("exec sleep 30") << true << true
                                                  << int(S::Running) << 0 << "";
        QTest::newRow("missing program") << "{script}-missing" << one << QByteArray() << true << false << -1 << 0 << "";
        QTest::newRow("may not be run") << "{script}" << one << QByteArray("exit 0") << false << false << -2 << 0 << "";
    }

    void runsAndWaits()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, script);
        QFETCH(bool, runnable);
        QFETCH(bool, stop);
        QFETCH(int, state);
        QFETCH(int, exitCode);
        QFETCH(QString, errorLine);

        QTemporaryDir dir;
        const QString path = writeFile(dir, QStringLiteral("child"), "#!/bin/sh\n" + script + "\n");
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | (runnable ? QFile::ExeOwner : QFile::Permissions())));
        // Ignored here, a signal is still the default in the child.
        const auto hangup = std::signal(SIGHUP, SIG_IGN);
        Result<ChildProcess> started = ChildProcess::start(program.replace(QStringLiteral("{script}"), path), arguments);
        std::signal(SIGHUP, hangup);
        if (state < 0) {
            QVERIFY(!started);
            QCOMPARE(started.error().code, state == -1 ? ErrorCode::NotFound : ErrorCode::Unwritable);
            return;
        }
        QVERIFY2(started, qPrintable(started ? QString() : started.error().detail));
        ChildProcess &child = started.value();
        bool running = true;
        const auto end = qScopeGuard([&] {
            if (running)
                ::kill(pid_t(child.pid()), SIGKILL);
        });
        const std::atomic<bool> stopped{stop};
        const Result<ChildProcess::State> ended = child.wait(QDeadlineTimer(stop ? 60000 : 1500), stopped);
        QVERIFY(ended);
        running = ended.value() == ChildProcess::State::Running;
        QCOMPARE(int(ended.value()), state);
        QTRY_COMPARE(child.lastErrorLine().value(), errorLine);
        QCOMPARE(child.exitCode(), exitCode);
        if (ended.value() != ChildProcess::State::Running)
            return;
        // Still running, and still ours: ended here, it is reaped.
        QCOMPARE(ChildProcess::reapEnded({child.pid()}), QList<qint64>{child.pid()});
        QCOMPARE(::kill(pid_t(child.pid()), SIGKILL), 0);
        running = false;
        const Result<ChildProcess::State> killed = child.wait(QDeadlineTimer(QDeadlineTimer::Forever), std::atomic<bool>{});
        QVERIFY(killed);
        QCOMPARE(killed.value(), ChildProcess::State::Crashed);
        QVERIFY(ChildProcess::reapEnded({child.pid()}).isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestChildProcess)
#include "test_childprocess.moc"
