#include "downloadrecorder.h"
#include "httptestserver.h"
#include "loadededitor.h"

#include "editor/imagecontroller.h"
#include "editor/settingsregistry.h"
#include "lookup/browsercontroller.h"
#include "lookup/cover.h"
#include "lookup/downloadmanager.h"
#include "lookup/release.h"
#include "lookup/releaseapplier.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/allinonecontroller.h"
#include "tools/capitalizationcontroller.h"
#include "tools/namingcontroller.h"
#include "tools/numberingcontroller.h"

#include <QBuffer>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

// The release table's rows and targets, and copying a release into the selected songs: the
// questions, the order of the values, the picture and the disc starts.
class TestReleaseApplier : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void uncheckedRowsGetNoTarget();
    void surplusRowsShowNoneSelected();
    void togglingShiftsLaterTargets();
    void cellsByColumn();
    void appliesValuesAndPicture();
    void asksWhenCountsDiffer_data();
    void asksWhenCountsDiffer();
    void placeholderCoverAddsNoPicture();
    void discStartsReachAllInOne_data();
    void discStartsReachAllInOne();

private:
    // Publishes release 1 (four rows: discs 1, 1, 2, 2 unless given) with one picture or none.
    bool search(const QStringList &discs = {"1", "1", "2", "2"}, bool picture = true);

    QTemporaryDir m_dir;
    std::unique_ptr<HttpTestServer> m_server;
    std::unique_ptr<LoadedEditor> m_loaded;
    std::unique_ptr<BrowserController> m_browser;
    std::unique_ptr<ImageController> m_images;
    std::unique_ptr<NumberingController> m_numbering;
    std::unique_ptr<CapitalizationController> m_capitalization;
    std::unique_ptr<NamingController> m_naming;
    std::unique_ptr<AllInOneController> m_allInOne;
    std::unique_ptr<ReleaseApplier> m_applier;
    QByteArray m_jpeg;
};

void TestReleaseApplier::initTestCase()
{
    QVERIFY(m_dir.isValid());
    UserDefaults::shared().openStore(m_dir.filePath("settings.ini"));
    SettingsRegistry::registerDefaultsOnce();
    DownloadManager::setDefaultLimits(quickDownloadLimits());
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QBuffer buffer(&m_jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
}

void TestReleaseApplier::init()
{
    m_server = std::make_unique<HttpTestServer>();
    UserDefaults::shared().setObject(m_server->url(""), "DISCOGS_API_URL");
    UserDefaults::shared().setBool(false, "ALL_IN_ONE_AFTER_APPLY");
    UserDefaults::shared().setBool(false, "SCALE_IMAGES");
    m_loaded = std::make_unique<LoadedEditor>();
    QVERIFY(m_loaded->load(5));
    m_browser = std::make_unique<BrowserController>(&m_loaded->ui);
    m_images = std::make_unique<ImageController>(&m_loaded->editor);
    m_numbering = std::make_unique<NumberingController>(&m_loaded->editor);
    m_capitalization = std::make_unique<CapitalizationController>(&m_loaded->editor);
    m_naming = std::make_unique<NamingController>(m_loaded->editor);
    m_allInOne = std::make_unique<AllInOneController>(m_numbering.get(), m_capitalization.get(), m_naming.get());
    m_applier = std::make_unique<ReleaseApplier>(m_browser.get(), &m_loaded->editor, m_images.get(), m_allInOne.get());
}

void TestReleaseApplier::cleanup()
{
    m_applier.reset();
    m_allInOne.reset();
    m_naming.reset();
    m_capitalization.reset();
    m_numbering.reset();
    m_images.reset();
    m_browser.reset();
    m_loaded.reset();
    m_server.reset();
}

bool TestReleaseApplier::search(const QStringList &discs, bool picture)
{
    QJsonArray tracklist;
    for (int i = 0; i < discs.size(); ++i) {
        QJsonObject track{{"type_", "track"}, {"position", QStringLiteral("%1-%2").arg(discs.at(i)).arg(i + 1)},
                          {"title", QStringLiteral("Song %1").arg(i + 1)}};
        if (i == 1)
            track.insert("artists", QJsonArray{QJsonObject{{"name", "Guest"}}});
        tracklist.append(track);
    }
    QJsonObject document{{"title", "Blue"}, {"year", 2001}, {"genres", QJsonArray{"Jazz"}},
                         {"artists", QJsonArray{QJsonObject{{"name", "Nina"}}}},
                         {"formats", QJsonArray{QJsonObject{{"name", "CD"}}}}, {"tracklist", tracklist}};
    if (picture)
        document.insert("images", QJsonArray{QJsonObject{{"uri", m_server->url("/img/front.jpg")}}});
    m_server->setResponse("/releases/1", HttpTestResponse::withBody(QJsonDocument(document).toJson()));
    m_server->setResponse("/img/front.jpg", HttpTestResponse::withBody(m_jpeg));
    m_browser->setSearchString("1");
    m_browser->searchDiscogs();
    return QTest::qWaitFor([&] { return !m_loaded->ui.notifications.isEmpty(); }, 10000)
           && m_browser->currentRelease() != nullptr;
}

void TestReleaseApplier::uncheckedRowsGetNoTarget()
{
    QVERIFY(search());
    m_loaded->select({0, 1, 2});
    QVERIFY(m_applier->setObjectValue("title", 1));
    QCOMPARE(m_applier->numberOfRowsInTableView(), 4);
    QCOMPARE(m_applier->getTargetFileForRow(0), m_loaded->song(0)->fileName());
    QCOMPARE(m_applier->getTargetFileForRow(1), QString());
    QCOMPARE(m_applier->cellText("mapsTo", 1), QString());
    QCOMPARE(m_applier->cellText("mapsTo", 2), QString("➔"));
    QCOMPARE(m_applier->getTargetFileForRow(2), m_loaded->song(1)->fileName());
    QCOMPARE(m_applier->cellText("targetFile", 3), m_loaded->song(2)->fileName());
    QVERIFY(m_applier->applySearchResultsToSongs());
    QVERIFY(m_loaded->ui.questions.isEmpty());
    QCOMPARE(m_loaded->song(1)->title(), QString("Song 3"));
}

void TestReleaseApplier::surplusRowsShowNoneSelected()
{
    QVERIFY(search());
    m_loaded->select({0, 1});
    QCOMPARE(m_applier->getTargetFileForRow(1), m_loaded->song(1)->fileName());
    QCOMPARE(m_applier->getTargetFileForRow(2), Localized::text("NoneSelected"));
    QCOMPARE(m_applier->getTargetFileForRow(3), Localized::text("NoneSelected"));
}

void TestReleaseApplier::togglingShiftsLaterTargets()
{
    QVERIFY(search());
    m_loaded->select({0, 1, 2, 3});
    QVERIFY(!m_applier->setObjectValue("track", 0));
    QCOMPARE(m_applier->flagForRow(0), 1);
    QVERIFY(m_applier->setObjectValue("title", 0));
    QCOMPARE(m_applier->flagForRow(0), 0);
    QCOMPARE(m_applier->getTargetFileForRow(3), m_loaded->song(2)->fileName());
    m_applier->uncheckAll();
    for (int row = 0; row < 4; ++row)
        QCOMPARE(m_applier->getTargetFileForRow(row), QString());
    m_applier->checkAll();
    for (int row = 0; row < 4; ++row)
        QCOMPARE(m_applier->getTargetFileForRow(row), m_loaded->song(row)->fileName());
}

void TestReleaseApplier::cellsByColumn()
{
    QVERIFY(search());
    QCOMPARE(m_applier->cellText("track", 2), QString("3"));
    QCOMPARE(m_applier->cellText("disc", 2), QString("2"));
    QCOMPARE(m_applier->cellText("title", 2), QString("Song 3"));
    QCOMPARE(m_applier->cellText("artist", 1), QString("Guest"));
    QCOMPARE(m_applier->cellText("artist", 0), QString("Nina"));
    QCOMPARE(m_applier->cellText("other", 0), QString());
    QCOMPARE(m_applier->cellText("title", 9), QString());
}

void TestReleaseApplier::appliesValuesAndPicture()
{
    QVERIFY(search());
    m_loaded->select({0, 1, 2, 3});
    QVERIFY(m_applier->applySearchResultsToSongs());
    QVERIFY(m_loaded->ui.questions.isEmpty());
    const Song *second = m_loaded->song(1);
    QCOMPARE(second->artist(), QString("Guest"));
    QCOMPARE(second->albumArtist(), QString("Nina"));
    QCOMPARE(second->album(), QString("Blue"));
    QCOMPARE(second->genre(), QString("Jazz"));
    QCOMPARE(second->year(), qint64(2001));
    QCOMPARE(second->disc(), QString("1"));
    QCOMPARE(second->title(), QString("Song 2"));
    QCOMPARE(second->track(), QString("2"));
    QCOMPARE(m_loaded->song(0)->artist(), QString("Nina"));
    for (int row = 0; row < 4; ++row) {
        QCOMPARE(m_loaded->song(row)->images().size(), 1);
        QCOMPARE(m_loaded->song(row)->images().at(0).data(), m_jpeg);
    }
    QCOMPARE(m_loaded->song(4)->images().size(), 0);
    QCOMPARE(m_applier->discStarts(), (QList<int>{1, 3, 5}));
}

void TestReleaseApplier::asksWhenCountsDiffer_data()
{
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<bool>("uncheckAll");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("informativeKey");
    QTest::addColumn<int>("filled");
    QTest::newRow("fewer songs, continue") << QList<int>{0, 1} << false << 1 << "TheNumberOfSongsSelectedIsLess" << 2;
    QTest::newRow("fewer songs, cancel") << QList<int>{0, 1} << false << 0 << "TheNumberOfSongsSelectedIsLess" << 0;
    QTest::newRow("more songs, continue") << QList<int>{0, 1, 2, 3, 4} << false << 1 << "TheNumberOfSongsSelectedIsGreater" << 4;
    QTest::newRow("all unchecked, continue") << QList<int>{0, 1} << true << 1 << "TheNumberOfSongsSelectedIsGreater" << 0;
}

void TestReleaseApplier::asksWhenCountsDiffer()
{
    QFETCH(QList<int>, selection);
    QFETCH(bool, uncheckAll);
    QFETCH(int, answer);
    QFETCH(QString, informativeKey);
    QFETCH(int, filled);
    QVERIFY(search());
    m_loaded->select(selection);
    if (uncheckAll)
        m_applier->uncheckAll();
    m_loaded->ui.answerNext(answer);
    QCOMPARE(m_applier->applySearchResultsToSongs(), answer == 1);
    QCOMPARE(m_loaded->ui.questions.size(), 1);
    QCOMPARE(m_loaded->ui.questions.at(0).messageKey, QString("AreYouSureYouWantToContinueCopying"));
    QCOMPARE(m_loaded->ui.questions.at(0).informativeKey, informativeKey);
    QCOMPARE(m_loaded->ui.questions.at(0).buttonKeys, (QStringList{"Cancel", "Continue"}));
    for (int i = 0; i < selection.size(); ++i) {
        const Song *song = m_loaded->song(selection.at(i));
        QCOMPARE(song->album(), i < filled ? QString("Blue") : QString());
        QCOMPARE(song->images().size(), answer == 1 ? 1 : 0);
    }
}

void TestReleaseApplier::placeholderCoverAddsNoPicture()
{
    QVERIFY(search({"1", "1", "1", "1"}, false));
    m_loaded->select({0, 1, 2, 3});
    QVERIFY(m_applier->applySearchResultsToSongs());
    QCOMPARE(m_loaded->song(3)->album(), QString("Blue"));
    QCOMPARE(m_loaded->song(3)->images().size(), 0);
    QCOMPARE(m_applier->discStarts(), (QList<int>{1, 5}));
}

void TestReleaseApplier::discStartsReachAllInOne_data()
{
    QTest::addColumn<bool>("allInOne");
    QTest::newRow("off") << false;
    QTest::newRow("on") << true;
}

void TestReleaseApplier::discStartsReachAllInOne()
{
    QFETCH(bool, allInOne);
    UserDefaults::shared().setBool(allInOne, "ALL_IN_ONE_AFTER_APPLY");
    QVERIFY(search({"1", "1", "2"}, false));
    m_loaded->select({0, 1, 2});
    QVERIFY(m_applier->applySearchResultsToSongs());
    QCOMPARE(m_applier->discStarts(), (QList<int>{1, 3, 4}));
    // The release gives tracks 1, 2, 3; numbering per disc restarts at the third song.
    const QString third = m_loaded->song(2)->track();
    if (allInOne) {
        QCOMPARE(third.section('/', 0, 0).toInt(), 1);
        QCOMPARE(m_loaded->song(1)->track().section('/', 0, 0).toInt(), 2);
        QCOMPARE(m_loaded->song(1)->track().section('/', 1).toInt(), 2);
    }
    else
        QCOMPARE(third, QString("3"));
}

QTEST_GUILESS_MAIN(TestReleaseApplier)
#include "test_releaseapplier.moc"
