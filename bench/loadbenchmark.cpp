#include "loadbenchmark.h"

#include "childrun.h"
#include "corpus.h"
#include "measurement.h"

#include <QDir>

namespace {

using namespace ChildRun;

constexpr double OneThreadTarget = 1.3;
constexpr double TwoThreadTarget = 0.75;
constexpr qint64 MemoryAllowance = 40 * 1024 * 1024;

} // namespace

int LoadBenchmark::run(const QString &selfPath) const
{
    bool made = false;
    const Result<Corpus> corpus = Corpus::openOrMake(parentFolder, songs, QStringLiteral(QUORL_TEST_DATA_DIR), &made);
    if (!corpus) {
        print(QStringLiteral("Cannot make the corpus: %1\n").arg(corpus.error().detail));
        return 1;
    }
    const Corpus &files = corpus.value();
    print(QStringLiteral("Corpus: %1 songs, %2 albums, %3 distinct pictures (%4)\n")
              .arg(files.songCount).arg(files.albumCount).arg(files.albumCount)
              .arg(mebibytes(files.distinctPictureBytes)));
    print(QStringLiteral("Each mode: %1 round(s) of a fresh process doing one warm-up pass and %2 timed "
                         "runs; the modes take turns.\n").arg(rounds).arg(runs));
    if (steadyHeap)
        print(QStringLiteral("The C library's heap trimming is off in every mode (--steady-heap).\n"));
    print(QStringLiteral("\n"));

    const QStringList common = {QStringLiteral("--corpus"), files.folder, QStringLiteral("--runs"), QString::number(runs)};
    QList<QStringList> modes = {QStringList{QStringLiteral("--measure"), QStringLiteral("baseline")} + common};
    for (int threads : threadCounts)
        modes.append(QStringList{QStringLiteral("--measure"), QStringLiteral("load"), QStringLiteral("--threads"),
                                 QString::number(threads)} + common);
    QList<Measurement::Sample> samples;
    const int failed = measureInRounds(selfPath, modes, rounds, steadyHeap, &samples);
    if (failed >= 0) {
        print(QStringLiteral("The run of %1 failed.\n").arg(modes.at(failed).mid(1, failed > 0 ? 3 : 1).join(u' ')));
        return 1;
    }
    const Measurement::Sample &baseline = samples.first();
    print(figureLine(QStringLiteral("TagLib baseline:"), baseline));

    bool allMet = true;
    for (qsizetype index = 0; index < threadCounts.size(); ++index) {
        const int threads = threadCounts.at(index);
        const Measurement::Sample &load = samples.at(index + 1);
        if (load.songs != baseline.songs) {
            print(QStringLiteral("The load on %1 thread(s) loaded %2 of %3 songs.\n")
                      .arg(threads).arg(load.songs).arg(baseline.songs));
            return 1;
        }
        const double ratio = load.median() / baseline.median();
        const double target = threads == 1 ? OneThreadTarget : TwoThreadTarget;
        const qint64 memoryLimit = files.distinctPictureBytes + MemoryAllowance;
        const bool timeMet = ratio <= target;
        const bool memoryMet = load.peakBytes <= memoryLimit;
        allMet = allMet && timeMet && memoryMet;
        print(figureLine(QStringLiteral("Load, %1 thread(s):").arg(threads), load));
        print(QStringLiteral("    time %1× baseline (target ≤ %2×): %3; peak memory limit %4: %5\n")
                  .arg(ratio, 0, 'f', 2).arg(target, 0, 'f', 2).arg(verdict(timeMet))
                  .arg(mebibytes(memoryLimit), verdict(memoryMet)));
        // On one thread, processor time tells what a busy machine's wall time hides.
        print(QStringLiteral("    fastest runs %1× baseline").arg(load.fastest() / baseline.fastest(), 0, 'f', 2));
        if (threads == 1)
            print(QStringLiteral("; processor time %1× baseline").arg(load.cpuMedian() / baseline.cpuMedian(), 0, 'f', 2));
        print(QStringLiteral("\n"));
    }

    if (made && !keep)
        QDir(files.folder).removeRecursively();
    else
        print(QStringLiteral("\nThe corpus stays in %1\n").arg(files.folder));
    return allMet ? 0 : 1;
}
