#include "clitesting.h"
#include "httptestserver.h"

#include "model/localized.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

// End-to-end runs of "discogs search" and "discogs apply" against the scripted server.
class TestCliDiscogs : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_config = m_dir.filePath("config");
    }

    void init()
    {
        m_server = std::make_unique<HttpTestServer>();
        QVERIFY(m_server->isListening());
    }

    void searchPrintsReleasesAsJson()
    {
        serveRelease();
        const CliRun result = run({"--json", "discogs", "search", "nina blue"});
        QCOMPARE(result.exitCode, 0);
        const QJsonArray releases = QJsonDocument::fromJson(result.out).array();
        QCOMPARE(releases.size(), 1);
        const QJsonObject release = releases.at(0).toObject();
        QCOMPARE(release.value("artist").toString(), QString("Nina"));
        QCOMPARE(release.value("album").toString(), QString("Blue"));
        QCOMPARE(release.value("year").toInt(), 2001);
        QCOMPARE(release.value("rows").toArray().size(), 3);
        QCOMPARE(release.value("rows").toArray().at(1).toObject().value("title").toString(), QString("Two"));
        QCOMPARE(release.value("rows").toArray().at(1).toObject().value("flag").toInt(), 1);
        QCOMPARE(release.value("covers").toArray().at(0).toObject().value("imageUID").toString(), QString("no_image"));
        QCOMPARE(m_server->requests().at(0).target, QByteArray("/database/search?q=nina%20blue&type=release"));
    }
    void searchPrintsCoverSizesAsText();
    void coversWithoutAddressGetThePlaceholder();

    void progressOnlyOnATerminal_data()
    {
        QTest::addColumn<bool>("terminal");
        QTest::addColumn<bool>("quiet");
        QTest::newRow("terminal") << true << false;
        QTest::newRow("terminal, --quiet") << true << true;
        QTest::newRow("pipe") << false << false;
    }

    void progressOnlyOnATerminal()
    {
        QFETCH(bool, terminal);
        QFETCH(bool, quiet);
        serveRelease();
        const QStringList arguments = QStringList{"-D", "DISCOGS_API_URL=" + m_server->url("")}
                                      + (quiet ? QStringList{"--quiet"} : QStringList()) + QStringList{"discogs", "search", "nina"};
        const TerminalRun onTerminal = terminal ? runOnTerminal(arguments, m_config) : TerminalRun();
        const CliRun piped = terminal ? CliRun() : runCli(arguments, m_config);
        QCOMPARE(terminal ? onTerminal.exitCode : piped.exitCode, 0);
        const QByteArray err = terminal ? onTerminal.terminal : piped.err;
        QVERIFY(Localized::installStringTable());
        // A step rewritten in place, then erased; nothing at all when piped or quiet.
        const bool shown = terminal && !quiet;
        QVERIFY2(err.contains("\r" + Localized::text("FetchingReleaseInformation").toUtf8() + "\x1b[K") == shown,
                 err.constData());
        QVERIFY2(err.contains(Localized::text("FetchingReleaseInformation").toUtf8()) == shown, err.constData());
        QCOMPARE(err.contains("\r\x1b[K"), shown);
    }

    void searchFailures_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("message");
        QTest::addColumn<QString>("text"); // what is searched: a release number asks for that release
        QTest::newRow("401") << 401 << QByteArray(R"({"message": "You must authenticate"})") << QByteArray("DISCOGS_TOKEN") << "x";
        QTest::newRow("503") << 503 << QByteArray() << QByteArray() << "x";
        QTest::newRow("not JSON") << 200 << QByteArray("<html>") << QByteArray() << "x";
        // Answers the search passes over without an alert: found nothing because it could not ask.
        QTest::newRow("404") << 404 << QByteArray(R"({"message": "Not found"})") << QByteArray("status 404") << "x";
        QTest::newRow("429") << 429 << QByteArray(R"({"message": "Too many"})") << QByteArray("status 429") << "x";
        QTest::newRow("empty 200") << 200 << QByteArray() << QByteArray("empty answer") << "x";
        QTest::newRow("release missing") << 404 << QByteArray(R"({"message": "Release not found."})")
                                         << QByteArray("status 404") << "5";
    }

    void searchFailures()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, message);
        QFETCH(QString, text);
        for (const char *path : {"/database/search", "/releases/5"})
            m_server->setResponse(path, HttpTestResponse::withBody(body, status));
        const CliRun result = run({"discogs", "search", text});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(message), result.err.constData());
    }

    void unreachableServiceIsAFailure_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("search text") << QStringList{"discogs", "search", "x"};
        QTest::newRow("release number") << QStringList{"discogs", "search", "5"};
    }

    void unreachableServiceIsAFailure()
    {
        QFETCH(QStringList, arguments);
        // A port on this machine that nothing listens on: the server is closed before the run.
        const QString url = m_server->url("");
        m_server.reset();
        const CliRun result = runCli(QStringList{"-D", "DISCOGS_API_URL=" + url} + arguments, m_config);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains("could not be reached"), result.err.constData());
        QVERIFY(result.out.isEmpty());
    }

    void applySavesTheCheckedRows()
    {
        serveRelease();
        const QString folder = m_dir.filePath("apply");
        const QString first = makeSong(folder, "mp3", "a.mp3");
        const QString second = makeSong(folder, "mp3", "b.mp3");
        QVERIFY(!first.isEmpty() && !second.isEmpty());
        const CliRun result = run({"--json", "discogs", "apply", "nina", first, second, "--uncheck", "2"});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        const std::unique_ptr<Song> a = readSong(first);
        const std::unique_ptr<Song> b = readSong(second);
        QVERIFY(a && b);
        QCOMPARE(a->title(), QString("One"));
        QCOMPARE(b->title(), QString("Three"));
        QCOMPARE(b->album(), QString("Blue"));
        QCOMPARE(b->albumArtist(), QString("Nina"));
    }

    void badOptionsAreUsageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no text") << QStringList{"discogs", "search"};
        QTest::newRow("unknown mode") << QStringList{"discogs", "find", "x"};
        QTest::newRow("release and cover") << QStringList{"discogs", "apply", "x", "a.mp3", "--release", "1", "--cover", "1"};
        QTest::newRow("bad row") << QStringList{"discogs", "apply", "x", "a.mp3", "--uncheck", "2,z"};
    }

    void badOptionsAreUsageErrors()
    {
        QFETCH(QStringList, arguments);
        QCOMPARE(run(arguments).exitCode, 2);
        QCOMPARE(m_server->requestCount(), 0);
    }

private:
    CliRun run(const QStringList &arguments)
    {
        return runCli(QStringList{"-D", "DISCOGS_API_URL=" + m_server->url("")} + arguments, m_config);
    }
    // The release "nina" finds, with the images given as `"images": [...],`.
    void serveRelease(const QByteArray &images = {});

    QTemporaryDir m_dir;
    QString m_config;
    std::unique_ptr<HttpTestServer> m_server;
};

void TestCliDiscogs::serveRelease(const QByteArray &images)
{
    const QByteArray document = R"({"title": "Blue", "year": 2001, "genres": ["Jazz"], )" + images + R"(
        "artists": [{"name": "Nina"}], "formats": [{"name": "CD"}],
        "tracklist": [{"type_": "track", "position": "1", "title": "One"},
                      {"type_": "track", "position": "2", "title": "Two"},
                      {"type_": "track", "position": "3", "title": "Three"}]})";
    m_server->setResponse("/database/search",
                          HttpTestResponse::withBody(R"({"results": [{"resource_url": ")" + m_server->url("/releases/5").toUtf8() + R"("}]})"));
    m_server->setResponse("/releases/5", HttpTestResponse::withBody(document));
}

void TestCliDiscogs::searchPrintsCoverSizesAsText()
{
    serveRelease(R"("images": [{"uri": ")" + m_server->url("/img/front.png").toUtf8() + R"("},
                   {"uri": ")" + m_server->url("/img/gone.png").toUtf8() + R"("}],)");
    m_server->setResponse("/img/front.png", HttpTestResponse::withBody(pictureBytes(12, 7, 0xff00ff00, "PNG")));
    const CliRun result = run({"discogs", "search", "nina"});
    QVERIFY2(result.exitCode == 0, result.err.constData());
    // A downloaded picture shows its pixel size; a placeholder (the 404) shows none.
    QVERIFY2(result.out.contains("   cover: front.png (12 × 7 px)\n"), result.out.constData());
    QVERIFY2(result.out.contains("   cover: no_image\n"), result.out.constData());
}

void TestCliDiscogs::coversWithoutAddressGetThePlaceholder()
{
    // What the service sends to a client without a token, with a title that would recolour a
    // terminal.
    const QByteArray document = R"({"title": "Blue\u001b[31m", "year": 2001, "formats": [{"name": "CD"}],
        "artists": [{"name": "Nina"}], "images": [{"type": "primary", "uri": ""}, {"type": "secondary", "uri": ""}],
        "tracklist": [{"type_": "track", "position": "1", "title": "One"}]})";
    m_server->setResponse("/releases/5", HttpTestResponse::withBody(document));
    const CliRun json = run({"--json", "discogs", "search", "5"});
    QVERIFY2(json.exitCode == 0, json.err.constData());
    const QJsonArray covers = QJsonDocument::fromJson(json.out).array().at(0).toObject().value("covers").toArray();
    QCOMPARE(covers.size(), 2);
    for (const QJsonValue &cover : covers)
        QCOMPARE(cover.toObject().value("imageUID").toString(), QString("no_image"));
    // Nothing was fetched for them.
    QCOMPARE(m_server->requests().size(), 1);

    const CliRun text = run({"discogs", "search", "5"});
    QVERIFY2(text.exitCode == 0, text.err.constData());
    QVERIFY2(text.out.contains("   cover: no_image\n   cover: no_image\n"), text.out.constData());
    QVERIFY2(text.out.contains("Blue\\e[31m") && !text.out.contains('\x1b'), text.out.constData());
}

QTEST_GUILESS_MAIN(TestCliDiscogs)
#include "test_cli_discogs.moc"
