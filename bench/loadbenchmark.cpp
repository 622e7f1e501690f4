#include "loadbenchmark.h"

#include "corpus.h"
#include "measurement.h"

#include <QDir>
#include <QProcess>

#include <cstdio>

namespace {

constexpr double OneThreadTarget = 1.3;
constexpr double TwoThreadTarget = 0.75;
constexpr qint64 MemoryAllowance = 40 * 1024 * 1024;

void print(const QString &text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fflush(stdout);
}

QString mebibytes(qint64 bytes)
{
    return QString::number(double(bytes) / (1024.0 * 1024.0), 'f', 1) + QStringLiteral(" MiB");
}

// Runs one mode in a fresh process of this tool.
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

QString timesText(const Measurement::Sample &sample)
{
    QStringList times;
    for (double ms : sample.milliseconds)
        times.append(QString::number(ms, 'f', 0));
    return times.join(QStringLiteral(" "));
}

QString verdict(bool met)
{
    return met ? QStringLiteral("met") : QStringLiteral("MISSED");
}

} // namespace

int LoadBenchmark::run(const QString &selfPath) const
{
    bool made = false;
    Result<Corpus> corpus = Corpus::open(parentFolder, songs);
    if (!corpus) {
        print(QStringLiteral("Making a corpus of %1 songs in %2\n").arg(songs).arg(Corpus::folderFor(parentFolder, songs)));
        corpus = Corpus::make(parentFolder, songs, QStringLiteral(QUORL_TEST_DATA_DIR));
        made = true;
    }
    if (!corpus) {
        print(QStringLiteral("Cannot make the corpus: %1\n").arg(corpus.error().detail));
        return 1;
    }
    const Corpus &files = corpus.value();
    print(QStringLiteral("Corpus: %1 songs, %2 albums, %3 distinct pictures (%4)\n")
              .arg(files.songCount).arg(files.albumCount).arg(files.albumCount)
              .arg(mebibytes(files.distinctPictureBytes)));
    print(QStringLiteral("Each mode: one warm-up pass, then %1 timed runs in its own process.\n\n").arg(runs));

    const QStringList common = {QStringLiteral("--corpus"), files.folder, QStringLiteral("--runs"), QString::number(runs)};
    Measurement::Sample baseline;
    if (!measure(selfPath, QStringList{QStringLiteral("--measure"), QStringLiteral("baseline")} + common, &baseline)) {
        print(QStringLiteral("The baseline run failed.\n"));
        return 1;
    }
    print(QStringLiteral("%1 %2 ms (runs: %3), peak %4\n")
              .arg(QStringLiteral("TagLib baseline:"), -22).arg(baseline.median(), 7, 'f', 1)
              .arg(timesText(baseline), mebibytes(baseline.peakBytes)));

    bool allMet = true;
    for (int threads : threadCounts) {
        Measurement::Sample load;
        const QStringList arguments = QStringList{QStringLiteral("--measure"), QStringLiteral("load"),
                                                  QStringLiteral("--threads"), QString::number(threads)} + common;
        if (!measure(selfPath, arguments, &load) || load.songs != baseline.songs) {
            print(QStringLiteral("The load run on %1 thread(s) failed or loaded %2 of %3 songs.\n")
                      .arg(threads).arg(load.songs).arg(baseline.songs));
            return 1;
        }
        const double ratio = load.median() / baseline.median();
        const double target = threads == 1 ? OneThreadTarget : TwoThreadTarget;
        const qint64 memoryLimit = files.distinctPictureBytes + MemoryAllowance;
        const bool timeMet = ratio <= target;
        const bool memoryMet = load.peakBytes <= memoryLimit;
        allMet = allMet && timeMet && memoryMet;
        print(QStringLiteral("%1 %2 ms (runs: %3), peak %4\n")
                  .arg(QStringLiteral("Load, %1 thread(s):").arg(threads), -22).arg(load.median(), 7, 'f', 1)
                  .arg(timesText(load), mebibytes(load.peakBytes)));
        print(QStringLiteral("    time %1× baseline (target ≤ %2×): %3; peak memory limit %4: %5\n")
                  .arg(ratio, 0, 'f', 2).arg(target, 0, 'f', 2).arg(verdict(timeMet))
                  .arg(mebibytes(memoryLimit), verdict(memoryMet)));
    }

    if (made && !keep)
        QDir(files.folder).removeRecursively();
    else
        print(QStringLiteral("\nThe corpus stays in %1\n").arg(files.folder));
    return allMet ? 0 : 1;
}
