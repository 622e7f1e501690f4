#include "fixtures.h"
#include "loadededitor.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/allinonecontroller.h"
#include "tools/capitalizationcontroller.h"
#include "tools/namingcontroller.h"
#include "tools/numberingcontroller.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace {

// Settings that the rows change; each test starts from their registered defaults.
const QStringList ChangedKeys = {
    "CAPITALIZATION_TITLE_CASE", "CAPITALIZATION_UPPER_CASE",     "CAPITALIZATION_LOWER_CASE",
    "NAMING_ARTIST_AND_TITLE",   "NAMING_TRACK_AND_TITLE",        "NAMING_TRACK_ARTIST_AND_TITLE",
    "NAMING_CUSTOM",             "NAMING_SEPARATE_BY_HYPHEN",     "NUMBERING_LEADING_ZERO",
    "NUMBERING_TRACK_COUNT",     "CONFIRMED_RENAME_RESTRICTION",
};

const QStringList Titles = {"the sound of the city", "where to", "feat of strength", "AB/CD live"};

// An editor with songs and the three tools wired into one all-in-one command.
struct Tools {
    explicit Tools(LoadedEditor *loaded)
        : numbering(&loaded->editor)
        , capitalization(&loaded->editor)
        , naming(loaded->editor)
        , allInOne(&numbering, &capitalization, &naming)
    {
    }

    NumberingController numbering;
    CapitalizationController capitalization;
    NamingController naming;
    AllInOneController allInOne;
};

QStringList fileNames(const LoadedEditor &loaded, int count)
{
    QStringList names;
    for (int row = 0; row < count; ++row)
        names.append(loaded.song(row)->fileName());
    return names;
}

} // namespace

class TestAllInOne : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void numbersCapitalizesAndNames();
    void upperCaseModeGivesUpperCaseExtension();
    void namesSeeTheNewNumbers();
    void songWithoutArtistIsNumberedButNotRenamed();
    void honoursDiscSegments();
    void onlySelectedSongsChange();
    void segmentStartsForDiscs_data();
    void segmentStartsForDiscs();

private:
    QTemporaryDir m_settings;
};

void TestAllInOne::initTestCase()
{
    QVERIFY(useEditorSettings(m_settings));
    QLocale::setDefault(QLocale::c());
}

void TestAllInOne::init()
{
    for (const QString &key : ChangedKeys)
        UserDefaults::shared().removeObjectForKey(key);
}

void TestAllInOne::cleanupTestCase()
{
    QLocale::setDefault(QLocale::system());
}

void TestAllInOne::numbersCapitalizesAndNames()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(4));
    for (int row = 0; row < 4; ++row) {
        loaded.song(row)->setTitle(Titles[row]);
        loaded.song(row)->setArtist(u"some band"_qs);
    }
    Tools tools(&loaded);
    const BatchReport report = tools.allInOne.doAllInOne();

    QVERIFY(!report.hasErrors());
    QVERIFY(loaded.ui.questions.isEmpty());
    QStringList tracks;
    QStringList titles;
    for (int row = 0; row < 4; ++row) {
        tracks.append(loaded.song(row)->track());
        titles.append(loaded.song(row)->title());
        QCOMPARE(loaded.song(row)->artist(), u"Some Band"_qs);
        QCOMPARE(loaded.song(row)->disc(), QString());
    }
    QCOMPARE(tracks, (QStringList{"01/04", "02/04", "03/04", "04/04"}));
    QCOMPARE(titles, (QStringList{"The Sound of the City", "Where To", "Feat of Strength", "Ab/Cd Live"}));
    QCOMPARE(fileNames(loaded, 4), (QStringList{
                                       "01 - Some Band - The Sound of the City.mp3",
                                       "02 - Some Band - Where To.mp3",
                                       "03 - Some Band - Feat of Strength.mp3",
                                       "04 - Some Band - Ab-Cd Live.mp3",
                                   }));
}

void TestAllInOne::upperCaseModeGivesUpperCaseExtension()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(2));
    for (int row = 0; row < 2; ++row) {
        loaded.song(row)->setTitle(Titles[row]);
        loaded.song(row)->setArtist(u"some band"_qs);
    }
    Tools tools(&loaded);
    tools.capitalization.selectUpperCase();
    tools.allInOne.doAllInOne();
    QCOMPARE(fileNames(loaded, 2), (QStringList{
                                       "01 - SOME BAND - THE SOUND OF THE CITY.MP3",
                                       "02 - SOME BAND - WHERE TO.MP3",
                                   }));
}

void TestAllInOne::namesSeeTheNewNumbers()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(3));
    for (int row = 0; row < 3; ++row) {
        loaded.song(row)->setTitle(u"song"_qs);
        loaded.song(row)->setTrack(QString::number(9 - row));
    }
    UserDefaults::shared().setBool(false, "NUMBERING_TRACK_COUNT");
    UserDefaults::shared().setBool(false, "NUMBERING_LEADING_ZERO");
    Tools tools(&loaded);
    tools.naming.selectTrackAndTitle();
    tools.allInOne.doAllInOne();
    QCOMPARE(fileNames(loaded, 3), (QStringList{"1 - Song.mp3", "2 - Song.mp3", "3 - Song.mp3"}));
}

void TestAllInOne::songWithoutArtistIsNumberedButNotRenamed()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(3));
    for (int row = 0; row < 3; ++row) {
        loaded.song(row)->setTitle(Titles[row]);
        if (row != 1)
            loaded.song(row)->setArtist(u"some band"_qs);
    }
    const QString oldName = loaded.song(1)->fileName();
    loaded.ui.answerNext(0);
    Tools tools(&loaded);
    const BatchReport report = tools.allInOne.doAllInOne();

    QCOMPARE(report.errorCount(), quint64(1));
    QVERIFY(report.errorText().contains(oldName));
    QCOMPARE(loaded.ui.askedMessageKeys(), QStringList{"QuorlCouldNotChangeFileNamesOfOneOrMoreSongs"});
    const Song *song = loaded.song(1);
    QCOMPARE(song->track(), u"02/03"_qs);
    QCOMPARE(song->title(), u"Where To"_qs);
    QCOMPARE(song->fileName(), oldName);
    QVERIFY(!song->isFileNameModified());
    // The songs around it are still named.
    QCOMPARE(loaded.song(2)->fileName(), u"03 - Some Band - Feat of Strength.mp3"_qs);
}

// After a two-disc release was applied: every disc is numbered from 01 and the discs get their
// numbers and count.
void TestAllInOne::honoursDiscSegments()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(5));
    const QStringList discs = {"1", "1", "2", "2", "2"};
    for (int row = 0; row < 5; ++row) {
        loaded.song(row)->setDisc(discs[row]);
        loaded.song(row)->setTitle(u"track %1"_qs.arg(row + 1));
        loaded.song(row)->setArtist(u"band"_qs);
    }
    Tools tools(&loaded);
    const QList<int> starts = AllInOneController::segmentStartsForDiscs(loaded.editor.selectedObjects());
    QCOMPARE(starts, (QList<int>{1, 3, 6}));
    tools.allInOne.doAllInOneHonoringDiscNumbers(starts);

    QStringList tracks;
    QStringList newDiscs;
    for (int row = 0; row < 5; ++row) {
        tracks.append(loaded.song(row)->track());
        newDiscs.append(loaded.song(row)->disc());
    }
    QCOMPARE(tracks, (QStringList{"01/02", "02/02", "01/03", "02/03", "03/03"}));
    QCOMPARE(newDiscs, (QStringList{"01/02", "01/02", "02/02", "02/02", "02/02"}));
    QCOMPARE(loaded.song(2)->fileName(), u"01 - Band - Track 3.mp3"_qs);
}

void TestAllInOne::onlySelectedSongsChange()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(3));
    for (int row = 0; row < 3; ++row) {
        loaded.song(row)->setTitle(u"the title"_qs);
        loaded.song(row)->setArtist(u"the artist"_qs);
        loaded.song(row)->resetModifications();
    }
    loaded.select({0, 2});
    Tools tools(&loaded);
    tools.allInOne.doAllInOne();
    QCOMPARE(loaded.song(0)->fileName(), u"01 - The Artist - The Title.mp3"_qs);
    QCOMPARE(loaded.song(2)->fileName(), u"02 - The Artist - The Title.mp3"_qs);
    QVERIFY(!loaded.song(1)->isModified());
    QCOMPARE(loaded.song(1)->title(), u"the title"_qs);
}

void TestAllInOne::segmentStartsForDiscs_data()
{
    QTest::addColumn<QStringList>("discs");
    QTest::addColumn<QList<int>>("starts");

    QTest::newRow("no songs") << QStringList{} << QList<int>{1};
    QTest::newRow("one disc") << QStringList{"1", "1", "1"} << QList<int>{1, 4};
    QTest::newRow("no disc numbers") << QStringList{"", "", ""} << QList<int>{1, 4};
    QTest::newRow("two discs") << QStringList{"1/2", "1/2", "2/2", "2/2", "2/2"} << QList<int>{1, 3, 6};
    QTest::newRow("counts do not matter") << QStringList{"1/2", "1", "01/02"} << QList<int>{1, 4};
    QTest::newRow("disc changes back") << QStringList{"1", "2", "1"} << QList<int>{1, 2, 3, 4};
    QTest::newRow("ten discs of one song")
        << QStringList{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}
        << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
}

void TestAllInOne::segmentStartsForDiscs()
{
    QFETCH(QStringList, discs);
    QFETCH(QList<int>, starts);

    std::vector<std::unique_ptr<Song>> songs;
    QList<Song *> pointers;
    for (const QString &disc : discs) {
        songs.push_back(std::make_unique<Song>());
        songs.back()->setDisc(disc);
        pointers.append(songs.back().get());
    }
    QCOMPARE(AllInOneController::segmentStartsForDiscs(pointers), starts);
}

QTEST_GUILESS_MAIN(TestAllInOne)
#include "test_allinone.moc"
