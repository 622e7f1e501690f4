#include "downloadrecorder.h"
#include "httptestserver.h"

#include "lookup/downloadmanager.h"
#include "model/userdefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

// When the last reference to a download batch goes away, or the batch is stopped, inside an
// advisor call, and when the application object ends while a batch runs. The last case runs in
// a child process of this executable, since it ends its application.
namespace {

const char ScenarioVariable[] = "QUORL_DOWNLOAD_LIFETIME_SCENARIO";
const char SettingsVariable[] = "QUORL_DOWNLOAD_LIFETIME_SETTINGS";
const char ServerVariable[] = "QUORL_DOWNLOAD_LIFETIME_SERVER";

// A recorder that, inside one named call, drops its reference to the manager or stops it.
class DroppingAdvisor : public DownloadRecorder {
public:
    std::shared_ptr<DownloadManager> manager;
    QString dropIn;
    QString stopIn;
    // Set by the child once its application object is gone; calls after it are counted.
    bool applicationGone = false;
    int callsAfterApplication = 0;

    void trackProgress(quint64 remaining) override
    {
        DownloadRecorder::trackProgress(remaining);
        note("trackProgress");
    }
    bool shallCancel() override
    {
        note("shallCancel");
        return DownloadRecorder::shallCancel();
    }
    void cancel() override
    {
        DownloadRecorder::cancel();
        note("cancel");
    }
    void processDownload(const DownloadOperation &download) override
    {
        DownloadRecorder::processDownload(download);
        note("processDownload");
    }
    void trackCompletion() override
    {
        DownloadRecorder::trackCompletion();
        note("trackCompletion");
    }

private:
    void note(const QString &call)
    {
        if (applicationGone)
            ++callsAfterApplication;
        if (call == stopIn && manager) {
            stopIn.clear();
            manager->stop();
        }
        if (call == dropIn)
            manager.reset();
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
// server ("/slow" answers after a second). The child exits 0 when no advisor call arrived after
// the application had ended; the parent checks the rest (no sanitizer report, a prompt end).
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
        auto manager = DownloadManager::create({server + QStringLiteral("/slow")}, std::nullopt,
                                               &advisor, 1, 0);
        manager->setLimits(quickDownloadLimits());
        manager->startDownload();
        if (scenario == "kept past the application")
            kept = manager;
        manager.reset();
        if (!waitUntil([&] { return !advisor.progress.isEmpty(); }, 10000))
            return 11;
        // Time for the request to reach the server.
        QThread::msleep(300);
    }
    advisor.applicationGone = true;
    kept.reset();
    std::fprintf(stderr, "scenario ended\n");
    return advisor.callsAfterApplication == 0 ? 0 : 12;
}

} // namespace

class TestDownloadLifetime : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_settingsDir.isValid());
        UserDefaults::shared().openStore(m_settingsDir.filePath(QStringLiteral("settings.ini")));
    }

    void init()
    {
        m_server = std::make_unique<HttpTestServer>();
        QVERIFY(m_server->isListening());
    }

    void lastReferenceDroppedInsideAnAdvisorCall_data()
    {
        QTest::addColumn<QString>("dropIn");
        QTest::addColumn<bool>("stop");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("trackCompletion") << "trackCompletion" << false << "completion";
        QTest::newRow("processDownload") << "processDownload" << false << "completion";
        QTest::newRow("trackProgress") << "trackProgress" << false << "completion";
        QTest::newRow("shallCancel") << "shallCancel" << false << "completion";
        QTest::newRow("cancel") << "cancel" << true << "cancel";
    }

    void lastReferenceDroppedInsideAnAdvisorCall()
    {
        QFETCH(QString, dropIn);
        QFETCH(bool, stop);
        QFETCH(QString, outcome);

        HttpTestResponse response = HttpTestResponse::withBody("body");
        response.delayMs = stop ? 3000 : 300;
        m_server->setResponse(QStringLiteral("/one"), response);
        m_server->setResponse(QStringLiteral("/two"), HttpTestResponse::withBody("two"));

        DroppingAdvisor advisor;
        advisor.dropIn = dropIn;
        const std::weak_ptr<DownloadManager> watched = startBatch(advisor);
        advisor.stopRequested = stop;

        QVERIFY(advisor.waitForEnd());
        // The manager goes once the batch has ended; the sanitizers watch what follows.
        QVERIFY(QTest::qWaitFor([&] { return watched.expired(); }, 5000));
        QTest::qWait(50);
        QCOMPARE(advisor.outcome().last(), outcome);
        QCOMPARE(advisor.completions + advisor.cancels, 1);
        QVERIFY(!advisor.manager);
        QCOMPARE(advisor.handed.size(), stop ? 0 : 2);
    }

    void stoppedInsideAnAdvisorCall_data()
    {
        // The call in which the advisor stops the batch, and the calls other than progress reports
        // that the batch has made by then.
        QTest::addColumn<QString>("stopIn");
        QTest::addColumn<QStringList>("outcome");
        QTest::newRow("trackProgress") << "trackProgress" << QStringList();
        QTest::newRow("shallCancel") << "shallCancel" << QStringList();
        QTest::newRow("first processDownload") << "processDownload" << QStringList{"download"};
    }

    void stoppedInsideAnAdvisorCall()
    {
        QFETCH(QString, stopIn);
        QFETCH(QStringList, outcome);
        HttpTestResponse response = HttpTestResponse::withBody("body");
        response.delayMs = 300;
        m_server->setResponse(QStringLiteral("/one"), response);
        m_server->setResponse(QStringLiteral("/two"), response);

        DroppingAdvisor advisor;
        advisor.stopIn = stopIn;
        // It lets go of the manager in the same call, which ends the manager there.
        advisor.dropIn = stopIn;
        const std::weak_ptr<DownloadManager> watched = startBatch(advisor);

        QVERIFY(QTest::qWaitFor([&] { return watched.expired(); }, 5000));
        // Nothing more arrives: neither the rest of the hand-over nor a completion or cancel.
        QTest::qWait(800);
        QCOMPARE(advisor.outcome(), outcome);
        QVERIFY(advisor.stopIn.isEmpty());
    }

    void batchOutlivesTheConsumersReference()
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

    void applicationEndsWhileABatchRuns_data()
    {
        QTest::addColumn<QString>("scenario");
        QTest::newRow("dropped at start") << "dropped at start";
        QTest::newRow("kept past the application") << "kept past the application";
    }

    void applicationEndsWhileABatchRuns()
    {
        QFETCH(QString, scenario);
        HttpTestResponse slow = HttpTestResponse::withBody("slow");
        slow.delayMs = 1000;
        m_server->setResponse(QStringLiteral("/slow"), slow);
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
        QVERIFY2(!err.contains("Sanitizer"), err.constData());
        QCOMPARE(m_server->requestCount(), qsizetype(1));
    }

private:
    // Starts a batch of "/one" and "/two" with two slots, held by the advisor only.

    std::weak_ptr<DownloadManager> startBatch(DroppingAdvisor &advisor)
    {
        advisor.manager = DownloadManager::create(
            {m_server->url(QStringLiteral("/one")), m_server->url(QStringLiteral("/two"))},
            std::nullopt, &advisor, 2, 0);
        advisor.manager->setLimits(quickDownloadLimits());
        const std::weak_ptr<DownloadManager> watched = advisor.manager;
        advisor.manager->startDownload();
        return watched;
    }

    QTemporaryDir m_settingsDir;
    std::unique_ptr<HttpTestServer> m_server;
};

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
