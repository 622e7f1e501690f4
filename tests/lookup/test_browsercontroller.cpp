#include "downloadrecorder.h"
#include "fakeuserinterface.h"
#include "httptestserver.h"

#include "editor/settingsregistry.h"
#include "lookup/browsercontroller.h"
#include "lookup/cover.h"
#include "lookup/downloadmanager.h"
#include "lookup/release.h"
#include "model/localized.h"
#include "model/userdefaults.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QSignalSpy>
#include <QRegularExpression>
#include <QTest>

// The search in its three stages against the scripted server: requests and their order,
// filters, placeholders, failures and alerts, stopping, and the status line.
class TestBrowserController : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void encodesTheSearchText_data();
    void encodesTheSearchText();
    void emptyTextStartsNothing();
    void searchFetchesReleasesThenCoversInOrder();
    void releaseNumberSkipsTheSearchRequest();
    void keepsOnlyCompactDiscs_data();
    void keepsOnlyCompactDiscs();
    void givesPlaceholdersForMissingPictures_data();
    void givesPlaceholdersForMissingPictures();
    void endsSearchOnFailures_data();
    void endsSearchOnFailures();
    void ignoredSearchResponseNeverRefetchesPreviousReleases();
    void stoppingKeepsThePreviousResults();
    void goingAwayMidSearchStopsItsBatch_data();
    void goingAwayMidSearchStopsItsBatch();
    void newSearchStopsTheRunningOne();
    void statusLineFollowsCountersAndCovers_data();
    void statusLineFollowsCountersAndCovers();

private:
    static QByteArray releaseDocument(const QString &title, int images, const QString &format = "CD");
    static QByteArray searchDocument(const QStringList &targets);
    static QByteArray jpegBytes();
    bool runSearch(BrowserController &browser, const QString &text);

    QTemporaryDir m_dir;
    std::unique_ptr<HttpTestServer> m_server;
    std::unique_ptr<FakeUserInterface> m_ui;
};

void TestBrowserController::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(Localized::installStringTable());
    UserDefaults::shared().openStore(m_dir.filePath("settings.ini"));
    SettingsRegistry::registerDefaultsOnce();
    DownloadManager::setDefaultLimits(quickDownloadLimits());
}

void TestBrowserController::init()
{
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY(m_server->isListening());
    UserDefaults::shared().setObject(m_server->url(""), "DISCOGS_API_URL");
    UserDefaults::shared().setBool(true, "SEARCH_FOR_CDS_ONLY");
    m_ui = std::make_unique<FakeUserInterface>();
}

QByteArray TestBrowserController::releaseDocument(const QString &title, int images, const QString &format)
{
    QJsonObject document{
        {"title", title},
        {"year", 1999},
        {"artists", QJsonArray{QJsonObject{{"name", "Nina"}}}},
        {"genres", QJsonArray{"Jazz"}},
        {"tracklist", QJsonArray{QJsonObject{{"type_", "track"}, {"position", "1"}, {"title", "One"}},
                                 QJsonObject{{"type_", "track"}, {"position", "2"}, {"title", "Two"}}}},
    };
    if (!format.isEmpty())
        document.insert("formats", QJsonArray{QJsonObject{{"name", format}}});
    if (images > 0) {
        QJsonArray list;
        for (int i = 0; i < images; ++i)
            list.append(QJsonObject{{"uri", QStringLiteral("http://127.0.0.1:%1/img/%2-%3.jpg")
                                                .arg(0).arg(title).arg(i)}});
        document.insert("images", list);
    }
    return QJsonDocument(document).toJson();
}

QByteArray TestBrowserController::searchDocument(const QStringList &targets)
{
    QJsonArray results;
    for (const QString &target : targets)
        results.append(QJsonObject{{"resource_url", target}});
    return QJsonDocument(QJsonObject{{"results", results}}).toJson();
}

QByteArray TestBrowserController::jpegBytes()
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

bool TestBrowserController::runSearch(BrowserController &browser, const QString &text)
{
    const qsizetype before = m_ui->notifications.size() + m_ui->questions.size();
    browser.setSearchString(text);
    browser.searchDiscogs();
    return QTest::qWaitFor([&] {
        return browser.downloadState() == BrowserController::idle
               && m_ui->notifications.size() + m_ui->questions.size() > before;
    }, 20000);
}

// The image URIs carry port 0 in the documents; rewrite them to the server's port.
static QByteArray withPort(QByteArray document, quint16 port)
{
    return document.replace("127.0.0.1:0/", QByteArray("127.0.0.1:") + QByteArray::number(port) + "/");
}

void TestBrowserController::encodesTheSearchText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("query");
    QTest::newRow("space") << "123 abc" << "q=123%20abc&type=release";
    QTest::newRow("reserved stay") << "a&b+c/d?e" << "q=a&b+c/d?e&type=release";
    QTest::newRow("marks stay") << "x-_.!~*'()" << "q=x-_.!~*'()&type=release";
    QTest::newRow("utf-8 bytes") << QString::fromUtf8("é\"#%") << "q=%C3%A9%22%23%25&type=release";
}

void TestBrowserController::encodesTheSearchText()
{
    QFETCH(QString, text);
    QFETCH(QString, query);
    QCOMPARE(BrowserController::searchUrl(text), m_server->url("/database/search?") + query);
}

void TestBrowserController::emptyTextStartsNothing()
{
    BrowserController browser(m_ui.get());
    browser.searchDiscogs();
    QCOMPARE(browser.downloadState(), int(BrowserController::idle));
    QVERIFY(m_ui->sheetEvents.isEmpty());
    QTest::qWait(200);
    QCOMPARE(m_server->requestCount(), 0);
}

void TestBrowserController::searchFetchesReleasesThenCoversInOrder()
{
    const quint16 port = m_server->port();
    m_server->setResponse("/database/search", HttpTestResponse::withBody(searchDocument(
        {m_server->url("/releases/1"), m_server->url("/releases/2"), m_server->url("/releases/3")})));
    // Release 1 answers last: the hand-over is in list order all the same.
    HttpTestResponse first = HttpTestResponse::withBody(withPort(releaseDocument("First", 3), port));
    first.delayMs = 300;
    m_server->setResponse("/releases/1", first);
    m_server->setResponse("/releases/2", HttpTestResponse::withBody(releaseDocument("Second", 0)));
    m_server->setResponse("/releases/3", HttpTestResponse::withBody(withPort(releaseDocument("Third", 1), port)));
    const QByteArray jpeg = jpegBytes();
    for (const char *name : {"First-0", "First-1", "First-2", "Third-0"})
        m_server->setResponse(QStringLiteral("/img/%1.jpg").arg(QLatin1String(name)), HttpTestResponse::withBody(jpeg));

    BrowserController browser(m_ui.get());
    QVERIFY(runSearch(browser, "Nina Blue"));
    QVERIFY(m_ui->questions.isEmpty());

    const auto requests = m_server->requests();
    QCOMPARE(requests.size(), 1 + 3 + 4);
    QCOMPARE(requests.at(0).target, QByteArray("/database/search?q=Nina%20Blue&type=release"));
    for (int i = 1; i < 4; ++i)
        QVERIFY2(requests.at(i).target.startsWith("/releases/"), requests.at(i).target.constData());
    for (int i = 4; i < requests.size(); ++i)
        QVERIFY2(requests.at(i).target.startsWith("/img/"), requests.at(i).target.constData());

    const auto releases = browser.releases();
    QCOMPARE(releases.size(), 3);
    QCOMPARE(releases.at(0)->album(), QString("First"));
    QCOMPARE(releases.at(1)->album(), QString("Second"));
    QCOMPARE(releases.at(2)->album(), QString("Third"));
    const auto covers = browser.covers();
    QCOMPARE(covers.size(), 5);
    QCOMPARE(covers.at(0)->rel(), releases.at(0).get());
    QCOMPARE(covers.at(3)->imageUID(), QString(NoImageUID));
    QCOMPARE(covers.at(3)->rel(), releases.at(1).get());
    QVERIFY(!covers.at(3)->image().isNull());
    QCOMPARE(covers.at(4)->imageUID(), QString("Third-0.jpg"));
    QCOMPARE(covers.at(4)->image().size(), QSize(4, 3));
    QCOMPARE(covers.at(4)->image().devicePixelRatio(), 1.0);
    QCOMPARE(BrowserController::toolTipForCover(*covers.at(4)), std::optional<QString>("4 × 3 px"));
    QCOMPARE(covers.at(4)->imageData(), jpeg);
    QCOMPARE(browser.targetReleaseCount(), quint64(3));
    QCOMPARE(browser.targetCoverCount(), quint64(4));
    QCOMPARE(browser.numberOfItemsInImageFlow(), 5);
    QCOMPARE(browser.currentRelease(), releases.at(0).get());
    QCOMPARE(BrowserController::labelForCover(*covers.at(0)), QString("Nina – First\nJazz (1999)"));

    QCOMPARE(m_ui->notifications.size(), 1);
    QCOMPARE(m_ui->notifications.at(0).first, Localized::text("SearchCompleted"));
    QCOMPARE(m_ui->notifications.at(0).second, QString("Nina Blue"));
    QCOMPARE(m_ui->sheetEvents.first(), "text:" + Localized::text("SearchingDiscogsForX").arg("Nina Blue"));
    QVERIFY(m_ui->sheetEvents.contains("sub:" + Localized::text("WaitingToDownloadReleases")));
    QVERIFY(m_ui->sheetEvents.contains("sub:" + Localized::text("WaitingToDownloadCovers")));
    QCOMPARE(m_ui->sheetEvents.last(), QString("end"));
    QVERIFY(m_ui->isIdle());
    QCOMPARE(browser.statusMessage(), Localized::text("NSearchResults").arg(3) + Localized::text("NCovers").arg(4));
}

void TestBrowserController::releaseNumberSkipsTheSearchRequest()
{
    m_server->setResponse("/releases/12345", HttpTestResponse::withBody(releaseDocument("Number", 0)));
    BrowserController browser(m_ui.get());
    QVERIFY(runSearch(browser, "12345"));
    const auto requests = m_server->requests();
    QCOMPARE(requests.size(), 1);
    QCOMPARE(requests.at(0).target, QByteArray("/releases/12345"));
    QVERIFY(browser.releaseItems());
    QCOMPARE(browser.releaseItems()->size(), 1);
    QCOMPARE(browser.releaseItems()->at(0).toObject().value("resource_url").toString(),
             m_server->url("/releases/12345"));
    QCOMPARE(browser.releases().size(), 1);
    QCOMPARE(browser.covers().size(), 1);
    QCOMPARE(browser.statusMessage(), Localized::text("1SearchResult") + Localized::text("NoCovers"));
}

void TestBrowserController::keepsOnlyCompactDiscs_data()
{
    QTest::addColumn<bool>("cdsOnly");
    QTest::addColumn<QByteArray>("document");
    QTest::addColumn<bool>("kept");
    QByteArray vinylAndFile = releaseDocument("X", 0, "Vinyl");
    vinylAndFile.replace(R"("name": "Vinyl")", R"("name": "Vinyl"}, {"name": "File")");
    QTest::newRow("vinyl and file") << true << vinylAndFile << false;
    QTest::newRow("lower-case cd") << true << releaseDocument("X", 0, "cd") << true;
    QTest::newRow("no formats") << true << releaseDocument("X", 0, "") << false;
    QTest::newRow("setting off") << false << releaseDocument("X", 0, "Vinyl") << true;
    QTest::newRow("name not text") << true << vinylAndFile.replace(R"("name": "File")", R"("name": 7)") << false;
}

void TestBrowserController::keepsOnlyCompactDiscs()
{
    QFETCH(bool, cdsOnly);
    QFETCH(QByteArray, document);
    QFETCH(bool, kept);
    UserDefaults::shared().setBool(cdsOnly, "SEARCH_FOR_CDS_ONLY");
    m_server->setResponse("/database/search", HttpTestResponse::withBody(searchDocument({m_server->url("/releases/7")})));
    m_server->setResponse("/releases/7", HttpTestResponse::withBody(document));
    BrowserController browser(m_ui.get());
    QVERIFY(runSearch(browser, "x"));
    QCOMPARE(browser.releases().size(), kept ? 1 : 0);
    QCOMPARE(m_ui->questions.size(), 0);
}

void TestBrowserController::givesPlaceholdersForMissingPictures_data()
{
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QByteArray>("remaining");
    QTest::addColumn<QString>("uid");
    QTest::newRow("401") << 401 << QByteArray("no") << QByteArray("50") << QString(NotAuthorizedUID);
    QTest::newRow("429") << 429 << QByteArray("no") << QByteArray("50") << QString(QuotaExceededUID);
    QTest::newRow("404 with requests left") << 404 << QByteArray("no") << QByteArray("50") << QString(NoImageUID);
    QTest::newRow("404 without requests left") << 404 << QByteArray("no") << QByteArray("0") << QString(QuotaExceededUID);
    QTest::newRow("200 but not a JPEG") << 200 << QByteArray("<html>") << QByteArray("50") << QString(NoImageUID);
    QTest::newRow("200 empty") << 200 << QByteArray() << QByteArray("50") << QString(NoImageUID);
}

void TestBrowserController::givesPlaceholdersForMissingPictures()
{
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QByteArray, remaining);
    QFETCH(QString, uid);
    m_server->setResponse("/database/search", HttpTestResponse::withBody(searchDocument({m_server->url("/releases/1")})));
    m_server->setResponse("/releases/1", HttpTestResponse::withBody(withPort(releaseDocument("P", 1), m_server->port())));
    HttpTestResponse picture = HttpTestResponse::withBody(body, status);
    picture.headers.append({"X-Ratelimit-Remaining", remaining});
    m_server->setResponse("/img/P-0.jpg", picture);
    BrowserController browser(m_ui.get());
    QVERIFY(runSearch(browser, "p"));
    QVERIFY(m_ui->questions.isEmpty());
    const auto covers = browser.covers();
    QCOMPARE(covers.size(), 1);
    QCOMPARE(covers.at(0)->imageUID(), uid);
    QVERIFY(!covers.at(0)->image().isNull());
    QVERIFY(covers.at(0)->imageData().isEmpty());
}

void TestBrowserController::endsSearchOnFailures_data()
{
    QTest::addColumn<QString>("failing");
    QTest::addColumn<int>("status");
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<QString>("informativeKey");
    QTest::addColumn<int>("releases");
    QTest::newRow("search 503") << "/database/search" << 503 << QByteArray("{}") << "DiscogsUnavailableAtPresent" << 0;
    QTest::newRow("search not JSON") << "/database/search" << 200 << QByteArray("<html>busy</html>") << "MakeSureYouAreConnectedToInternet" << 0;
    QTest::newRow("search without results") << "/database/search" << 200 << QByteArray(R"({"pagination":{}})") << "MakeSureYouAreConnectedToInternet" << 0;
    QTest::newRow("search 401") << "/database/search" << 401 << QByteArray(R"({"message":"no"})") << "" << 0;
    QTest::newRow("search 429") << "/database/search" << 429 << QByteArray() << "" << 0;
    QTest::newRow("release 500") << "/releases/2" << 500 << QByteArray() << "DiscogsUnavailableAtPresent" << 1;
    QTest::newRow("release not JSON") << "/releases/2" << 200 << QByteArray("{\"title\": ") << "MakeSureYouAreConnectedToInternet" << 1;
    QTest::newRow("release 404") << "/releases/2" << 404 << QByteArray() << "" << 2;
    QTest::newRow("picture 502") << "/img/A-0.jpg" << 502 << QByteArray() << "DiscogsUnavailableAtPresent" << 3;
}

void TestBrowserController::endsSearchOnFailures()
{
    QFETCH(QString, failing);
    QFETCH(int, status);
    QFETCH(QByteArray, body);
    QFETCH(QString, informativeKey);
    QFETCH(int, releases);
    m_server->setResponse("/database/search", HttpTestResponse::withBody(searchDocument(
        {m_server->url("/releases/1"), m_server->url("/releases/2"), m_server->url("/releases/3")})));
    m_server->setResponse("/releases/1", HttpTestResponse::withBody(withPort(releaseDocument("A", 1), m_server->port())));
    m_server->setResponse("/releases/2", HttpTestResponse::withBody(releaseDocument("B", 0)));
    m_server->setResponse("/releases/3", HttpTestResponse::withBody(releaseDocument("C", 0)));
    m_server->setResponse("/img/A-0.jpg", HttpTestResponse::withBody(jpegBytes()));
    m_server->setResponse(failing, HttpTestResponse::withBody(body, status));
    m_ui->answerNext(1); // "ShowDetails" when offered

    BrowserController browser(m_ui.get());
    QVERIFY(runSearch(browser, "abc"));
    QTest::qWait(150);
    if (informativeKey.isEmpty()) {
        QVERIFY(m_ui->questions.isEmpty());
        QCOMPARE(m_ui->notifications.size(), 1);
    } else {
        QCOMPARE(m_ui->questions.size(), 1);
        QCOMPARE(m_ui->questions.at(0).messageKey, QString("QuorlCouldNotQueryDiscogs"));
        QCOMPARE(m_ui->questions.at(0).informativeKey, informativeKey);
        const bool details = informativeKey == "MakeSureYouAreConnectedToInternet";
        QCOMPARE(m_ui->questions.at(0).buttonKeys.size(), details ? 2 : 1);
        QCOMPARE(m_ui->presentedErrors.size(), details ? 1 : 0);
    }
    QCOMPARE(browser.downloadState(), int(BrowserController::idle));
    QVERIFY(m_ui->isIdle());
    QCOMPARE(browser.releases().size(), releases);
}

void TestBrowserController::ignoredSearchResponseNeverRefetchesPreviousReleases()
{
    m_server->setResponse("/database/search?q=first&type=release",
                          HttpTestResponse::withBody(searchDocument({m_server->url("/releases/1")})));
    m_server->setResponse("/releases/1", HttpTestResponse::withBody(releaseDocument("A", 0)));
    m_server->setResponse("/database/search?q=second&type=release", HttpTestResponse::withBody("gone", 404));
    BrowserController browser(m_ui.get());
    QVERIFY(runSearch(browser, "first"));
    QCOMPARE(browser.releases().size(), 1);
    m_server->clearRequests();
    QVERIFY(runSearch(browser, "second"));
    QCOMPARE(m_server->requestCount(), 1);
    QVERIFY(browser.releases().isEmpty());
    QCOMPARE(browser.statusMessage(), Localized::text("NoSearchResultsFound"));
}

void TestBrowserController::stoppingKeepsThePreviousResults()
{
    m_server->setResponse("/database/search?q=first&type=release",
                          HttpTestResponse::withBody(searchDocument({m_server->url("/releases/1")})));
    m_server->setResponse("/releases/1", HttpTestResponse::withBody(releaseDocument("A", 0)));
    BrowserController browser(m_ui.get());
    QVERIFY(runSearch(browser, "first"));
    const auto previous = browser.releases();

    m_server->setResponse("/database/search?q=slow&type=release",
                          HttpTestResponse::withBody(searchDocument({m_server->url("/releases/9")})));
    HttpTestResponse slow = HttpTestResponse::withBody(releaseDocument("Z", 0));
    slow.delayMs = 3000;
    m_server->setResponse("/releases/9", slow);
    m_ui->dismissOnSubText = Localized::text("WaitingToDownloadRelease");
    QSignalSpy stopped(&browser, &BrowserController::searchStopped);
    QSignalSpy changed(&browser, &BrowserController::releasesChanged);
    browser.setSearchString("slow");
    browser.searchDiscogs();
    QTRY_COMPARE_WITH_TIMEOUT(browser.downloadState(), int(BrowserController::idle), 2000);
    QTRY_COMPARE_WITH_TIMEOUT(stopped.size(), 1, 2000);
    QTest::qWait(300);
    QCOMPARE(stopped.size(), 1);
    QCOMPARE(changed.size(), 0);
    QCOMPARE(browser.releases(), previous);
    QCOMPARE(m_ui->notifications.size(), 1);
    QVERIFY(m_ui->questions.isEmpty());
}

void TestBrowserController::goingAwayMidSearchStopsItsBatch_data()
{
    // The stage whose request is in flight when the browser goes away, and the requests that
    // have gone out by then.
    QTest::addColumn<int>("slowStage");
    QTest::addColumn<int>("requestsOut");
    QTest::newRow("search") << int(BrowserController::searching) << 1;
    QTest::newRow("releases") << int(BrowserController::fetchingReleases) << 3;
}

void TestBrowserController::goingAwayMidSearchStopsItsBatch()
{
    QFETCH(int, slowStage);
    QFETCH(int, requestsOut);
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    HttpTestResponse search = HttpTestResponse::withBody(
        searchDocument({m_server->url("/releases/1"), m_server->url("/releases/2")}));
    HttpTestResponse release = HttpTestResponse::withBody(releaseDocument("B", 0));
    (slowStage == BrowserController::searching ? search : release).delayMs = 1500;
    m_server->setResponse("/database/search?q=slow&type=release", search);
    m_server->setResponse("/releases/1", HttpTestResponse::withBody(releaseDocument("A", 0)));
    m_server->setResponse("/releases/2", release);
    {
        BrowserController browser(m_ui.get());
        browser.setSearchString("slow");
        browser.searchDiscogs();
        QTRY_COMPARE_WITH_TIMEOUT(m_server->requestCount(), requestsOut, 5000);
        QCOMPARE(browser.downloadState(), slowStage);
    }
    // Nothing of the stopped batch reaches the browser that is gone (the sanitizers watch).
    QTest::qWait(2000);
    QCOMPARE(m_server->requestCount(), requestsOut);
    QVERIFY(m_ui->notifications.isEmpty());
    QVERIFY(m_ui->questions.isEmpty());
}

void TestBrowserController::newSearchStopsTheRunningOne()
{
    // The first search's release would lead to a picture request if its batch went on.
    HttpTestResponse slow = HttpTestResponse::withBody(withPort(releaseDocument("Old", 1), m_server->port()));
    slow.delayMs = 1000;
    m_server->setResponse("/database/search?q=old&type=release",
                          HttpTestResponse::withBody(searchDocument({m_server->url("/releases/1")})));
    m_server->setResponse("/releases/1", slow);
    m_server->setResponse("/img/Old-0.jpg", HttpTestResponse::withBody(jpegBytes()));
    m_server->setResponse("/database/search?q=new&type=release",
                          HttpTestResponse::withBody(searchDocument({m_server->url("/releases/2")})));
    m_server->setResponse("/releases/2", HttpTestResponse::withBody(releaseDocument("New", 0)));

    BrowserController browser(m_ui.get());
    QSignalSpy stopped(&browser, &BrowserController::searchStopped);
    browser.setSearchString("old");
    browser.searchDiscogs();
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requestCount(), 2, 5000);
    QCOMPARE(browser.downloadState(), int(BrowserController::fetchingReleases));
    QVERIFY(runSearch(browser, "new"));
    QTest::qWait(1500);

    QCOMPARE(browser.releases().size(), 1);
    QCOMPARE(browser.releases().at(0)->album(), QString("New"));
    QCOMPARE(m_ui->notifications.size(), 1);
    QVERIFY(m_ui->questions.isEmpty());
    QCOMPARE(stopped.size(), 0);
    for (const HttpTestRequest &request : m_server->requests())
        QVERIFY2(!request.target.startsWith("/img/"), request.target.constData());
    QCOMPARE(m_server->requestCount(), 4);
}

void TestBrowserController::statusLineFollowsCountersAndCovers_data()
{
    QTest::addColumn<QList<QByteArray>>("remaining");
    QTest::addColumn<QByteArray>("reset");
    QTest::addColumn<QString>("requestsPart");
    QTest::newRow("lowest kept") << QList<QByteArray>{"59", "57", "58", "x"} << QByteArray("60")
                                 << Localized::text("NImageRequestsLeftToday").arg(57);
    QTest::newRow("one left") << QList<QByteArray>{"1", "3", "3", "3"} << QByteArray("60")
                              << Localized::text("1ImageRequestLeftToday");
    QTest::newRow("none left") << QList<QByteArray>{"5", "0", "5", "5"} << QByteArray("5400")
                               << Localized::text("NoImageRequestsLeftTodayResetInTimeX").arg(1).arg(30);
    QTest::newRow("1000 not shown") << QList<QByteArray>{"1000", "1000", "1000", "1000"} << QByteArray("60") << QString();
}

void TestBrowserController::statusLineFollowsCountersAndCovers()
{
    QFETCH(QList<QByteArray>, remaining);
    QFETCH(QByteArray, reset);
    QFETCH(QString, requestsPart);
    // Three releases, four covers of which one is a placeholder.
    const auto answer = [&](const QByteArray &body, int index) {
        HttpTestResponse response = HttpTestResponse::withBody(body);
        response.headers.append({"X-Ratelimit-Remaining", remaining.at(index)});
        response.headers.append({"x-ratelimit-reset", reset});
        return response;
    };
    m_server->setResponse("/database/search", answer(searchDocument(
        {m_server->url("/releases/1"), m_server->url("/releases/2"), m_server->url("/releases/3")}), 0));
    m_server->setResponse("/releases/1", answer(withPort(releaseDocument("A", 2), m_server->port()), 1));
    m_server->setResponse("/releases/2", answer(releaseDocument("B", 0), 2));
    m_server->setResponse("/releases/3", answer(withPort(releaseDocument("C", 1), m_server->port()), 3));
    for (const char *name : {"A-0", "A-1", "C-0"})
        m_server->setResponse(QStringLiteral("/img/%1.jpg").arg(QLatin1String(name)), HttpTestResponse::withBody(jpegBytes()));
    BrowserController browser(m_ui.get());
    QVERIFY(runSearch(browser, "abc"));
    QCOMPARE(browser.covers().size(), 4);
    QCOMPARE(browser.statusMessage(),
             Localized::text("NSearchResults").arg(3) + Localized::text("NCovers").arg(3) + requestsPart);
}

QTEST_GUILESS_MAIN(TestBrowserController)
#include "test_browsercontroller.moc"
