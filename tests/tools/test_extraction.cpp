#include "fixtures.h"
#include "loadededitor.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "patterntesting.h"
#include "tools/extractioncontroller.h"
#include "tools/tagextractor.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>
#include <optional>
#include <vector>

namespace {

constexpr int ShowDetails = 1;

QString doesntContain(const QString &source, const QString &literal)
{
    return Localized::text("TheSourceDoesntContainX").arg(Localized::text(source.toLatin1().constData()).toLower(), literal);
}

QString neighbours()
{
    return Localized::text("TagsNeedToBeSeparatedByAtLeastOneCharacter");
}

} // namespace

class TestExtraction : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void matches_data();
    void matches();
    void readsTheChosenSource();
    void pendingNameIsTheSource();
    void validPatterns_data();
    void validPatterns();
    void patternChoice();
    void sourceNames();
    void errorListIsCapped_data();
    void errorListIsCapped();
    void extractsIntoTheSelection();

private:
    QTemporaryDir m_dir;
    int m_store = 0;
    LoadedEditor m_loaded;
};

void TestExtraction::initTestCase()
{
    QVERIFY(useEditorSettings(m_dir));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QVERIFY(m_loaded.load(3));
}

void TestExtraction::init()
{
    UserDefaults::shared().openStore(m_dir.filePath(QStringLiteral("settings-%1.ini").arg(++m_store)));
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    m_loaded.ui.questions.clear();
    m_loaded.ui.answers.clear();
}

void TestExtraction::matches_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QVariantHash>("stored");
    QTest::addColumn<QVariantHash>("expected");
    QTest::addColumn<QString>("failure");

    const QVariantHash none;
    QTest::newRow("track and title") << "{Track} {Title}" << "01 Intro" << none
                                     << QVariantHash{{"track", "01"}, {"title", "Intro"}} << QString();
    QTest::newRow("separator in the title") << "{Track} {Title}" << "01 - Intro" << none
                                            << QVariantHash{{"track", "01"}, {"title", "- Intro"}} << QString();
    QTest::newRow("first occurrence ends a token")
        << "{Track} - {Artist} - {Title}" << "07 - Co-Op - Song - Live" << none
        << QVariantHash{{"track", "07"}, {"artist", "Co-Op"}, {"title", "Song - Live"}} << QString();
    QTest::newRow("literal that repeats in values")
        << "{Artist} - {Title}" << "AC - DC - Back - In Black" << none
        << QVariantHash{{"artist", "AC"}, {"title", "DC - Back - In Black"}} << QString();
    QTest::newRow("no blank") << "{Track} {Title}" << "Intro" << QVariantHash{{"track", "4"}, {"title", "Old"}}
                              << QVariantHash{{"track", ""}, {"title", "Old"}} << doesntContain("FileName", " ");
    QTest::newRow("brackets") << "({Track}) {Title}" << "(03) Song" << none
                              << QVariantHash{{"track", "03"}, {"title", "Song"}} << QString();
    QTest::newRow("literals are skipped, not compared")
        << "({Track}) {Title}" << "[03] Song" << QVariantHash{{"track", "9"}}
        << QVariantHash{{"track", ""}, {"title", ""}} << doesntContain("FileName", ") ");
    QTest::newRow("year") << "{Title} ({Year})" << "Song (1999)" << none
                          << QVariantHash{{"title", "Song"}, {"year", "1999"}} << QString();
    QTest::newRow("year without digits") << "{Year} {Title}" << "abc T" << QVariantHash{{"year", 2000}}
                                         << QVariantHash{{"year", "0"}, {"title", "T"}} << QString();
    QTest::newRow("neighbouring tokens first") << "{Artist}{Title}" << "AB" << QVariantHash{{"title", "Old"}}
                                               << QVariantHash{{"artist", ""}, {"title", "Old"}} << neighbours();
    QTest::newRow("neighbouring tokens later") << "{Track} {Artist}{Title}" << "01 AB" << none
                                               << QVariantHash{{"track", "01"}, {"artist", ""}} << neighbours();
    QTest::newRow("disc and track keep their counts")
        << "{Disc}-{Track} {Title}" << "2-05 Name" << QVariantHash{{"disc", "1/2"}, {"track", "3/12"}}
        << QVariantHash{{"disc", "2/2"}, {"track", "05/12"}, {"title", "Name"}} << QString();
    QTest::newRow("count into an empty track") << "{Track Total} {Title}" << "12 Name" << none
                                               << QVariantHash{{"track", "/12"}, {"title", "Name"}} << QString();
    QTest::newRow("count keeps the number") << "{Disc Total}_{Track Total}" << "2_9"
                                            << QVariantHash{{"disc", "1"}, {"track", "4/5"}}
                                            << QVariantHash{{"disc", "1/2"}, {"track", "4/9"}} << QString();
    QTest::newRow("Unicode") << "{Artist} – {Title}" << "Sigur Rós – Hoppípolla" << none
                             << QVariantHash{{"artist", "Sigur Rós"}, {"title", "Hoppípolla"}} << QString();
    QTest::newRow("apostrophes and dots") << "{Track}. {Artist} - {Title}" << "02. P.J. O'Brien - Mr. Brown's."
                                          << none
                                          << QVariantHash{{"track", "02"}, {"artist", "P.J. O'Brien"},
                                                          {"title", "Mr. Brown's."}}
                                          << QString();
    QTest::newRow("values are trimmed") << "{Track}-{Title}" << "01-  Spaced  " << none
                                        << QVariantHash{{"title", "Spaced"}} << QString();
    QTest::newRow("empty value clears") << "{Track} {Title}" << "01 " << QVariantHash{{"title", "Old"}}
                                        << QVariantHash{{"track", "01"}, {"title", ""}} << QString();
    QTest::newRow("text after the last literal") << "{Title} (live)" << "Song (live) bonus" << none
                                                 << QVariantHash{{"title", "Song"}} << QString();
    QTest::newRow("file properties consume only")
        << "{Bitrate} - {File Name} - {Title}" << "128 - x - T" << QVariantHash{{"bitrate", 320}}
        << QVariantHash{{"bitrate", "320"}, {"fileName", "128 - x - T.mp3"}, {"title", "T"}} << QString();
    QTest::newRow("leading literal longer than the name") << "Track {Title}" << "abc" << QVariantHash{{"title", "Old"}}
                                                          << QVariantHash{{"title", "Old"}}
                                                          << doesntContain("FileName", "Track ");
    QTest::newRow("leading literal as long as the name") << "abc{Title}" << "abc" << QVariantHash{{"title", "Old"}}
                                                         << QVariantHash{{"title", ""}} << QString();
    QTest::newRow("empty pattern") << "" << "01 Intro" << QVariantHash{{"title", "Old"}}
                                   << QVariantHash{{"title", "Old"}} << QString();
}

void TestExtraction::matches()
{
    QFETCH(QString, pattern);
    QFETCH(QString, name);
    QFETCH(QVariantHash, stored);
    QFETCH(QVariantHash, expected);
    QFETCH(QString, failure);

    const std::unique_ptr<Song> song = makeSong("/m/" + name + ".mp3", stored);
    QCOMPARE(song->fileNameWithoutExtension(), name);
    const std::optional<QString> result =
        TagExtractor::extractTags(patternFromText(pattern), *song, QStringLiteral("fileNameWithoutExtension"));
    QCOMPARE(result.value_or(QString()), failure);
    QCOMPARE(result.has_value(), !failure.isEmpty());
    for (auto it = expected.cbegin(); it != expected.cend(); ++it)
        QCOMPARE(song->valueForKey(it.key()).toString(), it.value().toString());
}

void TestExtraction::readsTheChosenSource()
{
    const std::unique_ptr<Song> song = makeSong(QStringLiteral("/m/file - name.mp3"), {{"title", "Artist - Song"}});
    const Pattern pattern = patternFromText("{Artist} - {Title}");
    QVERIFY(!TagExtractor::extractTags(pattern, *song, QStringLiteral("title")));
    QCOMPARE(song->artist(), QStringLiteral("Artist"));
    QCOMPARE(song->title(), QStringLiteral("Song"));

    const std::optional<QString> failure =
        TagExtractor::extractTags(patternFromText("{Title}/{Artist}"), *song, QStringLiteral("title"));
    QCOMPARE(failure.value_or(QString()), doesntContain("Title", "/"));
}

void TestExtraction::pendingNameIsTheSource()
{
    // A name given by naming and not saved yet is what extraction reads.
    const std::unique_ptr<Song> song = makeSong(QStringLiteral("/m/old.mp3"));
    song->setFileName(QStringLiteral("05 New.mp3"));
    QVERIFY(!TagExtractor::extractTags(patternFromText("{Track} {Title}"), *song,
                                       QStringLiteral("fileNameWithoutExtension")));
    QCOMPARE(song->track(), QStringLiteral("05"));
    QCOMPARE(song->title(), QStringLiteral("New"));
}

void TestExtraction::validPatterns_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("valid");

    QTest::newRow("empty") << "" << true;
    QTest::newRow("one token") << "{Title}" << true;
    QTest::newRow("separated") << "{Track} {Title}" << true;
    QTest::newRow("neighbours") << "{Artist}{Title}" << false;
    QTest::newRow("neighbours after a literal") << "x{Artist}{Title}y" << false;
    QTest::newRow("literals only") << "abc" << true;
}

void TestExtraction::validPatterns()
{
    QFETCH(QString, pattern);
    QFETCH(bool, valid);
    QCOMPARE(ExtractionController::isValidPattern(patternFromText(pattern)), valid);
}

void TestExtraction::patternChoice()
{
    UserDefaults &defaults = UserDefaults::shared();
    ExtractionController extraction(m_loaded.editor);
    QCOMPARE(describePattern(ExtractionController::currentPattern()), QStringLiteral("{Track}[ ]{Title}"));

    extraction.selectTrackArtistAndTitle();
    QCOMPARE(describePattern(ExtractionController::currentPattern()),
             QStringLiteral("{Track}[ - ]{Artist}[ - ]{Title}"));
    QVERIFY(!defaults.boolForKey(ExtractionController::TrackAndTitleKey));
    QVERIFY(!defaults.boolForKey(ExtractionController::CustomKey));

    extraction.saveCustom(patternFromText("{Album} / {Year}"), false);
    extraction.selectCustom();
    QCOMPARE(describePattern(ExtractionController::currentPattern()), QStringLiteral("{Album}[ / ]{Year}"));
    QVERIFY(!defaults.boolForKey(ExtractionController::TrackArtistAndTitleKey));

    // With every key off the custom pattern is used all the same.
    defaults.setBool(false, ExtractionController::CustomKey);
    QCOMPARE(describePattern(ExtractionController::currentPattern()), QStringLiteral("{Album}[ / ]{Year}"));

    extraction.selectTrackAndTitle();
    QVERIFY(defaults.boolForKey(ExtractionController::TrackAndTitleKey));
    QCOMPARE(describePattern(extraction.customPattern()), QStringLiteral("{Album}[ / ]{Year}"));
}

void TestExtraction::sourceNames()
{
    const QString fileName = Localized::text("FileName");
    const QString title = Localized::text("Title");
    QVERIFY(fileName != fileName.toLower());
    QCOMPARE(TagExtractor::localizedLowercaseExtractionSourceString("fileNameWithoutExtension"), fileName.toLower());
    QCOMPARE(TagExtractor::localizedLowercaseExtractionSourceString("title"), title.toLower());
    QCOMPARE(TagExtractor::localizedLowercaseExtractionSourceString("comment"), fileName.toLower());
    QCOMPARE(TagExtractor::localizedCapitalizedExtractionSourceString("comment"), Localized::text("Comment"));
    QCOMPARE(TagExtractor::localizedCapitalizedExtractionSourceString("bogus"), fileName);

    const QList<ExtractionController::Choice> sources = ExtractionController::sources();
    QCOMPARE(sources.size(), 2);
    QCOMPARE(sources[0].value, QStringLiteral("fileNameWithoutExtension"));
    QCOMPARE(sources[0].label, fileName);
    QCOMPARE(sources[1].value, QStringLiteral("title"));

    // German nouns keep their capital.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QCOMPARE(TagExtractor::localizedLowercaseExtractionSourceString("title"), title);
}

void TestExtraction::errorListIsCapped_data()
{
    QTest::addColumn<int>("failing");
    QTest::addColumn<QString>("ellipsis");

    QTest::newRow("one") << 1 << QString();
    QTest::newRow("eleven") << 11 << Localized::text("ThereIsOneMoreEntry").arg(1);
    QTest::newRow("twelve") << 12 << Localized::text("ThereAreMoreEntries").arg(2);
}

void TestExtraction::errorListIsCapped()
{
    QFETCH(int, failing);
    QFETCH(QString, ellipsis);

    ExtractionController extraction(m_loaded.editor);
    extraction.selectSource(QStringLiteral("title"));
    std::vector<std::unique_ptr<Song>> songs;
    QList<Song *> list;
    for (int i = 1; i <= failing + 1; ++i) {
        // The last one fits the pattern.
        const QString title = i <= failing ? QStringLiteral("NoBlank%1").arg(i) : QStringLiteral("7 Fits");
        songs.push_back(makeSong(QStringLiteral("/m/%1.mp3").arg(i), {{"title", title}}));
        list.append(songs.back().get());
    }
    m_loaded.ui.answerNext(ShowDetails);
    m_loaded.ui.answerNext(0);
    const BatchReport report = extraction.applyExtractionToSongs(list);

    QString expected;
    for (int i = 1; i <= qMin(failing, 10); ++i) {
        expected += Localized::text("WasNotTaggedCompletelyNewLine")
                        .arg(QStringLiteral("%1.mp3").arg(i), doesntContain("Title", " "));
    }
    QCOMPARE(report.errorCount(), quint64(failing));
    QCOMPARE(report.errorText(), expected + ellipsis);
    QCOMPARE(songs.back()->track(), QStringLiteral("7"));
    QCOMPARE(songs.back()->title(), QStringLiteral("Fits"));

    QCOMPARE(m_loaded.ui.askedMessageKeys(), (QStringList{"CouldNotTag1OrMoreSongs", "ErrorDetails"}));
    const UserInterface::Question &first = m_loaded.ui.questions[0];
    QCOMPARE(first.informativeText, Localized::text("MakeSurePatternAndSourceMatch").arg(Localized::text("Title").toLower()));
    QCOMPARE(first.buttonKeys, (QStringList{"OK", "ShowDetails"}));
    QCOMPARE(m_loaded.ui.questions[1].informativeText, expected + ellipsis);
}

void TestExtraction::extractsIntoTheSelection()
{
    // The loaded songs are "01.mp3", "02.mp3", "03.mp3"; the default source is the file name.
    for (int row = 0; row < 3; ++row)
        m_loaded.song(row)->setFileName(QStringLiteral("%1 - Artist %1 - Song %1.mp3").arg(row + 1));
    m_loaded.select({1, 2});
    ExtractionController extraction(m_loaded.editor);
    extraction.selectTrackArtistAndTitle();
    const BatchReport report = extraction.applyExtractionToSongs();
    QVERIFY(!report.hasErrors());
    QVERIFY(m_loaded.ui.questions.isEmpty());
    QCOMPARE(m_loaded.song(0)->title(), QString());
    QCOMPARE(m_loaded.song(1)->track(), QStringLiteral("2"));
    QCOMPARE(m_loaded.song(1)->artist(), QStringLiteral("Artist 2"));
    QCOMPARE(m_loaded.song(2)->title(), QStringLiteral("Song 3"));
    QVERIFY(m_loaded.song(2)->isTitleModified());

    // A pattern stored with the alternate key held applies at once.
    extraction.selectCustom();
    extraction.saveCustom(patternFromText("{Disc} - {Album} - {Comment}"), true);
    QCOMPARE(m_loaded.song(2)->disc(), QStringLiteral("3"));
    QCOMPARE(m_loaded.song(2)->album(), QStringLiteral("Artist 3"));
    QCOMPARE(m_loaded.song(2)->comment(), QStringLiteral("Song 3"));
    QCOMPARE(m_loaded.song(0)->album(), QString());
}

QTEST_GUILESS_MAIN(TestExtraction)
#include "test_extraction.moc"
