#include "savebenchmark.h"

#include "childrun.h"
#include "corpus.h"
#include "measurement.h"

#include <QDir>
#include <QFileInfo>

namespace {

using namespace ChildRun;

constexpr double CoreTarget = 1.2;
constexpr double CliTarget = 1.8;
constexpr double CoverTarget = 1.3;

} // namespace

int SaveBenchmark::run(const QString &selfPath) const
{
    if (!QFileInfo(cliPath).isExecutable()) {
        print(QStringLiteral("No quorl-cli at %1 (build it, or name it with --cli)\n").arg(cliPath));
        return 1;
    }
    bool made = false;
    const Result<Corpus> corpus = Corpus::openOrMake(parentFolder, songs, QStringLiteral(QUORL_TEST_DATA_DIR), &made);
    if (!corpus) {
        print(QStringLiteral("Cannot make the corpus: %1\n").arg(corpus.error().detail));
        return 1;
    }
    const Corpus &files = corpus.value();
    const QString workFolder = QDir(parentFolder).absoluteFilePath(QStringLiteral("save-work-%1").arg(songs));
    print(QStringLiteral("Corpus: %1 songs in %2; passes save copies in %3\n")
              .arg(files.songCount).arg(files.folder, workFolder));
    print(QStringLiteral("Each mode: %1 round(s) of a fresh process doing one warm-up pass and %2 timed "
                         "runs, each on a fresh copy; the modes take turns.\n").arg(rounds).arg(runs));
    if (steadyHeap)
        print(QStringLiteral("The C library's heap trimming is off in every mode (--steady-heap).\n"));
    print(QStringLiteral("\n"));

    const QStringList common = {QStringLiteral("--corpus"), files.folder, QStringLiteral("--work"), workFolder,
                                QStringLiteral("--cli"), cliPath, QStringLiteral("--runs"), QString::number(runs)};
    struct ModeRun {
        const char *mode;
        QString label;
        double target; // times its bare pass; 0 for a bare pass itself
        int bare;      // the index of that bare pass
    };
    const ModeRun modes[] = {
        {"save-bare", QStringLiteral("TagLib bare pass:"), 0, 0},
        {"save-core", QStringLiteral("quorl-core change+save:"), CoreTarget, 0},
        {"save-cli", QStringLiteral("quorl-cli edit (process):"), CliTarget, 0},
        {"save-bare-cover", QStringLiteral("TagLib bare pass, 300 KB cover added:"), 0, 3},
        {"save-core-cover", QStringLiteral("quorl-core change+save, 300 KB cover added:"), CoverTarget, 3},
    };
    QList<QStringList> arguments;
    for (const ModeRun &mode : modes)
        arguments.append(QStringList{QStringLiteral("--measure"), QString::fromLatin1(mode.mode)} + common);
    QList<Measurement::Sample> samples;
    const int failed = measureInRounds(selfPath, arguments, rounds, steadyHeap, &samples);
    if (failed >= 0) {
        print(QStringLiteral("The %1 run failed.\n").arg(QString::fromLatin1(modes[failed].mode)));
        return 1;
    }

    bool allMet = true;
    for (qsizetype index = 0; index < samples.size(); ++index) {
        const ModeRun &mode = modes[index];
        const Measurement::Sample &sample = samples.at(index);
        const Measurement::Sample &bare = samples.at(mode.bare);
        if (sample.songs != files.songCount) {
            print(QStringLiteral("The %1 run saved %2 of %3 files.\n")
                      .arg(QString::fromLatin1(mode.mode)).arg(sample.songs).arg(files.songCount));
            return 1;
        }
        print(figureLine(mode.label, sample));
        if (mode.target == 0)
            continue;
        const double ratio = sample.median() / bare.median();
        const bool met = ratio <= mode.target;
        allMet = allMet && met;
        print(QStringLiteral("    time %1× its bare pass (target ≤ %2×): %3; fastest runs %4×; processor time %5×\n")
                  .arg(ratio, 0, 'f', 2).arg(mode.target, 0, 'f', 2).arg(verdict(met))
                  .arg(sample.fastest() / bare.fastest(), 0, 'f', 2)
                  .arg(sample.cpuMedian() / bare.cpuMedian(), 0, 'f', 2));
    }

    if (made && !keep)
        QDir(files.folder).removeRecursively();
    else
        print(QStringLiteral("\nThe corpus stays in %1\n").arg(files.folder));
    return allMet ? 0 : 1;
}
