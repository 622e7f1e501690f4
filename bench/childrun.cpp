#include "childrun.h"

#include <QProcess>

#include <cstdio>

namespace ChildRun {

bool measure(const QString &selfPath, const QStringList &arguments, Measurement::Sample *sample)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(selfPath, arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return false;
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines)
        if (Measurement::Sample::fromLine(line, sample))
            return true;
    return false;
}

void print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

QString mebibytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MiB");
}

QString timesText(const Measurement::Sample &sample)
{
    QStringList times;
    for (double ms : sample.milliseconds)
        times.append(QString::number(ms, 'f', 0));
    return times.join(QStringLiteral(" "));
}

QString figureLine(const QString &label, const Measurement::Sample &sample)
{
    return QStringLiteral("%1 %2 ms (runs: %3), peak %4\n")
        .arg(label, -26).arg(sample.median(), 7, 'f', 1)
        .arg(timesText(sample), mebibytes(sample.peakBytes));
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace ChildRun
