#include "terminalui.h"

#include "console.h"

#include "model/localized.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <unistd.h>

namespace {

const QString ShowDetailsKey = QStringLiteral("ShowDetails");

// The self-pipe of SIGINT: the handler only writes a byte into it; the main thread's event loop
// watches the other end. Made once, kept for the life of the process.
int interruptPipe[2] = {-1, -1};

extern "C" void writeInterrupt(int)
{
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(interruptPipe[1], &byte, 1);
    errno = saved;
}

bool makeInterruptPipe()
{
    if (interruptPipe[0] >= 0)
        return true;
    return ::pipe2(interruptPipe, O_CLOEXEC | O_NONBLOCK) == 0;
}

void drainInterruptPipe()
{
    char bytes[64];
    while (::read(interruptPipe[0], bytes, sizeof bytes) > 0) {
    }
}

} // namespace

// Catches SIGINT while armed and calls back on the main thread; disarmed, SIGINT has its former
// disposition again. The handler resets itself when it runs, so that a second SIGINT acts as if
// there were none. A SIGINT that was ignored stays ignored (a job started in the background).
class InterruptWatch {
public:
    explicit InterruptWatch(std::function<void()> onInterrupt) : m_onInterrupt(std::move(onInterrupt)) {}
    ~InterruptWatch() { disarm(); }
    InterruptWatch(const InterruptWatch &) = delete;
    InterruptWatch &operator=(const InterruptWatch &) = delete;

    void arm()
    {
        if (m_armed || !makeInterruptPipe())
            return;
        struct sigaction current = {};
        if (::sigaction(SIGINT, nullptr, &current) != 0 || current.sa_handler == SIG_IGN)
            return;
        drainInterruptPipe();
        if (!m_notifier) {
            m_notifier = std::make_unique<QSocketNotifier>(interruptPipe[0], QSocketNotifier::Read);
            QObject::connect(m_notifier.get(), &QSocketNotifier::activated, m_notifier.get(), [this] {
                drainInterruptPipe();
                if (m_armed)
                    m_onInterrupt();
            });
        }
        struct sigaction handler = {};
        handler.sa_handler = &writeInterrupt;
        sigemptyset(&handler.sa_mask);
        handler.sa_flags = SA_RESETHAND | SA_RESTART;
        if (::sigaction(SIGINT, &handler, &m_previous) != 0)
            return;
        m_notifier->setEnabled(true);
        m_armed = true;
    }

    void disarm()
    {
        if (!m_armed)
            return;
        m_armed = false;
        m_notifier->setEnabled(false);
        ::sigaction(SIGINT, &m_previous, nullptr);
    }

private:
    std::function<void()> m_onInterrupt;
    std::unique_ptr<QSocketNotifier> m_notifier;
    struct sigaction m_previous = {};
    bool m_armed = false;
};

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
    // Error lists end with their own line break.
    if (!informative.isEmpty())
        Console::err(informative.endsWith(QLatin1Char('\n')) ? informative : informative + QLatin1Char('\n'));
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

void TerminalUserInterface::showProgressSheet()
{
    if (!m_idle.load() || m_interrupted)
        return;
    if (!m_interruptWatch)
        m_interruptWatch = std::make_unique<InterruptWatch>([this] { interrupt(); });
    m_interruptWatch->arm();
    m_idle = false;
}

void TerminalUserInterface::setProgressSubText(const QString &text)
{
    if (!text.isEmpty())
        Console::errLine(text);
}

void TerminalUserInterface::endProgressSheet()
{
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
