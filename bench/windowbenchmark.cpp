#include "windowbenchmark.h"

#include "corpus.h"
#include "measurement.h"
#include "modelbenchmark.h"

#include "editor/editorcontroller.h"
#include "editor/songtablecolumns.h"
#include "ui/fieldarea.h"
#include "ui/mainwindow.h"
#include "ui/songtableview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QProcess>

#include <cstdio>
#include <cstring>

namespace {

constexpr double SortTargetMs = 400;
constexpr double SelectAllTargetMs = 200;
constexpr double EditTargetMs = 300;
constexpr qint64 MemoryTargetBytes = 180LL * 1024 * 1024;
constexpr double StartRatioTarget = 1.5;
constexpr int EditedSongs = 10000;

// Types the text into the line edit and presses Return, as the keyboard does.
void type(QLineEdit *line, const QString &text)
{
    line->selectAll();
    for (const QChar character : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(character));
        QApplication::sendEvent(line, &press);
    }
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(line, &enter);
}

// Everything the window has to do before the person sees the result: the events (the field
// area, the cover panel and the status line follow in them), then the painting.
void settle(MainWindow &window)
{
    QApplication::processEvents();
    window.repaint();
}

// Wall times of a program run to its end, in milliseconds.
QList<double> timeProcess(const QString &program, const QStringList &arguments, int runs, bool *ok)
{
    QList<double> times;
    for (int run = 0; run <= runs; ++run) {
        QProcess process;
        process.setStandardOutputFile(QProcess::nullDevice());
        process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer timer;
        timer.start();
        process.start(program, arguments);
        if (!process.waitForFinished(600000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
            *ok = false;
            return times;
        }
        // The first run only warms the caches.
        if (run > 0)
            times.append(double(timer.nsecsElapsed()) / 1e6);
    }
    return times;
}

} // namespace

bool WindowBenchmark::isWindowCommand(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "window") == 0 || std::strcmp(argv[i], "--window-start") == 0)
            return true;
    }
    return false;
}

std::unique_ptr<QCoreApplication> WindowBenchmark::makeApplication(int &argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    return std::make_unique<QApplication>(argc, argv);
}

int WindowBenchmark::startOnFolder(const QString &folder, int expectedSongs)
{
    MainWindow window;
    window.show();
    window.openFiles({folder});
    while (window.editor().isLoading())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    settle(window);
    return int(window.editor().songs().size()) == expectedSongs ? 0 : 1;
}

int WindowBenchmark::run(const QString &selfPath) const
{
    MainWindow window;
    window.resize(1400, 900);
    window.show();
    settle(window);
    window.editor().appendSongs(makeMemorySongs(songs));
    settle(window);
    SongTableView *table = window.table();
    QHeaderView *header = table->horizontalHeader();
    QLineEdit *artist = window.fieldArea()->lineEditFor(SongField::Artist);
    QList<int> edited;
    for (int row = 0; row < EditedSongs && row < songs; ++row)
        edited.append(row);

    QList<double> sortTitle, sortTrack, selectAll, edit;
    for (int run = 0; run < runs; ++run) {
        // Each sort starts from another order: by file name, untimed, in between.
        header->setSortIndicator(int(SongColumn::FileName), run % 2 ? Qt::DescendingOrder : Qt::AscendingOrder);
        settle(window);
        sortTitle.append(millisecondsOf([&] {
            header->setSortIndicator(int(SongColumn::Title), Qt::AscendingOrder);
            settle(window);
        }));
        header->setSortIndicator(int(SongColumn::FileName), Qt::AscendingOrder);
        settle(window);
        sortTrack.append(millisecondsOf([&] {
            header->setSortIndicator(int(SongColumn::Track), Qt::AscendingOrder);
            settle(window);
        }));

        table->clearSelection();
        settle(window);
        selectAll.append(millisecondsOf([&] {
            table->selectAll();
            settle(window);
        }));

        table->setSelectedRows(edited);
        settle(window);
        edit.append(millisecondsOf([&] {
            type(artist, QStringLiteral("Edited Artist %1").arg(run));
            settle(window);
        }));
    }
    const qint64 peak = Measurement::peakResidentBytes();

    std::printf("quorl-bench window: %d songs made in memory, %d runs, platform %s\n", songs, runs,
                qPrintable(QGuiApplication::platformName()));
    reportTimes("header click: sort by title", sortTitle, SortTargetMs);
    reportTimes("header click: sort by track", sortTrack, SortTargetMs);
    reportTimes("select all, fields and cover", selectAll, SelectAllTargetMs);
    reportTimes("one field across 10 000 songs", edit, EditTargetMs);
    std::printf("%-34s %9.1f MiB  target <= %lld MiB%s\n", "peak memory of the process", double(peak) / 1048576.0,
                MemoryTargetBytes / 1048576, peak <= MemoryTargetBytes ? "" : "  MISSED");
    bool met = Measurement::Sample::medianOf(sortTitle) <= SortTargetMs
        && Measurement::Sample::medianOf(sortTrack) <= SortTargetMs
        && Measurement::Sample::medianOf(selectAll) <= SelectAllTargetMs
        && Measurement::Sample::medianOf(edit) <= EditTargetMs && peak <= MemoryTargetBytes;

    if (corpusParent.isEmpty())
        return met ? 0 : 1;
    bool made = false;
    const Result<Corpus> corpus = Corpus::openOrMake(corpusParent, corpusSongs, QStringLiteral(QUORL_TEST_DATA_DIR), &made);
    if (!corpus) {
        std::fprintf(stderr, "No corpus: %s\n", qPrintable(corpus.error().detail));
        return 2;
    }
    bool ok = true;
    const QList<double> cli = timeProcess(cliPath, {QStringLiteral("--quiet"), QStringLiteral("read"), corpus.value().folder}, runs, &ok);
    const QList<double> start = timeProcess(
        selfPath, {QStringLiteral("--window-start"), corpus.value().folder, QStringLiteral("--songs"), QString::number(corpus.value().songCount)},
        runs, &ok);
    if (!keep && made)
        QDir(corpus.value().folder).removeRecursively();
    if (!ok) {
        std::fprintf(stderr, "A timed process failed\n");
        return 1;
    }
    const double ratio = Measurement::Sample::medianOf(start) / Measurement::Sample::medianOf(cli);
    std::printf("%d files, each a process of its own:\n", corpus.value().songCount);
    reportTimes("quorl-cli read", cli, 0);
    reportTimes("window start until every row shows", start, 0);
    std::printf("%-34s %9.2f ×  target <= %.1f ×%s\n", "window against quorl-cli", ratio, StartRatioTarget,
                ratio <= StartRatioTarget ? "" : "  MISSED");
    met = met && ratio <= StartRatioTarget;
    return met ? 0 : 1;
}
