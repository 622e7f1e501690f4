#include "console.h"

#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <sys/ioctl.h>
#include <unistd.h>

namespace Console {

namespace {

QString outputFailure;
bool transientShown = false;

void writeErr(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

// The columns of the terminal on standard error, or 0 when it does not say.
int errorTerminalColumns()
{
    winsize size{};
    return ::ioctl(STDERR_FILENO, TIOCGWINSZ, &size) == 0 ? int(size.ws_col) : 0;
}

} // namespace

void out(const QByteArray &bytes)
{
    if (!outputFailure.isEmpty())
        return;
    // Standard output may share the terminal with the progress line.
    showTransient(QString());
    errno = 0;
    const size_t written = std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    if (std::fflush(stdout) == 0 && written == size_t(bytes.size()) && !std::ferror(stdout))
        return;
    outputFailure = QString::fromLocal8Bit(std::strerror(errno != 0 ? errno : EIO));
}

QString outputError()
{
    return outputFailure;
}

void out(const QString &text)
{
    out(text.toUtf8());
}

void err(const QString &text)
{
    showTransient(QString());
    writeErr(text.toUtf8());
}

void showTransient(const QString &text)
{
    if (text.isEmpty() && !transientShown)
        return;
    QString line = text;
    // A line that wrapped could not be written over.
    const int columns = errorTerminalColumns();
    if (columns > 1 && line.size() >= columns)
        line.truncate(columns - 1);
    // Back to the start of the line, the text, then the rest of the line erased.
    writeErr("\r" + line.toUtf8() + "\x1b[K");
    transientShown = !text.isEmpty();
}

void errLine(const QString &text)
{
    err(text + QLatin1Char('\n'));
}

bool isInputTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

bool isErrorTerminal()
{
    return ::isatty(STDERR_FILENO) == 1;
}

QString readInputLine()
{
    static QTextStream input(stdin);
    return input.readLine();
}

} // namespace Console
