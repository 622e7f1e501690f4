#include "downloadrecorder.h"
#include "httptestserver.h"

#include "editor/settingsregistry.h"
#include "lookup/consumercredentials.h"
#include "lookup/downloadmanager.h"
#include "model/localized.h"
#include "model/userdefaults.h"
#include "quorlversion.h"

#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;

namespace {

QByteArray sampleText(qsizetype size)
{
    QByteArray text;
    for (int i = 0; text.size() < size; ++i)
        text += "line " + QByteArray::number(i * 7919 % 100003) + '\n';
    text.truncate(size);
    return text;
}

QString describe(const std::optional<DownloadError> &error)
{
    return error ? error->description : QString();
}

} // namespace

// What one request delivers: status, headers and decoded body of the last response, or the
// failure, for each kind of answer the server may give.
class TestDownloadOperation : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void handsOverErrorStatusesUnchanged_data();
    void handsOverErrorStatusesUnchanged();
    void decodesGzipBodies_data();
    void decodesGzipBodies();
    void keepsOnlyTheLastResponseOfRedirects();
    void stopsFollowingARedirectLoop();
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
    void sendsIdentificationAndAuthorization();
    void authorizationHeader_data();
    void authorizationHeader();
    void decryptUndoesTheScramble_data();
    void decryptUndoesTheScramble();

private:
    // Runs a batch of this one address; nullopt when it did not end in time.
    std::optional<HandedDownload> fetch(const QString &url,
                                        const DownloadLimits &limits = quickDownloadLimits(),
                                        int timeoutMs = 20000);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<HttpTestServer> m_server;
};

void TestDownloadOperation::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    UserDefaults::shared().openStore(m_settingsDir.filePath(QStringLiteral("settings.ini")));
    SettingsRegistry::registerDefaults();
    QVERIFY(Localized::installStringTable());
}

void TestDownloadOperation::init()
{
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY(m_server->isListening());
    UserDefaults::shared().removeObjectForKey(QStringLiteral("DISCOGS_TOKEN"));
}

std::optional<HandedDownload> TestDownloadOperation::fetch(const QString &url,
                                                           const DownloadLimits &limits,
                                                           int timeoutMs)
{
    DownloadRecorder recorder;
    auto manager = DownloadManager::create({url}, std::nullopt, &recorder, 1, 0);
    manager->setLimits(limits);
    manager->startDownload();
    if (!recorder.waitForEnd(timeoutMs) || recorder.outcome() != QStringList{"download", "completion"})
        return std::nullopt;
    return recorder.handed.first();
}

void TestDownloadOperation::handsOverErrorStatusesUnchanged_data()
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

void TestDownloadOperation::handsOverErrorStatusesUnchanged()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    HttpTestResponse response = HttpTestResponse::withBody(body, status);
    response.headers = {{"X-Ratelimit-Limit", "60"}, {"X-Ratelimit-Used", "3"},
                        {"X-Ratelimit-Remaining", "57"}};
    m_server->setResponse(QStringLiteral("/database/search"), response);

    const auto download = fetch(m_server->url(QStringLiteral("/database/search?q=Nina%20Blue&type=release")));
    QVERIFY(download);
    QCOMPARE(download->statusCode, status);
    QCOMPARE(download->data, body);
    QVERIFY2(!download->error, qPrintable(describe(download->error)));
    QCOMPARE(download->header("X-Ratelimit-Limit"), QByteArray("60"));
    QCOMPARE(download->header("X-Ratelimit-Used"), QByteArray("3"));
    QCOMPARE(download->header("X-Ratelimit-Remaining"), QByteArray("57"));
    QCOMPARE(m_server->requests().first().target, QByteArray("/database/search?q=Nina%20Blue&type=release"));
}

void TestDownloadOperation::decodesGzipBodies_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("pieces");

    QTest::newRow("JSON") << QByteArray("{\"title\": \"Stockholm\", \"year\": 1999}") << 1;
    QTest::newRow("empty") << QByteArray() << 1;
    QTest::newRow("1 MiB") << sampleText(1024 * 1024) << 1;
    QTest::newRow("1 MiB in pieces") << sampleText(1024 * 1024) << 7;
}

void TestDownloadOperation::decodesGzipBodies()
{
    QFETCH(QByteArray, body);
    QFETCH(int, pieces);
    HttpTestResponse response = HttpTestResponse::withBody(body);
    response.gzip = true;
    response.pieces = pieces;
    response.pieceIntervalMs = 20;
    m_server->setResponse(QStringLiteral("/releases/1"), response);

    const auto download = fetch(m_server->url(QStringLiteral("/releases/1")));
    QVERIFY(download);
    QVERIFY2(!download->error, qPrintable(describe(download->error)));
    QCOMPARE(download->data.size(), body.size());
    QVERIFY(download->data == body);
    QVERIFY(m_server->requests().first().header("Accept-Encoding").contains("gzip"));
}

void TestDownloadOperation::keepsOnlyTheLastResponseOfRedirects()
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

    const auto download = fetch(m_server->url(QStringLiteral("/old")));
    QVERIFY(download);

    QVERIFY(!download->error);
    QCOMPARE(download->statusCode, 200);
    QCOMPARE(download->data, QByteArray("final"));
    QCOMPARE(download->header("X-Hop"), QByteArray("last"));
    QVERIFY(download->header("X-Stale").isEmpty());

    QList<QByteArray> targets;
    for (const HttpTestRequest &request : m_server->requests())
        targets.append(request.target);
    QCOMPARE(targets, (QList<QByteArray>{"/old", "/middle", "/new"}));
}

void TestDownloadOperation::stopsFollowingARedirectLoop()
{
    m_server->setResponse(QStringLiteral("/loop"), HttpTestResponse::redirect("/loop", 301));
    const auto download = fetch(m_server->url(QStringLiteral("/loop")));
    QVERIFY(download);
    QVERIFY(download->error);
    QCOMPARE(download->error->code, QNetworkReply::TooManyRedirectsError);
    QCOMPARE(m_server->requestCount(), 21);
}

void TestDownloadOperation::refusesRedirectsThatLeaveHttp_data()
{
    QTest::addColumn<QByteArray>("location");
    QTest::newRow("file") << QByteArray("file:///etc/hostname");
    QTest::newRow("ftp") << QByteArray("ftp://127.0.0.1/pub/file");
    QTest::newRow("data") << QByteArray("data:text/plain,leaked");
}

void TestDownloadOperation::refusesRedirectsThatLeaveHttp()
{
    QFETCH(QByteArray, location);
    m_server->setResponse(QStringLiteral("/leave"), HttpTestResponse::redirect(location));

    const auto download = fetch(m_server->url(QStringLiteral("/leave")));
    QVERIFY(download);
    QVERIFY(download->error);
    QCOMPARE(download->error->code, QNetworkReply::ProtocolUnknownError);
    QVERIFY(download->data.isEmpty());
    QCOMPARE(m_server->requestCount(), 1);
}

void TestDownloadOperation::fetchesOnlyHttpAddresses_data()
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

void TestDownloadOperation::fetchesOnlyHttpAddresses()
{
    QFETCH(QString, address);
    QFETCH(bool, failureReported);
    m_server->setResponse(QStringLiteral("/good"), HttpTestResponse::withBody("good"));

    // The refused address fails on its own and does not hold up the next one.
    DownloadRecorder recorder;
    auto manager = DownloadManager::create({address, m_server->url(QStringLiteral("/good"))},
                                           std::nullopt, &recorder, 1, 0);
    manager->setLimits(quickDownloadLimits());
    manager->startDownload();
    QVERIFY(recorder.waitForEnd());

    QCOMPARE(recorder.handed.size(), 2);
    const HandedDownload &refused = recorder.handed.at(0);
    QCOMPARE(refused.statusCode, 0);
    QVERIFY(refused.data.isEmpty());
    QCOMPARE(refused.error.has_value(), failureReported);
    QCOMPARE(recorder.handed.at(1).data, QByteArray("good"));
    QCOMPARE(m_server->requestCount(), 1);
}

void TestDownloadOperation::failsBodiesOverTheLimit_data()
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

void TestDownloadOperation::failsBodiesOverTheLimit()
{
    QFETCH(HttpTestResponse, response);
    QFETCH(bool, accepted);
    m_server->setResponse(QStringLiteral("/big"), response);

    DownloadLimits limits = quickDownloadLimits();
    limits.stallTimeout = 20s;
    const auto download = fetch(m_server->url(QStringLiteral("/big")), limits, 15000);
    QVERIFY(download);
    QCOMPARE(!download->error, accepted);
    QCOMPARE(download->data.size(), accepted ? limits.maxBodyBytes : 0);
}

void TestDownloadOperation::failsAStalledTransfer_data()
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

void TestDownloadOperation::failsAStalledTransfer()
{
    QFETCH(HttpTestResponse, response);
    QFETCH(int, statusCode);
    m_server->setResponse(QStringLiteral("/stall"), response);

    DownloadLimits limits = quickDownloadLimits();
    limits.stallTimeout = 300ms;
    // Far less than the server's silence, and than the product's 60 seconds.
    const auto download = fetch(m_server->url(QStringLiteral("/stall")), limits, 10000);
    QVERIFY(download);
    QVERIFY(download->error);
    QCOMPARE(download->error->code, QNetworkReply::TimeoutError);
    QCOMPARE(download->statusCode, statusCode);
}

void TestDownloadOperation::keepsASlowButSteadyTransfer()
{
    // 8 pieces 150 ms apart take over a second, four times the stall timeout, yet the transfer
    // never goes 300 ms without progress.
    const QByteArray body = sampleText(4000);
    HttpTestResponse steady = HttpTestResponse::withBody(body);
    steady.pieces = 8;
    steady.pieceIntervalMs = 150;
    m_server->setResponse(QStringLiteral("/steady"), steady);

    DownloadLimits limits = quickDownloadLimits();
    limits.stallTimeout = 300ms;
    const auto download = fetch(m_server->url(QStringLiteral("/steady")), limits, 10000);
    QVERIFY(download);
    QVERIFY2(!download->error, qPrintable(describe(download->error)));
    QCOMPARE(download->data, body);
}

void TestDownloadOperation::failsWhenNothingListens()
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    const auto download = fetch(QStringLiteral("http://127.0.0.1:%1/releases/1").arg(closedPort));
    QVERIFY(download);
    QVERIFY(download->error);
    QCOMPARE(download->error->code, QNetworkReply::ConnectionRefusedError);
    QCOMPARE(download->statusCode, 0);
    QVERIFY(download->data.isEmpty());
}

void TestDownloadOperation::sendsIdentificationAndAuthorization()
{
    m_server->setResponse(QStringLiteral("/who"), HttpTestResponse::withBody("{}"));
    UserDefaults::shared().setObject(QStringLiteral(" tok-123 "), QStringLiteral("DISCOGS_TOKEN"));
    QVERIFY(fetch(m_server->url(QStringLiteral("/who"))));
    UserDefaults::shared().removeObjectForKey(QStringLiteral("DISCOGS_TOKEN"));
    QVERIFY(fetch(m_server->url(QStringLiteral("/who"))));

    const QList<HttpTestRequest> requests = m_server->requests();
    QCOMPARE(requests.size(), 2);
    for (const HttpTestRequest &request : requests) {
        QCOMPARE(request.method, QByteArray("GET"));
        QCOMPARE(request.header("User-Agent"), QByteArray("Quorl/" QUORL_VERSION " +" QUORL_PROJECT_URL));
        QVERIFY(request.header("Accept-Encoding").contains("gzip"));
    }
    QCOMPARE(requests.at(0).header("Authorization"), QByteArray("Discogs token=tok-123"));
    // Without a token the built-in credentials identify the application, when the build has any.
    if (ConsumerCredentials::isBuiltIn())
        QVERIFY(requests.at(1).header("Authorization").startsWith("Discogs key="));
    else
        QVERIFY(!requests.at(1).hasHeader("Authorization"));
}

void TestDownloadOperation::authorizationHeader_data()
{
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("secret");
    QTest::addColumn<QByteArray>("header");

    QTest::newRow("token wins") << "abc" << "k" << "s" << QByteArray("Discogs token=abc");
    QTest::newRow("token trimmed") << "  abc\n" << "" << "" << QByteArray("Discogs token=abc");
    QTest::newRow("line break inside token") << "ab\r\nX-Evil: 1" << "" << "" << QByteArray("Discogs token=abX-Evil: 1");
    QTest::newRow("blank token") << "   " << "k1" << "s2" << QByteArray("Discogs key=k1, secret=s2");
    QTest::newRow("key and secret") << "" << "0123456789abcdefghij" << "0123456789abcdefghij0123456789ab"
                                    << QByteArray("Discogs key=0123456789abcdefghij, secret=0123456789abcdefghij0123456789ab");
    QTest::newRow("key without secret") << "" << "k" << "" << QByteArray();
    QTest::newRow("nothing") << "" << "" << "" << QByteArray();
}

void TestDownloadOperation::authorizationHeader()
{
    QFETCH(QString, token);
    QFETCH(QString, key);
    QFETCH(QString, secret);
    QFETCH(QByteArray, header);
    QCOMPARE(RequestHeaders::authorization(token, key, secret), header);
}

void TestDownloadOperation::decryptUndoesTheScramble_data()
{
    QTest::addColumn<QByteArray>("scrambled");
    QTest::addColumn<QString>("plain");

    static constexpr auto empty = ConsumerCredentials::scramble("");
    static constexpr auto key = ConsumerCredentials::scramble("aBcDeFgHiJkLmNoPqRsT");
    static constexpr auto longer = ConsumerCredentials::scramble("0123456789abcdefghijklmnopqrstuvwxyzABCDEF");
    static constexpr auto accented = ConsumerCredentials::scramble("cl\xc3\xa9-\xc3\x9f");
    QTest::newRow("empty") << empty.view().toByteArray() << QString();
    QTest::newRow("20 characters") << key.view().toByteArray() << QStringLiteral("aBcDeFgHiJkLmNoPqRsT");
    QTest::newRow("longer than the scramble key")
        << longer.view().toByteArray() << QStringLiteral("0123456789abcdefghijklmnopqrstuvwxyzABCDEF");
    QTest::newRow("UTF-8") << accented.view().toByteArray() << QStringLiteral("cl\u00e9-\u00df");
}

void TestDownloadOperation::decryptUndoesTheScramble()
{
    QFETCH(QByteArray, scrambled);
    QFETCH(QString, plain);
    QCOMPARE(scrambled.size(), plain.toUtf8().size());
    if (!plain.isEmpty())
        QVERIFY(scrambled != plain.toUtf8());
    QCOMPARE(DownloadOperation::decrypt(scrambled), plain);
}

QTEST_GUILESS_MAIN(TestDownloadOperation)
#include "test_downloadoperation.moc"
