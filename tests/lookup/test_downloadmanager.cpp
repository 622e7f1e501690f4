#include "downloadrecorder.h"
#include "httptestserver.h"

#include "lookup/downloadmanager.h"
#include "model/localized.h"
#include "model/userdefaults.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace std::chrono_literals;

// The batch as a whole: concurrency, pacing, progress, cancellation and the ordered hand-over,
// every advisor call on the thread that started the batch.
class TestDownloadManager : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void emptyBatchCompletesAtOnceOnTheCallersThread();
    void runsOnTheThreadThatStartsIt_data();
    void runsOnTheThreadThatStartsIt();
    void oneRequestIsReportedThenHandedOver();
    void handsOverInListOrderWhateverTheFinishingOrder();
    void keepsAtMostThreadsInFlight_data();
    void keepsAtMostThreadsInFlight();
    void passesContextEntriesToTheirRequests();
    void cancelsWhenAskedMidBatch();
    void cancelsWhenAskedAsTheLastRequestFinishes();
    void stopEndsTheBatchWithoutFurtherCalls();
    void pacesRequestStartsAndHoldsSlots();
    void handsOverWithoutWaitingForThePoll();

private:
    QStringList urls(const QString &target, int count) const;
    std::shared_ptr<DownloadManager> start(const QStringList &urls, DownloadRecorder *recorder,
                                           quint64 threads,
                                           const DownloadLimits &limits = quickDownloadLimits(),
                                           const std::optional<QVariantList> &context = {},
                                           double throttle = 0);

    QTemporaryDir m_settingsDir;
    std::unique_ptr<HttpTestServer> m_server;
};

void TestDownloadManager::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    UserDefaults::shared().openStore(m_settingsDir.filePath(QStringLiteral("settings.ini")));
    QVERIFY(Localized::installStringTable());
}

void TestDownloadManager::init()
{
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY(m_server->isListening());
}

QStringList TestDownloadManager::urls(const QString &target, int count) const
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(m_server->url(QStringLiteral("%1?i=%2").arg(target).arg(i)));
    return list;
}

std::shared_ptr<DownloadManager> TestDownloadManager::start(
    const QStringList &urls, DownloadRecorder *recorder, quint64 threads,
    const DownloadLimits &limits, const std::optional<QVariantList> &context, double throttle)
{
    auto manager = DownloadManager::create(urls, context, recorder, threads, throttle);
    manager->setLimits(limits);
    manager->startDownload();
    return manager;
}

void TestDownloadManager::emptyBatchCompletesAtOnceOnTheCallersThread()
{
    DownloadRecorder onMain;
    start({}, &onMain, 4);
    // No event loop has run: the completion came from within startDownload().
    QCOMPARE(onMain.outcome(), QStringList{QStringLiteral("completion")});
    QCOMPARE(onMain.completionThread, QThread::currentThread());

    DownloadRecorder elsewhere;
    std::unique_ptr<QThread> caller(QThread::create([&elsewhere] {
        DownloadManager::create({}, std::nullopt, &elsewhere, 1, 0)->startDownload();
    }));
    caller->start();
    QVERIFY(caller->wait(5000));
    QCOMPARE(elsewhere.completionThread, caller.get());

    QTest::qWait(100);
    QVERIFY(onMain.progress.isEmpty());
    QVERIFY(elsewhere.progress.isEmpty());
    QCOMPARE(onMain.completions + elsewhere.completions, 2);
}

void TestDownloadManager::oneRequestIsReportedThenHandedOver()
{
    m_server->setResponse(QStringLiteral("/one"), HttpTestResponse::withBody("hello"));
    DownloadRecorder recorder;
    auto manager = start({m_server->url(QStringLiteral("/one"))}, &recorder, 1);
    QVERIFY(recorder.waitForEnd());
    QTest::qWait(50);

    QCOMPARE(recorder.progress.value(0), quint64(1));
    QCOMPARE(recorder.outcome(), (QStringList{"download", "completion"}));
    QCOMPARE(recorder.handed.first().statusCode, 200);
    QCOMPARE(recorder.handed.first().data, QByteArray("hello"));
    QCOMPARE(manager->operationCount(), quint64(0));

}

void TestDownloadManager::runsOnTheThreadThatStartsIt_data()
{
    QTest::addColumn<bool>("onWorker");
    QTest::newRow("main thread") << false;
    QTest::newRow("worker thread") << true;
}

void TestDownloadManager::runsOnTheThreadThatStartsIt()
{
    QFETCH(bool, onWorker);
    // A batch parented to an object of another thread, or a timer started from one, says so.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    HttpTestResponse response = HttpTestResponse::withBody("t");
    response.delayMs = 100;
    m_server->setResponse(QStringLiteral("/t"), response);
    const QStringList list = urls(QStringLiteral("/t"), 3);

    DownloadRecorder recorder;
    bool ended = false;
    const auto run = [&] {
        auto manager = start(list, &recorder, 2);
        ended = recorder.waitForEnd();
    };
    QThread *expected = QThread::currentThread();
    if (onWorker) {
        std::unique_ptr<QThread> worker(QThread::create(run));
        expected = worker.get();
        worker->start();
        QVERIFY(worker->wait(30000));
    } else {
        run();
    }
    QVERIFY(ended);
    QCOMPARE(recorder.outcome(), (QStringList{"download", "download", "download", "completion"}));
    QVERIFY(!recorder.progress.isEmpty());
    QCOMPARE(recorder.progressThreads, QSet<QThread *>{expected});
    for (const HandedDownload &download : recorder.handed)
        QCOMPARE(download.thread, expected);
    QCOMPARE(recorder.completionThread, expected);
}

void TestDownloadManager::handsOverInListOrderWhateverTheFinishingOrder()
{
    QStringList list;
    for (int i = 0; i < 4; ++i) {
        HttpTestResponse response = HttpTestResponse::withBody("body " + QByteArray::number(i));
        response.delayMs = 400 - 100 * i;
        m_server->setResponse(QStringLiteral("/slow/%1").arg(i), response);
        list.append(m_server->url(QStringLiteral("/slow/%1").arg(i)));
    }
    DownloadRecorder recorder;
    auto manager = start(list, &recorder, 4);
    QVERIFY(recorder.waitForEnd());

    // All four went out together, so the later ones in the list finished first.
    QCOMPARE(m_server->maxConcurrency(), 4);
    QCOMPARE(recorder.handedUrls(), list);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(recorder.handed.at(i).data, "body " + QByteArray::number(i));
    QCOMPARE(recorder.outcome().last(), QStringLiteral("completion"));
}

void TestDownloadManager::keepsAtMostThreadsInFlight_data()
{
    QTest::addColumn<int>("threads");
    QTest::newRow("1") << 1;
    QTest::newRow("2") << 2;
    QTest::newRow("4") << 4;
}

void TestDownloadManager::keepsAtMostThreadsInFlight()
{
    QFETCH(int, threads);
    HttpTestResponse response = HttpTestResponse::withBody("x");
    response.delayMs = 150;
    m_server->setResponse(QStringLiteral("/item"), response);
    const QStringList list = urls(QStringLiteral("/item"), 8);

    DownloadRecorder recorder;
    auto manager = start(list, &recorder, quint64(threads));
    QVERIFY(recorder.waitForEnd());

    QCOMPARE(m_server->requestCount(), 8);
    QCOMPARE(m_server->maxConcurrency(), threads);
    QCOMPARE(recorder.handedUrls(), list);
}

void TestDownloadManager::passesContextEntriesToTheirRequests()
{
    m_server->setResponse(QStringLiteral("/c"), HttpTestResponse::withBody("c"));
    const QVariantList context{QStringLiteral("first cover"), QVariant(),
                               QVariant::fromValue(nullptr), 42};
    DownloadRecorder recorder;
    auto manager = start(urls(QStringLiteral("/c"), 4), &recorder, 2, quickDownloadLimits(), context);
    QVERIFY(recorder.waitForEnd());

    QCOMPARE(recorder.handed.size(), 4);
    QCOMPARE(recorder.handed.at(0).context, QVariant(QStringLiteral("first cover")));
    // Both kinds of null marker mean "no context".
    QVERIFY(!recorder.handed.at(1).context.isValid());
    QVERIFY(!recorder.handed.at(2).context.isValid());
    QCOMPARE(recorder.handed.at(3).context, QVariant(42));
}

void TestDownloadManager::cancelsWhenAskedMidBatch()
{
    HttpTestResponse slow = HttpTestResponse::withBody("never");
    slow.delayMs = 30000;
    m_server->setResponse(QStringLiteral("/slow"), slow);

    DownloadRecorder recorder;
    auto manager = start(urls(QStringLiteral("/slow"), 3), &recorder, 2);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requestCount(), 2, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(!recorder.progress.isEmpty(), 5000);
    QCOMPARE(recorder.progress.first(), quint64(3));
    const qsizetype reportsBefore = recorder.progress.size();

    recorder.stopRequested = true;
    QVERIFY(recorder.waitForEnd(5000));
    QTest::qWait(300);

    QCOMPARE(recorder.outcome(), QStringList{"cancel"});
    QCOMPARE(recorder.cancelThread, QThread::currentThread());
    // Reports that arrive once the user has asked to stop are not passed on.
    QCOMPARE(recorder.progress.size(), reportsBefore);
    QCOMPARE(m_server->requestCount(), 2);
}

void TestDownloadManager::cancelsWhenAskedAsTheLastRequestFinishes()
{
    m_server->setResponse(QStringLiteral("/quick"), HttpTestResponse::withBody("quick"));
    DownloadRecorder recorder;
    recorder.stopRequested = true;
    auto manager = start({m_server->url(QStringLiteral("/quick"))}, &recorder, 1);
    QVERIFY(recorder.waitForEnd());
    QTest::qWait(200);

    QCOMPARE(recorder.outcome(), QStringList{"cancel"});
    QVERIFY(recorder.progress.isEmpty());
}

void TestDownloadManager::stopEndsTheBatchWithoutFurtherCalls()
{
    HttpTestResponse slow = HttpTestResponse::withBody("never");
    slow.delayMs = 30000;
    m_server->setResponse(QStringLiteral("/slow"), slow);

    DownloadRecorder recorder;
    auto manager = start({m_server->url(QStringLiteral("/slow"))}, &recorder, 1);
    QTRY_COMPARE_WITH_TIMEOUT(m_server->requestCount(), 1, 10000);
    manager->stop();
    QTest::qWait(300);
    QVERIFY(recorder.outcome().isEmpty());
}

void TestDownloadManager::pacesRequestStartsAndHoldsSlots()
{
    m_server->setResponse(QStringLiteral("/paced"), HttpTestResponse::withBody("p"));
    const QStringList list = urls(QStringLiteral("/paced"), 3);

    // Throttle 0.25 s and 2 threads: requests planned at t0, t0 + 0.25 and t0 + 0.5, each
    // holding its slot for 2 s from its planned start, so the third gets one only at t0 + 2.
    DownloadRecorder recorder;
    const qint64 t0 = HttpTestServer::nowMs();
    auto manager = start(list, &recorder, 2, quickDownloadLimits(), std::nullopt, 0.25);
    QVERIFY(recorder.waitForEnd());

    QHash<QByteArray, qint64> sent;
    for (const HttpTestRequest &request : m_server->requests())
        sent.insert(request.target, request.arrivedAtMs - t0);
    QCOMPARE(sent.size(), 3);
    const qint64 slack = 5;
    QVERIFY2(sent.value("/paced?i=1") >= 250 - slack, qPrintable(QString::number(sent.value("/paced?i=1"))));
    QVERIFY2(sent.value("/paced?i=2") >= 2000 - slack, qPrintable(QString::number(sent.value("/paced?i=2"))));
    QVERIFY2(recorder.completedAtMs - t0 >= 2500 - slack, qPrintable(QString::number(recorder.completedAtMs - t0)));
    QCOMPARE(recorder.handedUrls(), list);
}

void TestDownloadManager::handsOverWithoutWaitingForThePoll()
{
    m_server->setResponse(QStringLiteral("/fast"), HttpTestResponse::withBody("f"));
    const QStringList list = urls(QStringLiteral("/fast"), 5);

    // With the poll a minute apart and one thread, the batch ends in time only when the
    // hand-over follows the last transfer and unpaced requests neither wait nor linger.
    DownloadLimits limits = quickDownloadLimits();
    limits.pollInterval = 60s;
    DownloadRecorder recorder;
    auto manager = start(list, &recorder, 1, limits);
    QVERIFY(recorder.waitForEnd(4000));
    QCOMPARE(recorder.handedUrls(), list);
}

QTEST_GUILESS_MAIN(TestDownloadManager)
#include "test_downloadmanager.moc"
