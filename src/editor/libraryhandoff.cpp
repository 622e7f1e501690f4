#include "editor/libraryhandoff.h"

#include "editor/errorutil.h"
#include "editor/userquestions.h"
#include "model/childprocess.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

namespace {

const QString ConfirmedKey = QStringLiteral("CONFIRMED_ADD_TO_ITUNES");
// Failures listed in a report before the rest are counted.
constexpr int ListedFailures = 10;

QString failureLine(const QString &fileName, const LibraryHandoff::Run &run, int timeoutMs)
{
    using Result = LibraryHandoff::Run::Result;
    QString line;
    switch (run.result) {
    case Result::Failed:
        line = Localized::text("HandOffEndedWithStatusXY").arg(fileName).arg(run.exitCode);
        break;
    case Result::Crashed:
        line = Localized::text("HandOffCrashedX").arg(fileName);
        break;
    case Result::TimedOut:
        line = Localized::text("HandOffTimedOutXY").arg(fileName).arg((timeoutMs + 999) / 1000);
        break;
    case Result::Done:
    case Result::NotStarted:
    case Result::LeftAtStop:
        line = fileName;
        break;
    }
    if (!run.errorLine.isEmpty())
        line = Localized::text("HandOffProgramSaidXY").arg(line, run.errorLine);
    return line;
}

} // namespace

const QString LibraryHandoff::CommandKey = QStringLiteral("LIBRARY_HANDOFF_COMMAND");

std::optional<LibraryHandoff::Command> LibraryHandoff::parseCommand(const QString &text)
{
    QStringList words = QProcess::splitCommand(text);
    if (words.isEmpty() || words.first().isEmpty())
        return std::nullopt;
    Command command;
    command.program = words.takeFirst();
    command.arguments = words;
    return command;
}

QStringList LibraryHandoff::argumentsForFile(const QStringList &arguments, const QString &filePath)
{
    QStringList result;
    result.reserve(arguments.size() + 1);
    bool placed = false;
    for (const QString &argument : arguments) {
        QString expanded;
        expanded.reserve(argument.size());
        for (qsizetype i = 0; i < argument.size(); ++i) {
            const QChar next = i + 1 < argument.size() ? argument.at(i + 1) : QChar();
            if (argument.at(i) == u'%' && next == u'f') {
                expanded += filePath;
                placed = true;
                ++i;
            } else if (argument.at(i) == u'%' && next == u'%') {
                expanded += u'%';
                ++i;
            } else {
                expanded += argument.at(i);
            }
        }
        result.append(expanded);
    }
    if (!placed)
        result.append(filePath);
    return result;
}

QString LibraryHandoff::playerName(const Command &command)
{
    return QFileInfo(command.program).fileName();
}

LibraryHandoff::Run LibraryHandoff::runForFile(const Command &command, const QString &filePath, int timeoutMs,
                                               const std::atomic<bool> &stop)
{
    Run run;
    Result<ChildProcess> started = ChildProcess::start(command.program, argumentsForFile(command.arguments, filePath));
    if (!started) {
        run.result = Run::Result::NotStarted;
        return run;
    }
    ChildProcess &child = started.value();
    const Result<ChildProcess::State> state = child.wait(QDeadlineTimer(timeoutMs), stop);
    const Result<QString> said = child.lastErrorLine();
    run.errorLine = said ? said.value() : said.error().detail;
    if (!state) {
        // Lost track of the program: nothing is known of how it went.
        run.result = Run::Result::Crashed;
        run.errorLine = state.error().detail;
        return run;
    }
    switch (state.value()) {
    case ChildProcess::State::Running:
        run.result = stop.load() ? Run::Result::LeftAtStop : Run::Result::TimedOut;
        run.leftRunning = child.pid();
        break;
    case ChildProcess::State::Crashed:
        run.result = Run::Result::Crashed;
        break;
    case ChildProcess::State::Exited:
        run.exitCode = child.exitCode();
        run.result = run.exitCode == 0 ? Run::Result::Done : Run::Result::Failed;
        break;
    }
    // What a program that took the file said on the way is no news.
    if (run.result == Run::Result::Done || run.result == Run::Result::LeftAtStop)
        run.errorLine.clear();
    return run;
}

LibraryHandoff::LibraryHandoff(UserQuestions *questions)
    : m_questions(questions)
{
}

LibraryHandoff::~LibraryHandoff()
{
    ChildProcess::reapEnded(m_leftRunning);
}

void LibraryHandoff::keepLeftRunning(const QList<qint64> &pids)
{
    m_leftRunning += pids;
}

bool LibraryHandoff::confirmAdding(const QString &playerName)
{
    if (UserDefaults::shared().boolForKey(ConfirmedKey))
        return true;
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("AddingSongsToLibrary");
    question.informativeText = Localized::text("RecommendationToTurnOffCopyingX").arg(playerName);
    question.buttonKeys = {QStringLiteral("JustAddThisTime"), QStringLiteral("Cancel"), QStringLiteral("ITurnedItOff")};
    switch (m_questions->ask(question)) {
    case 0:
        return true;
    case 2:
        UserDefaults::shared().setBool(true, ConfirmedKey);
        return true;
    default:
        return false;
    }
}

std::optional<LibraryHandoff::Plan> LibraryHandoff::prepare(const QList<Song *> &selected, Report &report)
{
    report = Report();
    m_leftRunning = ChildProcess::reapEnded(m_leftRunning);
    if (selected.isEmpty())
        return std::nullopt;
    const std::optional<Command> command = parseCommand(UserDefaults::shared().stringForKey(CommandKey));
    if (!command) {
        report.outcome = Outcome::NotConfigured;
        askWithPreferences("NoPlayerCommandSet", Localized::text("SetPlayerCommandInPreferences"));
        return std::nullopt;
    }
    if (!confirmAdding(playerName(*command))) {
        report.outcome = Outcome::Cancelled;
        return std::nullopt;
    }
    Plan plan{*command, {}, m_timeoutMs};
    plan.paths.reserve(selected.size());
    for (const Song *song : selected)
        plan.paths.append(song->filePath());
    return plan;
}

LibraryHandoff::Report LibraryHandoff::runFiles(const Plan &plan, const std::atomic<bool> &stop,
                                                const std::function<void(qsizetype done)> &fileDone)
{
    Report report;
    report.outcome = Outcome::Added;
    bool previousTimedOut = false;
    for (qsizetype i = 0; i < plan.paths.size(); ++i) {
        if (stop.load()) {
            report.stopped = true;
            break;
        }
        const QString &path = plan.paths.at(i);
        const Run run = runForFile(plan.command, path, plan.timeoutMs, stop);
        if (run.leftRunning != 0)
            report.leftRunning.append(run.leftRunning);
        if (fileDone)
            fileDone(i + 1);
        const bool hangs = run.result == Run::Result::TimedOut && previousTimedOut;
        previousTimedOut = run.result == Run::Result::TimedOut;
        if (run.result == Run::Result::NotStarted) {
            report.outcome = Outcome::NotReachable;
            break;
        }
        // A program still running has the file: it may be the player itself, just started.
        if (!hangs && (run.result == Run::Result::Done || run.leftRunning != 0)) {
            report.handedOver.append(path);
            continue;
        }
        report.outcome = Outcome::Failed;
        report.failures.append(failureLine(QFileInfo(path).fileName(), run, plan.timeoutMs));
        // Not the player starting but a program that hangs on every call.
        if (hangs)
            break;
    }
    return report;
}

void LibraryHandoff::tell(const Plan &plan, const Report &report)
{
    const QString name = playerName(plan.command);
    const qsizetype handed = report.handedOver.size();
    switch (report.outcome) {
    case Outcome::NotReachable:
        askWithPreferences("QuorlCouldNotReachPlayer", Localized::text("EnsurePlayerInstalledX").arg(name));
        break;
    case Outcome::Failed:
        reportFailures(name, report.failures);
        break;
    default:
        m_questions->postNotification(Localized::text("AddedToLibrary"),
                                      report.stopped ? Localized::text("StoppedNOfMSongsHandedToX")
                                                           .arg(handed)
                                                           .arg(plan.paths.size())
                                                           .arg(name)
                                      : handed == 1 ? Localized::text("1SongHandedToX").arg(name)
                                                    : Localized::text("NSongsHandedToY").arg(handed).arg(name));
        break;
    }
}

void LibraryHandoff::askWithPreferences(const char *messageKey, const QString &informativeText)
{
    UserQuestions::Question question;
    question.messageKey = QString::fromLatin1(messageKey);
    question.informativeText = informativeText;
    question.buttonKeys = {QStringLiteral("OK"), QStringLiteral("OpenPreferences")};
    if (m_questions->ask(question) == 1 && m_openPreferences)
        m_openPreferences();
}

void LibraryHandoff::reportFailures(const QString &playerName, const QStringList &failures)
{
    QString text = Localized::text("PlayerRefusedSongsX").arg(playerName);
    text += u'\n';
    text += failures.mid(0, ListedFailures).join(u'\n');
    if (failures.size() > ListedFailures)
        text += u'\n';
    ErrorUtil::appendEllipsisToMessage(&text, quint64(failures.size()));
    text += QStringLiteral("\n\n") + Localized::text("GetContactProductSupport");
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("QuorlFailedHandingToPlayer");
    question.informativeText = text;
    question.buttonKeys = {QStringLiteral("OK"), QStringLiteral("SendEmail")};
    if (m_questions->ask(question) == 1 && m_sendFeedback)
        m_sendFeedback();
}
