// End-to-end runs of "quorl-cli export" and "import" on tagged copies of the fixtures: the song
// list on standard output and in a file, an edited list applied and read back from disk, lists
// that are refused leaving every file as it was, and writes that fail.

#include "clitesting.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// The list of the two songs init() makes. Both have a track and a disc, as an empty cell in
// either column is refused on import.
const QByteArray Header = "Track\tTitle\tArtist\tAlbum Artist\tComposer\tAlbum\tDisc\tGenre\tYear\tComment\tFile Name\n";
const QByteArray RowA = "3/12\tBlue Hour\tNina\t\t\tCoast\t1/1\t\t1999\tfirst\ta.mp3\n";
const QByteArray RowB = "4\tSalt\tOla\tThe Band\t\tCoast\t1/2\tJazz\t\t\tb.flac\n";

} // namespace

class TestCliTsv : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(prepareCliTests(m_work));
    }

    void init()
    {
        QVERIFY(nextCliFolders(m_work, &m_config, &m_folder));
        m_paths = {
            makeSong(m_folder, "mp3", "a.mp3",
                     {{"track", "3/12"}, {"title", "Blue Hour"}, {"artist", "Nina"}, {"album", "Coast"},
                      {"disc", "1/1"}, {"year", 1999}, {"comment", "first"}}),
            makeSong(m_folder, "flac", "b.flac",
                     {{"track", "4"}, {"title", "Salt"}, {"artist", "Ola"}, {"albumArtist", "The Band"},
                      {"album", "Coast"}, {"disc", "1/2"}, {"genre", "Jazz"}}),
        };
        QVERIFY(!m_paths.contains(QString()));
    }

    void exports_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("outputName");
        QTest::newRow("standard output") << QStringList{} << QString();
        QTest::newRow("-o replaces a file") << QStringList{"-o", "list.tsv"} << "list.tsv";
        QTest::newRow("--output=") << QStringList{"--output=list.tsv"} << "list.tsv";
    }

    void exports()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, outputName);
        const QString outputPath = QDir(m_folder).filePath(outputName);
        if (!outputName.isEmpty()) {
            QVERIFY(QDir::setCurrent(m_folder));
            QFile old(outputPath);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("an older, longer list that must disappear whole\n\n\n");
        }
        const CliRun result = run(QStringList{"export"} + options + m_paths);
        QCOMPARE(result.exitCode, 0);
        const QByteArray expected = Header + RowA + RowB;
        if (outputName.isEmpty()) {
            QCOMPARE(result.out, expected);
        } else {
            QVERIFY(result.out.isEmpty());
            QCOMPARE(fileBytes(outputPath), expected);
        }
    }

    void importsEditedList()
    {
        QByteArray list = run(QStringList{"export"} + m_paths).out;
        list.replace("Blue Hour", "Red Hour").replace("\t1999\t", "\t2001\t").replace("4\tSalt", "7/9\tPepper");
        const QString listPath = writeFile(m_work, QStringLiteral("edited.tsv"), list);
        const CliRun result = run(QStringList{"import", listPath} + m_paths);
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(!result.err.contains("could not"), result.err.constData());
        QVERIFY2(result.out.startsWith("Files saved: 2."), result.out.constData());
        QCOMPARE(fileBytes(listPath), list);

        const std::unique_ptr<Song> a = readSong(m_paths.at(0));
        const std::unique_ptr<Song> b = readSong(m_paths.at(1));
        QVERIFY(a && b);
        QCOMPARE(a->title(), QStringLiteral("Red Hour"));
        QCOMPARE(a->year(), 2001);
        QCOMPARE(a->track(), QStringLiteral("3/12"));
        QCOMPARE(a->artist(), QStringLiteral("Nina"));
        QCOMPARE(a->comment(), QStringLiteral("first"));
        QCOMPARE(a->disc(), QStringLiteral("1/1"));
        QCOMPARE(b->title(), QStringLiteral("Pepper"));
        QCOMPARE(b->track(), QStringLiteral("7/9"));
        QCOMPARE(b->albumArtist(), QStringLiteral("The Band"));
        QCOMPARE(b->disc(), QStringLiteral("1/2"));
        QCOMPARE(b->genre(), QStringLiteral("Jazz"));
    }

    void exportedListImportsAgain()
    {
        // Songs without a track or disc export empty cells, which clear the fields on import.
        const QStringList bare = {makeSong(m_folder, "m4a", "c.m4a", {{"title", "Bare"}}),
                                  makeSong(m_folder, "wav", "d.wav")};
        const QStringList paths = m_paths + bare;
        QByteArray list = run(QStringList{"export"} + paths).out;
        QVERIFY(list.contains("\tBare\t"));
        QVERIFY(list.contains("3/12\tBlue Hour"));
        const QString listPath = writeFile(m_work, QStringLiteral("again.tsv"), list.replace("3/12\tBlue Hour", "\tBlue Hour"));
        const CliRun result = run(QStringList{"import", listPath} + paths);
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QCOMPARE(readSong(m_paths.at(0))->track(), QString());
        QCOMPARE(readSong(m_paths.at(0))->title(), QStringLiteral("Blue Hour"));
        QCOMPARE(readSong(m_paths.at(1))->track(), QStringLiteral("4"));
        QCOMPARE(readSong(bare.at(0))->title(), QStringLiteral("Bare"));
    }

    void importsWindowsList()
    {
        // As a spreadsheet program on Windows saves it: Windows-1252, no byte-order mark.
        const QString listPath = writeFile(m_work, QStringLiteral("windows.tsv"),
                                           "Title\tArtist\nCaf\xe9\tSe\xf1or\nIt\x92s \x96 live\tX\n");
        const CliRun result = run(QStringList{"import", listPath} + m_paths);
        QVERIFY2(result.exitCode == 0, result.err.constData());
        QCOMPARE(readSong(m_paths.at(0))->title(), QStringLiteral("Café"));
        QCOMPARE(readSong(m_paths.at(0))->artist(), QStringLiteral("Señor"));
        QCOMPARE(readSong(m_paths.at(1))->title(), QStringLiteral("It’s – live"));
    }

    void refusedListChangesNothing_data()
    {
        QTest::addColumn<QStringList>("globalOptions");
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QString>("reported");
        QTest::newRow("track not a number")
            << QStringList{} << QByteArray("Track\tTitle\nabc\tX\n1\tY\n") << "Song 1: the track";
        QTest::newRow("year not a number")
            << QStringList{} << QByteArray("Year\tTitle\n1999\tX\nlate\tY\n") << "Song 2: the year";
        QTest::newRow("record with a field too many")
            << QStringList{} << QByteArray("Track\tTitle\n1\t\"a\nb\"\tc\n2\tY\n") << "Song 1 has more values";
        QTest::newRow("tab counts differ, forced save")
            << QStringList{"--force"} << QByteArray("Track\tTitle\n1\tX\n2\tY\textra\n") << "Line 3";
        QTest::newRow("fewer records than songs")
            << QStringList{} << QByteArray("Track\tTitle\n1\tX\n") << "does not match";
        QTest::newRow("text after a closing quote")
            << QStringList{} << QByteArray("Track\tTitle\n1\t\"X\"y\n2\tY\n") << "Could not import";
        QTest::newRow("no such file") << QStringList{} << QByteArray() << "could not be read";
    }

    void refusedListChangesNothing()
    {
        QFETCH(QStringList, globalOptions);
        QFETCH(QByteArray, list);
        QFETCH(QString, reported);
        const QString name = QStringLiteral("bad%1.tsv").arg(QTest::currentDataTag());
        const QString listPath = list.isEmpty() ? m_work.filePath(name) : writeFile(m_work, name, list);
        const QByteArray before0 = fileBytes(m_paths.at(0));
        const QByteArray before1 = fileBytes(m_paths.at(1));

        const CliRun result = run(globalOptions + QStringList{"import", listPath} + m_paths);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(QString::fromUtf8(result.err).contains(reported), result.err.constData());
        QVERIFY(result.out.isEmpty());
        QCOMPARE(fileBytes(m_paths.at(0)), before0);
        QCOMPARE(fileBytes(m_paths.at(1)), before1);
    }

    void exportToMissingFolderFails()
    {
        const QString target = QDir(m_folder).filePath("missing/list.tsv");
        const CliRun result = run(QStringList{"export", "-o", target} + m_paths);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains("could not be exported"), result.err.constData());
        QVERIFY(result.out.isEmpty());
        QVERIFY(!QFileInfo::exists(QFileInfo(target).path()));
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("import without a list") << QStringList{"import"};
        QTest::newRow("import without paths") << QStringList{"import", "list.tsv"};
        QTest::newRow("export -o without a value") << QStringList{"export", "-o"};
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        const CliRun result = run(arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(!result.err.isEmpty());
    }

private:
    CliRun run(const QStringList &arguments) { return runCli(arguments, m_config); }

    QTemporaryDir m_work;
    QString m_config;
    QString m_folder;
    QStringList m_paths;
};

QTEST_GUILESS_MAIN(TestCliTsv)
#include "test_cli_tsv.moc"
