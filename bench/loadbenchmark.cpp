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
    print(QStringLiteral("Each mode: one warm-up pass, then %1 timed runs in its own process.\n\n").arg(runs));

    const QStringList common = {QStringLiteral("--corpus"), files.folder, QStringLiteral("--runs"), QString::number(runs)};
    Measurement::Sample baseline;
    if (!measure(selfPath, QStringList{QStringLiteral("--measure"), QStringLiteral("baseline")} + common, &baseline)) {
        print(QStringLiteral("The baseline run failed.\n"));
        return 1;
    }
    print(figureLine(QStringLiteral("TagLib baseline:"), baseline));

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
        print(figureLine(QStringLiteral("Load, %1 thread(s):").arg(threads), load));
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
