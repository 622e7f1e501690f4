#include "terminalui.h"

#include "console.h"
#include "interruptwatch.h"
#include "terminaltext.h"

#include "model/localized.h"

#include <csignal>

namespace {

const QString ShowDetailsKey = QStringLiteral("ShowDetails");

} // namespace

TerminalUserInterface::TerminalUserInterface(bool answerYes) : m_answerYes(answerYes) {}

TerminalUserInterface::~TerminalUserInterface() = default;

int TerminalUserInterface::cancellingButton(const QStringList &buttonKeys)
{
    const qsizetype cancel = buttonKeys.indexOf(QStringLiteral("Cancel"));
    if (cancel >= 0)
        return int(cancel);
    return int(buttonKeys.size()) - 1;
}

int TerminalUserInterface::automaticAnswer(const QStringList &buttonKeys, bool answerYes)
{
    const qsizetype details = buttonKeys.indexOf(ShowDetailsKey);
    if (details >= 0)
        return int(details);
    return answerYes ? 0 : cancellingButton(buttonKeys);
}

int TerminalUserInterface::ask(const Question &question)
{
    Q_ASSERT(!question.buttonKeys.isEmpty());
    int answer = 0;
    if (!m_answerYes && Console::isInputTerminal()) {
        answer = askOnTerminal(question);
    } else {
        printQuestion(question);
        answer = automaticAnswer(question.buttonKeys, m_answerYes);
        // A report's answer only opens its details; a real choice is worth telling.
        if (question.buttonKeys.size() > 1 && !question.buttonKeys.contains(ShowDetailsKey))
            Console::errLine(Localized::text("CliAnsweredX")
                                 .arg(Localized::text(question.buttonKeys.at(answer))));
    }
    if (question.buttonKeys.size() > 1 && answer == cancellingButton(question.buttonKeys)
        && question.buttonKeys.at(answer) != ShowDetailsKey)
        ++m_cancelledCount;
    return answer;
}

void TerminalUserInterface::printQuestion(const Question &question)
{
    Console::errLine(Localized::text(question.messageKey));
    const QString informative = question.informativeKey.isEmpty()
                                    ? question.informativeText
                                    : Localized::text(question.informativeKey);
    // Error lists end with their own line break; the file names in them may hold control
    // characters.
    if (!informative.isEmpty())
        Console::err(TerminalText::escapedLines(informative.endsWith(QLatin1Char('\n')) ? informative
                                                                                          : informative + QLatin1Char('\n')));
}

int TerminalUserInterface::askOnTerminal(const Question &question) const
{
    printQuestion(question);
    QStringList choices;
    for (qsizetype i = 0; i < question.buttonKeys.size(); ++i)
        choices.append(QStringLiteral("%1) %2").arg(i + 1).arg(Localized::text(question.buttonKeys.at(i))));
    const QString prompt = Localized::text("CliChooseButtonX").arg(choices.join(QStringLiteral("  ")));
    for (;;) {
        Console::err(prompt + QLatin1Char(' '));
        const QString line = Console::readInputLine();
        if (line.isNull())
            return cancellingButton(question.buttonKeys);
        bool isNumber = false;
        const int choice = line.trimmed().toInt(&isNumber);
        if (isNumber && choice >= 1 && choice <= question.buttonKeys.size())
            return choice - 1;
    }
}

std::optional<QStringList> TerminalUserInterface::chooseFiles(const FileChoice &choice)
{
    // The paths come from the command line; there is nothing to choose from here.
    Q_UNUSED(choice);
    return std::nullopt;
}

void TerminalUserInterface::setQuiet(bool quiet)
{
    m_progressLine = ProgressLine(quiet);
}

void TerminalUserInterface::showProgress(const QString &text)
{
    m_progressLine.show(text);
}

void TerminalUserInterface::showCountedProgress(const QString &text, qint64 done, qint64 total,
                                                const std::function<void()> &cancel)
{
    // Ctrl-C is what stops the work here.
    Q_UNUSED(done);
    Q_UNUSED(total);
    Q_UNUSED(cancel);
    m_progressLine.showCount(text);
}

QList<int> TerminalUserInterface::selectedRows() const
{
    QList<int> rows;
    const int count = m_songs ? int(m_songs->size()) : 0;
    rows.reserve(count);
    for (int row = 0; row < count; ++row)
        rows.append(row);
    return rows;
}

void TerminalUserInterface::setSelectedRows(const QList<int> &rows)
{
    // The selection is always the whole list.
    Q_UNUSED(rows);
}

void TerminalUserInterface::showProgressSheet()
{
    if (!m_idle || m_interrupted)
        return;
    if (!m_interruptWatch)
        m_interruptWatch = std::make_unique<InterruptWatch>(QList<int>{SIGINT}, [this] { interrupt(); });
    m_interruptWatch->arm();
    m_idle = false;
}

void TerminalUserInterface::setProgressSubText(const QString &text)
{
    // The steps and counts of a lookup show as those of a load or a save do.
    if (text.isEmpty())
        m_progressLine.show(QString());
    else
        m_progressLine.showCount(text);
}

void TerminalUserInterface::endProgressSheet()
{
    m_progressLine.show(QString());
    m_idle = true;
    if (m_interruptWatch)
        m_interruptWatch->disarm();
}

void TerminalUserInterface::interrupt()
{
    // As if the user had dismissed the sheet: the running batch sees it idle and stops.
    m_interrupted = true;
    endProgressSheet();
}
