#include "lookup/cover.h"
#include "lookup/jsonreader.h"
#include "lookup/release.h"
#include "model/localized.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QTest>

class TestReleaseModel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void coverIdentifiesItsPicture_data();
    void coverIdentifiesItsPicture();
    void destroyedReleaseLeavesNoDanglingRel();
    void removedCoverForgetsItsRelease();
    void flagsAreTheOnlyRowsChangedInPlace();
    void descriptionsNameTheirValues();
    void parsesStrictly_data();
    void parsesStrictly();
};

void TestReleaseModel::initTestCase()
{
    QVERIFY(Localized::installStringTable());
}

void TestReleaseModel::coverIdentifiesItsPicture_data()
{
    QTest::addColumn<QString>("uid");
    QTest::addColumn<QString>("imageUID");
    QTest::addColumn<bool>("placeholder");

    QTest::newRow("image URL") << "https://api.discogs.com/image/R-1-2.jpg" << "R-1-2.jpg" << false;
    QTest::newRow("image URL with query") << "https://img.example/images/R-5.png?x=1" << "R-5.png?x=1" << false;
    QTest::newRow("relative URI") << "/image/R-150-1-1.jpeg" << "R-150-1-1.jpeg" << false;
    QTest::newRow("bare name") << "R-9.jpg" << "R-9.jpg" << false;
    QTest::newRow("trailing slash") << "https://img.example/images/" << "" << false;
    QTest::newRow("no_image") << "no_image" << "no_image" << true;
    QTest::newRow("not_authorized") << "not_authorized" << "not_authorized" << true;
    QTest::newRow("quota_exceeded") << "quota_exceeded" << "quota_exceeded" << true;
    QTest::newRow("placeholder-like path") << "https://img.example/no_image" << "no_image" << false;
}

void TestReleaseModel::coverIdentifiesItsPicture()
{
    QFETCH(QString, uid);
    QFETCH(QString, imageUID);
    QFETCH(bool, placeholder);
    const Cover cover(uid);
    QCOMPARE(cover.imageUID(), imageUID);
    QCOMPARE(cover.fullImagePath(), uid);
    QVERIFY(cover.image().isNull());
    QCOMPARE(Cover::isPlaceholderUID(uid), placeholder);
    QCOMPARE(cover.rel(), nullptr);
}

void TestReleaseModel::destroyedReleaseLeavesNoDanglingRel()
{
    auto cover = std::make_shared<Cover>(QStringLiteral("https://api.discogs.com/image/R-1-2.jpg"));
    QList<Release *> announced;
    cover->setRelObserver([&announced](Cover &changed) { announced.append(changed.rel()); });
    {
        Release release;
        release.addCover(cover);
        cover->setRel(&release);
        cover->setRel(&release);
        QCOMPARE(announced, QList<Release *>{&release});
        QCOMPARE(release.objectInCoversAtIndex(0), cover);
    }
    // The cover outlived its release (a browser list still holds it) and no longer points there.
    QCOMPARE(cover->rel(), nullptr);
    QCOMPARE(announced.size(), 2);
    QCOMPARE(announced.last(), nullptr);
}

void TestReleaseModel::removedCoverForgetsItsRelease()
{
    Release release;
    Release other;
    auto mine = std::make_shared<Cover>(QStringLiteral("a.jpg"));
    auto foreign = std::make_shared<Cover>(QStringLiteral("b.jpg"));
    release.addCover(mine);
    release.insertObjectInCoversAtIndex(foreign, 0);
    mine->setRel(&release);
    foreign->setRel(&other);

    QCOMPARE(release.objectInCoversAtIndex(0), foreign);
    release.removeObjectFromCoversAtIndex(1);
    QCOMPARE(mine->rel(), nullptr);
    release.removeObjectFromCoversAtIndex(0);
    // A cover that belongs to another release keeps that one.
    QCOMPARE(foreign->rel(), &other);
    QCOMPARE(release.countOfCovers(), 0);
}

void TestReleaseModel::flagsAreTheOnlyRowsChangedInPlace()
{
    Release release;
    for (const char *track : {"1", "2", "3"}) {
        release.addTrack(QString::fromLatin1(track));
        release.addDisc(QStringLiteral("1"));
        release.addTitle(QStringLiteral("Title ") + QString::fromLatin1(track));
        release.addTitleArtist(QStringLiteral("Artist"));
        release.addFlag(1);
    }
    release.replaceObjectInFlagsAtIndex(1, 0);
    QCOMPARE(release.flags(), (QList<int>{1, 0, 1}));
    release.replaceObjectInFlagsAtIndex(1, 1);
    QCOMPARE(release.flags(), (QList<int>{1, 1, 1}));

    release.insertObjectInTracksAtIndex(QStringLiteral("0"), 0);
    release.removeObjectFromTracksAtIndex(3);
    QCOMPARE(release.tracks(), (QStringList{"0", "1", "2"}));
}

void TestReleaseModel::descriptionsNameTheirValues()
{
    Release release;
    release.setArtist(QStringLiteral("Persuader, The %1"));
    release.setAlbum(QStringLiteral("Stockholm"));
    release.setGenre(QStringLiteral("Electronic"));
    release.setYear(1999);
    QCOMPARE(release.description(), QStringLiteral("Persuader, The %1 | Stockholm | Electronic | 1999"));

    Cover cover(QStringLiteral("https://api.discogs.com/image/R-1-2.jpg"));
    QCOMPARE(cover.description(), QStringLiteral("https://api.discogs.com/image/R-1-2.jpg | (null)"));
    cover.setRel(&release);
    QCOMPARE(cover.description(), QStringLiteral("https://api.discogs.com/image/R-1-2.jpg | Persuader, The %1 | Stockholm | Electronic | 1999"));
    cover.setRel(nullptr);
}

void TestReleaseModel::parsesStrictly_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");

    QTest::newRow("object") << QByteArray(R"({"results": [], "pagination": {"items": 0}})") << true;
    QTest::newRow("array") << QByteArray("[1, 2.5, \"x\", true, null]") << true;
    QTest::newRow("white space after") << QByteArray("{\"a\": 1}\r\n\t ") << true;
    QTest::newRow("text after") << QByteArray("{\"a\": 1} x") << false;
    QTest::newRow("second value") << QByteArray("{\"a\": 1}{\"b\": 2}") << false;
    QTest::newRow("comment") << QByteArray("/* note */ {\"a\": 1}") << false;
    QTest::newRow("line comment") << QByteArray("{\"a\": 1 // note\n}") << false;
    QTest::newRow("trailing comma") << QByteArray("{\"a\": [1, 2,]}") << false;
    QTest::newRow("single quotes") << QByteArray("{'a': 1}") << false;
    QTest::newRow("invalid UTF-8") << QByteArray("{\"a\": \"caf\xe9\"}") << false;
    QTest::newRow("escaped byte that is no UTF-8") << QByteArray("{\"a\": \"D\\\x9b" "00e9\"}") << false;
    QTest::newRow("unknown escape") << QByteArray(R"({"a": "\q"})") << false;
    QTest::newRow("raw tab in text") << QByteArray("{\"a\": \"x\ty\"}") << false;
    QTest::newRow("raw NUL in text") << QByteArray("{\"a\": \"x\0y\"}", 12) << false;
    QTest::newRow("every escape JSON defines") << QByteArray(R"(["\" \\ \/ \b \f \n \r \t \u00e9 \ud83c\udfb5"])") << true;
    QTest::newRow("escaped quote before the end") << QByteArray(R"({"a\"b": "c\\", "d": "\\\""})") << true;
    QTest::newRow("truncated") << QByteArray("{\"results\": [") << false;
    QTest::newRow("HTML") << QByteArray("<html><body>Maintenance</body></html>") << false;
    QTest::newRow("empty") << QByteArray() << false;
}

void TestReleaseModel::parsesStrictly()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    const Result<QJsonDocument> parsed = JsonReader::parse(bytes);
    QCOMPARE(parsed.ok(), readable);
    if (!readable) {
        QCOMPARE(parsed.error().code, ErrorCode::Unreadable);
        QVERIFY(!parsed.error().detail.isEmpty());
    }
}

QTEST_GUILESS_MAIN(TestReleaseModel)
#include "test_releasemodel.moc"
