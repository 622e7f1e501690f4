#include "editor/libraryhandoff.h"

#include "editor/errorutil.h"
#include "editor/userquestions.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>

namespace {

const QString ConfirmedKey = QStringLiteral("CONFIRMED_ADD_TO_ITUNES");
// A killed program is given this long to be reaped.
constexpr int ReapTimeoutMs = 2000;
// Failures listed in a report before the rest are counted.
constexpr int ListedFailures = 10;

QString lastLine(const QByteArray &output)
{
    const QStringList lines = QString::fromLocal8Bit(output).split(u'\n', Qt::SkipEmptyParts);
    for (auto line = lines.crbegin(); line != lines.crend(); ++line) {
        const QString trimmed = line->trimmed();
        if (!trimmed.isEmpty())
            return trimmed;
    }
    return QString();
}

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

LibraryHandoff::Run LibraryHandoff::runForFile(const Command &command, const QString &filePath, int timeoutMs)
{
    QProcess process;
    process.setProgram(command.program);
    process.setArguments(argumentsForFile(command.arguments, filePath));
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    const QDeadlineTimer deadline(timeoutMs);
    process.start();

    Run run;
    if (!process.waitForStarted(int(std::max<qint64>(deadline.remainingTime(), 1)))) {
        if (process.error() == QProcess::FailedToStart) {
            run.result = Run::Result::NotStarted;
            return run;
        }
    }
    if (process.state() != QProcess::NotRunning
        && !process.waitForFinished(int(std::max<qint64>(deadline.remainingTime(), 1)))
        && process.state() != QProcess::NotRunning) {
        process.kill();
        process.waitForFinished(ReapTimeoutMs);
        run.result = Run::Result::TimedOut;
        run.errorLine = lastLine(process.readAllStandardError());
        return run;
    }
    run.errorLine = lastLine(process.readAllStandardError());
    if (process.exitStatus() == QProcess::CrashExit) {
        run.result = Run::Result::Crashed;
    } else if (process.exitCode() != 0) {
        run.result = Run::Result::Failed;
        run.exitCode = process.exitCode();
    } else {
        // What a program that did its work said on the way is no news.
        run.errorLine.clear();
    }
    return run;
}

LibraryHandoff::LibraryHandoff(UserQuestions *questions)
    : m_questions(questions)
{
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
    for (qsizetype i = 0; i < plan.paths.size(); ++i) {
        if (stop.load()) {
            report.stopped = true;
            break;
        }
        const QString &path = plan.paths.at(i);
        const Run run = runForFile(plan.command, path, plan.timeoutMs);
        if (fileDone)
            fileDone(i + 1);
        if (run.result == Run::Result::Done) {
            report.handedOver.append(path);
            continue;
        }
        if (run.result == Run::Result::NotStarted) {
            report.outcome = Outcome::NotReachable;
            break;
        }
        report.outcome = Outcome::Failed;
        report.failures.append(failureLine(QFileInfo(path).fileName(), run, plan.timeoutMs));
        // A program that hangs would hang for every file.
        if (run.result == Run::Result::TimedOut)
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
