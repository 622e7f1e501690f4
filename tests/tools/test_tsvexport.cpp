#include "editor/editorcontroller.h"
#include "fakeuserinterface.h"
#include "fixtures.h"
#include "model/localized.h"
#include "model/song.h"
#include "patterntesting.h"
#include "savetesting.h"
#include "tags/tagswriter.h"
#include "tools/importexportassistant.h"
#include "tools/tsvcontroller.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <memory>

namespace {

constexpr int ShowDetails = 1;

const QString Header = QStringLiteral(
    "Track\tTitle\tArtist\tAlbum Artist\tComposer\tAlbum\tDisc\tGenre\tYear\tComment\tFile Name\n");

const QStringList Fixtures{QStringLiteral("silence.mp3"), QStringLiteral("silence.m4a"),
                           QStringLiteral("silence.flac"), QStringLiteral("silence.aiff"),
                           QStringLiteral("silence.wav")};

// An editor over the scripted user interface with copies of every fixture in one folder
// ("1.mp3", "2.m4a", ...), all selected.
struct FixtureEditor {
    FakeUserInterface ui;
    EditorController editor{&ui};

    bool load(const QString &folder)
    {
        editor.traverseFiles({folder}, true);
        ui.rows.clear();
        for (int row = 0; row < int(editor.songs().size()); ++row)
            ui.rows.append(row);
        return editor.songs().size() == std::size_t(Fixtures.size());
    }
};

// The data lines of a song list in sorted order, after its header: the list of a folder that
// was read again, whose songs may come in another order after renames.
QStringList sortedRecords(const QString &list)
{
    QStringList lines = list.split(u'\n');
    lines.removeFirst();
    std::sort(lines.begin(), lines.end());
    return lines;
}

QString readText(const QString &path)
{
    return QString::fromUtf8(fileBytes(path));
}

} // namespace

class TestTsvExport : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void exportedLine_data();
    void exportedLine();
    void exportKeepsListOrder();
    void exportWritesTheChosenFile();
    void exportCancelled();
    void failedWriteIsReported_data();
    void failedWriteIsReported();
    void importReportsInTwoSteps();
    void importOfMalformedListSaysNothing();
    void importCancelled();
    void roundTripThroughFiles();

private:
    QTemporaryDir m_dir;
    int m_folder = 0;
    QString m_songsFolder;
};

void TestTsvExport::initTestCase()
{
    QVERIFY(useEditorSettings(m_dir));
}

void TestTsvExport::init()
{
    // A fresh folder of fixture copies for every test.
    m_songsFolder = m_dir.filePath(QStringLiteral("songs%1").arg(++m_folder));
    QVERIFY(QDir().mkpath(m_songsFolder));
    for (int i = 0; i < Fixtures.size(); ++i) {
        const QString name = QStringLiteral("songs%1/%2.%3")
                                 .arg(m_folder)
                                 .arg(i + 1)
                                 .arg(QFileInfo(Fixtures[i]).suffix());
        QVERIFY(!copyFixture(m_dir, Fixtures[i], name).isEmpty());
    }
}

void TestTsvExport::exportedLine_data()
{
    QTest::addColumn<QVariantHash>("fields");
    QTest::addColumn<QString>("rename");
    QTest::addColumn<QString>("line");

    QTest::newRow("every column") << QVariantHash{{"track", "03/12"}, {"title", "Ti"}, {"artist", "Ar"},
                                                  {"albumArtist", "AA"}, {"composer", "Co"}, {"album", "Al"},
                                                  {"disc", "/2"}, {"genre", "Ge"}, {"year", 1999},
                                                  {"comment", "Cm"}, {"lyrics", "not exported"}}
                                  << QString() << "03/12\tTi\tAr\tAA\tCo\tAl\t/2\tGe\t1999\tCm\tsong.mp3\n";
    QTest::newRow("TABs become blanks") << QVariantHash{{"title", "A\tB"}, {"artist", "a\t\tb"}, {"albumArtist", "c\td"},
                                                        {"composer", "e\tf"}, {"album", "g\th"}, {"genre", "i\tj"},
                                                        {"comment", "k\tl"}}
                                        << "x\ty.mp3" << "\tA B\ta  b\tc d\te f\tg h\t\ti j\t\tk l\tx y.mp3\n";
    QTest::newRow("empty song") << QVariantHash() << QString() << "\t\t\t\t\t\t\t\t\t\tsong.mp3\n";
    QTest::newRow("line breaks are written as they are") << QVariantHash{{"comment", "one\ntwo\r\nthree"}}
                                                         << QString() << "\t\t\t\t\t\t\t\t\tone\ntwo\r\nthree\tsong.mp3\n";
    QTest::newRow("pending rename") << QVariantHash{{"title", "T"}} << "New.MP3" << "\tT\t\t\t\t\t\t\t\t\tNew.MP3\n";
    QTest::newRow("negative year") << QVariantHash{{"year", -3}} << QString() << "\t\t\t\t\t\t\t\t-3\t\tsong.mp3\n";
    QTest::newRow("quotes are not escaped") << QVariantHash{{"title", "\"Hi\""}} << QString()
                                            << "\t\"Hi\"\t\t\t\t\t\t\t\t\tsong.mp3\n";
}

void TestTsvExport::exportedLine()
{
    QFETCH(QVariantHash, fields);
    QFETCH(QString, rename);
    QFETCH(QString, line);

    auto song = makeSong(QStringLiteral("/music/song.mp3"), fields);
    if (!rename.isEmpty())
        song->setFileName(rename);
    QCOMPARE(ImportExportAssistant::exportSongTagsToTSV({song.get()}), Header + line);
}

void TestTsvExport::exportKeepsListOrder()
{
    auto first = makeSong(QStringLiteral("/m/b.mp3"), {{"title", "B"}});
    auto second = makeSong(QStringLiteral("/m/a.mp3"), {{"title", "A"}});
    QCOMPARE(ImportExportAssistant::exportSongTagsToTSV({}), Header);
    QCOMPARE(ImportExportAssistant::exportSongTagsToTSV({first.get(), second.get()}),
             Header + "\tB\t\t\t\t\t\t\t\t\tb.mp3\n\tA\t\t\t\t\t\t\t\t\ta.mp3\n");
}

void TestTsvExport::exportWritesTheChosenFile()
{
    FixtureEditor loaded;
    QVERIFY(loaded.load(m_songsFolder));
    loaded.editor.songs().at(0)->setTitle(QStringLiteral("Zoë 日本"));
    loaded.ui.rows = {3, 0};

    // An existing, longer file is replaced whole.
    const QString path = writeFile(m_dir, QStringLiteral("songs.tsv"), QByteArray(4096, 'x'));
    loaded.ui.saveChooserResults.enqueue(path);
    TsvController controller(loaded.editor);
    const TsvReport report = controller.exportSongsAsTsv();

    QCOMPARE(report.outcome, TsvReport::Outcome::Done);
    QCOMPARE(report.path, path);
    QCOMPARE(loaded.ui.saveChoices.size(), 1);
    QCOMPARE(loaded.ui.saveChoices[0].proposedName, QStringLiteral("songs.tsv"));
    QVERIFY(loaded.ui.questions.isEmpty());
    // Selected songs go in table order.
    const QByteArray expected = (Header + "\tZoë 日本\t\t\t\t\t\t\t\t\t1.mp3\n\t\t\t\t\t\t\t\t\t\t4.aiff\n").toUtf8();
    QCOMPARE(fileBytes(path), expected);
    // No temporary file is left beside it.
    QCOMPARE(QDir(m_dir.path()).entryList({QStringLiteral("songs.tsv*")}, QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("songs.tsv")});
}

void TestTsvExport::exportCancelled()
{
    FixtureEditor loaded;
    QVERIFY(loaded.load(m_songsFolder));
    TsvController controller(loaded.editor);
    QCOMPARE(controller.exportSongsAsTsv().outcome, TsvReport::Outcome::Cancelled);
    QCOMPARE(loaded.ui.saveChoices.size(), 1);
    QVERIFY(loaded.ui.questions.isEmpty());
}

void TestTsvExport::failedWriteIsReported_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing folder") << "missing/songs.tsv";
    QTest::newRow("a folder") << "folder";
}

void TestTsvExport::failedWriteIsReported()
{
    QFETCH(QString, name);
    QVERIFY(QDir().mkpath(m_dir.filePath(QStringLiteral("folder"))));
    const QString path = m_dir.filePath(name);

    FixtureEditor loaded;
    QVERIFY(loaded.load(m_songsFolder));
    loaded.ui.saveChooserResults.enqueue(path);
    loaded.ui.answerNext(0);
    TsvController controller(loaded.editor);
    const TsvReport report = controller.exportSongsAsTsv();

    QVERIFY(report.failed());
    QVERIFY(!report.errorText.isEmpty());
    QCOMPARE(loaded.ui.askedMessageKeys(), QStringList{QStringLiteral("CouldNotExport")});
    QVERIFY(loaded.ui.questions[0].informativeText.contains(path));
    QCOMPARE(loaded.ui.unexpectedQuestions, 0);
    QVERIFY(!QFileInfo(path).isFile());
}

void TestTsvExport::importReportsInTwoSteps()
{
    FixtureEditor loaded;
    QVERIFY(loaded.load(m_songsFolder));
    const QString path = writeFile(m_dir, QStringLiteral("bad.tsv"), "Track\tTitle\n1\tA\nx\tB\n");
    loaded.ui.chooserResults.enqueue(QStringList{path});
    loaded.ui.answerNext(ShowDetails);
    loaded.ui.answerNext(0);
    TsvController controller(loaded.editor);
    const TsvReport report = controller.importSongsFromTsv();

    const QString expected = Localized::text("NotAValidTrackTagInRecordError").arg(2)
                             + Localized::text("NumberOfSelectedAndImportedSongsDoNotMatch");
    QVERIFY(report.failed());
    QCOMPARE(report.errorCode, ImportError::RecordsNotAccepted);
    QCOMPARE(report.errorText, expected);
    QCOMPARE(loaded.ui.choices.size(), 1);
    QVERIFY(!loaded.ui.choices[0].allowFolders);
    QVERIFY(!loaded.ui.choices[0].allowMultiple);
    QCOMPARE(loaded.ui.choices[0].messageKey, QStringLiteral("SelectTsvSongListToApply"));
    QCOMPARE(loaded.ui.askedMessageKeys(), (QStringList{"CouldNotImport", "ErrorDetails"}));
    QCOMPARE(loaded.ui.questions[0].informativeKey, QStringLiteral("MakeSureTsvCorrect"));
    QCOMPARE(loaded.ui.questions[0].buttonKeys, (QStringList{"OK", "ShowDetails"}));
    QCOMPARE(loaded.ui.questions[1].informativeText, expected);
    for (const auto &song : loaded.editor.songs())
        QVERIFY(!song->isModified());
}

void TestTsvExport::importOfMalformedListSaysNothing()
{
    FixtureEditor loaded;
    QVERIFY(loaded.load(m_songsFolder));
    loaded.ui.rows = {0};
    const QString path = writeFile(m_dir, QStringLiteral("malformed.tsv"), "Title\n\"A\" B\n");
    TsvController controller(loaded.editor);
    const TsvReport report = controller.importSongsFromTsv(path);

    QVERIFY(report.failed());
    QCOMPARE(report.errorCode, 0);
    QVERIFY(report.errorText.startsWith(QStringLiteral("Unexpected delimiter.")));
    QVERIFY(loaded.ui.questions.isEmpty());
    QVERIFY(!loaded.editor.songs().at(0)->isModified());
}

void TestTsvExport::importCancelled()
{
    FixtureEditor loaded;
    QVERIFY(loaded.load(m_songsFolder));
    TsvController controller(loaded.editor);
    QCOMPARE(controller.importSongsFromTsv().outcome, TsvReport::Outcome::Cancelled);
    QVERIFY(loaded.ui.questions.isEmpty());
}

void TestTsvExport::roundTripThroughFiles()
{
    // Tag every file and save.
    FixtureEditor tagged;
    QVERIFY(tagged.load(m_songsFolder));
    for (int i = 0; i < Fixtures.size(); ++i) {
        Song *song = tagged.editor.songs().at(std::size_t(i)).get();
        // With leading zeros, as MP4 tags are read back by default.
        song->setTrack(QStringLiteral("0%1/05").arg(i + 1));
        song->setTitle(QStringLiteral("Tïtle %1 \"quoted\"").arg(i + 1));
        song->setArtist(QStringLiteral("Ärtist"));
        song->setAlbumArtist(QStringLiteral("Album Ärtist"));
        song->setComposer(QStringLiteral("Cömposer"));
        song->setAlbum(QStringLiteral("日本の Album"));
        song->setDisc(QStringLiteral("01/02"));
        song->setGenre(QStringLiteral("Génre"));
        song->setYear(2000 + i);
        song->setComment(QStringLiteral("Comment %1").arg(i + 1));
    }
    QVERIFY(!TagsWriter().writeFiles(tagged.editor.selectedObjects(), false).hasErrors());

    // The list of the files read back equals the list of the songs that were saved.
    const QString exported = m_dir.filePath(QStringLiteral("exported-%1.tsv").arg(m_folder));
    TsvController taggedController(tagged.editor);
    QCOMPARE(taggedController.exportSongsAsTsv(exported).outcome, TsvReport::Outcome::Done);
    FixtureEditor reread;
    QVERIFY(reread.load(m_songsFolder));
    TsvController controller(reread.editor);
    const QString again = m_dir.filePath(QStringLiteral("again-%1.tsv").arg(m_folder));
    QCOMPARE(controller.exportSongsAsTsv(again).outcome, TsvReport::Outcome::Done);
    QCOMPARE(readText(again), readText(exported));

    // Importing the list unchanged changes nothing.
    QCOMPARE(controller.importSongsFromTsv(again).outcome, TsvReport::Outcome::Done);
    for (const auto &song : reread.editor.songs())
        QVERIFY2(!song->isModified(), qPrintable(song->fileName()));

    // An edited list: a new title, a cleared year, a renamed file and a new track count.
    QString edited = readText(exported);
    const QList<std::pair<QString, QString>> edits{
        {QStringLiteral("Tïtle 2 \"quoted\""), QStringLiteral("Néw Title")},
        {QStringLiteral("\t2000\t"), QStringLiteral("\t\t")},
        {QStringLiteral("\t3.flac\n"), QStringLiteral("\tRenamed Song.flac\n")},
        {QStringLiteral("\n05/05\t"), QStringLiteral("\n05/06\t")},
    };
    for (const auto &[from, to] : edits) {
        QCOMPARE(edited.count(from), 1);
        edited.replace(from, to);
    }
    const QString editedPath = writeFile(m_dir, QStringLiteral("edited-%1.tsv").arg(m_folder), edited.toUtf8());
    reread.ui.chooserResults.enqueue(QStringList{editedPath});
    QCOMPARE(controller.importSongsFromTsv().outcome, TsvReport::Outcome::Done);
    QVERIFY(reread.ui.questions.isEmpty());
    QVERIFY(!TagsWriter().writeFiles(reread.editor.selectedObjects(), false).hasErrors());

    QVERIFY(QFileInfo::exists(QDir(m_songsFolder).filePath(QStringLiteral("Renamed Song.flac"))));
    QVERIFY(!QFileInfo::exists(QDir(m_songsFolder).filePath(QStringLiteral("3.flac"))));
    FixtureEditor saved;
    QVERIFY(saved.load(m_songsFolder));
    QCOMPARE(ImportExportAssistant::exportSongTagsToTSV(saved.editor.selectedObjects()).section(u'\n', 0, 0) + u'\n',
             Header);
    QCOMPARE(sortedRecords(ImportExportAssistant::exportSongTagsToTSV(saved.editor.selectedObjects())),
             sortedRecords(edited));
}

QTEST_GUILESS_MAIN(TestTsvExport)
#include "test_tsvexport.moc"
