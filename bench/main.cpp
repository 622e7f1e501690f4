// quorl-bench: the benchmark tool. "load" measures loading a generated corpus against a plain
// TagLib read; "save" measures changing a title and saving against a plain TagLib save;
// "discogs" times the online search against a local server that answers slowly; "model" times
// the song table model over songs made in memory; "window" the desktop window over songs made
// in memory and its start on a corpus; "browser" the window's browser view from Return to a
// filled cover strip against the same local server; see README.md.

#include "browserbenchmark.h"
#include "discogsbenchmark.h"
#include "loadbenchmark.h"
#include "measurement.h"
#include "modelbenchmark.h"
#include "savebenchmark.h"
#include "savemeasurement.h"
#include "windowbenchmark.h"

#include "editor/settingsregistry.h"
#include "model/localized.h"
#include "model/userdefaults.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <memory>

namespace {

int measureChild(const QCommandLineParser &parser)
{
    const QString modeName = parser.value(QStringLiteral("measure"));
    const int runs = parser.value(QStringLiteral("runs")).toInt();
    Measurement::Sample sample;
    if (modeName == u"baseline" || modeName == u"load") {
        const auto mode = modeName == u"load" ? Measurement::Mode::Load : Measurement::Mode::Baseline;
        sample = Measurement::run(mode, parser.value(QStringLiteral("corpus")),
                                  parser.value(QStringLiteral("threads")).toInt(), runs);
    } else if (modeName.startsWith(u"save-")) {
        static const QHash<QString, SaveMeasurement::Mode> modes = {
            {QStringLiteral("save-bare"), SaveMeasurement::Mode::Bare},
            {QStringLiteral("save-core"), SaveMeasurement::Mode::Core},
            {QStringLiteral("save-cli"), SaveMeasurement::Mode::Cli},
            {QStringLiteral("save-bare-cover"), SaveMeasurement::Mode::BareCover},
            {QStringLiteral("save-core-cover"), SaveMeasurement::Mode::CoreCover},
        };
        if (!modes.contains(modeName))
            return 2;
        const SaveMeasurement::Mode mode = modes.value(modeName);
        SaveMeasurement::Setup setup;
        setup.corpusFolder = parser.value(QStringLiteral("corpus"));
        setup.workFolder = parser.value(QStringLiteral("work"));
        setup.cliPath = parser.value(QStringLiteral("cli"));
        setup.runs = runs;
        if (setup.workFolder.isEmpty())
            return 2;
        sample = SaveMeasurement::run(mode, setup);
        if (sample.milliseconds.isEmpty())
            return 1;
    } else {
        return 2;
    }
    std::printf("%s\n", sample.toLine().toUtf8().constData());
    return 0;
}

// quorl-cli of the same build: "<build>/cli/quorl-cli" next to "<build>/bench/quorl-bench".
QString defaultCliPath()
{
    return QDir(QCoreApplication::applicationDirPath()).absoluteFilePath(QStringLiteral("../cli/quorl-cli"));
}

} // namespace

int main(int argc, char *argv[])
{
    // The window's benchmark needs a GUI application object; the others run without one.
    const bool needsWidgets = WindowBenchmark::isWindowCommand(argc, argv) || BrowserBenchmark::isBrowserCommand(argc, argv);
    const std::unique_ptr<QCoreApplication> application = needsWidgets
        ? WindowBenchmark::makeApplication(argc, argv)
        : std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication &app = *application;
    QCoreApplication::setApplicationName(QStringLiteral("quorl-bench"));
    // The search formats its progress texts from the string table, as the editor does.
    Localized::installStringTable();

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Benchmarks of quorl-core and the window. Commands: load, save, discogs, browser, model, window"));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("load, save, discogs, browser, model or window"));
    parser.addOptions({
        {QStringLiteral("songs"), QStringLiteral("Songs in the corpus (default 2000; model: songs made in memory, default 100000)."), QStringLiteral("N"), QStringLiteral("2000")},
        {QStringLiteral("dir"), QStringLiteral("Folder that holds the corpus (and the copies save works on)."), QStringLiteral("DIR")},
        {QStringLiteral("threads"), QStringLiteral("load: measure only this parsing thread count (1 or 2)."), QStringLiteral("N")},
        {QStringLiteral("runs"), QStringLiteral("Timed runs per mode and process (default 5)."), QStringLiteral("N"), QStringLiteral("5")},
        {QStringLiteral("rounds"), QStringLiteral("Processes per mode, the modes taking turns (default 1)."), QStringLiteral("N"), QStringLiteral("1")},
        {QStringLiteral("keep"), QStringLiteral("Keep the corpus for later runs.")},
        {QStringLiteral("cli"), QStringLiteral("save: the quorl-cli to time (default: the one of this build)."), QStringLiteral("PATH")},
        {QStringLiteral("delay"), QStringLiteral("serve-discogs: milliseconds before each answer (default 0)."), QStringLiteral("MS"), QStringLiteral("0")},
        {QStringLiteral("steady-heap"), QStringLiteral("Measure with the C library's heap trimming off in every mode.")},
    });
    QCommandLineOption measure(QStringLiteral("measure"), QStringLiteral("Child process: measure one mode."), QStringLiteral("MODE"));
    measure.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption corpus(QStringLiteral("corpus"), QStringLiteral("Child process: the corpus folder."), QStringLiteral("DIR"));
    corpus.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption work(QStringLiteral("work"), QStringLiteral("Child process: the folder of the copies."), QStringLiteral("DIR"));
    work.setFlags(QCommandLineOption::HiddenFromHelp);
    QCommandLineOption windowStart(QStringLiteral("window-start"), QStringLiteral("Child process: start the window on a folder."), QStringLiteral("DIR"));
    windowStart.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(windowStart);
    parser.addOption(measure);
    parser.addOption(corpus);
    parser.addOption(work);
    parser.process(app);

    // The benchmark never reads or writes the user's settings.
    QTemporaryDir settings;
    UserDefaults::shared().openStore(settings.filePath(QStringLiteral("quorl.ini")));
    SettingsRegistry::registerDefaults();

    if (parser.isSet(measure))
        return measureChild(parser);
    if (parser.isSet(windowStart))
        return WindowBenchmark::startOnFolder(parser.value(windowStart), parser.value(QStringLiteral("songs")).toInt());

    const QStringList positional = parser.positionalArguments();
    const QString command = positional.size() == 1 ? positional.first() : QString();
    if (command == u"serve-discogs")
        return BrowserBenchmark::serve(parser.value(QStringLiteral("delay")).toInt());
    const bool needsFolder = command != u"discogs" && command != u"browser" && command != u"model" && command != u"window";
    if ((command != u"load" && command != u"save" && command != u"discogs" && command != u"browser" && command != u"model"
         && command != u"window")
        || (needsFolder && !parser.isSet(QStringLiteral("dir")))) {
        std::fputs(qPrintable(parser.helpText()), stderr);
        return 2;
    }
    bool ok = false;
    const int songs = parser.value(QStringLiteral("songs")).toInt(&ok);
    const int runs = parser.value(QStringLiteral("runs")).toInt();
    const int rounds = parser.value(QStringLiteral("rounds")).toInt();
    if (!ok || songs <= 0 || runs <= 0 || rounds <= 0) {
        std::fputs("--songs, --runs and --rounds take positive numbers\n", stderr);
        return 2;
    }

    if (command == u"model") {
        ModelBenchmark benchmark;
        benchmark.songs = parser.isSet(QStringLiteral("songs")) ? songs : benchmark.songs;
        benchmark.runs = runs;
        return benchmark.run();
    }

    if (command == u"window") {
        WindowBenchmark benchmark;
        benchmark.songs = parser.isSet(QStringLiteral("songs")) ? songs : benchmark.songs;
        benchmark.runs = runs;
        benchmark.corpusParent = parser.value(QStringLiteral("dir"));
        benchmark.keep = parser.isSet(QStringLiteral("keep"));
        benchmark.cliPath = parser.isSet(QStringLiteral("cli"))
                                ? QFileInfo(parser.value(QStringLiteral("cli"))).absoluteFilePath()
                                : defaultCliPath();
        return benchmark.run(QCoreApplication::applicationFilePath());
    }

    if (command == u"browser") {
        BrowserBenchmark benchmark;
        benchmark.runs = runs;
        return benchmark.run();
    }

    if (command == u"discogs") {
        DiscogsBenchmark benchmark;
        benchmark.runs = runs;
        return benchmark.run();
    }

    if (command == u"save") {
        SaveBenchmark benchmark;
        benchmark.songs = songs;
        benchmark.runs = runs;
        benchmark.rounds = rounds;
        benchmark.parentFolder = parser.value(QStringLiteral("dir"));
        benchmark.keep = parser.isSet(QStringLiteral("keep"));
        benchmark.steadyHeap = parser.isSet(QStringLiteral("steady-heap"));
        benchmark.cliPath = parser.isSet(QStringLiteral("cli"))
                                ? QFileInfo(parser.value(QStringLiteral("cli"))).absoluteFilePath()
                                : defaultCliPath();
        return benchmark.run(QCoreApplication::applicationFilePath());
    }

    LoadBenchmark benchmark;
    benchmark.songs = songs;
    benchmark.runs = runs;
    benchmark.rounds = rounds;
    benchmark.parentFolder = parser.value(QStringLiteral("dir"));
    benchmark.keep = parser.isSet(QStringLiteral("keep"));
    benchmark.steadyHeap = parser.isSet(QStringLiteral("steady-heap"));
    if (parser.isSet(QStringLiteral("threads"))) {
        const int threads = parser.value(QStringLiteral("threads")).toInt();
        if (threads != 1 && threads != 2) {
            std::fputs("--threads takes 1 or 2\n", stderr);
            return 2;
        }
        benchmark.threadCounts = {threads};
    }
    return benchmark.run(QCoreApplication::applicationFilePath());
}
