#include "console.h"

#include <QTextStream>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace Console {

namespace {

QString outputFailure;

} // namespace

void out(const QByteArray &bytes)
{
    if (!outputFailure.isEmpty())
        return;
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
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
    std::fflush(stderr);
}

void errLine(const QString &text)
{
    err(text + QLatin1Char('\n'));
}

bool isInputTerminal()
{
    return ::isatty(STDIN_FILENO) == 1;
}

QString readInputLine()
{
    static QTextStream input(stdin);
    return input.readLine();
}

} // namespace Console
