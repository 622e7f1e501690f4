#include "editor/settingsregistry.h"
#include "fixtures.h"
#include "loadededitor.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/numberingcontroller.h"

#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

namespace {

const QString LeadingZeroKey = QStringLiteral("NUMBERING_LEADING_ZERO");
const QString TrackCountKey = QStringLiteral("NUMBERING_TRACK_COUNT");

// Songs in memory, each with a disc value that numbering must keep unless it numbers discs.
struct SongBatch {
    explicit SongBatch(int count)
    {
        for (int i = 0; i < count; ++i) {
            songs.push_back(std::make_unique<Song>());
            songs.back()->setTrack(QStringLiteral("99/99"));
            songs.back()->setDisc(QStringLiteral("7/9"));
            songs.back()->resetModifications();
            pointers.append(songs.back().get());
        }
    }
    QStringList tracks() const
    {
        QStringList list;
        for (const Song *song : pointers)
            list.append(song->track());
        return list;
    }
    QStringList discs() const
    {
        QStringList list;
        for (const Song *song : pointers)
            list.append(song->disc());
        return list;
    }

    std::vector<std::unique_ptr<Song>> songs;
    QList<Song *> pointers;
};

// "01/12", "02/12", ... from first to last.
QStringList sequence(int first, int last, int width, const QString &suffix)
{
    QStringList list;
    for (int i = first; i <= last; ++i)
        list.append(QStringLiteral("%1").arg(i, width, 10, QLatin1Char('0')) + suffix);
    return list;
}

QStringList repeated(const QString &text, int count)
{
    QStringList list;
    for (int i = 0; i < count; ++i)
        list.append(text);
    return list;
}

} // namespace

class TestNumbering : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void numbersSegments_data();
    void numbersSegments();
    void singleSegmentLeavesDiscAndItsFlag();
    void segmentsFlagTrackAndDisc();
    void sameNumberAgainSetsNoFlag();

    void plainCallNumbersSelectionInTableOrder();
    void optionsAreReadAtEachCall_data();
    void optionsAreReadAtEachCall();
    void discSegmentsOnSelection();
    void emptySelectionChangesNothing();

private:
    QTemporaryDir m_settings;
};

void TestNumbering::initTestCase()
{
    QVERIFY(m_settings.isValid());
    useTemporarySettings(m_settings);
    SettingsRegistry::registerDefaults();
}

void TestNumbering::init()
{
    UserDefaults::shared().removeObjectForKey(LeadingZeroKey);
    UserDefaults::shared().removeObjectForKey(TrackCountKey);
}

void TestNumbering::numbersSegments_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("starts");
    QTest::addColumn<bool>("leadingZeros");
    QTest::addColumn<bool>("trackCount");
    QTest::addColumn<QStringList>("tracks");
    QTest::addColumn<QStringList>("discs");

    const QStringList keptDiscs12 = repeated("7/9", 12);
    QTest::newRow("12 songs, both options") << 12 << QList<int>{1, 13} << true << true
                                            << sequence(1, 12, 2, "/12") << keptDiscs12;
    QTest::newRow("5 songs, both options") << 5 << QList<int>{1, 6} << true << true << sequence(1, 5, 2, "/05")
                                           << repeated("7/9", 5);
    QTest::newRow("5 songs, no leading zeros") << 5 << QList<int>{1, 6} << false << true
                                               << sequence(1, 5, 1, "/5") << repeated("7/9", 5);
    QTest::newRow("5 songs, no track count") << 5 << QList<int>{1, 6} << true << false << sequence(1, 5, 2, "")
                                             << repeated("7/9", 5);
    QTest::newRow("5 songs, both off") << 5 << QList<int>{1, 6} << false << false << sequence(1, 5, 1, "")
                                       << repeated("7/9", 5);
    QTest::newRow("10 songs: count not padded") << 10 << QList<int>{1, 11} << true << true
                                                << sequence(1, 10, 2, "/10") << repeated("7/9", 10);
    QTest::newRow("9 songs: count padded") << 9 << QList<int>{1, 10} << true << true << sequence(1, 9, 2, "/09")
                                           << repeated("7/9", 9);
    QTest::newRow("99 songs") << 99 << QList<int>{1, 100} << true << true << sequence(1, 99, 2, "/99")
                              << repeated("7/9", 99);
    QTest::newRow("150 songs") << 150 << QList<int>{1, 151} << true << true << sequence(1, 150, 3, "/150")
                               << repeated("7/9", 150);
    QTest::newRow("150 songs, no track count") << 150 << QList<int>{1, 151} << true << false
                                               << sequence(1, 150, 3, "") << repeated("7/9", 150);
    QTest::newRow("1000 songs") << 1000 << QList<int>{1, 1001} << true << true
                                << sequence(1, 1000, 4, "/1000") << repeated("7/9", 1000);
    QTest::newRow("1 song") << 1 << QList<int>{1, 2} << true << true << QStringList{"01/01"}
                            << QStringList{"7/9"};

    QTest::newRow("discs 1,4,9, both options")
        << 8 << QList<int>{1, 4, 9} << true << true << sequence(1, 3, 2, "/03") + sequence(1, 5, 2, "/05")
        << repeated("01/02", 3) + repeated("02/02", 5);
    QTest::newRow("discs 1,4,9, both off")
        << 8 << QList<int>{1, 4, 9} << false << false << sequence(1, 3, 1, "") + sequence(1, 5, 1, "")
        << repeated("1", 3) + repeated("2", 5);
    QTest::newRow("discs 1,4,9, no leading zeros")
        << 8 << QList<int>{1, 4, 9} << false << true << sequence(1, 3, 1, "/3") + sequence(1, 5, 1, "/5")
        << repeated("1/2", 3) + repeated("2/2", 5);
    QTest::newRow("discs 1,4,9, no track count")
        << 8 << QList<int>{1, 4, 9} << true << false << sequence(1, 3, 2, "") + sequence(1, 5, 2, "")
        << repeated("01", 3) + repeated("02", 5);
    QTest::newRow("one song per disc")
        << 3 << QList<int>{1, 2, 3, 4} << true << true << repeated("01/01", 3)
        << QStringList{"01/03", "02/03", "03/03"};
    QTest::newRow("12 discs: disc count not padded")
        << 12 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13} << true << true << repeated("01/01", 12)
        << sequence(1, 12, 2, "/12");
    QTest::newRow("disc with 120 songs next to one with 2")
        << 122 << QList<int>{1, 121, 123} << true << true
        << sequence(1, 120, 3, "/120") + sequence(1, 2, 2, "/02") << repeated("01/02", 120) + repeated("02/02", 2);

    QTest::newRow("segment past the selection") << 3 << QList<int>{1, 10} << false << true
                                                << QStringList{"1/9", "2/9", "3/9"} << repeated("7/9", 3);
    QTest::newRow("start before the selection") << 3 << QList<int>{0, 3} << false << false
                                                 << QStringList{"2", "3", "99/99"} << repeated("7/9", 3);
    QTest::newRow("no segments") << 3 << QList<int>{1} << true << true << repeated("99/99", 3)
                                 << repeated("7/9", 3);
    QTest::newRow("empty selection") << 0 << QList<int>{1, 1} << true << true << QStringList{} << QStringList{};
}

void TestNumbering::numbersSegments()
{
    QFETCH(int, count);
    QFETCH(QList<int>, starts);
    QFETCH(bool, leadingZeros);
    QFETCH(bool, trackCount);
    QFETCH(QStringList, tracks);
    QFETCH(QStringList, discs);

    SongBatch batch(count);
    NumberingController::numberSongs(batch.pointers, starts, leadingZeros, trackCount);
    QCOMPARE(batch.tracks(), tracks);
    QCOMPARE(batch.discs(), discs);
    for (const QString &track : batch.tracks())
        QVERIFY2(Song::isValidNaturalNumberOrPair(track), qPrintable(track));
}

void TestNumbering::singleSegmentLeavesDiscAndItsFlag()
{
    SongBatch batch(4);
    NumberingController::numberSongs(batch.pointers, {1, 5}, true, true);
    for (const Song *song : batch.pointers) {
        QVERIFY(song->isTrackModified());
        QVERIFY(!song->isDiscModified());
    }
}

void TestNumbering::segmentsFlagTrackAndDisc()
{
    SongBatch batch(4);
    NumberingController::numberSongs(batch.pointers, {1, 3, 5}, true, true);
    for (const Song *song : batch.pointers) {
        QVERIFY(song->isTrackModified());
        QVERIFY(song->isDiscModified());
    }
}

void TestNumbering::sameNumberAgainSetsNoFlag()
{
    SongBatch batch(3);
    NumberingController::numberSongs(batch.pointers, {1, 4}, true, true);
    for (Song *song : batch.pointers)
        song->resetModifications();
    NumberingController::numberSongs(batch.pointers, {1, 4}, true, true);
    for (const Song *song : batch.pointers)
        QVERIFY(!song->isModified());
}

void TestNumbering::plainCallNumbersSelectionInTableOrder()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(5));
    loaded.song(1)->setDisc(QStringLiteral("2/3"));
    loaded.select({4, 1, 3});
    NumberingController numbering(&loaded.editor);
    numbering.applyNumberingToSongs();
    QCOMPARE(loaded.song(1)->track(), u"01/03"_qs);
    QCOMPARE(loaded.song(3)->track(), u"02/03"_qs);
    QCOMPARE(loaded.song(4)->track(), u"03/03"_qs);
    QCOMPARE(loaded.song(0)->track(), QString());
    QCOMPARE(loaded.song(2)->track(), QString());
    QVERIFY(!loaded.song(0)->isModified());
    QCOMPARE(loaded.song(1)->disc(), u"2/3"_qs);
}

void TestNumbering::optionsAreReadAtEachCall_data()
{
    QTest::addColumn<bool>("leadingZeros");
    QTest::addColumn<bool>("trackCount");
    QTest::addColumn<QStringList>("tracks");

    QTest::newRow("defaults") << true << true << QStringList{"01/03", "02/03", "03/03"};
    QTest::newRow("no leading zeros") << false << true << QStringList{"1/3", "2/3", "3/3"};
    QTest::newRow("no track count") << true << false << QStringList{"01", "02", "03"};
    QTest::newRow("both off") << false << false << QStringList{"1", "2", "3"};
}

void TestNumbering::optionsAreReadAtEachCall()
{
    QFETCH(bool, leadingZeros);
    QFETCH(bool, trackCount);
    QFETCH(QStringList, tracks);

    LoadedEditor loaded;
    QVERIFY(loaded.load(3));
    NumberingController numbering(&loaded.editor);
    // A first run with the defaults, then one with the options of the row.
    numbering.applyNumberingToSongs();
    QCOMPARE(loaded.song(2)->track(), u"03/03"_qs);
    UserDefaults::shared().setBool(leadingZeros, LeadingZeroKey);
    UserDefaults::shared().setBool(trackCount, TrackCountKey);
    numbering.applyNumberingToSongs();
    QStringList numbered;
    for (int row = 0; row < 3; ++row)
        numbered.append(loaded.song(row)->track());
    QCOMPARE(numbered, tracks);
}

void TestNumbering::discSegmentsOnSelection()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(6));
    // Positions count in the selection, not in the table.
    loaded.select({0, 2, 3, 5});
    NumberingController numbering(&loaded.editor);
    numbering.applyNumberingToSongs({1, 2, 5});
    QCOMPARE(loaded.song(0)->track(), u"01/01"_qs);
    QCOMPARE(loaded.song(0)->disc(), u"01/02"_qs);
    QCOMPARE(loaded.song(2)->track(), u"01/03"_qs);
    QCOMPARE(loaded.song(3)->track(), u"02/03"_qs);
    QCOMPARE(loaded.song(5)->track(), u"03/03"_qs);
    QCOMPARE(loaded.song(5)->disc(), u"02/02"_qs);
    QVERIFY(!loaded.song(1)->isModified());
    QVERIFY(!loaded.song(4)->isModified());
}

void TestNumbering::emptySelectionChangesNothing()
{
    LoadedEditor loaded;
    QVERIFY(loaded.load(2));
    loaded.select({});
    NumberingController numbering(&loaded.editor);
    numbering.applyNumberingToSongs();
    QVERIFY(!loaded.song(0)->isModified());
    QVERIFY(!loaded.song(1)->isModified());
}

QTEST_GUILESS_MAIN(TestNumbering)
#include "test_numbering.moc"
