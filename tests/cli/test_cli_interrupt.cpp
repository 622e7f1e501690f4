#include "clitesting.h"
#include "httptestserver.h"

#include "model/localized.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

// Ctrl-C while "discogs search" or "discogs apply" waits for the service: the search stops as
// a dismissed progress sheet stops it, and the tool ends with a short message.
class TestCliInterrupt : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void interruptStopsTheSearch_data();
    void interruptStopsTheSearch();
    void interruptedApplyLeavesTheSongs();
    void secondInterruptEndsAtOnce();
    void ignoredInterruptStaysIgnored();

private:
    // Answers that take far longer than a test may wait: a run that ends in time did not wait
    // for them.
    static constexpr int SlowMs = 60000;
    static constexpr int PromptMs = 15000;

    // Serves one release with one picture; the answer of slowTarget comes after SlowMs.
    void serve(const QByteArray &slowTarget);
    // Starts the tool against the server; waits until requests have arrived.
    bool startAndWait(QProcess &process, const QStringList &arguments, qsizetype requests);
    static void interrupt(const QProcess &process);

    QTemporaryDir m_dir;
    std::unique_ptr<HttpTestServer> m_server;
};

void TestCliInterrupt::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(Localized::installStringTable());
}

void TestCliInterrupt::init()
{
    m_server = std::make_unique<HttpTestServer>();
    QVERIFY(m_server->isListening());
}

void TestCliInterrupt::serve(const QByteArray &slowTarget)
{
    const QByteArray document = R"({"title": "Blue", "year": 2001, "genres": ["Jazz"],
        "artists": [{"name": "Nina"}], "formats": [{"name": "CD"}],
        "images": [{"uri": ")" + m_server->url("/img/front.png").toUtf8() + R"("}],
        "tracklist": [{"type_": "track", "position": "1", "title": "One"}]})";
    const QMap<QByteArray, HttpTestResponse> answers = {
        {"/database/search", HttpTestResponse::withBody(R"({"results": [{"resource_url": ")"
                                                        + m_server->url("/releases/5").toUtf8() + R"("}]})")},
        {"/releases/5", HttpTestResponse::withBody(document)},
        {"/img/front.png", HttpTestResponse::withBody(pictureBytes(8, 8, 0xff0000ff, "PNG"))},
    };
    for (auto it = answers.begin(); it != answers.end(); ++it) {
        HttpTestResponse answer = it.value();
        if (it.key() == slowTarget)
            answer.delayMs = SlowMs;
        m_server->setResponse(QString::fromLatin1(it.key()), answer);
    }
}

bool TestCliInterrupt::startAndWait(QProcess &process, const QStringList &arguments, qsizetype requests)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUORL_CLI_PATH),
                  QStringList{"-D", "DISCOGS_API_URL=" + m_server->url(QString())} + arguments);
    process.closeWriteChannel();
    if (!process.waitForStarted(10000))
        return false;
    return QTest::qWaitFor([&] { return m_server->requestCount() >= requests; }, 30000);
}

void TestCliInterrupt::interrupt(const QProcess &process)
{
    ::kill(pid_t(process.processId()), SIGINT);
}

void TestCliInterrupt::interruptStopsTheSearch_data()
{
    QTest::addColumn<QByteArray>("slowTarget");
    QTest::addColumn<int>("requests");
    QTest::addColumn<bool>("json");
    QTest::newRow("search request") << QByteArray("/database/search") << 1 << false;
    QTest::newRow("release documents") << QByteArray("/releases/5") << 2 << false;
    QTest::newRow("cover pictures") << QByteArray("/img/front.png") << 3 << false;
    QTest::newRow("cover pictures, JSON") << QByteArray("/img/front.png") << 3 << true;
}

void TestCliInterrupt::interruptStopsTheSearch()
{
    QFETCH(QByteArray, slowTarget);
    QFETCH(int, requests);
    QFETCH(bool, json);
    serve(slowTarget);
    QProcess process;
    QStringList arguments{"discogs", "search", "nina"};
    if (json)
        arguments.prepend("--json");
    QVERIFY(startAndWait(process, arguments, requests));
    interrupt(process);
    if (!process.waitForFinished(PromptMs))
        QFAIL(("still running after Ctrl-C; so far: " + process.readAllStandardError()).constData());

    const QByteArray err = process.readAllStandardError();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(err.contains(Localized::text("CliSearchStopped").toUtf8()), err.constData());
    QVERIFY2(!err.contains(Localized::text("DiscogsLookupFailed").toUtf8()), err.constData());
    QVERIFY2(!err.contains("Sanitizer") && !err.contains("QThread"), err.constData());
    // Nothing of the stopped search, and no later stage asked for.
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
    QCOMPARE(m_server->requestCount(), requests);
}

void TestCliInterrupt::interruptedApplyLeavesTheSongs()
{
    serve("/releases/5");
    const QString song = makeSong(m_dir.filePath(QStringLiteral("apply")), QStringLiteral("mp3"),
                                  QStringLiteral("a.mp3"), {{QStringLiteral("title"), QStringLiteral("Before")}});
    QVERIFY(!song.isEmpty());
    QProcess process;
    QVERIFY(startAndWait(process, {"discogs", "apply", "nina", song}, 2));
    interrupt(process);
    QVERIFY2(process.waitForFinished(PromptMs), "still running after Ctrl-C");
    const QByteArray err = process.readAllStandardError();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(err.contains(Localized::text("CliSearchStopped").toUtf8()), err.constData());
    const std::unique_ptr<Song> after = readSong(song);
    QVERIFY(after);
    QCOMPARE(after->title(), QStringLiteral("Before"));
    QCOMPARE(after->album(), QString());
}

void TestCliInterrupt::secondInterruptEndsAtOnce()
{
    serve("/database/search");
    QProcess process;
    QVERIFY(startAndWait(process, {"discogs", "search", "nina"}, 1));
    interrupt(process);
    // The first one is being handled; the second one is not waited for.
    QTest::qWait(20);
    interrupt(process);
    QVERIFY2(process.waitForFinished(PromptMs), "still running after two Ctrl-C");
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
    QCOMPARE(process.readAllStandardOutput(), QByteArray());
}

void TestCliInterrupt::ignoredInterruptStaysIgnored()
{
    // A job started in the background ignores SIGINT; the search leaves that as it is and
    // runs to its end.
    serve(QByteArray());
    HttpTestResponse search = HttpTestResponse::withBody(R"({"results": [{"resource_url": ")"
                                                         + m_server->url("/releases/5").toUtf8() + R"("}]})");
    search.delayMs = 1500;
    m_server->setResponse(QStringLiteral("/database/search"), search);
    QProcess process;
    process.setChildProcessModifier([] { ::signal(SIGINT, SIG_IGN); });
    QVERIFY(startAndWait(process, {"--json", "discogs", "search", "nina"}, 1));
    interrupt(process);
    QVERIFY(process.waitForFinished(PromptMs));
    const QByteArray err = process.readAllStandardError();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == 0, err.constData());
    QVERIFY2(!err.contains(Localized::text("CliSearchStopped").toUtf8()), err.constData());
    const QJsonArray releases = QJsonDocument::fromJson(process.readAllStandardOutput()).array();
    QCOMPARE(releases.size(), 1);
    QCOMPARE(releases.at(0).toObject().value("album").toString(), QStringLiteral("Blue"));
    QCOMPARE(m_server->requestCount(), 3);
}

QTEST_GUILESS_MAIN(TestCliInterrupt)
#include "test_cli_interrupt.moc"
