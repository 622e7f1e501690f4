#include "childrun.h"

#include <QProcess>

#include <algorithm>
#include <cstdio>

namespace ChildRun {

bool measure(const QString &selfPath, const QStringList &arguments, Measurement::Sample *sample,
             bool steadyHeap)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    if (steadyHeap) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("GLIBC_TUNABLES"), QStringLiteral("glibc.malloc.trim_threshold=1073741824"));
        child.setProcessEnvironment(environment);
    }
    child.start(selfPath, arguments);
    if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
        return false;
    const QStringList lines = QString::fromUtf8(child.readAllStandardOutput()).split(u'\n');
    for (const QString &line : lines)
        if (Measurement::Sample::fromLine(line, sample))
            return true;
    return false;
}

int measureInRounds(const QString &selfPath, const QList<QStringList> &modes, int rounds, bool steadyHeap,
                    QList<Measurement::Sample> *samples)
{
    samples->clear();
    samples->resize(modes.size());
    for (int round = 0; round < rounds; ++round) {
        for (qsizetype mode = 0; mode < modes.size(); ++mode) {
            Measurement::Sample sample;
            if (!measure(selfPath, modes.at(mode), &sample, steadyHeap))
                return int(mode);
            Measurement::Sample &gathered = (*samples)[mode];
            if (round > 0 && sample.songs != gathered.songs)
                return int(mode);
            gathered.milliseconds += sample.milliseconds;
            gathered.cpuMilliseconds += sample.cpuMilliseconds;
            gathered.peakBytes = std::max(gathered.peakBytes, sample.peakBytes);
            gathered.songs = sample.songs;
        }
        if (rounds > 1)
            std::fprintf(stderr, "round %d of %d done\n", round + 1, rounds);
    }
    return -1;
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
    return QStringLiteral("%1 %2 ms (runs: %3), fastest %4 ms, processor %5 ms, peak %6\n")
        .arg(label, -26).arg(sample.median(), 7, 'f', 1)
        .arg(timesText(sample)).arg(sample.fastest(), 0, 'f', 1).arg(sample.cpuMedian(), 0, 'f', 1)
        .arg(mebibytes(sample.peakBytes));
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace ChildRun
