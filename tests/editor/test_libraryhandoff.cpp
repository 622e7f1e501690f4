#include "editor/editorcontroller.h"
#include "editor/libraryhandoff.h"
#include "editor/playerdetection.h"
#include "fakeuserinterface.h"
#include "fixtures.h"
#include "model/childprocess.h"
#include "model/userdefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>

namespace {

const QString CommandKey = QStringLiteral("LIBRARY_HANDOFF_COMMAND");
const QString ConfirmedKey = QStringLiteral("CONFIRMED_ADD_TO_ITUNES");

// Scripts standing in for the player, written as "player" into the folder. Those that take a
// file record their arguments, one run a line ("arg|arg|"), in "received" beside them. Those that
// hang (as a player does that its command has just started) first add their process id to "pid".
QString writePlayer(const QTemporaryDir &dir, const QString &kind)
{
    const QByteArray record = "printf '%s|' \"$@\" >> \"$(dirname \"$0\")/received\"; echo >> \"$(dirname \"$0\")/received\"\n";
    const QByteArray hang = "echo $$ >> \"$(dirname \"$0\")/pid\"\n" + record + "exec sleep 30\n";
    QByteArray body = "#!/bin/sh\n";
    if (kind == u"refuses m4a")
        body += "case \"$1\" in *.m4a) echo 'first line' >&2; echo 'format not supported' >&2; exit 3;; esac\n";
    else if (kind == u"hangs")
        body += hang;
    else if (kind == u"hangs once")
        body += "[ -e \"$(dirname \"$0\")/pid\" ] || {\n" + hang + "}\n";
    const QString path = writeFile(dir, QStringLiteral("player"), body + record);
    return QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) ? path : QString();
}

QList<qint64> pidsWritten(const QTemporaryDir &dir)
{
    QFile file(dir.filePath(QStringLiteral("pid")));
    QList<qint64> pids;
    if (file.open(QIODevice::ReadOnly)) {
        for (const QByteArray &line : file.readAll().split('\n'))
            if (!line.isEmpty())
                pids.append(line.toLongLong());
    }
    return pids;
}

} // namespace

class TestLibraryHandoff : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(useEditorSettings(m_settings));
    }

    void handsOverTheSelection_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("command"); // "{dir}": the player's folder
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<int>("answer"); // to the one question expected, -1 for none
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("outcome");
        // The runs the player recorded; {1}, {2}, {3} are the songs a.mp3, b 'q'.flac, c.m4a; "!"
        // before a run that is not counted as handed over.
        QTest::addColumn<QString>("received");
        // The question asked, then the failures, then the notification shown.
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<int>("buttonActions"); // preferences opened + 10 × feedback mails
        QTest::addColumn<int>("stopAfter"); // files through when the stop is asked for, -1 never

        using O = LibraryHandoff::Outcome;
        const QList<int> all{0, 1, 2};
        QTest::newRow("every format, in selection order") << "records" << "{dir}/player --enqueue %f" << true << -1 << all
            << int(O::Added) << "--enqueue|{1}|;--enqueue|{2}|;--enqueue|{3}|" << QStringList{"", "3 songs handed to player"} << 0 << -1;
        QTest::newRow("the file last, without a placeholder") << "records" << "{dir}/player -a" << true << -1
            << QList<int>{2, 0} << int(O::Added) << "-a|{1}|;-a|{3}|" << QStringList{"", "2 songs handed to player"} << 0 << -1;
        QTest::newRow("placeholder in an argument, percent sign, quoted words")
            << "records" << "\"{dir}/player\" --file=%f \"two words\" 50%%" << true << -1 << QList<int>{1} << int(O::Added)
            << "--file={2}|two words|50%|" << QStringList{"", "1 song handed to player"} << 0 << -1;
        QTest::newRow("a refused file does not stop the others") << "refuses m4a" << "{dir}/player %f" << true << 1 << all
            << int(O::Failed) << "{1}|;{2}|"
            << QStringList{"QuorlFailedHandingToPlayer", "c.m4a: ended with status 3 (“format not supported”)"} << 10 << -1;
        QTest::newRow("a player started by its first file is left running, the rest handed over") << "hangs once"
            << "{dir}/player %f" << true << -1 << all << int(O::Added) << "{1}|;{2}|;{3}|"
            << QStringList{"", "3 songs handed to player"} << 0 << -1;
        QTest::newRow("a program that hangs twice in a row is left running, the rest not tried") << "hangs"
            << "{dir}/player %f" << true << 0 << all << int(O::Failed) << "{1}|;!{2}|"
            << QStringList{"QuorlFailedHandingToPlayer", "b 'q'.flac: no answer within 2 seconds, the second time in a row, "
                                                         "so no further songs were handed over. The program was left running, not stopped."}
            << 0 << -1;
        QTest::newRow("stopped after a file left running") << "hangs" << "{dir}/player %f" << true << -1 << all
            << int(O::Added) << "{1}|" << QStringList{"", "Stopped: 1 of 3 songs handed to player"} << 0 << 1;
        QTest::newRow("a missing program") << "records" << "{dir}/missing %f" << true << 1 << all << int(O::NotReachable) << ""
                                           << QStringList{"QuorlCouldNotReachPlayer"} << 1 << -1;
        QTest::newRow("no command set") << "records" << "  " << false << 1 << all << int(O::NotConfigured) << ""
                                        << QStringList{"NoPlayerCommandSet"} << 1 << -1;
        QTest::newRow("recommendation cancelled") << "records" << "{dir}/player %f" << false << 1 << all << int(O::Cancelled)
                                                  << "" << QStringList{"AddingSongsToLibrary"} << 0 << -1;
        QTest::newRow("recommendation: turned off for good") << "records" << "{dir}/player %f" << false << 2 << QList<int>{0}
            << int(O::Added) << "{1}|" << QStringList{"AddingSongsToLibrary", "1 song handed to player"} << 0 << -1;
        QTest::newRow("stopped after the first file") << "records" << "{dir}/player %f" << true << -1 << all << int(O::Added)
            << "{1}|" << QStringList{"", "Stopped: 1 of 3 songs handed to player"} << 0 << 1;
        QTest::newRow("a stop after the last file changes nothing") << "records" << "{dir}/player %f" << true << -1
            << QList<int>{1} << int(O::Added) << "{2}|" << QStringList{"", "1 song handed to player"} << 0 << 1;
    }

    void handsOverTheSelection()
    {
        QFETCH(QString, script);
        QFETCH(QString, command);
        QFETCH(bool, confirmed);
        QFETCH(int, answer);
        QFETCH(QList<int>, selected);
        QFETCH(int, outcome);
        QFETCH(QString, received);
        QFETCH(QStringList, reported);
        QFETCH(int, buttonActions);
        QFETCH(int, stopAfter);

        QTemporaryDir dir;
        QVERIFY(!writePlayer(dir, script).isEmpty());
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("songs"))));
        const QStringList paths{copyFixture(dir, QStringLiteral("silence.mp3"), QStringLiteral("songs/a.mp3")),
                                copyFixture(dir, QStringLiteral("silence.flac"), QStringLiteral("songs/b 'q'.flac")),
                                copyFixture(dir, QStringLiteral("silence.m4a"), QStringLiteral("songs/c.m4a"))};
        FakeUserInterface ui;
        EditorController editor(&ui);
        editor.traverseFiles({dir.filePath(QStringLiteral("songs"))}, true);
        QCOMPARE(editor.songs().size(), size_t(3));
        ui.rows = selected;
        UserDefaults::shared().setObject(QString(command).replace(QStringLiteral("{dir}"), dir.path()), CommandKey);
        UserDefaults::shared().setBool(confirmed, ConfirmedKey);
        if (answer >= 0)
            ui.answerNext(answer);

        int actions = 0;
        LibraryHandoff handoff(&ui);
        handoff.setTimeout(2000);
        handoff.setOpenPreferences([&actions] { actions += 1; });
        handoff.setSendFeedback([&actions] { actions += 10; });
        LibraryHandoff::Report report;
        if (const std::optional<LibraryHandoff::Plan> plan = handoff.prepare(editor.selectedObjects(), report)) {
            std::atomic<bool> stop{false};
            qsizetype through = 0;
            report = LibraryHandoff::runFiles(*plan, stop, [&](qsizetype done) {
                through = done;
                stop = done == stopAfter;
            });
            QCOMPARE(report.stopped, stopAfter >= 0 && stopAfter < selected.size());
            if (report.outcome == LibraryHandoff::Outcome::Added)
                QCOMPARE(through, report.stopped ? stopAfter : selected.size());
            handoff.tell(*plan, report);
        }

        QCOMPARE(int(report.outcome), outcome);
        for (int i = 0; i < paths.size(); ++i)
            received.replace(QStringLiteral("{%1}").arg(i + 1), paths.at(i));
        QFile file(dir.filePath(QStringLiteral("received")));
        const QString recorded = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        const QStringList runs = received.split(u';', Qt::SkipEmptyParts);
        QCOMPARE(recorded.split(u'\n', Qt::SkipEmptyParts), QStringList(runs).replaceInStrings(QStringLiteral("!"), QString()));
        QCOMPARE(report.handedOver.size(), runs.size() - runs.filter(QStringLiteral("!")).size());
        QCOMPARE(ui.unexpectedQuestions, 0);
        QStringList seen;
        if (!ui.questions.isEmpty())
            seen.append(ui.questions.first().messageKey);
        else if (!reported.isEmpty())
            seen.append(QString());
        seen += report.failures;
        for (const QString &failure : std::as_const(report.failures))
            QVERIFY(ui.questions.last().informativeText.contains(failure));
        if (!ui.notifications.isEmpty())
            seen.append(ui.notifications.last().second);
        QCOMPARE(seen, reported);
        QCOMPARE(actions, buttonActions);
        QCOMPARE(UserDefaults::shared().boolForKey(ConfirmedKey), confirmed || answer == 2);

        // The programs that hung are still running (not reaped, so their ids are not reused).
        const QList<qint64> pids = pidsWritten(dir);
        const auto cleanup = qScopeGuard([&pids] {
            for (const qint64 pid : pids)
                ::kill(pid_t(pid), SIGKILL);
        });
        QCOMPARE(report.leftRunning, pids);
        QCOMPARE(ChildProcess::reapEnded(pids), pids);
    }

    void playersFoundOnThePath()
    {
        QTemporaryDir dir;
        for (const char *name : {"vlc", "audacious", "strawberry", "unrelated"}) {
            const QString path = writeFile(dir, QString::fromLatin1(name), "#!/bin/sh\n");
            const bool runnable = qstrcmp(name, "strawberry") != 0;
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | (runnable ? QFile::ExeOwner : QFile::Permissions())));
        }
        QStringList commands;
        for (const PlayerDetection::Player &player : PlayerDetection::installedPlayers({dir.path()})) {
            commands.append(player.command);
            QCOMPARE(LibraryHandoff::parseCommand(player.command)->program, player.program);
        }
        QCOMPARE(commands, (QStringList{"audacious --enqueue %f", "vlc --one-instance --playlist-enqueue %f"}));
    }

private:
    QTemporaryDir m_settings;
};

QTEST_GUILESS_MAIN(TestLibraryHandoff)
#include "test_libraryhandoff.moc"
