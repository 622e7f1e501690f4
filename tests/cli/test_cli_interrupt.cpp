#include "clitesting.h"
#include "httptestserver.h"

#include "model/localized.h"

#include <QJsonObject>
#include <QJsonValue>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/types.h>

// Ctrl-C while "discogs search" or "discogs apply" waits for the service: the search stops as
// a dismissed progress sheet stops it, and the tool ends with a short message. Ctrl-C or SIGTERM
// while a command saves: the file in hand is finished, no further one is touched, the files not
// saved are listed.
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
    void signalStopsTheSave_data();
    void signalStopsTheSave();
    void secondSignalEndsTheSaveAtOnce_data();
    void secondSignalEndsTheSaveAtOnce();

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
    // A new folder with copies of every fixture; the copies' names in folder order.
    QString makeSaveFolder(const QString &name, QStringList *files) const;
    // Starts adding the big cover to every song of the folder; waits until the first file has
    // been saved.
    bool startSaveAndWait(QProcess &process, const QStringList &options, const QString &folder);
    // Whether the process has let go of its handler of the signal (it caught one).
    static bool catchesSignal(const QProcess &process, int signalNumber);

    QTemporaryDir m_dir;
    QByteArray m_cover;
    std::unique_ptr<HttpTestServer> m_server;
};

void TestCliInterrupt::initTestCase()
{
    QVERIFY(m_dir.isValid());
    QVERIFY(Localized::installStringTable());
    // Large enough that each save takes a moment, small enough for a hundred copies.
    m_cover = noisyJpeg(600);
    QVERIFY(m_cover.size() > 500 * 1024);
    QFile cover(m_dir.filePath(QStringLiteral("big.jpg")));
    QVERIFY(cover.open(QIODevice::WriteOnly) && cover.write(m_cover) == m_cover.size() && cover.flush());
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

QString TestCliInterrupt::makeSaveFolder(const QString &name, QStringList *files) const
{
    static const QStringList extensions{"mp3", "m4a", "flac", "aiff", "wav"};
    constexpr int Copies = 20;
    const QString folder = m_dir.filePath(name);
    for (int copy = 1; copy <= Copies; ++copy) {
        for (const QString &extension : extensions) {
            const QString file = QStringLiteral("%1.%2").arg(copy, 2, 10, QLatin1Char('0')).arg(extension);
            if (makeSong(folder, extension, file).isEmpty())
                return QString();
        }
    }
    *files = fileNames(folder);
    return folder;
}

bool TestCliInterrupt::startSaveAndWait(QProcess &process, const QStringList &options, const QString &folder)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), m_dir.filePath(QStringLiteral("config")));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUORL_CLI_PATH),
                  options + QStringList{"edit", "--add-cover", m_dir.filePath(QStringLiteral("big.jpg")), folder});
    process.closeWriteChannel();
    if (!process.waitForStarted(10000))
        return false;
    // Every copy starts far smaller than the cover: the first that has grown has been saved.
    const QStringList files = fileNames(folder);
    return QTest::qWaitFor([&] {
        for (const QString &file : files)
            if (QFileInfo(folder + QLatin1Char('/') + file).size() > m_cover.size())
                return true;
        return process.state() == QProcess::NotRunning;
    }, 60000) && process.state() == QProcess::Running;
}

bool TestCliInterrupt::catchesSignal(const QProcess &process, int signalNumber)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process.processId()));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("SigCgt:"))
            return (line.mid(7).trimmed().toULongLong(nullptr, 16) >> (signalNumber - 1)) & 1;
    return false;
}

void TestCliInterrupt::signalStopsTheSave_data()
{
    QTest::addColumn<int>("signalNumber");
    QTest::addColumn<bool>("ignoreInterrupt");
    QTest::addColumn<bool>("json");
    QTest::addColumn<int>("exitCode");
    QTest::newRow("Ctrl-C") << int(SIGINT) << false << false << 130;
    QTest::newRow("SIGTERM") << int(SIGTERM) << false << false << 143;
    QTest::newRow("Ctrl-C, JSON") << int(SIGINT) << false << true << 130;
    // A job started in the background ignores SIGINT and saves everything; SIGTERM still stops it.
    QTest::newRow("ignored Ctrl-C") << int(SIGINT) << true << false << 0;
    QTest::newRow("SIGTERM, Ctrl-C ignored") << int(SIGTERM) << true << false << 143;
}

void TestCliInterrupt::signalStopsTheSave()
{
    QFETCH(int, signalNumber);
    QFETCH(bool, ignoreInterrupt);
    QFETCH(bool, json);
    QFETCH(int, exitCode);
    QStringList files;
    const QString folder = makeSaveFolder(QStringLiteral("save-%1").arg(QTest::currentDataTag()), &files);
    QVERIFY(!folder.isEmpty());
    QProcess process;
    if (ignoreInterrupt)
        process.setChildProcessModifier([] { ::signal(SIGINT, SIG_IGN); });
    QVERIFY2(startSaveAndWait(process, json ? QStringList{"--json"} : QStringList(), folder),
             process.readAllStandardError().constData());
    ::kill(pid_t(process.processId()), signalNumber);
    QVERIFY2(process.waitForFinished(60000), "still saving long after the signal");
    const QByteArray err = process.readAllStandardError();
    const QByteArray out = process.readAllStandardOutput();
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QVERIFY2(process.exitCode() == exitCode, err.constData());

    // Each file holds the cover in full or is byte for byte the copy it was; nothing else is left.
    QStringList saved;
    QStringList untouched;
    for (const QString &file : files) {
        const QString path = folder + QLatin1Char('/') + file;
        if (fileBytes(path) == fileBytes(fixturePath(QStringLiteral("silence.") + QFileInfo(file).suffix()))) {
            untouched.append(path);
            continue;
        }
        const std::unique_ptr<Song> song = readSong(path);
        QVERIFY2(song && song->images().size() == 1 && song->images().first().data() == m_cover,
                 qPrintable(path + QStringLiteral(" is neither saved nor as it was")));
        saved.append(path);
    }
    QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name), files);

    if (exitCode == 0) {
        QCOMPARE(untouched, QStringList());
        return;
    }
    QVERIFY(!saved.isEmpty());
    QVERIFY2(!untouched.isEmpty(), "the save ended before the signal could stop it");
    QVERIFY2(err.contains(Localized::text("CliSaveInterruptedXY").arg(saved.size()).arg(untouched.size()).toUtf8()),
             err.constData());
    for (const QString &path : std::as_const(untouched))
        QVERIFY2(err.contains("\n  " + path.toUtf8() + '\n'), qPrintable(path));
    for (const QString &path : std::as_const(saved))
        QVERIFY2(!err.contains("\n  " + path.toUtf8() + '\n'), qPrintable(path));
    if (!json) {
        QCOMPARE(out, Localized::text("CliSaveSummaryXY").arg(saved.size()).arg(0).toUtf8() + '\n');
        return;
    }
    // The printed songs tell which are still modified.
    QStringList modified;
    for (const QJsonValue &song : QJsonDocument::fromJson(out).array())
        if (song.toObject().value("isModified").toBool())
            modified.append(song.toObject().value("filePath").toString());
    QCOMPARE(modified, untouched);
}

void TestCliInterrupt::secondSignalEndsTheSaveAtOnce_data()
{
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("second");
    QTest::newRow("Ctrl-C twice") << int(SIGINT) << int(SIGINT);
    QTest::newRow("Ctrl-C, then SIGTERM") << int(SIGINT) << int(SIGTERM);
    QTest::newRow("SIGTERM, then Ctrl-C") << int(SIGTERM) << int(SIGINT);
}

void TestCliInterrupt::secondSignalEndsTheSaveAtOnce()
{
    QFETCH(int, first);
    QFETCH(int, second);
    QStringList files;
    const QString folder = makeSaveFolder(QStringLiteral("twice-%1").arg(QTest::currentDataTag()), &files);
    QVERIFY(!folder.isEmpty());
    QProcess process;
    QVERIFY(startSaveAndWait(process, {}, folder));
    QVERIFY(catchesSignal(process, SIGINT) && catchesSignal(process, SIGTERM));
    ::kill(pid_t(process.processId()), first);
    // Once the first has been handled neither signal is caught any more.
    QVERIFY(QTest::qWaitFor([&] {
        return !catchesSignal(process, SIGINT) && !catchesSignal(process, SIGTERM);
    }, PromptMs));
    ::kill(pid_t(process.processId()), second);
    QVERIFY2(process.waitForFinished(PromptMs), "still running after two signals");
    QCOMPARE(process.exitStatus(), QProcess::CrashExit);
}

QTEST_GUILESS_MAIN(TestCliInterrupt)
#include "test_cli_interrupt.moc"
