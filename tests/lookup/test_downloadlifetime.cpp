#include "downloadrecorder.h"
#include "httptestserver.h"

#include "lookup/downloadmanager.h"
#include "model/userdefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

// When and where the last reference to a download batch goes away: inside any advisor call, on
// the main thread or the batch's own, and when the application object ends while a batch runs.
// The last cases run in a child process of this executable, since they end its application.
namespace {

const char ScenarioVariable[] = "QUORL_DOWNLOAD_LIFETIME_SCENARIO";
const char SettingsVariable[] = "QUORL_DOWNLOAD_LIFETIME_SETTINGS";
const char ServerVariable[] = "QUORL_DOWNLOAD_LIFETIME_SERVER";

// A recorder that drops its reference to the manager inside one named call.
class DroppingAdvisor : public DownloadRecorder {
public:
    std::shared_ptr<DownloadManager> manager;
    QString dropIn;
    // How long processDownload() takes, to let something happen meanwhile.
    int handOverMs = 0;
    std::atomic<bool> handingOver{false};
    std::atomic<QThread *> dropThread{nullptr};
    // Set by the child once its application object is gone; calls after it are counted.
    std::atomic<bool> applicationGone{false};
    std::atomic<int> callsAfterApplication{0};

    void trackProgress(quint64 remaining) override
    {
        note("trackProgress");
        DownloadRecorder::trackProgress(remaining);
    }
    bool shallCancel() override
    {
        note(QString());
        return DownloadRecorder::shallCancel();
    }
    void cancel() override
    {
        note("cancel");
        DownloadRecorder::cancel();
    }
    void processDownload(const DownloadOperation &download) override
    {
        handingOver = true;
        note("processDownload");
        if (handOverMs > 0)
            QThread::msleep(handOverMs);
        DownloadRecorder::processDownload(download);
    }
    void trackCompletion() override
    {
        note("trackCompletion");
        DownloadRecorder::trackCompletion();
    }

private:
    void note(const QString &call)
    {
        if (applicationGone)
            ++callsAfterApplication;
        if (!call.isEmpty() && call == dropIn && manager) {
            dropThread = QThread::currentThread();
            manager.reset();
        }
    }
};

bool waitUntil(const std::function<bool()> &condition, int timeoutMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.hasExpired(timeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(5);
    }
    return true;
}

// The child's part: an application object that ends while a batch runs against the parent's
// server ("/slow" answers after a second, "/fast" at once). The child exits 0 when no advisor
// call arrived after the application had ended; the parent checks the rest (no warnings about
// threads, no sanitizer report, a prompt end).
int runScenario(const QByteArray &scenario)
{
    const QString server = qEnvironmentVariable(ServerVariable);
    DroppingAdvisor advisor;
    std::shared_ptr<DownloadManager> kept;
    {
        int argc = 1;
        char name[] = "child";
        char *argv[] = {name, nullptr};
        QCoreApplication app(argc, argv);
        UserDefaults::shared().openStore(qEnvironmentVariable(SettingsVariable));
        const bool handOver = scenario == "dropped in processDownload";
        auto manager = DownloadManager::create(
            {server + (handOver ? QStringLiteral("/fast") : QStringLiteral("/slow"))},
            std::nullopt, &advisor, 1, 0);
        manager->setLimits(quickDownloadLimits());
        manager->startDownload();
        if (scenario == "kept past the application")
            kept = manager;
        if (handOver) {
            advisor.handOverMs = 400;
            advisor.dropIn = QStringLiteral("processDownload");
            advisor.manager = manager;
        }
        manager.reset();
        const bool reached = handOver ? waitUntil([&] { return advisor.handingOver.load(); }, 10000)
                                      : waitUntil([&] { return advisor.progress.size() > 0; }, 10000);
        if (!reached)
            return 11;
        // Time for the request to reach the server.
        if (!handOver)
            QThread::msleep(300);
    }
    advisor.applicationGone = true;
    // A batch still running would end meanwhile, with no application left to post to.
    QThread::msleep(1500);
    kept.reset();
    std::fprintf(stderr, "scenario ended\n");
    return advisor.callsAfterApplication.load() == 0 ? 0 : 12;
}

} // namespace

class TestDownloadLifetime : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void lastReferenceDroppedInsideAnAdvisorCall_data();
    void lastReferenceDroppedInsideAnAdvisorCall();
    void batchOutlivesTheConsumersReference();
    void lastReferenceEndsOnTheBatchThread();
    void applicationEndsWhileABatchRuns_data();
    void applicationEndsWhileABatchRuns();

private:
    QTemporaryDir m_settingsDir;
    std::unique_ptr<HttpTestServer> m_server;
};

void TestDownloadLifetime::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    UserDefaults::shared().openStore(m_settingsDir.filePath(QStringLiteral("settings.ini")));
}

void TestDownloadLifetime::init()
{
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY(m_server->isListening());
    // Waiting on the own thread or destroying a running thread is reported this way.
    QTest::failOnWarning(QRegularExpression(QStringLiteral("QThread")));
}

void TestDownloadLifetime::lastReferenceDroppedInsideAnAdvisorCall_data()
{
    QTest::addColumn<QString>("dropIn");
    QTest::addColumn<bool>("stop");
    QTest::addColumn<bool>("onMainThread");
    QTest::addColumn<QString>("outcome");
    QTest::newRow("trackCompletion") << "trackCompletion" << false << true << "completion";
    QTest::newRow("processDownload") << "processDownload" << false << false << "completion";
    QTest::newRow("trackProgress") << "trackProgress" << false << true << "completion";
    QTest::newRow("cancel") << "cancel" << true << false << "cancel";
}

void TestDownloadLifetime::lastReferenceDroppedInsideAnAdvisorCall()
{
    QFETCH(QString, dropIn);
    QFETCH(bool, stop);
    QFETCH(bool, onMainThread);
    QFETCH(QString, outcome);

    HttpTestResponse response = HttpTestResponse::withBody("body");
    response.delayMs = stop ? 3000 : 300;
    m_server->setResponse(QStringLiteral("/one"), response);
    m_server->setResponse(QStringLiteral("/two"), HttpTestResponse::withBody("two"));

    DroppingAdvisor advisor;
    advisor.dropIn = dropIn;
    advisor.manager = DownloadManager::create(
        {m_server->url(QStringLiteral("/one")), m_server->url(QStringLiteral("/two"))},
        std::nullopt, &advisor, 2, 0);
    advisor.manager->setLimits(quickDownloadLimits());
    const std::weak_ptr<DownloadManager> watched = advisor.manager;
    advisor.manager->startDownload();
    advisor.stopRequested = stop;

    QVERIFY(advisor.waitForEnd());
    QVERIFY(QTest::qWaitFor([&] { return watched.expired(); }, 5000));
    QCOMPARE(advisor.outcome().last(), outcome);
    QCOMPARE(advisor.completions + advisor.cancels, 1);
    QVERIFY(advisor.dropThread.load() != nullptr);
    QCOMPARE(advisor.dropThread.load() == QThread::currentThread(), onMainThread);
    if (!stop)
        QCOMPARE(advisor.handed.size(), 2);
    else
        QVERIFY(advisor.handed.isEmpty());
}

void TestDownloadLifetime::batchOutlivesTheConsumersReference()
{
    // Dropped at once: the running batch still hands everything over and completes.
    m_server->setResponse(QStringLiteral("/one"), HttpTestResponse::withBody("one"));
    DownloadRecorder recorder;
    std::weak_ptr<DownloadManager> watched;
    {
        auto manager = DownloadManager::create({m_server->url(QStringLiteral("/one"))},
                                               std::nullopt, &recorder, 1, 0);
        manager->setLimits(quickDownloadLimits());
        watched = manager;
        manager->startDownload();
    }
    QVERIFY(!watched.expired());
    QVERIFY(recorder.waitForEnd());
    QCOMPARE(recorder.outcome(), (QStringList{"download", "completion"}));
    QCOMPARE(recorder.handed.first().data, QByteArray("one"));
    QVERIFY(QTest::qWaitFor([&] { return watched.expired(); }, 5000));
}

// Hands its manager to an object of the batch's thread whose deletion, when that thread winds
// down, lets the manager go there once every other reference has gone.
class ThreadEndAdvisor : public DownloadRecorder {
public:
    std::shared_ptr<DownloadManager> manager;
    std::atomic<QThread *> releasedOn{nullptr};

    void processDownload(const DownloadOperation &download) override
    {
        auto *keeper = new QObject;
        auto held = std::make_shared<std::shared_ptr<DownloadManager>>(std::move(manager));
        QObject::connect(keeper, &QObject::destroyed, [this, held] {
            QElapsedTimer timer;
            timer.start();
            while (held->use_count() > 1 && !timer.hasExpired(10000))
                QThread::msleep(5);
            releasedOn = QThread::currentThread();
            held->reset();
        });
        keeper->deleteLater();
        DownloadRecorder::processDownload(download);
    }
};

void TestDownloadLifetime::lastReferenceEndsOnTheBatchThread()
{
    m_server->setResponse(QStringLiteral("/one"), HttpTestResponse::withBody("one"));
    ThreadEndAdvisor advisor;
    advisor.manager = DownloadManager::create({m_server->url(QStringLiteral("/one"))},
                                              std::nullopt, &advisor, 1, 0);
    advisor.manager->setLimits(quickDownloadLimits());
    const std::weak_ptr<DownloadManager> watched = advisor.manager;
    advisor.manager->startDownload();

    QVERIFY(advisor.waitForEnd());
    QCOMPARE(advisor.outcome(), (QStringList{"download", "completion"}));
    QVERIFY(QTest::qWaitFor([&] { return watched.expired(); }, 15000));
    QVERIFY(advisor.releasedOn.load() != nullptr);
    QVERIFY(advisor.releasedOn.load() != QThread::currentThread());

    // The next batch runs as usual; starting it waits for the thread left behind.
    DownloadRecorder next;
    auto manager = DownloadManager::create({m_server->url(QStringLiteral("/one"))}, std::nullopt,
                                           &next, 1, 0);
    manager->setLimits(quickDownloadLimits());
    manager->startDownload();
    QVERIFY(next.waitForEnd());
    QCOMPARE(next.outcome(), (QStringList{"download", "completion"}));
}

void TestDownloadLifetime::applicationEndsWhileABatchRuns_data()
{
    QTest::addColumn<QString>("scenario");
    QTest::newRow("dropped at start") << "dropped at start";
    QTest::newRow("kept past the application") << "kept past the application";
    QTest::newRow("dropped in processDownload") << "dropped in processDownload";
}

void TestDownloadLifetime::applicationEndsWhileABatchRuns()
{
    QFETCH(QString, scenario);
    HttpTestResponse slow = HttpTestResponse::withBody("slow");
    slow.delayMs = 1000;
    m_server->setResponse(QStringLiteral("/slow"), slow);
    m_server->setResponse(QStringLiteral("/fast"), HttpTestResponse::withBody("fast"));
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(ScenarioVariable), scenario);
    environment.insert(QString::fromLatin1(SettingsVariable),
                       m_settingsDir.filePath(QStringLiteral("child.ini")));
    environment.insert(QString::fromLatin1(ServerVariable), m_server->url(QString()));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), TestRegistry::selfArguments());
    QVERIFY(child.waitForFinished(30000));
    const QByteArray err = child.readAllStandardError();
    QVERIFY2(child.exitStatus() == QProcess::NormalExit, err.constData());
    QVERIFY2(child.exitCode() == 0, err.constData());
    QVERIFY2(err.contains("scenario ended"), err.constData());
    QVERIFY2(!err.contains("QThread"), err.constData());
    QVERIFY2(!err.contains("Sanitizer"), err.constData());
    if (scenario != QLatin1String("dropped in processDownload"))
        QCOMPARE(m_server->requestCount(), qsizetype(1));
}

// A child started by a test, told what to do by the environment.
static std::optional<int> childMain(int, char **)
{
    const QByteArray scenario = qgetenv(ScenarioVariable);
    if (scenario.isEmpty())
        return std::nullopt;
    return runScenario(scenario);
}

QUORL_TEST_MAIN_WITH_CHILD(TestDownloadLifetime, childMain)

#include "test_downloadlifetime.moc"
