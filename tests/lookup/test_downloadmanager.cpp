#include "httptestserver.h"

#include "editor/settingsregistry.h"
#include "lookup/consumercredentials.h"
#include "lookup/downloadmanager.h"
#include "lookup/downloadmanageradvisor.h"
#include "lookup/downloadoperation.h"
#include "lookup/requestprofile.h"
#include "model/localized.h"
#include "model/userdefaults.h"

#include <QMutex>
#include <QMutexLocker>
#include <QSet>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <atomic>

using namespace std::chrono_literals;

namespace {

// What the advisor saw of one handed-over request.
struct Handed {
    QString url;
    qint64 statusCode = 0;
    QByteArray data;
    std::optional<DownloadError> error;
    QList<QNetworkReply::RawHeaderPair> headers;
    QByteArray ratelimitRemaining;
    QVariant context;
    QThread *thread = nullptr;
};

// Records every advisor call with its thread. shallCancel() answers stopRequested.
class RecordingAdvisor : public DownloadManagerAdvisor {
public:
    void trackProgress(quint64 remaining) override
    {
        QMutexLocker locker(&m_mutex);
        progress.append(remaining);
        progressThreads.insert(QThread::currentThread());
        events.append(QStringLiteral("progress"));
    }

    bool shallCancel() override { return stopRequested.load(); }

    void cancel() override
    {
        QMutexLocker locker(&m_mutex);
        ++cancels;
        cancelThread = QThread::currentThread();
        events.append(QStringLiteral("cancel"));
    }

    void processDownload(const DownloadOperation &download) override
    {
        QMutexLocker locker(&m_mutex);
        handed.append(Handed{download.url().toString(), download.statusCode(), download.data(),
                             download.error(), download.responseHeaders(),
                             download.responseHeader("x-ratelimit-remaining"), download.context(),
                             QThread::currentThread()});
        events.append(QStringLiteral("download"));
    }

    void trackCompletion() override
    {
        QMutexLocker locker(&m_mutex);
        ++completions;
        completionThread = QThread::currentThread();
        completedAtMs = HttpTestServer::nowMs();
        events.append(QStringLiteral("completion"));
    }

    bool ended() const
    {
        QMutexLocker locker(&m_mutex);
        return completions + cancels > 0;
    }

    // The calls other than progress reports, in order.
    QStringList outcome() const
    {
        QMutexLocker locker(&m_mutex);
        QStringList result = events;
        result.removeAll(QStringLiteral("progress"));
        return result;
    }

    QStringList handedUrls() const
    {
        QMutexLocker locker(&m_mutex);
        QStringList urls;
        for (const Handed &download : handed)
            urls.append(download.url);
        return urls;
    }

    std::atomic<bool> stopRequested{false};
    QList<quint64> progress;
    QSet<QThread *> progressThreads;
    QList<Handed> handed;
    QStringList events;
    int cancels = 0;
    int completions = 0;
    QThread *cancelThread = nullptr;
    QThread *completionThread = nullptr;
    qint64 completedAtMs = 0;

private:
    mutable QMutex m_mutex;
};

bool waitForEnd(const RecordingAdvisor &advisor, int timeoutMs = 20000)
{
    return QTest::qWaitFor([&] { return advisor.ended(); }, timeoutMs);
}

DownloadLimits quickLimits()
{
    DownloadLimits limits;
    limits.pollInterval = 100ms;
    limits.stallTimeout = 10s;
    return limits;
}

QByteArray sampleText(qsizetype size)
{
    QByteArray text;
    text.reserve(size + 32);
    for (int i = 0; text.size() < size; ++i)
        text += "line " + QByteArray::number(i * 7919 % 100003) + '\n';
    text.truncate(size);
    return text;
}

} // namespace

class TestDownloadManager : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void emptyBatchCompletesAtOnceOnTheCallersThread();
    void oneRequestIsReportedThenHandedOver();
    void handsOverInListOrderWhateverTheFinishingOrder();
    void keepsAtMostThreadsInFlight_data();
    void keepsAtMostThreadsInFlight();
    void handsOverErrorStatusesUnchanged_data();
    void handsOverErrorStatusesUnchanged();
    void decodesGzipBodies_data();
    void decodesGzipBodies();
    void keepsOnlyTheLastResponseOfRedirects();
    void refusesRedirectsThatLeaveHttp_data();
    void refusesRedirectsThatLeaveHttp();
    void fetchesOnlyHttpAddresses_data();
    void fetchesOnlyHttpAddresses();
    void failsBodiesOverTheLimit_data();
    void failsBodiesOverTheLimit();
    void failsAStalledTransfer_data();
    void failsAStalledTransfer();
    void keepsASlowButSteadyTransfer();
    void failsWhenNothingListens();
    void cancelsWhenAskedMidBatch();
    void cancelsWhenAskedAsTheLastRequestFinishes();
    void stopEndsTheBatchWithoutFurtherCalls();
    void passesContextEntriesToTheirRequests();
    void pacesRequestStartsAndHoldsSlots();
    void handsOverWithoutWaitingForThePoll();
    void sendsIdentificationAndAuthorization();
    void authorizationHeader_data();
    void authorizationHeader();
    void decryptUndoesTheScramble_data();
    void decryptUndoesTheScramble();

private:
    std::shared_ptr<DownloadManager> start(const QStringList &urls, RecordingAdvisor *advisor,
                                           quint64 threads = 4,
                                           const DownloadLimits &limits = quickLimits(),
                                           const std::optional<QVariantList> &context = {},
                                           double throttle = 0);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<HttpTestServer> m_server;
};

void TestDownloadManager::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    UserDefaults::shared().openStore(m_settingsDir.filePath(QStringLiteral("settings.ini")));
    SettingsRegistry::registerDefaults();
    QVERIFY(Localized::installStringTable());
}

void TestDownloadManager::init()
{
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY(m_server->isListening());
    UserDefaults::shared().removeObjectForKey(QStringLiteral("DISCOGS_TOKEN"));
}

void TestDownloadManager::cleanup()
{
    m_server.reset();
}

std::shared_ptr<DownloadManager> TestDownloadManager::start(const QStringList &urls,
                                                            RecordingAdvisor *advisor,
                                                            quint64 threads,
                                                            const DownloadLimits &limits,
                                                            const std::optional<QVariantList> &context,
                                                            double throttle)
{
    auto manager = DownloadManager::create(urls, context, advisor, threads, throttle);
    manager->setLimits(limits);
    manager->startDownload();
    return manager;
}

void TestDownloadManager::emptyBatchCompletesAtOnceOnTheCallersThread()
{
    RecordingAdvisor onMain;
    auto manager = DownloadManager::create({}, std::nullopt, &onMain, 4, 0);
    manager->startDownload();
    // No event loop has run: the completion came from within startDownload().
    QCOMPARE(onMain.outcome(), QStringList{QStringLiteral("completion")});
    QCOMPARE(onMain.completionThread, QThread::currentThread());

    RecordingAdvisor elsewhere;
    std::unique_ptr<QThread> caller(QThread::create([&elsewhere] {
        DownloadManager::create({}, std::nullopt, &elsewhere, 1, 0)->startDownload();
    }));
    caller->start();
    QVERIFY(caller->wait(5000));
    QCOMPARE(elsewhere.completions, 1);
    QCOMPARE(elsewhere.completionThread, caller.get());

    QTest::qWait(100);
    QVERIFY(onMain.progress.isEmpty());
    QVERIFY(elsewhere.progress.isEmpty());
    QCOMPARE(onMain.completions, 1);
}

void TestDownloadManager::oneRequestIsReportedThenHandedOver()
{
    m_server->setResponse(QStringLiteral("/one"), HttpTestResponse::withBody("hello"));
    RecordingAdvisor advisor;
    auto manager = start({m_server->url(QStringLiteral("/one"))}, &advisor, 1);
    QVERIFY(waitForEnd(advisor));
    QTest::qWait(50);

    QVERIFY(!advisor.progress.isEmpty());
    QCOMPARE(advisor.progress.first(), quint64(1));
    QCOMPARE(advisor.outcome(), (QStringList{QStringLiteral("download"), QStringLiteral("completion")}));
    QCOMPARE(advisor.handed.first().statusCode, 200);
    QCOMPARE(advisor.handed.first().data, QByteArray("hello"));
    QVERIFY(!advisor.handed.first().error.has_value());
    QCOMPARE(manager->operationCount(), quint64(0));

    QThread *main = QThread::currentThread();
    QCOMPARE(advisor.completionThread, main);
    QCOMPARE(advisor.progressThreads, QSet<QThread *>{main});
    QVERIFY(advisor.handed.first().thread != main);
}

void TestDownloadManager::handsOverInListOrderWhateverTheFinishingOrder()
{
    QStringList urls;
    for (int i = 0; i < 4; ++i) {
        HttpTestResponse response = HttpTestResponse::withBody("body " + QByteArray::number(i));
        response.delayMs = 400 - 100 * i;
        const QString target = QStringLiteral("/slow/%1").arg(i);
        m_server->setResponse(target, response);
        urls.append(m_server->url(target));
    }
    RecordingAdvisor advisor;
    auto manager = start(urls, &advisor, 4);
    QVERIFY(waitForEnd(advisor));

    QCOMPARE(advisor.handedUrls(), urls);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(advisor.handed.at(i).data, "body " + QByteArray::number(i));
    QCOMPARE(advisor.outcome().last(), QStringLiteral("completion"));
    // All four were sent together, so the later ones in the list finished first.
    QCOMPARE(m_server->maxConcurrency(), 4);
}

void TestDownloadManager::keepsAtMostThreadsInFlight_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("1") << 1;
    QTest::newRow("2") << 2;
    QTest::newRow("3") << 3;
    QTest::newRow("4") << 4;
}

void TestDownloadManager::keepsAtMostThreadsInFlight()
{
    QFETCH(int, threads);
    HttpTestResponse response = HttpTestResponse::withBody("x");
    response.delayMs = 150;
    m_server->setResponse(QStringLiteral("/item"), response);
    QStringList urls;
    for (int i = 0; i < 8; ++i)
        urls.append(m_server->url(QStringLiteral("/item?n=%1").arg(i)));

    RecordingAdvisor advisor;
    auto manager = start(urls, &advisor, quint64(threads));
    QVERIFY(waitForEnd(advisor));

    QCOMPARE(m_server->requestCount(), 8);
    QCOMPARE(m_server->maxConcurrency(), threads);
    QCOMPARE(advisor.handedUrls(), urls);
}

void TestDownloadManager::handsOverErrorStatusesUnchanged_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");

    QTest::newRow("200 not JSON") << 200 << QByteArray("<html><body>Maintenance</body></html>");
    QTest::newRow("200 truncated JSON") << 200 << QByteArray("{\"results\": [");
    QTest::newRow("401") << 401 << QByteArray("{\"message\": \"You must authenticate.\"}");
    QTest::newRow("404") << 404 << QByteArray("{\"message\": \"Release not found.\"}");
    QTest::newRow("429") << 429 << QByteArray("{\"message\": \"You are making requests too quickly.\"}");
    QTest::newRow("500") << 500 << QByteArray("Internal error");
    QTest::newRow("503") << 503 << QByteArray("{\"message\": \"Service unavailable\"}");
    QTest::newRow("503 empty") << 503 << QByteArray();
}

void TestDownloadManager::handsOverErrorStatusesUnchanged()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    HttpTestResponse response = HttpTestResponse::withBody(body, status);
    response.headers = {{"X-Ratelimit-Limit", "60"}, {"X-Ratelimit-Used", "3"},
                        {"X-Ratelimit-Remaining", "57"}};
    m_server->setResponse(QStringLiteral("/database/search"), response);

    RecordingAdvisor advisor;
    const QString url = m_server->url(QStringLiteral("/database/search?q=Nina%20Blue&type=release"));
    auto manager = start({url}, &advisor, 1);
    QVERIFY(waitForEnd(advisor));

    QCOMPARE(advisor.outcome(), (QStringList{QStringLiteral("download"), QStringLiteral("completion")}));
    const Handed &download = advisor.handed.first();
    QCOMPARE(download.statusCode, status);
    QCOMPARE(download.data, body);
    QVERIFY2(!download.error.has_value(), qPrintable(download.error ? download.error->description : QString()));
    QCOMPARE(download.ratelimitRemaining, QByteArray("57"));
    bool limitSeen = false;
    for (const auto &[name, value] : download.headers)
        limitSeen = limitSeen || (name == "X-Ratelimit-Limit" && value == "60");
    QVERIFY(limitSeen);
    QCOMPARE(m_server->requests().first().target,
             QByteArray("/database/search?q=Nina%20Blue&type=release"));
}

void TestDownloadManager::decodesGzipBodies_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("pieces");

    QTest::newRow("JSON") << QByteArray("{\"title\": \"Stockholm\", \"year\": 1999}") << 1;
    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("1 MiB") << sampleText(1024 * 1024) << 1;
    QTest::newRow("1 MiB in pieces") << sampleText(1024 * 1024) << 7;
}

void TestDownloadManager::decodesGzipBodies()
{
    QFETCH(QByteArray, body);
    QFETCH(int, pieces);
    HttpTestResponse response = HttpTestResponse::withBody(body);
    response.gzip = true;
    response.pieces = pieces;
    response.pieceIntervalMs = 20;
    m_server->setResponse(QStringLiteral("/releases/1"), response);

    RecordingAdvisor advisor;
    auto manager = start({m_server->url(QStringLiteral("/releases/1"))}, &advisor, 1);
    QVERIFY(waitForEnd(advisor));

    const Handed &download = advisor.handed.first();
    QVERIFY(!download.error.has_value());
    QCOMPARE(download.statusCode, 200);
    QCOMPARE(download.data.size(), body.size());
    QVERIFY(download.data == body);
    QVERIFY(m_server->requests().first().header("Accept-Encoding").contains("gzip"));
}

void TestDownloadManager::keepsOnlyTheLastResponseOfRedirects()
{
    HttpTestResponse first = HttpTestResponse::redirect("/middle", 302);
    first.headers.append(qMakePair(QByteArray("X-Hop"), QByteArray("first")));
    first.body = "moved";
    m_server->setResponse(QStringLiteral("/old"), first);
    HttpTestResponse second = HttpTestResponse::redirect(m_server->url(QStringLiteral("/new")).toUtf8(), 307);
    second.headers.append(qMakePair(QByteArray("X-Stale"), QByteArray("yes")));
    m_server->setResponse(QStringLiteral("/middle"), second);
    HttpTestResponse last = HttpTestResponse::withBody("final");
    last.headers.append(qMakePair(QByteArray("X-Hop"), QByteArray("last")));
    m_server->setResponse(QStringLiteral("/new"), last);

    RecordingAdvisor advisor;
    auto manager = start({m_server->url(QStringLiteral("/old"))}, &advisor, 1);
    QVERIFY(waitForEnd(advisor));

    const Handed &download = advisor.handed.first();
    QVERIFY(!download.error.has_value());
    QCOMPARE(download.statusCode, 200);
    QCOMPARE(download.data, QByteArray("final"));
    QByteArray hop;
    bool stale = false;
    for (const auto &[name, value] : download.headers) {
        if (name == "X-Hop")
            hop = value;
        stale = stale || name == "X-Stale";
    }
    QCOMPARE(hop, QByteArray("last"));
    QVERIFY(!stale);

    QList<QByteArray> targets;
    for (const HttpTestRequest &request : m_server->requests())
        targets.append(request.target);
    QCOMPARE(targets, (QList<QByteArray>{"/old", "/middle", "/new"}));
}

void TestDownloadManager::refusesRedirectsThatLeaveHttp_data()
{
    QTest::addColumn<QByteArray>("location");
    QTest::newRow("file") << QByteArray("file:///etc/hostname");
    QTest::newRow("ftp") << QByteArray("ftp://127.0.0.1/pub/file");
    QTest::newRow("data") << QByteArray("data:text/plain,leaked");
}

void TestDownloadManager::refusesRedirectsThatLeaveHttp()
{
    QFETCH(QByteArray, location);
    m_server->setResponse(QStringLiteral("/leave"), HttpTestResponse::redirect(location));

    RecordingAdvisor advisor;
    auto manager = start({m_server->url(QStringLiteral("/leave"))}, &advisor, 1);
    QVERIFY(waitForEnd(advisor));

    const Handed &download = advisor.handed.first();
    QVERIFY(download.error.has_value());
    QCOMPARE(download.error->code, QNetworkReply::ProtocolUnknownError);
    QVERIFY(download.data.isEmpty());
    QCOMPARE(m_server->requestCount(), 1);
}

void TestDownloadManager::fetchesOnlyHttpAddresses_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("failureReported");

    QTest::newRow("file") << QStringLiteral("file:///etc/hostname") << true;
    QTest::newRow("ftp") << QStringLiteral("ftp://127.0.0.1/pub/file") << true;
    QTest::newRow("relative") << QStringLiteral("/releases/1") << true;
    QTest::newRow("data") << QStringLiteral("data:text/plain,hello") << true;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("unparsable") << QStringLiteral("http://[::1") << false;
}

void TestDownloadManager::fetchesOnlyHttpAddresses()
{
    QFETCH(QString, address);
    QFETCH(bool, failureReported);
    m_server->setResponse(QStringLiteral("/good"), HttpTestResponse::withBody("good"));

    RecordingAdvisor advisor;
    const QStringList urls{address, m_server->url(QStringLiteral("/good"))};
    auto manager = start(urls, &advisor, 1);
    QVERIFY(waitForEnd(advisor));

    QCOMPARE(advisor.handed.size(), 2);
    const Handed &refused = advisor.handed.at(0);
    QCOMPARE(refused.statusCode, 0);
    QVERIFY(refused.data.isEmpty());
    QCOMPARE(refused.error.has_value(), failureReported);
    QCOMPARE(advisor.handed.at(1).data, QByteArray("good"));
    QCOMPARE(m_server->requestCount(), 1);
}

void TestDownloadManager::failsBodiesOverTheLimit_data()
{
    QTest::addColumn<HttpTestResponse>("response");
    QTest::addColumn<bool>("accepted");

    const qint64 limit = DownloadLimits().maxBodyBytes;
    QCOMPARE(limit, qint64(32) * 1024 * 1024);

    HttpTestResponse announced = HttpTestResponse::withBody(QByteArray(100, 'x'));
    announced.contentLength = limit + 1;
    // Silent after the first bytes: only refusing the announced length ends the request.
    announced.stallAfter = 10;
    QTest::newRow("announced length") << announced << false;

    HttpTestResponse streamed = HttpTestResponse::withBody(QByteArray(limit + 1, 'y'));
    streamed.contentLength = HttpTestResponse::NoLength;
    QTest::newRow("streamed without length") << streamed << false;

    HttpTestResponse compressed = HttpTestResponse::withBody(QByteArray(limit + 1024, '0'));
    compressed.gzip = true;
    QTest::newRow("small gzip body decoding too large") << compressed << false;

    HttpTestResponse atLimit = HttpTestResponse::withBody(QByteArray(limit, 'z'));
    atLimit.contentLength = HttpTestResponse::NoLength;
    QTest::newRow("exactly the limit") << atLimit << true;
}

void TestDownloadManager::failsBodiesOverTheLimit()
{
    QFETCH(HttpTestResponse, response);
    QFETCH(bool, accepted);
    m_server->setResponse(QStringLiteral("/big"), response);

    RecordingAdvisor advisor;
    DownloadLimits limits = quickLimits();
    limits.stallTimeout = 20s;
    auto manager = start({m_server->url(QStringLiteral("/big"))}, &advisor, 1, limits);
    QVERIFY(waitForEnd(advisor, 15000));

    const Handed &download = advisor.handed.first();
    if (accepted) {
        QVERIFY(!download.error.has_value());
        QCOMPARE(download.data.size(), limits.maxBodyBytes);
    } else {
        QVERIFY(download.error.has_value());
        QVERIFY(download.data.isEmpty());
    }
}

void TestDownloadManager::failsAStalledTransfer_data()
{
    QTest::addColumn<HttpTestResponse>("response");
    QTest::addColumn<int>("statusCode");

    HttpTestResponse silent = HttpTestResponse::withBody("late");
    silent.delayMs = 60000;
    QTest::newRow("no answer") << silent << 0;

    HttpTestResponse midBody = HttpTestResponse::withBody(sampleText(2000));
    midBody.stallAfter = 500;
    QTest::newRow("silent in the body") << midBody << 200;
}

void TestDownloadManager::failsAStalledTransfer()
{
    QFETCH(HttpTestResponse, response);
    QFETCH(int, statusCode);
    m_server->setResponse(QStringLiteral("/stall"), response);
    m_server->setResponse(QStringLiteral("/fine"), HttpTestResponse::withBody("fine"));

    RecordingAdvisor advisor;
    DownloadLimits limits = quickLimits();
    limits.stallTimeout = 300ms;
    auto manager = start({m_server->url(QStringLiteral("/stall")), m_server->url(QStringLiteral("/fine"))},
                         &advisor, 2, limits);
    // Far less than the server's silence, and than the product's 60 seconds.
    QVERIFY(waitForEnd(advisor, 10000));

    const Handed &stalled = advisor.handed.at(0);
    QVERIFY(stalled.error.has_value());
    QCOMPARE(stalled.error->code, QNetworkReply::TimeoutError);
    QCOMPARE(stalled.statusCode, statusCode);
    QCOMPARE(advisor.handed.at(1).data, QByteArray("fine"));
    QVERIFY(!advisor.handed.at(1).error.has_value());
}

void TestDownloadManager::keepsASlowButSteadyTransfer()
{
    // 8 pieces 150 ms apart take over a second, four times the stall timeout, yet the transfer
    // never goes 300 ms without progress.
    const QByteArray body = sampleText(4000);
    HttpTestResponse steady = HttpTestResponse::withBody(body);
    steady.pieces = 8;
    steady.pieceIntervalMs = 150;
    m_server->setResponse(QStringLiteral("/steady"), steady);

    RecordingAdvisor advisor;
    DownloadLimits limits = quickLimits();
    limits.stallTimeout = 300ms;
    auto manager = start({m_server->url(QStringLiteral("/steady"))}, &advisor, 1, limits);
    QVERIFY(waitForEnd(advisor, 10000));

    const Handed &download = advisor.handed.first();
    QVERIFY2(!download.error.has_value(), qPrintable(download.error ? download.error->description : QString()));
    QCOMPARE(download.data, body);
}

void TestDownloadManager::failsWhenNothingListens()
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    RecordingAdvisor advisor;
    auto manager = start({QStringLiteral("http://127.0.0.1:%1/releases/1").arg(closedPort)}, &advisor, 1);
    QVERIFY(waitForEnd(advisor));

    QCOMPARE(advisor.outcome(), (QStringList{QStringLiteral("download"), QStringLiteral("completion")}));
    const Handed &download = advisor.handed.first();
    QVERIFY(download.error.has_value());
    QCOMPARE(download.error->code, QNetworkReply::ConnectionRefusedError);
    QCOMPARE(download.statusCode, 0);
    QVERIFY(download.data.isEmpty());
}

void TestDownloadManager::cancelsWhenAskedMidBatch()
{
    HttpTestResponse slow = HttpTestResponse::withBody("never");
    slow.delayMs = 30000;
    m_server->setResponse(QStringLiteral("/slow"), slow);
    QStringList urls;
    for (int i = 0; i < 3; ++i)
        urls.append(m_server->url(QStringLiteral("/slow?n=%1").arg(i)));

    RecordingAdvisor advisor;
    auto manager = start(urls, &advisor, 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requestCount(), 2, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!advisor.progress.isEmpty(), 5000);
    QCOMPARE(advisor.progress.first(), quint64(3));
    const qsizetype reportsBefore = advisor.progress.size();

    advisor.stopRequested = true;
    QVERIFY(waitForEnd(advisor, 5000));
    QTest::qWait(300);

    QCOMPARE(advisor.outcome(), QStringList{QStringLiteral("cancel")});
    QVERIFY(advisor.cancelThread != QThread::currentThread());
    QVERIFY(advisor.cancelThread != nullptr);
    // Reports that arrive once the user has asked to stop are not passed on.
    QCOMPARE(advisor.progress.size(), reportsBefore);
    QCOMPARE(m_server->requestCount(), 2);
}

void TestDownloadManager::cancelsWhenAskedAsTheLastRequestFinishes()
{
    m_server->setResponse(QStringLiteral("/quick"), HttpTestResponse::withBody("quick"));
    RecordingAdvisor advisor;
    advisor.stopRequested = true;
    auto manager = start({m_server->url(QStringLiteral("/quick"))}, &advisor, 1);
    QVERIFY(waitForEnd(advisor));
    QTest::qWait(200);

    QCOMPARE(advisor.outcome(), QStringList{QStringLiteral("cancel")});
    QVERIFY(advisor.progress.isEmpty());
}

void TestDownloadManager::stopEndsTheBatchWithoutFurtherCalls()
{
    HttpTestResponse slow = HttpTestResponse::withBody("never");
    slow.delayMs = 30000;
    m_server->setResponse(QStringLiteral("/slow"), slow);

    RecordingAdvisor advisor;
    auto manager = start({m_server->url(QStringLiteral("/slow"))}, &advisor, 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requestCount(), 1, 10000);
    manager->stop();
    QTest::qWait(300);

    QVERIFY(advisor.outcome().isEmpty());
}

void TestDownloadManager::passesContextEntriesToTheirRequests()
{
    m_server->setResponse(QStringLiteral("/c"), HttpTestResponse::withBody("c"));
    QStringList urls;
    for (int i = 0; i < 4; ++i)
        urls.append(m_server->url(QStringLiteral("/c?i=%1").arg(i)));
    const QVariantList context{QStringLiteral("first cover"), QVariant(),
                               QVariant::fromValue(nullptr), 42};

    RecordingAdvisor advisor;
    auto manager = start(urls, &advisor, 2, quickLimits(), context);
    QVERIFY(waitForEnd(advisor));

    QCOMPARE(advisor.handed.size(), 4);
    QCOMPARE(advisor.handed.at(0).context, QVariant(QStringLiteral("first cover")));
    QVERIFY(!advisor.handed.at(1).context.isValid());
    QVERIFY(!advisor.handed.at(2).context.isValid());
    QCOMPARE(advisor.handed.at(3).context, QVariant(42));
}

void TestDownloadManager::pacesRequestStartsAndHoldsSlots()
{
    m_server->setResponse(QStringLiteral("/paced"), HttpTestResponse::withBody("p"));
    QStringList urls;
    for (int i = 0; i < 3; ++i)
        urls.append(m_server->url(QStringLiteral("/paced?i=%1").arg(i)));

    // Throttle 0.25 s and 2 threads: requests planned at t0, t0 + 0.25, t0 + 0.5, each holding
    // its slot for 2 s from its planned start; the third gets a slot only at t0 + 2.
    RecordingAdvisor advisor;
    const qint64 t0 = HttpTestServer::nowMs();
    auto manager = start(urls, &advisor, 2, quickLimits(), std::nullopt, 0.25);
    QVERIFY(waitForEnd(advisor));

    const QList<HttpTestRequest> requests = m_server->requests();
    QCOMPARE(requests.size(), 3);
    QHash<QByteArray, qint64> arrival;
    for (const HttpTestRequest &request : requests)
        arrival.insert(request.target, request.arrivedAtMs - t0);
    const qint64 slack = 5;
    QVERIFY2(arrival.value("/paced?i=1") >= 250 - slack, qPrintable(QString::number(arrival.value("/paced?i=1"))));
    QVERIFY2(arrival.value("/paced?i=2") >= 2000 - slack, qPrintable(QString::number(arrival.value("/paced?i=2"))));
    QVERIFY2(advisor.completedAtMs - t0 >= 2500 - slack, qPrintable(QString::number(advisor.completedAtMs - t0)));
    QCOMPARE(advisor.handedUrls(), urls);
}

void TestDownloadManager::handsOverWithoutWaitingForThePoll()
{
    m_server->setResponse(QStringLiteral("/fast"), HttpTestResponse::withBody("f"));
    QStringList urls;
    for (int i = 0; i < 5; ++i)
        urls.append(m_server->url(QStringLiteral("/fast?i=%1").arg(i)));

    // With a poll a minute apart, and one thread, only a hand-over that follows the last
    // transfer and requests that neither wait nor linger end the batch in time.
    DownloadLimits limits = quickLimits();
    limits.pollInterval = 60s;
    RecordingAdvisor advisor;
    auto manager = start(urls, &advisor, 1, limits);
    QVERIFY(waitForEnd(advisor, 4000));
    QCOMPARE(advisor.handedUrls(), urls);
}

void TestDownloadManager::sendsIdentificationAndAuthorization()
{
    m_server->setResponse(QStringLiteral("/who"), HttpTestResponse::withBody("{}"));
    const QByteArray userAgent = "Quorl/" QUORL_VERSION " +" QUORL_PROJECT_URL;

    UserDefaults::shared().setObject(QStringLiteral(" tok-123 "), QStringLiteral("DISCOGS_TOKEN"));
    RecordingAdvisor withToken;
    auto first = start({m_server->url(QStringLiteral("/who"))}, &withToken, 1);
    QVERIFY(waitForEnd(withToken));

    UserDefaults::shared().removeObjectForKey(QStringLiteral("DISCOGS_TOKEN"));
    RecordingAdvisor withoutToken;
    auto second = start({m_server->url(QStringLiteral("/who"))}, &withoutToken, 1);
    QVERIFY(waitForEnd(withoutToken));

    const QList<HttpTestRequest> requests = m_server->requests();
    QCOMPARE(requests.size(), 2);
    for (const HttpTestRequest &request : requests) {
        QCOMPARE(request.method, QByteArray("GET"));
        QCOMPARE(request.header("User-Agent"), userAgent);
        QVERIFY(request.header("Accept-Encoding").contains("gzip"));
    }
    QCOMPARE(requests.at(0).header("Authorization"), QByteArray("Discogs token=tok-123"));
    if (ConsumerCredentials::isBuiltIn())
        QVERIFY(requests.at(1).header("Authorization").startsWith("Discogs key="));
    else
        QVERIFY(!requests.at(1).hasHeader("Authorization"));
}

void TestDownloadManager::authorizationHeader_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("secret");
    QTest::addColumn<QByteArray>("header");

    QTest::newRow("token wins") << "abc" << "k" << "s" << QByteArray("Discogs token=abc");
    QTest::newRow("token trimmed") << "  abc\n" << "" << "" << QByteArray("Discogs token=abc");
    QTest::newRow("token with a line break inside")
        << "ab\r\nX-Evil: 1" << "" << "" << QByteArray("Discogs token=abX-Evil: 1");
    QTest::newRow("blank token falls back") << "   " << "k1" << "s2" << QByteArray("Discogs key=k1, secret=s2");
    QTest::newRow("key and secret") << "" << "0123456789abcdefghij" << "0123456789abcdefghij0123456789ab"
                                    << QByteArray("Discogs key=0123456789abcdefghij, secret=0123456789abcdefghij0123456789ab");
    QTest::newRow("key without secret") << "" << "k" << "" << QByteArray();
    QTest::newRow("nothing") << "" << "" << "" << QByteArray();
}

void TestDownloadManager::authorizationHeader()
{
    QFETCH(QString, token);
    QFETCH(QString, key);
    QFETCH(QString, secret);
    QFETCH(QByteArray, header);
    QCOMPARE(RequestHeaders::authorization(token, key, secret), header);
}

void TestDownloadManager::decryptUndoesTheScramble_data()
{
    QTest::addColumn<QByteArray>("scrambled");
    QTest::addColumn<QString>("plain");

    static constexpr auto empty = ConsumerCredentials::scramble("");
    static constexpr auto key = ConsumerCredentials::scramble("aBcDeFgHiJkLmNoPqRsT");
    static constexpr auto longer = ConsumerCredentials::scramble(
        "0123456789abcdefghijklmnopqrstuvwxyzABCDEF");
    static constexpr auto accented = ConsumerCredentials::scramble("cl\xc3\xa9-\xc3\x9f");
    QTest::newRow("empty") << empty.view().toByteArray() << QString();
    QTest::newRow("20 characters") << key.view().toByteArray() << QStringLiteral("aBcDeFgHiJkLmNoPqRsT");
    QTest::newRow("longer than the scramble key")
        << longer.view().toByteArray() << QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyzABCDEF");
    QTest::newRow("UTF-8") << accented.view().toByteArray() << QStringLiteral("cl\u00e9-\u00df");
}

void TestDownloadManager::decryptUndoesTheScramble()
{
    QFETCH(QByteArray, scrambled);
    QFETCH(QString, plain);
    QCOMPARE(scrambled.size(), plain.toUtf8().size());
    if (!plain.isEmpty())
        QVERIFY(scrambled != plain.toUtf8());
    QCOMPARE(DownloadOperation::decrypt(scrambled), plain);
}

QTEST_GUILESS_MAIN(TestDownloadManager)
#include "test_downloadmanager.moc"
