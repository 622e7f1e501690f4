#include "fixtures.h"
#include "model/localized.h"
#include "model/song.h"
#include "patterntesting.h"
#include "tools/importexportassistant.h"
#include "tools/linereader.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <vector>

namespace {

// The import's success, or its code; Malformed for a list the reader refused.
constexpr int Applied = -1;
constexpr int Malformed = 0;

const QByteArray Header = "Track\tTitle\tArtist\tAlbum Artist\tComposer\tAlbum\tDisc\tGenre\tYear\tComment\tFile Name\n";

// Songs as loading leaves them, all with the same values apart from the title and file.
std::vector<std::unique_ptr<Song>> makeSongs(int count)
{
    static const QStringList extensions{QStringLiteral("mp3"), QStringLiteral("flac"), QStringLiteral("m4a")};
    std::vector<std::unique_ptr<Song>> songs;
    for (int i = 1; i <= count; ++i) {
        songs.push_back(makeSong(QStringLiteral("/music/%1.%2").arg(i).arg(extensions[(i - 1) % 3]),
                                 {{"track", "5/9"},
                                  {"title", QStringLiteral("Old %1").arg(i)},
                                  {"artist", "A"},
                                  {"albumArtist", "AA"},
                                  {"composer", "C"},
                                  {"album", "Al"},
                                  {"disc", "1/2"},
                                  {"genre", "G"},
                                  {"year", 1999},
                                  {"comment", "Cm"}}));
    }
    return songs;
}

QList<Song *> pointers(const std::vector<std::unique_ptr<Song>> &songs)
{
    QList<Song *> list;
    for (const auto &song : songs)
        list.append(song.get());
    return list;
}

// The eleven fields the import copies, in its order.
QString state(const Song &song)
{
    return QStringList{song.track(), song.title(), song.artist(), song.albumArtist(), song.composer(), song.album(),
                       song.disc(), song.genre(), QString::number(song.year()), song.comment(), song.fileName()}
        .join(u'|');
}

QStringList states(const std::vector<std::unique_ptr<Song>> &songs)
{
    QStringList list;
    for (const auto &song : songs)
        list.append(state(*song));
    return list;
}

QString text(const char *key, int number)
{
    return Localized::text(key).arg(number);
}

QByteArray utf16WithMark(const QString &text)
{
    QStringEncoder encoder(QStringConverter::Utf16LE);
    return QByteArray("\xff\xfe") + QByteArray(encoder.encode(text));
}

} // namespace

class TestTsvImport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void lineReader_data();
    void lineReader();
    void lineReaderRestartsAtPosition();
    void firstCheck_data();
    void firstCheck();
    void unreadableFileFails();
    void import_data();
    void import();
    void importStateAfterReading();

private:
    QTemporaryDir m_dir;
};

void TestTsvImport::initTestCase()
{
    QVERIFY(useEditorSettings(m_dir));
}

void TestTsvImport::lineReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QStringList>("trimmed");

    QTest::newRow("final line feed") << QByteArray("a\tb\nc\n") << QStringList{"a\tb\n", "c\n"}
                                     << QStringList{"a\tb", "c"};
    QTest::newRow("no final line feed") << QByteArray("a\nb") << QStringList{"a\n", "b"} << QStringList{"a", "b"};
    QTest::newRow("CR stays with its line") << QByteArray("a\r\nb\rc") << QStringList{"a\r\n", "b\rc"}
                                            << QStringList{"a", "b\rc"};
    QTest::newRow("blank lines are lines") << QByteArray("\n  \t\n") << QStringList{"\n", "  \t\n"}
                                           << QStringList{"", ""};
    QTest::newRow("empty") << QByteArray() << QStringList() << QStringList();
    QTest::newRow("invalid UTF-8 ends reading") << QByteArray("a\nb\xff\nc\n") << QStringList{"a\n"}
                                                << QStringList{"a"};
    QTest::newRow("character cut by the end of the line") << QByteArray("\xc3\n") << QStringList()
                                                          << QStringList();
    QTest::newRow("multi-byte characters") << QByteArray(" Zoë\t日本 \n") << QStringList{" Zoë\t日本 \n"}
                                           << QStringList{"Zoë\t日本"};
}

void TestTsvImport::lineReader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QFETCH(QStringList, trimmed);

    LineReader reader(bytes, QStringConverter::Utf8);
    QStringList read;
    for (QString line = reader.readLine(); !line.isNull(); line = reader.readLine())
        read.append(line);
    QCOMPARE(read, lines);
    QCOMPARE(reader.linesRead(), lines.size());

    LineReader trimming(bytes, QStringConverter::Utf8);
    read.clear();
    for (QString line = trimming.readTrimmedLine(); !line.isNull(); line = trimming.readTrimmedLine())
        read.append(line);
    QCOMPARE(read, trimmed);
}

void TestTsvImport::lineReaderRestartsAtPosition()
{
    const QString path = writeFile(m_dir, QStringLiteral("lines.txt"), "one\ntwo\nthree");
    LineReader reader(path, QStringConverter::Utf8);
    QVERIFY(reader.isReadable());
    QCOMPARE(reader.readLine(), QStringLiteral("one\n"));
    QCOMPARE(reader.readLine(), QStringLiteral("two\n"));
    QCOMPARE(reader.linesRead(), 2);
    reader.setLineSearchPosition(1);
    QCOMPARE(reader.linesRead(), 0);
    QCOMPARE(reader.readLine(), QStringLiteral("ne\n"));
    QCOMPARE(reader.readLine(), QStringLiteral("two\n"));
    QCOMPARE(reader.readLine(), QStringLiteral("three"));
    QVERIFY(reader.readLine().isNull());
    QCOMPARE(reader.linesRead(), 3);

    LineReader missing(m_dir.filePath(QStringLiteral("missing.txt")), QStringConverter::Utf8);
    QVERIFY(!missing.isReadable());
    QVERIFY(missing.readLine().isNull());
}

void TestTsvImport::firstCheck_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("badLine");

    const QByteArray ten = "a\tb\tc\td\te\tf\tg\th\ti\tj\tk\n";
    const QByteArray nine = "a\tb\tc\td\te\tf\tg\th\ti\tj\n";
    QTest::newRow("consistent") << ten + ten + ten << 0;
    QTest::newRow("third line with nine TABs") << ten + ten + nine + ten << 3;
    QTest::newRow("extra empty line at the end") << ten + ten + "\n" << 3;
    QTest::newRow("no final line feed") << ten + ten.chopped(1) << 0;
    QTest::newRow("single line") << QByteArray("Title") << 0;
    QTest::newRow("empty file") << QByteArray() << 0;
    QTest::newRow("line break inside a quoted value") << QByteArray("Title\tArtist\n\"a\nb\"\tc\n") << 2;
    // The check reads UTF-8 only and stops at the first line that is not.
    QTest::newRow("invalid UTF-8 stops the check") << ten + "\xff\n" + nine << 0;
    QTest::newRow("UTF-16 is not checked") << utf16WithMark(QStringLiteral("a\tb\nc\n")) << 0;
}

void TestTsvImport::firstCheck()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, badLine);

    const std::optional<ImportError> error = ImportExportAssistant::validateTsv(bytes);
    QCOMPARE(error.has_value(), badLine > 0);
    if (error) {
        QCOMPARE(error->code, ImportError::TabCountNotConsistent);
        QCOMPARE(error->description, text("NumberOfTabsNotConsistent", badLine));
    }
    const QString path = writeFile(m_dir, QStringLiteral("check.tsv"), bytes);
    const std::optional<ImportError> fromFile = ImportExportAssistant::validateTsv(path);
    QCOMPARE(fromFile.has_value(), error.has_value());
}

void TestTsvImport::unreadableFileFails()
{
    auto songs = makeSongs(1);
    const QStringList before = states(songs);
    const QString missing = m_dir.filePath(QStringLiteral("missing.tsv"));

    const std::optional<ImportError> checked = ImportExportAssistant::validateTsv(missing);
    QVERIFY(checked);
    QCOMPARE(checked->code, ImportError::CouldNotParse);

    ImportExportAssistant assistant;
    const std::optional<ImportError> error = assistant.importSongTags(pointers(songs), missing);
    QVERIFY(error);
    QCOMPARE(error->code, ImportError::CouldNotParse);
    QCOMPARE(error->description, Localized::text("CouldNotParse"));
    QVERIFY(!assistant.applied());
    QCOMPARE(states(songs), before);
}

void TestTsvImport::import_data()
{
    QTest::addColumn<int>("songCount");
    QTest::addColumn<QByteArray>("tsv");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("errors");
    // After a failure, the songs keep the values of makeSongs().
    QTest::addColumn<QStringList>("after");

    const QString mismatch = Localized::text("NumberOfSelectedAndImportedSongsDoNotMatch");
    QTest::newRow("whole list") << 2
                                << Header + "03/12\tT1\tAr\tAA1\tCo\tAl1\t1/2\tRock\t2001\tC1\tnew.mp3\n"
                                            "/7\tT2\tAr2\t\t\t\t2\t\t\t\tnew.mp3\n"
                                << Applied << QString()
                                << QStringList{"03/12|T1|Ar|AA1|Co|Al1|1/2|Rock|2001|C1|new.mp3",
                                               // The name lacks the song's extension, so it stays.
                                               "/7|T2|Ar2||||2||0||2.flac"};
    QTest::newRow("title column only clears the rest") << 3 << QByteArray("Title\nX\nY\nZ\n") << Applied << QString()
                                                       << QStringList{"|X|||||||0||1.mp3", "|Y|||||||0||2.flac",
                                                                      "|Z|||||||0||3.m4a"};
    QTest::newRow("columns in any order, unknown ones ignored")
        << 1 << QByteArray("Notes\tYear\tTrack\tDisc Total\tTrack Total\tBitrate\tTitle\nx\t1984\t1\t9\t9\t320\tT\n")
        << Applied << QString() << QStringList{"1|T|||||||1984||1.mp3"};
    QTest::newRow("blanks around values") << 1 << QByteArray("Title\tArtist\n  T  \t A \n") << Applied << QString()
                                          << QStringList{"|T|A||||||0||1.mp3"};
    QTest::newRow("quotes stay in the value") << 1 << QByteArray("Title\n\"Hello \"\"you\"\"\"\n") << Applied
                                              << QString() << QStringList{"|\"Hello \"\"you\"\"\"|||||||0||1.mp3"};
    QTest::newRow("years") << 3 << QByteArray("Title\tYear\na\t1999\nb\t0\nc\t\n") << Applied << QString()
                           << QStringList{"|a|||||||1999||1.mp3", "|b|||||||0||2.flac", "|c|||||||0||3.m4a"};
    QTest::newRow("padded year and a date") << 2 << QByteArray("Year\n 2020x\n1987-05-01\n") << Applied << QString()
                                            << QStringList{"||||||||2020||1.mp3", "||||||||1987||2.flac"};
    QTest::newRow("years that are no numbers") << 3 << QByteArray("Year\n1999\nabc\n-5\n") << 102
                                               << text("NotAValidYearInRecordError", 2)
                                                      + text("NotAValidYearInRecordError", 3)
                                               << QStringList();
    QTest::newRow("one record for two songs") << 2 << QByteArray("Title\nX\n") << 102 << mismatch << QStringList();
    QTest::newRow("three records for two songs") << 2 << QByteArray("Title\nX\nY\nZ\n") << 102 << mismatch
                                                 << QStringList();
    QTest::newRow("empty track and disc cells of an exported list clear them")
        << 2 << Header + "\tT1\t\t\t\t\t\t\t\t\t1.mp3\n \tT2\t\t\t\t\t \t\t\t\t2.flac\n" << Applied << QString()
        << QStringList{"|T1|||||||0||1.mp3", "|T2|||||||0||2.flac"};
    QTest::newRow("bad track and disc") << 3 << QByteArray("Track\tDisc\n1\t1\n0/3\t2\n3\t1/2/3\n") << 102
                                        << text("NotAValidTrackTagInRecordError", 2)
                                               + text("NotAValidDiscTagInRecordError", 3)
                                        << QStringList();
    QTest::newRow("padded track") << 1 << QByteArray("Track\n 5\n") << 102
                                  << text("NotAValidTrackTagInRecordError", 1) << QStringList();
    QTest::newRow("problems and a count mismatch") << 2 << QByteArray("Track\nx\n") << 102
                                                   << text("NotAValidTrackTagInRecordError", 1) + mismatch
                                                   << QStringList();
    QTest::newRow("tab count differs") << 2 << QByteArray("Title\tArtist\nX\tY\nZ\n") << 101
                                       << text("NumberOfTabsNotConsistent", 3) << QStringList();
    QTest::newRow("extra empty line") << 1 << QByteArray("Title\tArtist\nX\tY\n\n") << 101
                                      << text("NumberOfTabsNotConsistent", 3) << QStringList();
    QTest::newRow("final line feed imports the record once") << 1 << QByteArray("Title\tArtist\nX\tY\n") << Applied
                                                             << QString() << QStringList{"|X|Y||||||0||1.mp3"};
    // Each line has one TAB, but the quoted value joins two lines into a record of three fields.
    QTest::newRow("more fields than column names") << 1 << QByteArray("Title\tArtist\nA\t\"x\ny\"\tB\n") << 102
                                                   << text("TooManyFieldsInRecordError", 1) << QStringList();
    QTest::newRow("text after a closing quote") << 1 << QByteArray("Title\tArtist\n\"A\" x\tB\n") << Malformed
                                                << QString() << QStringList();
    // Problems found before the reader gave up are still reported; the quoted track "1" with its
    // quotes is one of them.
    QTest::newRow("bad record before a malformed one") << 2 << QByteArray("Track\tTitle\nx\tA\n\"1\"y\tB\n") << 102
                                                       << text("NotAValidTrackTagInRecordError", 1)
                                                              + text("NotAValidTrackTagInRecordError", 2)
                                                       << QStringList();
    QTest::newRow("header only, nothing selected") << 0 << Header << Applied << QString() << QStringList();
    QTest::newRow("empty file, one song") << 1 << QByteArray() << 102 << mismatch << QStringList();
    QTest::newRow("UTF-16 list") << 1 << utf16WithMark(QStringLiteral("Title\tArtist\nZoë\t日本\n")) << Applied
                                 << QString() << QStringList{"|Zoë|日本||||||0||1.mp3"};
    QTest::newRow("Mac OS Roman list") << 1 << QByteArray("Title\tArtist\nCaf\x8e\tM\x9ala\n") << Applied << QString()
                                       << QStringList{"|Café|Möla||||||0||1.mp3"};
    QTest::newRow("file name with the song's extension") << 1 << QByteArray("File Name\tTitle\nNew Name.MP3\tT\n")
                                                         << Applied << QString()
                                                         << QStringList{"|T|||||||0||New Name.MP3"};
    // The name is made usable when the file is renamed; the import refuses only names that no
    // rename could give.
    QTest::newRow("file name with a NUL") << 1 << QByteArray("File Name\n01. and\0.mp3\n", 23) << Applied
                                          << QString() << QStringList{QString::fromUtf8("||||||||0||01. and\0.mp3", 23)};
    QTest::newRow("file names of dots")
        << 3 << QByteArray("File Name\n...mp3\n . .flac\n..mp3\n") << 102
        << text("NotAValidFileNameInRecordError", 1) + text("NotAValidFileNameInRecordError", 2) << QStringList();
    QTest::newRow("file name over the byte limit")
        << 2 << "File Name\n1.mp3\n" + QString(126, QChar(0x00E9)).toUtf8() + ".flac\n" << 102
        << text("NotAValidFileNameInRecordError", 2) << QStringList();
    QTest::newRow("file name at the byte limit")
        << 1 << "File Name\n" + QString(125, QChar(0x00E9)).toUtf8() + "x.mp3\n" << Applied << QString()
        << QStringList{"||||||||0||" + QString(125, QChar(0x00E9)) + "x.mp3"};
}

void TestTsvImport::import()
{
    QFETCH(int, songCount);
    QFETCH(QByteArray, tsv);
    QFETCH(int, outcome);
    QFETCH(QString, errors);
    QFETCH(QStringList, after);

    auto songs = makeSongs(songCount);
    const QStringList before = states(songs);
    const QString path = writeFile(m_dir, QStringLiteral("import.tsv"), tsv);
    QVERIFY(!path.isEmpty());

    ImportExportAssistant assistant;
    const std::optional<ImportError> error = assistant.importSongTags(pointers(songs), path);
    QCOMPARE(assistant.applied(), outcome == Applied);
    QCOMPARE(error.has_value(), outcome > 0);
    if (outcome == Malformed)
        QVERIFY(assistant.parserError());
    if (error) {
        QCOMPARE(error->code, outcome);
        QCOMPARE(error->description, errors);
    }
    if (outcome == Applied) {
        QCOMPARE(states(songs), after);
    } else {
        QCOMPARE(states(songs), before);
        for (const auto &song : songs)
            QVERIFY(!song->isModified());
    }
}

void TestTsvImport::importStateAfterReading()
{
    auto songs = makeSongs(2);
    ImportExportAssistant assistant;
    const QByteArray tsv = "Title\tFile Name\tYear\nA\ta.txt\t12\nB\t\t\n";
    QVERIFY(!assistant.importSongTags(pointers(songs), tsv));
    QCOMPARE(assistant.fieldNames(), (QStringList{"Title", "File Name", "Year"}));
    QCOMPARE(assistant.currentRecord(), 1);
    QCOMPARE(assistant.selectedSongs(), pointers(songs));
    QCOMPARE(assistant.importedSongs().size(), std::size_t(2));
    // The scratch song takes any name; the real song only one with its own extension.
    QCOMPARE(assistant.importedSongs()[0]->fileName(), QStringLiteral("a.txt"));
    QCOMPARE(songs[0]->fileName(), QStringLiteral("1.mp3"));
    QCOMPARE(songs[0]->year(), 12);
    QVERIFY(songs[0]->isTitleModified());
    QVERIFY(!songs[0]->isFileNameModified());
    // An empty name cell gives an empty name, which no song takes.
    QCOMPARE(assistant.importedSongs()[1]->fileName(), QStringLiteral(""));
    QCOMPARE(songs[1]->fileName(), QStringLiteral("2.flac"));
}

QTEST_GUILESS_MAIN(TestTsvImport)
#include "test_tsvimport.moc"
