#include "editor/editorcontroller.h"
#include "editor/libraryhandoff.h"
#include "editor/playerdetection.h"
#include "editor/settingsregistry.h"
#include "fakeuserinterface.h"
#include "fixtures.h"
#include "model/localized.h"
#include "model/userdefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cerrno>

namespace {

const QString CommandKey = QStringLiteral("LIBRARY_HANDOFF_COMMAND");
const QString ConfirmedKey = QStringLiteral("CONFIRMED_ADD_TO_ITUNES");
// Long enough for a small script on a busy machine, short enough for the hanging one.
constexpr int TestTimeoutMs = 2000;

// Players standing in for the real one: each records the arguments of every run it takes, one
// line per run ("arg|arg|"), in the file "received" beside it.
const char *const Record = "printf '%s|' \"$@\" >> \"$(dirname \"$0\")/received\"; echo >> \"$(dirname \"$0\")/received\"\n";
QByteArray scriptBody(const QString &kind)
{
    QByteArray body = "#!/bin/sh\n";
    if (kind == u"records")
        body += Record;
    else if (kind == u"refuses m4a")
        body += QByteArray("case \"$1\" in *.m4a) echo 'first line' >&2; echo 'format not supported' >&2; exit 3;; esac\n") + Record;
    else if (kind == u"fails")
        body += "exit 1\n";
    else if (kind == u"crashes")
        body += "kill -SEGV $$\n";
    else if (kind == u"hangs")
        body += "echo $$ > \"$(dirname \"$0\")/pid\"\nexec sleep 30\n";
    return body;
}

// Writes the script "player" into the folder; not executable for the kind "not executable".
bool writePlayer(const QTemporaryDir &dir, const QString &kind)
{
    const bool plain = kind == u"not executable";
    const QString path = writeFile(dir, QStringLiteral("player"), scriptBody(plain ? QStringLiteral("records") : kind));
    if (path.isEmpty())
        return false;
    const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner;
    return QFile::setPermissions(path, plain ? mode : mode | QFile::ExeOwner);
}

QStringList receivedLines(const QTemporaryDir &dir)
{
    QFile file(dir.filePath(QStringLiteral("received")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

} // namespace

class TestLibraryHandoff : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_settings.isValid());
        useTemporarySettings(m_settings);
        SettingsRegistry::registerDefaults();
        QVERIFY(Localized::installStringTable());
    }

    void init()
    {
        UserDefaults::shared().removeObjectForKey(CommandKey);
        UserDefaults::shared().removeObjectForKey(ConfirmedKey);
    }

    void handsOverTheSelection_data()
    {
        QTest::addColumn<QString>("script");
        // "{dir}" stands for the folder of the player and the songs.
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<int>("outcome");
        // The runs the player recorded; "{1}" and so on stand for the paths of the songs in list
        // order: "a.mp3", "b 'quoted'.flac", "c.m4a".
        QTest::addColumn<QStringList>("received");
        QTest::addColumn<QStringList>("asked");
        QTest::addColumn<QStringList>("failures");
        QTest::addColumn<bool>("confirmedAfter");
        QTest::addColumn<QString>("notification");
        QTest::addColumn<int>("preferencesOpened");
        QTest::addColumn<int>("feedbackSent");

        using O = LibraryHandoff::Outcome;
        const QList<int> all{0, 1, 2};
        QTest::newRow("every format handed over in selection order")
            << "records" << "{dir}/player --enqueue %f" << true << QList<int>() << all << int(O::Added)
            << QStringList{"--enqueue|{1}|", "--enqueue|{2}|", "--enqueue|{3}|"} << QStringList() << QStringList()
            << true << "3 songs handed to player" << 0 << 0;
        QTest::newRow("without a placeholder the file goes last")
            << "records" << "{dir}/player -a" << true << QList<int>() << QList<int>{2, 0} << int(O::Added)
            << QStringList{"-a|{1}|", "-a|{3}|"} << QStringList() << QStringList() << true
            << "2 songs handed to player" << 0 << 0;
        QTest::newRow("placeholder inside an argument, percent sign and quoted words")
            << "records" << "\"{dir}/player\" --file=%f \"two words\" 50%%" << true << QList<int>() << QList<int>{1}
            << int(O::Added) << QStringList{"--file={2}|two words|50%|"} << QStringList() << QStringList() << true
            << "1 song handed to player" << 0 << 0;
        QTest::newRow("a refused file does not stop the others")
            << "refuses m4a" << "{dir}/player %f" << true << QList<int>{1} << all << int(O::Failed)
            << QStringList{"{1}|", "{2}|"} << QStringList{"QuorlFailedHandingToPlayer"}
            << QStringList{"c.m4a: ended with status 3 (“format not supported”)"} << true << "" << 0 << 1;
        QTest::newRow("a program that fails for every file")
            << "fails" << "{dir}/player %f" << true << QList<int>{0} << QList<int>{0, 1} << int(O::Failed)
            << QStringList() << QStringList{"QuorlFailedHandingToPlayer"}
            << QStringList{"a.mp3: ended with status 1", "b 'quoted'.flac: ended with status 1"} << true << "" << 0 << 0;
        QTest::newRow("a program that crashes")
            << "crashes" << "{dir}/player %f" << true << QList<int>{0} << QList<int>{2} << int(O::Failed)
            << QStringList() << QStringList{"QuorlFailedHandingToPlayer"}
            << QStringList{"c.m4a: the program stopped unexpectedly"} << true << "" << 0 << 0;
        QTest::newRow("a program that hangs is stopped and stops the hand-off")
            << "hangs" << "{dir}/player %f" << true << QList<int>{0} << all << int(O::Failed) << QStringList()
            << QStringList{"QuorlFailedHandingToPlayer"}
            << QStringList{"a.mp3: no answer within 2 seconds, so it was stopped. If the command starts the player "
                           "itself, start the player first and try again."}
            << true << "" << 0 << 0;
        QTest::newRow("a missing program is not reachable")
            << "records" << "{dir}/no-such-player %f" << true << QList<int>{1} << all << int(O::NotReachable)
            << QStringList() << QStringList{"QuorlCouldNotReachPlayer"} << QStringList() << true << "" << 1 << 0;
        QTest::newRow("a program that may not be run is not reachable")
            << "not executable" << "{dir}/player %f" << true << QList<int>{0} << all << int(O::NotReachable)
            << QStringList() << QStringList{"QuorlCouldNotReachPlayer"} << QStringList() << true << "" << 0 << 0;
        QTest::newRow("no command set points to the preferences")
            << "records" << "  " << false << QList<int>{1} << all << int(O::NotConfigured) << QStringList()
            << QStringList{"NoPlayerCommandSet"} << QStringList() << false << "" << 1 << 0;
        QTest::newRow("recommendation cancelled: nothing handed over")
            << "records" << "{dir}/player %f" << false << QList<int>{1} << all << int(O::Cancelled) << QStringList()
            << QStringList{"AddingSongsToLibrary"} << QStringList() << false << "" << 0 << 0;
        QTest::newRow("recommendation: just this time")
            << "records" << "{dir}/player %f" << false << QList<int>{0} << QList<int>{0} << int(O::Added)
            << QStringList{"{1}|"} << QStringList{"AddingSongsToLibrary"} << QStringList() << false
            << "1 song handed to player" << 0 << 0;
        QTest::newRow("recommendation: turned off for good")
            << "records" << "{dir}/player %f" << false << QList<int>{2} << QList<int>{0} << int(O::Added)
            << QStringList{"{1}|"} << QStringList{"AddingSongsToLibrary"} << QStringList() << true
            << "1 song handed to player" << 0 << 0;
        QTest::newRow("nothing selected: nothing asked")
            << "records" << "{dir}/player %f" << false << QList<int>() << QList<int>() << int(O::NothingSelected)
            << QStringList() << QStringList() << QStringList() << false << "" << 0 << 0;
    }

    void handsOverTheSelection()
    {
        QFETCH(QString, script);
        QFETCH(QString, command);
        QFETCH(bool, confirmed);
        QFETCH(QList<int>, answers);
        QFETCH(QList<int>, selected);
        QFETCH(int, outcome);
        QFETCH(QStringList, received);
        QFETCH(QStringList, asked);
        QFETCH(QStringList, failures);
        QFETCH(bool, confirmedAfter);
        QFETCH(QString, notification);
        QFETCH(int, preferencesOpened);
        QFETCH(int, feedbackSent);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writePlayer(dir, script));
        QVERIFY(QDir().mkpath(dir.filePath(QStringLiteral("songs"))));
        const QStringList paths{copyFixture(dir, QStringLiteral("silence.mp3"), QStringLiteral("songs/a.mp3")),
                                copyFixture(dir, QStringLiteral("silence.flac"), QStringLiteral("songs/b 'quoted'.flac")),
                                copyFixture(dir, QStringLiteral("silence.m4a"), QStringLiteral("songs/c.m4a"))};
        QVERIFY(!paths.contains(QString()));
        FakeUserInterface ui;
        EditorController editor(&ui);
        editor.traverseFiles({dir.filePath(QStringLiteral("songs"))}, true);
        QCOMPARE(editor.songs().size(), size_t(3));
        ui.rows = selected;

        UserDefaults::shared().setObject(QString(command).replace(QStringLiteral("{dir}"), dir.path()), CommandKey);
        UserDefaults::shared().setBool(confirmed, ConfirmedKey);
        for (int answer : answers)
            ui.answerNext(answer);
        ui.questions.clear();
        ui.progressTexts.clear();
        int opened = 0;
        int sent = 0;
        LibraryHandoff handoff(&ui, &ui);
        handoff.setTimeout(TestTimeoutMs);
        handoff.setOpenPreferences([&opened] { ++opened; });
        handoff.setSendFeedback([&sent] { ++sent; });
        const LibraryHandoff::Report report = handoff.addToLibrary(editor.selectedObjects());

        QCOMPARE(int(report.outcome), outcome);
        QStringList expected;
        for (QString line : std::as_const(received)) {
            for (int i = 0; i < paths.size(); ++i)
                line.replace(QStringLiteral("{%1}").arg(i + 1), paths.at(i));
            expected.append(line);
        }
        QCOMPARE(receivedLines(dir), expected);
        QCOMPARE(report.handedOver.size(), expected.size());
        QCOMPARE(ui.askedMessageKeys(), asked);
        QCOMPARE(ui.unexpectedQuestions, 0);
        QCOMPARE(report.failures, failures);
        for (const QString &failure : std::as_const(failures))
            QVERIFY2(ui.questions.last().informativeText.contains(failure), qPrintable(ui.questions.last().informativeText));
        QCOMPARE(UserDefaults::shared().boolForKey(ConfirmedKey), confirmedAfter);
        QCOMPARE(ui.notifications.isEmpty() ? QString() : ui.notifications.last().second, notification);
        QCOMPARE(opened, preferencesOpened);
        QCOMPARE(sent, feedbackSent);
        // The progress line shown while the player works is taken down again.
        if (!report.handedOver.isEmpty() || !report.failures.isEmpty()) {
            QCOMPARE(ui.progressTexts.value(0), QStringLiteral("Handing songs to player…"));
            QCOMPARE(ui.progressTexts.last(), QString());
        }
    }

    void hangingProgramIsKilled()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        QVERIFY(writePlayer(dir, QStringLiteral("hangs")));
        const auto command = LibraryHandoff::parseCommand(dir.filePath(QStringLiteral("player")) + QStringLiteral(" %f"));
        QVERIFY(command);
        const LibraryHandoff::Run run = LibraryHandoff::runForFile(*command, QStringLiteral("/music/a.mp3"), 300);
        QCOMPARE(run.result, LibraryHandoff::Run::Result::TimedOut);
        QFile pidFile(dir.filePath(QStringLiteral("pid")));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        bool ok = false;
        const pid_t pid = pid_t(pidFile.readAll().trimmed().toLongLong(&ok));
        QVERIFY(ok && pid > 0);
        // Gone, not only left behind.
        QCOMPARE(::kill(pid, 0), -1);
        QCOMPARE(errno, ESRCH);
    }

    void playersFoundOnThePath_data()
    {
        QTest::addColumn<QStringList>("executables");
        QTest::addColumn<QStringList>("plainFiles");
        QTest::addColumn<QStringList>("found");

        QTest::newRow("none") << QStringList() << QStringList() << QStringList();
        QTest::newRow("two, in the order offered")
            << QStringList{"vlc", "audacious", "unrelated"} << QStringList()
            << QStringList{"audacious --enqueue %f", "vlc --one-instance --playlist-enqueue %f"};
        QTest::newRow("a file that may not be run is no player")
            << QStringList{"qmmp"} << QStringList{"strawberry"} << QStringList{"qmmp --enqueue %f"};
    }

    void playersFoundOnThePath()
    {
        QFETCH(QStringList, executables);
        QFETCH(QStringList, plainFiles);
        QFETCH(QStringList, found);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        for (const QString &name : executables + plainFiles) {
            const QString path = writeFile(dir, name, "#!/bin/sh\n");
            QVERIFY(!path.isEmpty());
            const QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner;
            QVERIFY(QFile::setPermissions(path, executables.contains(name) ? mode | QFile::ExeOwner : mode));
        }
        QStringList commands;
        for (const PlayerDetection::Player &player : PlayerDetection::installedPlayers({dir.path()})) {
            commands.append(player.command);
            // Every offered command parses and names its program first.
            const auto parsed = LibraryHandoff::parseCommand(player.command);
            QVERIFY(parsed);
            QCOMPARE(parsed->program, player.program);
            QVERIFY(player.command.contains(QStringLiteral("%f")));
        }
        QCOMPARE(commands, found);
    }

private:
    QTemporaryDir m_settings;
};

QTEST_GUILESS_MAIN(TestLibraryHandoff)
#include "test_libraryhandoff.moc"
