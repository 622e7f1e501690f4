#include "terminalui.h"

#include "console.h"

#include "model/localized.h"

TerminalUserInterface::TerminalUserInterface(bool answerYes) : m_answerYes(answerYes) {}

int TerminalUserInterface::cancellingButton(const QStringList &buttonKeys)
{
    const qsizetype cancel = buttonKeys.indexOf(QStringLiteral("Cancel"));
    if (cancel >= 0)
        return int(cancel);
    return int(buttonKeys.size()) - 1;
}

int TerminalUserInterface::ask(const Question &question)
{
    Q_ASSERT(!question.buttonKeys.isEmpty());
    if (m_answerYes)
        return 0;
    const int answer = Console::isInputTerminal() ? askOnTerminal(question)
                                                  : cancellingButton(question.buttonKeys);
    if (answer == cancellingButton(question.buttonKeys))
        ++m_cancelledCount;
    return answer;
}

int TerminalUserInterface::askOnTerminal(const Question &question) const
{
    Console::errLine(Localized::text(question.messageKey));
    const QString informative = question.informativeKey.isEmpty()
                                    ? question.informativeText
                                    : Localized::text(question.informativeKey);
    if (!informative.isEmpty())
        Console::errLine(informative);
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

void TerminalUserInterface::showProgress(const QString &text)
{
    if (!text.isEmpty())
        Console::errLine(text);
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
