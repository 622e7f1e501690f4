#include "console.h"

#include <QTextStream>

#include <cstdio>
#include <unistd.h>

namespace Console {

void out(const QByteArray &bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
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
