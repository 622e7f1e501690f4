#include "browserbenchmark.h"

#include "childrun.h"
#include "discogsservice.h"
#include "httptestserver.h"
#include "measurement.h"

#include "lookup/browsercontroller.h"
#include "ui/browserview.h"
#include "ui/coverstrip.h"
#include "ui/mainwindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

using namespace ChildRun;

constexpr int SlotsPerStage = 4;
constexpr double Allowance = 1.25;
constexpr int GiveUpMs = 60000;
// How often the window's event loop is asked to run a timer while the search goes on.
constexpr int TickMs = 5;

struct StripRun {
    double milliseconds = 0;
    // The longest time between two turns of the event loop during the search.
    double longestStallMs = 0;
    QString failure;
};

StripRun searchOnce(const DiscogsService &service)
{
    StripRun result;
    HttpTestServer server;
    result.failure = service.standIn(server);
    if (!result.failure.isEmpty())
        return result;

    MainWindow window;
    window.show();
    window.action(MainWindow::Command::ShowBrowser)->trigger();
    BrowserView *view = window.browserView();
    view->searchField()->setText(DiscogsService::searchText());
    QApplication::processEvents();

    const int expected = service.releases * service.coversPerRelease;
    QElapsedTimer clock;
    QEventLoop loop;
    qint64 filledAtNs = -1;
    QObject::connect(&view->browser(), &BrowserController::coversReloaded, &loop, [&] {
        if (view->strip()->count() == expected && filledAtNs < 0)
            filledAtNs = clock.nsecsElapsed();
        loop.quit();
    });
    qint64 lastTickNs = 0;
    qint64 longestGapNs = 0;
    QTimer tick;
    tick.setInterval(TickMs);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGapNs = std::max(longestGapNs, now - lastTickNs);
        lastTickNs = now;
    });
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);

    clock.start();
    tick.start();
    giveUp.start(GiveUpMs);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(view->searchField(), &press);
    QApplication::sendEvent(view->searchField(), &release);
    loop.exec();
    tick.stop();
    if (filledAtNs < 0) {
        result.failure = QStringLiteral("the strip holds %1 of %2 covers").arg(view->strip()->count()).arg(expected);
        return result;
    }
    result.milliseconds = double(filledAtNs) / 1e6;
    result.longestStallMs = double(longestGapNs) / 1e6;
    // The search's own end (sheet, notification) runs before the window goes.
    QApplication::processEvents();
    return result;
}

} // namespace

bool BrowserBenchmark::isBrowserCommand(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "browser") == 0 || std::strcmp(argv[i], "serve-discogs") == 0)
            return true;
    }
    return false;
}

int BrowserBenchmark::run() const
{
    const DiscogsService service;
    const int covers = service.releases * service.coversPerRelease;
    const auto roundsOf = [](int requests) { return (requests + SlotsPerStage - 1) / SlotsPerStage; };
    const int rounds = 1 + roundsOf(service.releases) + roundsOf(covers);
    const double target = Allowance * rounds * service.delayMs;
    print(QStringLiteral("Browser view: Return in the search field until the strip shows %1 releases × %2 covers; "
                         "every request answered after %3 ms by a local server.\n")
              .arg(service.releases).arg(service.coversPerRelease).arg(service.delayMs));
    print(QStringLiteral("Target: %1 × %2 rounds × %3 ms = %4 ms. One untimed warm-up, then %5 timed, each with "
                         "a fresh window and server.\n\n")
              .arg(Allowance, 0, 'f', 2).arg(rounds).arg(service.delayMs).arg(target, 0, 'f', 0).arg(runs));
    const StripRun warmUp = searchOnce(service);
    if (!warmUp.failure.isEmpty()) {
        print(QStringLiteral("The warm-up search failed: %1\n").arg(warmUp.failure));
        return 1;
    }
    Measurement::Sample sample;
    double longestStall = 0;
    for (int index = 1; index <= runs; ++index) {
        const StripRun timed = searchOnce(service);
        if (!timed.failure.isEmpty()) {
            print(QStringLiteral("Run %1 failed: %2\n").arg(index).arg(timed.failure));
            return 1;
        }
        print(QStringLiteral("Run %1: %2 ms to a filled strip; the window's events waited at most %3 ms\n")
                  .arg(index).arg(timed.milliseconds, 0, 'f', 0).arg(timed.longestStallMs, 0, 'f', 0));
        sample.milliseconds.append(timed.milliseconds);
        longestStall = std::max(longestStall, timed.longestStallMs);
    }
    const double median = sample.median();
    const bool met = median <= target;
    print(QStringLiteral("\nReturn to a filled strip: median %1 ms (runs: %2), fastest %3 ms; events waited at most "
                         "%4 ms in any run\n")
              .arg(median, 0, 'f', 0).arg(timesText(sample)).arg(sample.fastest(), 0, 'f', 0)
              .arg(longestStall, 0, 'f', 0));
    print(QStringLiteral("    target ≤ %1 ms: %2\n").arg(target, 0, 'f', 0).arg(verdict(met)));
    return met ? 0 : 1;
}

int BrowserBenchmark::serve(int delayMs)
{
    HttpTestServer server;
    if (!server.isListening())
        return 1;
    DiscogsService service;
    service.delayMs = delayMs;
    service.serveOn(server);
    std::printf("%s\n", qPrintable(server.url(QString())));
    std::fflush(stdout);
    return QCoreApplication::exec();
}
