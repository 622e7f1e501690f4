// quorl-bench: the benchmark tool. "load" measures loading a generated corpus against a plain
// TagLib read; see README.md.

#include "loadbenchmark.h"
#include "measurement.h"

#include "editor/settingsregistry.h"
#include "model/userdefaults.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

namespace {

int measureChild(const QCommandLineParser &parser)
{
    const QString modeName = parser.value(QStringLiteral("measure"));
    if (modeName != u"baseline" && modeName != u"load")
        return 2;
    const auto mode = modeName == u"load" ? Measurement::Mode::Load : Measurement::Mode::Baseline;
    const Measurement::Sample sample = Measurement::run(
        mode, parser.value(QStringLiteral("corpus")), parser.value(QStringLiteral("threads")).toInt(),
        parser.value(QStringLiteral("runs")).toInt());
    std::printf("%s\n", sample.toLine().toUtf8().constData());
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quorl-bench"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Benchmarks of quorl-core. Command: load"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("load"));
    parser.addOptions({
        {QStringLiteral("songs"), QStringLiteral("Songs in the corpus (default 2000)."), QStringLiteral("N"), QStringLiteral("2000")},
        {QStringLiteral("dir"), QStringLiteral("Folder that holds the corpus."), QStringLiteral("DIR")},
        {QStringLiteral("threads"), QStringLiteral("Measure only this parsing thread count (1 or 2)."), QStringLiteral("N")},
        {QStringLiteral("runs"), QStringLiteral("Timed runs per mode (default 5)."), QStringLiteral("N"), QStringLiteral("5")},
        {QStringLiteral("keep"), QStringLiteral("Keep the corpus for later runs.")},
    });
    QCommandLineOption measure(QStringLiteral("measure"), QStringLiteral("Child process: measure one mode."), QStringLiteral("MODE"));
    measure.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption corpus(QStringLiteral("corpus"), QStringLiteral("Child process: the corpus folder."), QStringLiteral("DIR"));
    corpus.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(measure);
    parser.addOption(corpus);
    parser.process(app);

    // The benchmark never reads or writes the user's settings.
    QTemporaryDir settings;
    UserDefaults::shared().openStore(settings.filePath(QStringLiteral("quorl.ini")));
    SettingsRegistry::registerDefaults();

    if (parser.isSet(measure))
        return measureChild(parser);

    if (parser.positionalArguments() != QStringList{QStringLiteral("load")} || !parser.isSet(QStringLiteral("dir"))) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    LoadBenchmark benchmark;
    bool ok = false;
    benchmark.songs = parser.value(QStringLiteral("songs")).toInt(&ok);
    benchmark.runs = parser.value(QStringLiteral("runs")).toInt();
    benchmark.parentFolder = parser.value(QStringLiteral("dir"));
    benchmark.keep = parser.isSet(QStringLiteral("keep"));
    if (parser.isSet(QStringLiteral("threads"))) {
        const int threads = parser.value(QStringLiteral("threads")).toInt();
        if (threads != 1 && threads != 2) {
            std::fputs("--threads takes 1 or 2\n", stderr);
            return 2;
        }
        benchmark.threadCounts = {threads};
    }
    if (!ok || benchmark.songs <= 0 || benchmark.runs <= 0) {
        std::fputs("--songs and --runs take positive numbers\n", stderr);
        return 2;
    }
    return benchmark.run(QCoreApplication::applicationFilePath());
}
