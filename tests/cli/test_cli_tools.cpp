// End-to-end runs of the batch tool commands of quorl-cli on copies of the fixtures: name,
// extract, compose, number, case and all-in-one, checking the file names on disk and the tags
// read back, and that a scheme, mode or pattern chosen on the command line is never stored.

#include "clitesting.h"

#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The song most rows start from.
QVariantMap blueHour()
{
    return {{"track", "3/12"}, {"title", "Blue Hour"}, {"artist", "Nina"}, {"album", "Coast"}, {"year", 1999}};
}

void compareValues(const Song &song, const QVariantMap &expected)
{
    for (auto it = expected.begin(); it != expected.end(); ++it)
        QCOMPARE(song.valueForKey(it.key()).toString(), it.value().toString());
}

} // namespace

class TestCliTools : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(prepareCliTests(m_work));
    }

    void init()
    {
        QVERIFY(nextCliFolders(m_work, &m_config, &m_songs));
    }

    void cleanup()
    {
        // Choices made on the command line are for the run only: no settings file comes into being.
        QVERIFY(!QFileInfo::exists(m_config + QStringLiteral("/quorl/quorl.ini")));
    }

    void names_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expectedName");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("stored scheme") << QStringList{"name"} << "3 - Nina - Blue Hour.mp3" << 0;
        QTest::newRow("artist-title") << QStringList{"name", "--scheme", "artist-title"} << "Nina - Blue Hour.mp3" << 0;
        QTest::newRow("track-title") << QStringList{"name", "--scheme", "track-title"} << "3 - Blue Hour.mp3" << 0;
        QTest::newRow("track-artist-title without hyphens")
            << QStringList{"-D", "NAMING_SEPARATE_BY_HYPHEN=false", "name", "--scheme", "track-artist-title"}
            << "3 Nina Blue Hour.mp3" << 0;
        QTest::newRow("pattern with braces, neighbours and a slash")
            << QStringList{"name", "--pattern", "{Album} [{Year}] {{x}} {Title}/{Track Total}{Track}"}
            << "Coast [1999] {x} Blue Hour-123.mp3" << 0;
        QTest::newRow("stored custom pattern")
            << QStringList{"-D", R"(NAMING_CUSTOM_SCHEME=["x-",{"tokenField":"Title"}])", "name", "--scheme", "custom"}
            << "x-Blue Hour.mp3" << 0;
        QTest::newRow("upper-case extension")
            << QStringList{"-D", "CAPITALIZATION_UPPER_CASE=true", "name", "--scheme", "artist-title"}
            << "Nina - Blue Hour.MP3" << 0;
        QTest::newRow("value missing") << QStringList{"name", "--pattern", "{Composer} {Title}"} << "a.mp3" << 1;
        QTest::newRow("dry run") << QStringList{"--dry-run", "name", "--scheme", "artist-title"} << "a.mp3" << 0;
    }

    void names()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expectedName);
        QFETCH(int, exitCode);
        const QString path = makeSong(m_songs, "mp3", "a.mp3", blueHour());
        QVERIFY(!path.isEmpty());
        const QByteArray before = fileBytes(path);

        const CliRun result = run(arguments + QStringList{path});
        QVERIFY2(result.exitCode == exitCode, result.err.constData());
        QCOMPARE(fileNames(m_songs), QStringList{expectedName});
        const QString now = QDir(m_songs).filePath(expectedName);
        if (now == path)
            QCOMPARE(fileBytes(path), before);
        else
            QCOMPARE(readSong(now)->title(), QStringLiteral("Blue Hour"));
        if (exitCode != 0)
            QVERIFY2(result.err.contains("a.mp3"), result.err.constData());
    }

    void nameCollisionKeepsBothFiles()
    {
        QVariantMap first = blueHour();
        first.insert("comment", "first");
        QVariantMap second = blueHour();
        second.insert("comment", "second");
        QVERIFY(!makeSong(m_songs, "mp3", "1.mp3", first).isEmpty());
        const QString secondPath = makeSong(m_songs, "mp3", "2.mp3", second);
        QVERIFY(!secondPath.isEmpty());
        const QByteArray secondBefore = fileBytes(secondPath);

        // Both songs want the same name: the first gets it, the second keeps its own.
        const CliRun result = run({"name", "--scheme", "artist-title", m_songs});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains("2.mp3"), result.err.constData());
        QCOMPARE(fileNames(m_songs), (QStringList{"2.mp3", "Nina - Blue Hour.mp3"}));
        QCOMPARE(fileBytes(secondPath), secondBefore);
        QCOMPARE(readSong(QDir(m_songs).filePath("Nina - Blue Hour.mp3"))->comment(), QStringLiteral("first"));
    }

    void extracts_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QVariantMap>("before");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QVariantMap>("expected");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("stored scheme from the file name")
            << "07 Night Train.mp3" << QVariantMap() << QStringList()
            << QVariantMap{{"track", "07"}, {"title", "Night Train"}} << 0;
        QTest::newRow("track-artist-title")
            << "07 - The Rails - Night Train.flac" << QVariantMap() << QStringList{"--scheme", "track-artist-title"}
            << QVariantMap{{"track", "07"}, {"artist", "The Rails"}, {"title", "Night Train"}} << 0;
        QTest::newRow("literal repeated inside the value")
            << "The Rails - Live - Night Train.m4a" << QVariantMap() << QStringList{"--pattern", "{Artist} - {Title}"}
            << QVariantMap{{"artist", "The Rails"}, {"title", "Live - Night Train"}} << 0;
        QTest::newRow("from the title")
            << "x.mp3" << QVariantMap{{"title", "Nina / Coast"}}
            << QStringList{"--source", "title", "--pattern", "{Artist} / {Album}"}
            << QVariantMap{{"artist", "Nina"}, {"album", "Coast"}, {"title", "Nina / Coast"}} << 0;
        // The tool fills the track before it finds that the rest does not fit; the song is not saved.
        QTest::newRow("name does not fit")
            << "07 Night Train.mp3" << QVariantMap{{"track", "5/9"}, {"artist", "Keep"}}
            << QStringList{"--scheme", "track-artist-title"}
            << QVariantMap{{"track", "5/9"}, {"artist", "Keep"}, {"title", ""}} << 1;
    }

    void extracts()
    {
        QFETCH(QString, fileName);
        QFETCH(QVariantMap, before);
        QFETCH(QStringList, arguments);
        QFETCH(QVariantMap, expected);
        QFETCH(int, exitCode);
        const QString path = makeSong(m_songs, QFileInfo(fileName).suffix(), fileName, before);
        QVERIFY(!path.isEmpty());
        const CliRun result = run(QStringList{"extract"} + arguments + QStringList{path});
        QVERIFY2(result.exitCode == exitCode, result.err.constData());
        QCOMPARE(fileNames(m_songs), QStringList{fileName});
        const std::unique_ptr<Song> after = readSong(path);
        QVERIFY(after);
        compareValues(*after, expected);
    }

    void composes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QVariantMap>("expected");
        QTest::newRow("stored scheme") << QStringList() << QVariantMap{{"title", "Blue Hour 3"}, {"comment", ""}};
        QTest::newRow("custom into the comment")
            << QStringList{"--pattern", "{Artist}: {Album} ({Year})", "--target", "comment"}
            << QVariantMap{{"title", "Blue Hour"}, {"comment", "Nina: Coast (1999)"}};
        QTest::newRow("custom scheme, stored target")
            << QStringList{"-D", "COMPOSITION_TARGET=comment", "-D", R"(COMPOSE_CUSTOM_SCHEME=[{"tokenField":"Track Total"}])",
                           "--scheme", "custom"}
            << QVariantMap{{"title", "Blue Hour"}, {"comment", "12"}};
    }

    void composes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QVariantMap, expected);
        const QString path = makeSong(m_songs, "flac", "a.flac", blueHour());
        const CliRun result = run(QStringList{"compose"} + arguments + QStringList{path});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        compareValues(*readSong(path), expected);
    }

    void numbers_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("tracks");
        QTest::addColumn<QStringList>("discs");
        const QStringList untouched(5, QStringLiteral("9/9"));
        QTest::newRow("one segment")
            << QStringList{"number"} << QStringList{"01/05", "02/05", "03/05", "04/05", "05/05"} << untouched;
        QTest::newRow("no zeros, no count")
            << QStringList{"-D", "NUMBERING_LEADING_ZERO=false", "-D", "NUMBERING_TRACK_COUNT=false", "number"}
            << QStringList{"1", "2", "3", "4", "5"} << untouched;
        const QStringList tracks = {"01/03", "02/03", "03/03", "01/02", "02/02"};
        const QStringList discs = {"01/02", "01/02", "01/02", "02/02", "02/02"};
        QTest::newRow("disc starts ending with the count plus 1")
            << QStringList{"number", "--disc-starts", "1,4,6"} << tracks << discs;
        QTest::newRow("disc starts without their end") << QStringList{"number", "--disc-starts", "1,4"} << tracks << discs;
        QTest::newRow("one disc, whole list")
            << QStringList{"number", "--disc-starts", "1,6"} << QStringList{"01/05", "02/05", "03/05", "04/05", "05/05"}
            << untouched;
        QTest::newRow("a disc of one song at the end")
            << QStringList{"number", "--disc-starts", "1,5"} << QStringList{"01/04", "02/04", "03/04", "04/04", "01/01"}
            << QStringList{"01/02", "01/02", "01/02", "01/02", "02/02"};
    }

    void numbers()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, tracks);
        QFETCH(QStringList, discs);
        const QStringList paths = makeSongs(5, {{"track", "9/9"}, {"disc", "9/9"}, {"title", "t"}});
        const CliRun result = run(arguments + QStringList{m_songs});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QStringList readTracks;
        QStringList readDiscs;
        for (const QString &path : paths) {
            const std::unique_ptr<Song> song = readSong(path);
            readTracks.append(song->track());
            readDiscs.append(song->disc());
        }
        QCOMPARE(readTracks, tracks);
        QCOMPARE(readDiscs, discs);
    }

    void capitalizes_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::newRow("stored mode") << QStringList() << "The Mccartney Song of Été" << "Nina Straße";
        QTest::newRow("title, keeping capitals")
            << QStringList{"--mode", "title", "--keep-capitals"} << "The mcCartney Song of ÉTÉ" << "Nina Straße";
        QTest::newRow("upper") << QStringList{"--mode", "upper"} << "THE MCCARTNEY SONG OF ÉTÉ" << "NINA STRASSE";
        QTest::newRow("lower") << QStringList{"--mode", "lower"} << "the mccartney song of été" << "nina straße";
    }

    void capitalizes()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, title);
        QFETCH(QString, artist);
        const QString path = makeSong(m_songs, "m4a", "a.m4a",
                                      {{"title", "the mcCartney song of ÉTÉ"}, {"artist", "nina straße"},
                                       {"comment", "keep me"}});
        const CliRun result = run(QStringList{"case"} + arguments + QStringList{path});
        QVERIFY2(result.exitCode == 0, result.err.constData());
        const std::unique_ptr<Song> after = readSong(path);
        QCOMPARE(after->title(), title);
        QCOMPARE(after->artist(), artist);
        QCOMPARE(after->comment(), QStringLiteral("keep me"));
    }

    void allInOne_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("unnamed"); // the song without an artist, which cannot be named; 0 for none
        QTest::addColumn<QStringList>("names");
        QTest::addColumn<QStringList>("discs");
        QTest::newRow("one segment")
            << QStringList() << 0
            << QStringList{"01 - The Rails - Song 1.mp3", "02 - The Rails - Song 2.mp3", "03 - The Rails - Song 3.mp3"}
            << QStringList{"", "", ""};
        QTest::newRow("disc starts")
            << QStringList{"--disc-starts", "1,3"} << 0
            << QStringList{"01 - The Rails - Song 1.mp3", "01 - The Rails - Song 3.mp3", "02 - The Rails - Song 2.mp3"}
            << QStringList{"01/02", "02/02", "01/02"};
        // Numbered and capitalized, then not named: the window would keep that for review, a script
        // gets the file as it was.
        QTest::newRow("a song it could not name")
            << QStringList() << 2 << QStringList{"01 - The Rails - Song 1.mp3", "03 - The Rails - Song 3.mp3", "2.mp3"}
            << QStringList{"", ""};
    }

    void allInOne()
    {
        QFETCH(QStringList, options);
        QFETCH(int, unnamed);
        QFETCH(QStringList, names);
        QFETCH(QStringList, discs);
        QByteArray unnamedBefore;
        for (int i = 1; i <= 3; ++i) {
            QVariantMap values{{"title", QStringLiteral("song %1").arg(i)}, {"artist", "the rails"}};
            if (i == unnamed)
                values.remove("artist");
            const QString path = makeSong(m_songs, "mp3", QStringLiteral("%1.mp3").arg(i), values);
            if (i == unnamed)
                unnamedBefore = fileBytes(path);
        }
        const CliRun result = run(QStringList{"all-in-one"} + options + QStringList{m_songs});
        QVERIFY2(result.exitCode == (unnamed ? 1 : 0), result.err.constData());
        QCOMPARE(fileNames(m_songs), names);
        for (qsizetype i = 0; i < discs.size(); ++i) {
            const std::unique_ptr<Song> song = readSong(QDir(m_songs).filePath(names.at(i)));
            QCOMPARE(song->artist(), QStringLiteral("The Rails"));
            QCOMPARE(song->disc(), discs.at(i));
            QVERIFY(song->track().startsWith(names.at(i).left(2) + QLatin1Char('/')));
        }
        if (unnamed) {
            QVERIFY2(result.err.contains(names.constLast().toUtf8()), result.err.constData());
            QCOMPARE(fileBytes(QDir(m_songs).filePath(names.constLast())), unnamedBefore);
        }
    }

    void usageErrorsChangeNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // A text the message must hold, when it matters.
        QTest::addColumn<QString>("reported");
        QTest::newRow("unknown scheme") << QStringList{"name", "--scheme", "title-artist"} << QString();
        QTest::newRow("pattern with a fixed scheme") << QStringList{"name", "--scheme", "artist-title", "--pattern", "{Title}"} << QString();
        QTest::newRow("unknown token") << QStringList{"name", "--pattern", "{Track} {Name}"} << QString();
        QTest::newRow("unclosed brace") << QStringList{"name", "--pattern", "{Track"} << QString();
        QTest::newRow("neighbouring tokens to extract") << QStringList{"extract", "--pattern", "{Track}{Title}"} << QString();
        QTest::newRow("unknown source") << QStringList{"extract", "--source", "album"} << QString();
        QTest::newRow("target with the fixed scheme") << QStringList{"compose", "--target", "comment"} << QString();
        QTest::newRow("unknown target") << QStringList{"compose", "--scheme", "custom", "--target", "lyrics"} << QString();
        QTest::newRow("unknown mode") << QStringList{"case", "--mode", "sentence"} << QString();
        QTest::newRow("disc starts not numbers") << QStringList{"all-in-one", "--disc-starts", "one"} << QString();
        QTest::newRow("disc start beyond the songs") << QStringList{"all-in-one", "--disc-starts", "1,4"} << QString();
        QTest::newRow("disc starts not from 1") << QStringList{"number", "--disc-starts", "2,3"} << QString();
        QTest::newRow("disc start repeated later") << QStringList{"number", "--disc-starts", "1,2,2"} << QString();
        QTest::newRow("empty disc starts") << QStringList{"number", "--disc-starts", ""} << QString();
        QTest::newRow("empty pattern") << QStringList{"compose", "--pattern", ""} << "empty";
        QTest::newRow("empty pattern to extract") << QStringList{"extract", "--scheme", "custom", "--pattern="} << "empty";
        QTest::newRow("custom scheme without a stored pattern")
            << QStringList{"compose", "--scheme", "custom"} << "COMPOSE_CUSTOM_SCHEME";
        QTest::newRow("custom naming without a stored pattern")
            << QStringList{"-D", "NAMING_CUSTOM_SCHEME=[]", "name", "--scheme", "custom"} << "NAMING_CUSTOM_SCHEME";
        QTest::newRow("no scheme on: the custom pattern is in effect")
            << QStringList{"-D", "COMPOSE_TITLE_AND_TRACK=false", "compose"} << "COMPOSE_CUSTOM_SCHEME";
        QTest::newRow("composition target outside its choices")
            << QStringList{"-D", "COMPOSITION_TARGET=artist", "compose"} << "title, comment";
        QTest::newRow("extraction source outside its choices")
            << QStringList{"-D", "EXTRACTION_SOURCE=bogus", "extract"} << "fileNameWithoutExtension, title";
        QTest::newRow("stored pattern with an unknown token")
            << QStringList{"-D", R"(NAMING_CUSTOM_SCHEME=[{"tokenField":"Name"}])", "name"} << "NAMING_CUSTOM_SCHEME";
        QTest::newRow("stored pattern of numbers") << QStringList{"-D", "EXTRACT_CUSTOM_SCHEME=[1,2]", "extract"} << "1, 2";
        QTest::newRow("picture size zero") << QStringList{"-D", "SCALE_MAX_PIXEL_SIZE=0", "case"} << "positive";
        QTest::newRow("lookup address not on the web")
            << QStringList{"-D", "DISCOGS_API_URL=file:///etc", "case"} << "http";
    }

    void usageErrorsChangeNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, reported);
        const QStringList paths = makeSongs(2, blueHour());
        const QByteArray before = fileBytes(paths.at(0));
        const CliRun result = run(arguments + paths);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.out.isEmpty());
        QVERIFY(!result.err.isEmpty());
        QVERIFY2(QString::fromUtf8(result.err).contains(reported), result.err.constData());
        QCOMPARE(fileNames(m_songs), (QStringList{"1.mp3", "2.mp3"}));
        QCOMPARE(fileBytes(paths.at(0)), before);
    }

private:
    CliRun run(const QStringList &arguments) { return runCli(arguments, m_config); }
    // Songs "1.mp3" ... in the song folder, each with the values; their paths in walk order.

    QStringList makeSongs(int count, const QVariantMap &values)
    {
        QStringList paths;
        for (int i = 1; i <= count; ++i)
            paths.append(makeSong(m_songs, "mp3", QStringLiteral("%1.mp3").arg(i), values));
        return paths;
    }

    QTemporaryDir m_work;
    QString m_config;
    QString m_songs;
};

QTEST_GUILESS_MAIN(TestCliTools)
#include "test_cli_tools.moc"
