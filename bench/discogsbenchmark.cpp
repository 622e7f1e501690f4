#include "discogsbenchmark.h"

#include "childrun.h"
#include "discogsservice.h"
#include "httptestserver.h"
#include "measurement.h"
#include "silentuserinterface.h"

#include "lookup/browsercontroller.h"
#include "lookup/cover.h"
#include "lookup/release.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QStringList>
#include <QTimer>

#include <algorithm>

namespace {

using namespace ChildRun;

// The concurrency of the release and cover stages of a search.
constexpr int SlotsPerStage = 4;
constexpr double Allowance = 1.25;
// A search that has not ended by then has hung.
constexpr int GiveUpMs = 60000;

// Records when the search ends (its notification) and any alert it raises.
class RecordingUserInterface : public SilentUserInterface {
public:
    int ask(const Question &question) override
    {
        alerts.append(question.informativeKey.isEmpty() ? question.messageKey : question.informativeKey);
        return 0;
    }
    void postNotification(const QString &, const QString &) override
    {
        if (endedAtNs < 0)
            endedAtNs = clock->nsecsElapsed();
        if (loop)
            loop->quit();
    }

    const QElapsedTimer *clock = nullptr;
    QEventLoop *loop = nullptr;
    qint64 endedAtNs = -1;
    QStringList alerts;
};

struct SearchRun {
    double milliseconds = 0;
    qsizetype requests = 0;
    int maxInFlight = 0;
    // When the first request of the release and of the cover stage arrived, from the start.
    qint64 firstReleaseMs = -1;
    qint64 firstCoverMs = -1;
    // The requests grouped by when they arrived: "<ms from the start>×<count>".
    QStringList waves;
    QString failure;
};

// Requests arriving within this time of the first of a group count as one wave.
constexpr qint64 WaveWidthMs = 20;

QStringList arrivalWaves(const QList<HttpTestRequest> &requests, qint64 startedAtMs)
{
    QList<qint64> arrivals;
    for (const HttpTestRequest &request : requests)
        arrivals.append(request.arrivedAtMs - startedAtMs);
    std::sort(arrivals.begin(), arrivals.end());
    QStringList waves;
    for (qsizetype first = 0; first < arrivals.size();) {
        qsizetype end = first;
        while (end < arrivals.size() && arrivals.at(end) - arrivals.at(first) < WaveWidthMs)
            ++end;
        waves.append(QStringLiteral("%1×%2").arg(arrivals.at(first)).arg(end - first));
        first = end;
    }
    return waves;
}

int ceilDiv(int a, int b)
{
    return (a + b - 1) / b;
}

// What a complete search holds: every release with its whole track list, every cover with its
// release and its picture, decoded and with its bytes.
QString checkResults(const BrowserController &browser, const DiscogsService &service)
{
    const auto releases = browser.releases();
    const auto covers = browser.covers();
    if (releases.size() != service.releases)
        return QStringLiteral("%1 of %2 releases").arg(releases.size()).arg(service.releases);
    for (const auto &release : releases) {
        if (release->countOfTitles() != service.tracksPerRelease)
            return QStringLiteral("release \"%1\" has %2 of %3 tracks")
                .arg(release->album()).arg(release->countOfTitles()).arg(service.tracksPerRelease);
    }
    const int expectedCovers = service.releases * service.coversPerRelease;
    if (covers.size() != expectedCovers)
        return QStringLiteral("%1 of %2 covers").arg(covers.size()).arg(expectedCovers);
    const auto loaded = std::count_if(covers.cbegin(), covers.cend(), [](const auto &cover) {
        return cover->rel() != nullptr && !Cover::isPlaceholderUID(cover->imageUID())
            && !cover->imageData().isEmpty() && !cover->image().isNull();
    });
    if (loaded != expectedCovers)
        return QStringLiteral("%1 of %2 covers have their picture").arg(loaded).arg(expectedCovers);
    return {};
}

SearchRun searchOnce(const DiscogsService &service)
{
    SearchRun result;
    HttpTestServer server;
    result.failure = service.standIn(server);
    if (!result.failure.isEmpty())
        return result;

    QElapsedTimer clock;
    QEventLoop loop;
    RecordingUserInterface ui;
    ui.clock = &clock;
    ui.loop = &loop;
    QTimer giveUp;
    giveUp.setSingleShot(true);
    QObject::connect(&giveUp, &QTimer::timeout, &loop, &QEventLoop::quit);
    {
        BrowserController browser(&ui);
        browser.setSearchString(DiscogsService::searchText());
        const qint64 startedAtMs = HttpTestServer::nowMs();
        clock.start();
        browser.searchDiscogs();
        if (ui.endedAtNs < 0) {
            giveUp.start(GiveUpMs);
            loop.exec();
        }
        ui.loop = nullptr;
        if (ui.endedAtNs < 0) {
            result.failure = QStringLiteral("the search did not end within %1 s").arg(GiveUpMs / 1000);
            return result;
        }
        result.milliseconds = double(ui.endedAtNs) / 1e6;
        if (browser.failed())
            result.failure = QStringLiteral("the search failed (%1)").arg(ui.alerts.join(QStringLiteral(", ")));
        else
            result.failure = checkResults(browser, service);
        const QList<HttpTestRequest> requests = server.requests();
        result.waves = arrivalWaves(requests, startedAtMs);
        for (const HttpTestRequest &request : requests) {
            const qint64 at = request.arrivedAtMs - startedAtMs;
            if (request.target.startsWith("/releases/") && result.firstReleaseMs < 0)
                result.firstReleaseMs = at;
            else if (request.target.startsWith("/images/") && result.firstCoverMs < 0)
                result.firstCoverMs = at;
        }
    }
    result.requests = server.requestCount();
    result.maxInFlight = server.maxConcurrency();
    if (result.failure.isEmpty() && result.requests != service.requestCount())
        result.failure = QStringLiteral("%1 requests instead of %2").arg(result.requests).arg(service.requestCount());
    return result;
}

QString runLine(const QString &label, const SearchRun &run)
{
    return QStringLiteral("%1 %2 ms: %3 requests, at most %4 in flight; releases asked from %5 ms, "
                          "covers from %6 ms\n")
        .arg(label).arg(run.milliseconds, 0, 'f', 0).arg(run.requests).arg(run.maxInFlight)
        .arg(run.firstReleaseMs).arg(run.firstCoverMs);
}

} // namespace

int DiscogsBenchmark::run() const
{
    const DiscogsService service;
    const int covers = service.releases * service.coversPerRelease;
    const int rounds = 1 + ceilDiv(service.releases, SlotsPerStage) + ceilDiv(covers, SlotsPerStage);
    const double target = Allowance * rounds * service.delayMs;
    print(QStringLiteral("Search for %1 releases with %2 covers each; every request answered after %3 ms "
                         "by a local server.\n")
              .arg(service.releases).arg(service.coversPerRelease).arg(service.delayMs));
    print(QStringLiteral("Target: %1 × (1 + ⌈%2/%3⌉ + ⌈%4/%3⌉) × %5 ms = %6 ms. One untimed warm-up search, "
                         "then %7 timed, each with a fresh controller and server.\n\n")
              .arg(Allowance, 0, 'f', 2).arg(service.releases).arg(SlotsPerStage).arg(covers)
              .arg(service.delayMs).arg(target, 0, 'f', 0).arg(runs));

    const SearchRun warmUp = searchOnce(service);
    if (!warmUp.failure.isEmpty()) {
        print(QStringLiteral("The warm-up search failed: %1\n").arg(warmUp.failure));
        return 1;
    }
    print(runLine(QStringLiteral("Warm-up (untimed):"), warmUp));

    Measurement::Sample sample;
    int mostInFlight = 0;
    SearchRun last;
    for (int index = 1; index <= runs; ++index) {
        const SearchRun timed = searchOnce(service);
        if (!timed.failure.isEmpty()) {
            print(QStringLiteral("Run %1 failed: %2\n").arg(index).arg(timed.failure));
            return 1;
        }
        print(runLine(QStringLiteral("Run %1:").arg(index), timed));
        sample.milliseconds.append(timed.milliseconds);
        mostInFlight = std::max(mostInFlight, timed.maxInFlight);
        last = timed;
    }
    print(QStringLiteral("Arrivals in the last run (ms from the start × requests): %1\n")
              .arg(last.waves.join(QStringLiteral(", "))));
    const double median = sample.median();
    const bool met = median <= target;
    print(QStringLiteral("\nSearch: median %1 ms (runs: %2), fastest %3 ms; %4 requests per search, at most %5 "
                         "in flight\n")
              .arg(median, 0, 'f', 0).arg(timesText(sample)).arg(sample.fastest(), 0, 'f', 0)
              .arg(service.requestCount()).arg(mostInFlight));
    print(QStringLiteral("    target ≤ %1 ms: %2\n").arg(target, 0, 'f', 0).arg(verdict(met)));
    return met ? 0 : 1;
}
