#include "releaserows.h"

#include "lookup/json2releasewalker.h"
#include "lookup/jsonreader.h"
#include "lookup/release.h"
#include "model/localized.h"

#include <QJsonDocument>
#include <QTest>

namespace {

QJsonObject object(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).object();
}

QJsonArray array(const QByteArray &json)
{
    return QJsonDocument::fromJson(json).array();
}

} // namespace

class TestReleaseWalker : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void normalizedTrack_data();
    void normalizedTrack();
    void normalizedDisc_data();
    void normalizedDisc();
    void removeTrailingDiscogsParentheses_data();
    void removeTrailingDiscogsParentheses();
    void areTracksInconsistent_data();
    void areTracksInconsistent();
    void artist_data();
    void artist();
    void featuringArtist_data();
    void featuringArtist();
    void walksTrackRows_data();
    void walksTrackRows();
    void walksReleaseValues_data();
    void walksReleaseValues();
    void treatsValuesOfUnexpectedTypesAsAbsent_data();
    void treatsValuesOfUnexpectedTypesAsAbsent();

private:
    Json2ReleaseWalker m_walker;
};

void TestReleaseWalker::initTestCase()
{
    QVERIFY(Localized::installStringTable());
}

void TestReleaseWalker::normalizedTrack_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("track");

    QTest::newRow("side A01") << "A01" << "1";
    QTest::newRow("side B12") << "B12" << "12";
    QTest::newRow("lower-case side") << "c7" << "7";
    QTest::newRow("disc-track") << "2-05" << "5";
    QTest::newRow("disc-track 1-1") << "1-1" << "1";
    QTest::newRow("leading zero kept") << "07" << "07";
    QTest::newRow("plain") << "12" << "12";
    QTest::newRow("side without number") << "A" << "A";
    QTest::newRow("sub-track letter") << "3a" << "3a";
    QTest::newRow("two letters") << "CD1" << "CD1";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("dash without digits after") << "A-" << "0";
}

void TestReleaseWalker::normalizedTrack()
{
    QFETCH(QString, position);
    QFETCH(QString, track);
    QCOMPARE(m_walker.normalizedTrack(position), track);
}

void TestReleaseWalker::normalizedDisc_data()
{
    QTest::addColumn<QString>("position");
    QTest::addColumn<QString>("disc");

    QTest::newRow("side A") << "A3" << "1";
    QTest::newRow("side B") << "B1" << "2";
    QTest::newRow("lower-case side c") << "c2" << "3";
    QTest::newRow("side Z") << "Z9" << "26";
    QTest::newRow("disc-track") << "2-05" << "2";
    QTest::newRow("disc 10") << "10-3" << "10";
    QTest::newRow("leading zero disc") << "02-3" << "2";
    QTest::newRow("plain number") << "7" << "1";
    QTest::newRow("side without number") << "A" << "1";
    QTest::newRow("sub-track letter") << "3a" << "1";
    QTest::newRow("empty") << "" << "1";
}

void TestReleaseWalker::normalizedDisc()
{
    QFETCH(QString, position);
    QFETCH(QString, disc);
    QCOMPARE(m_walker.normalizedDisc(position), disc);
}

void TestReleaseWalker::removeTrailingDiscogsParentheses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");

    QTest::newRow("number") << "Artist (2)" << "Artist";
    QTest::newRow("two digits") << "Care Company (12)" << "Care Company";
    QTest::newRow("word") << "Artist (Live)" << "Artist (Live)";
    QTest::newRow("no space") << "Artist(2)" << "Artist(2)";
    QTest::newRow("only the last") << "Artist (2) (3)" << "Artist (2)";
    QTest::newRow("not at the end") << "Artist (2) Band" << "Artist (2) Band";
    QTest::newRow("no-break space") << QStringLiteral("Artist\u00a0(3)") << "Artist";
    QTest::newRow("nothing before") << " (4)" << "";
    QTest::newRow("empty") << "" << "";
}

void TestReleaseWalker::removeTrailingDiscogsParentheses()
{
    QFETCH(QString, text);
    QFETCH(QString, result);
    QCOMPARE(m_walker.removeTrailingDiscogsParentheses(text), result);
}

void TestReleaseWalker::areTracksInconsistent_data()
{
    QTest::addColumn<QByteArray>("tracks");
    QTest::addColumn<bool>("inconsistent");

    QTest::newRow("none") << QByteArray("[]") << false;
    QTest::newRow("numbers") << QByteArray(R"J([{"type_":"track","position":"1"},{"type_":"track","position":"02"}])J") << false;
    QTest::newRow("sides") << QByteArray(R"J([{"type_":"track","position":"A1"},{"type_":"track","position":"b12"}])J") << false;
    QTest::newRow("disc-track") << QByteArray(R"J([{"type_":"track","position":"1-1"},{"type_":"track","position":"2-10"}])J") << false;
    QTest::newRow("sub-track letter") << QByteArray(R"J([{"type_":"track","position":"1"},{"type_":"track","position":"3a"}])J") << true;
    QTest::newRow("side without number") << QByteArray(R"J([{"type_":"track","position":"A"}])J") << true;
    QTest::newRow("two letters") << QByteArray(R"J([{"type_":"track","position":"CD1"}])J") << true;
    QTest::newRow("dotted") << QByteArray(R"J([{"type_":"track","position":"1.1"}])J") << true;
    QTest::newRow("space") << QByteArray(R"J([{"type_":"track","position":" 1"}])J") << true;
    QTest::newRow("empty position") << QByteArray(R"J([{"type_":"track","position":""}])J") << true;
    QTest::newRow("missing position") << QByteArray(R"J([{"type_":"track"}])J") << true;
    QTest::newRow("type in capitals") << QByteArray(R"J([{"type_":"TRACK","position":"x"}])J") << true;
    QTest::newRow("heading ignored") << QByteArray(R"J([{"type_":"heading","position":""},{"type_":"track","position":"1"}])J") << false;
    QTest::newRow("index ignored") << QByteArray(R"J([{"type_":"index","position":"?"}])J") << false;
}

void TestReleaseWalker::areTracksInconsistent()
{
    QFETCH(QByteArray, tracks);
    QFETCH(bool, inconsistent);
    QCOMPARE(m_walker.areTracksInconsistent(array(tracks)), inconsistent);
}

void TestReleaseWalker::artist_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("artist");

    QTest::newRow("first only") << QByteArray(R"J({"artists":[{"name":"Trash80","join":","},{"name":"Dma-Sc"}]})J") << "Trash80";
    QTest::newRow("suffix kept") << QByteArray(R"J({"artists":[{"name":"Care Company (2)"}]})J") << "Care Company (2)";
    QTest::newRow("no special name") << QByteArray(R"J({"artists":[{"name":"Various"}]})J") << "Various";
    QTest::newRow("empty list") << QByteArray(R"J({"artists":[]})J") << "";
    QTest::newRow("first has no name") << QByteArray(R"J({"artists":[{"id":1},{"name":"B"}]})J") << "";
    QTest::newRow("absent") << QByteArray(R"J({})J") << "";
}

void TestReleaseWalker::artist()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, artist);
    QCOMPARE(m_walker.artist(object(json)), artist);
}

void TestReleaseWalker::featuringArtist_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QString>("featuring");

    QTest::newRow("featuring") << QByteArray(R"J({"extraartists":[{"role":"Featuring","name":"Guest (2)"}]})J") << "Guest (2)";
    QTest::newRow("after other roles") << QByteArray(R"J({"extraartists":[{"role":"Remix","name":"R"},{"role":"Featuring","name":"F"}]})J") << "F";
    QTest::newRow("first of two") << QByteArray(R"J({"extraartists":[{"role":"Featuring","name":"F1"},{"role":"Featuring","name":"F2"}]})J") << "F1";
    QTest::newRow("first without name") << QByteArray(R"J({"extraartists":[{"role":"Featuring"},{"role":"Featuring","name":"F2"}]})J") << "";
    QTest::newRow("qualified role") << QByteArray(R"J({"extraartists":[{"role":"Featuring [Vocals]","name":"V"}]})J") << "";
    QTest::newRow("lower case") << QByteArray(R"J({"extraartists":[{"role":"featuring","name":"V"}]})J") << "";
    QTest::newRow("remix") << QByteArray(R"J({"extraartists":[{"role":"Remix","name":"R"}]})J") << "";
    QTest::newRow("no extra artists") << QByteArray(R"J({"title":"Song"})J") << "";
}

void TestReleaseWalker::featuringArtist()
{
    QFETCH(QByteArray, json);
    QFETCH(QString, featuring);
    QCOMPARE(m_walker.featuringArtist(object(json)), featuring);
}

void TestReleaseWalker::walksTrackRows_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<QStringList>("rows");

    QTest::newRow("sides") << QByteArray(R"J({"artists":[{"name":"Band"}],"tracklist":[
        {"type_":"track","position":"A1","title":"One"},
        {"type_":"track","position":"A2","title":"Two"},
        {"type_":"track","position":"B1","title":"Three"}]})J")
                           << QStringList{"1|1|One|Band|1", "1|2|Two|Band|1", "2|1|Three|Band|1"};
    QTest::newRow("disc-track") << QByteArray(R"J({"artists":[{"name":"Band"}],"tracklist":[
        {"type_":"track","position":"1-1","title":"One"},
        {"type_":"track","position":"1-2","title":"Two"},
        {"type_":"track","position":"2-1","title":"Three"}]})J")
                                << QStringList{"1|1|One|Band|1", "1|2|Two|Band|1", "2|1|Three|Band|1"};
    QTest::newRow("inconsistent") << QByteArray(R"J({"artists":[{"name":"Band"}],"tracklist":[
        {"type_":"track","position":"1","title":"One"},
        {"type_":"track","position":"2","title":"Two"},
        {"type_":"track","position":"3a","title":"Three"}]})J")
                                  << QStringList{"1|1|One|Band|1", "1|2|Two|Band|1", "1|3|Three|Band|1"};
    QTest::newRow("leading zeros") << QByteArray(R"J({"artists":[{"name":"Band"}],"tracklist":[
        {"type_":"track","position":"01","title":"One"},
        {"type_":"track","position":"02","title":"Two"}]})J")
                                   << QStringList{"1|01|One|Band|1", "1|02|Two|Band|1"};
    QTest::newRow("track artists") << QByteArray(R"J({"artists":[{"name":"Various (2)"}],"tracklist":[
        {"type_":"track","position":"1","title":"One","artists":[{"name":"Foo (3)"}]},
        {"type_":"track","position":"2","title":"Two","artists":[]},
        {"type_":"track","position":"3","title":"Three"}]})J")
                                   << QStringList{"1|1|One|Foo|1", "1|2|Two|Various|1", "1|3|Three|Various|1"};
    QTest::newRow("featuring") << QByteArray(R"J({"artists":[{"name":"Band"}],"tracklist":[
        {"type_":"track","position":"1","title":"Song","extraartists":[{"role":"Featuring","name":"Guest (2)"}]},
        {"type_":"track","position":"2","title":"Song","extraartists":[{"role":"Remix","name":"Guest"}]},
        {"type_":"track","position":"3","title":"Song","extraartists":[{"role":"Featuring [Vocals]","name":"Guest"}]}]})J")
                               << QStringList{"1|1|Song (feat. Guest)|Band|1", "1|2|Song|Band|1", "1|3|Song|Band|1"};
    QTest::newRow("entries without rows") << QByteArray(R"J({"artists":[{"name":"Band"}],"tracklist":[
        {"type_":"heading","position":"","title":"Side One"},
        {"type_":"Track","position":"1","title":"One"},
        {"type_":"index","position":"","title":"Suite","sub_tracks":[{"type_":"track","position":"2a","title":"Part"}]},
        {"position":"2","title":"Untyped"},
        {"type_":"track","position":"3"},
        {"type_":"track","position":"4","title":""}]})J")
                                         << QStringList{"1|1|One|Band|1", "1|4||Band|1"};
    QTest::newRow("headings only") << QByteArray(R"J({"tracklist":[{"type_":"heading","position":"","title":"CD 1"}]})J")
                                   << QStringList{};
    QTest::newRow("empty tracklist") << QByteArray(R"J({"tracklist":[]})J") << QStringList{};
}

void TestReleaseWalker::walksTrackRows()
{
    QFETCH(QByteArray, json);
    QFETCH(QStringList, rows);
    const QJsonObject document = object(json);
    QVERIFY(!document.isEmpty());
    const std::unique_ptr<Release> release = m_walker.walkJson(document);
    QVERIFY(release);
    QCOMPARE(releaseRows(*release), rows);
}

void TestReleaseWalker::walksReleaseValues_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("isRelease");
    QTest::addColumn<QString>("artist");
    QTest::addColumn<QString>("album");
    QTest::addColumn<QString>("genre");
    QTest::addColumn<qint64>("year");

    QTest::newRow("all values") << QByteArray(R"J({"title":"Stockholm","artists":[{"name":"Persuader, The"}],"genres":["Electronic","Pop"],"year":1999,"tracklist":[]})J")
                                << true << "Persuader, The" << "Stockholm" << "Electronic" << qint64(1999);
    QTest::newRow("artist suffix") << QByteArray(R"J({"artists":[{"name":"Artist (2)"}],"tracklist":[]})J")
                                   << true << "Artist" << "" << "" << qint64(0);
    QTest::newRow("no year, no genres") << QByteArray(R"J({"title":"T","tracklist":[]})J")
                                        << true << "" << "T" << "" << qint64(0);
    QTest::newRow("empty genres") << QByteArray(R"J({"genres":[],"year":0,"tracklist":[]})J")
                                  << true << "" << "" << "" << qint64(0);
    QTest::newRow("no tracklist") << QByteArray(R"J({"title":"Stockholm","year":1999})J")
                                  << false << "" << "" << "" << qint64(0);
}

void TestReleaseWalker::walksReleaseValues()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, isRelease);
    const std::unique_ptr<Release> release = m_walker.walkJson(object(json));
    QCOMPARE(bool(release), isRelease);
    if (!release)
        return;
    QTEST(release->artist(), "artist");
    QTEST(release->album(), "album");
    QTEST(release->genre(), "genre");
    QTEST(release->year(), "year");
    QCOMPARE(release->countOfCovers(), 0);
}

void TestReleaseWalker::treatsValuesOfUnexpectedTypesAsAbsent_data()
{
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("isRelease");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QStringList>("rows");

    const QByteArray oneTrack = R"J("tracklist":[{"type_":"track","position":"1","title":"One"}])J";
    QTest::newRow("title number") << R"({"title":5,)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("year text") << R"({"year":"1999",)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("year null") << R"({"year":null,)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("year fraction") << R"({"year":1999.5,)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("genres text") << R"({"genres":"Rock",)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("genre number") << R"({"genres":[5, "Rock"],)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("artists object") << R"({"artists":{"name":"X"},)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("artist null") << R"({"artists":[null],)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("artist name number") << R"({"artists":[{"name":7}],)" + oneTrack + "}" << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("tracklist null") << QByteArray(R"J({"title":"T","tracklist":null})J") << false << "" << QStringList{};
    QTest::newRow("tracklist object") << QByteArray(R"J({"tracklist":{"type_":"track","title":"One"}})J") << false << "" << QStringList{};
    QTest::newRow("tracklist of scalars") << QByteArray(R"J({"tracklist":[5, null, "x", [], true]})J") << true << " |  |  | 0" << QStringList{};
    QTest::newRow("track title null") << QByteArray(R"J({"tracklist":[{"type_":"track","position":"1","title":null}]})J") << true << " |  |  | 0" << QStringList{};
    QTest::newRow("type number") << QByteArray(R"J({"tracklist":[{"type_":1,"position":"1","title":"One"}]})J") << true << " |  |  | 0" << QStringList{};
    QTest::newRow("position number") << QByteArray(R"J({"tracklist":[{"type_":"track","position":"A1","title":"One"},{"type_":"track","position":2,"title":"Two"}]})J")
                                     << true << " |  |  | 0" << QStringList{"1|1|One||1", "1|2|Two||1"};
    QTest::newRow("extra artists object") << QByteArray(R"J({"tracklist":[{"type_":"track","position":"1","title":"One","extraartists":{"role":"Featuring","name":"G"}}]})J")
                                          << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("featuring name null") << QByteArray(R"J({"tracklist":[{"type_":"track","position":"1","title":"One","extraartists":[null,{"role":"Featuring","name":null}]}]})J")
                                         << true << " |  |  | 0" << QStringList{"1|1|One||1"};
    QTest::newRow("track artists text") << QByteArray(R"J({"artists":[{"name":"Band"}],"tracklist":[{"type_":"track","position":"1","title":"One","artists":"Solo"}]})J")
                                        << true << "Band |  |  | 0" << QStringList{"1|1|One|Band|1"};
}

void TestReleaseWalker::treatsValuesOfUnexpectedTypesAsAbsent()
{
    QFETCH(QByteArray, json);
    QFETCH(bool, isRelease);
    QFETCH(QString, description);
    QFETCH(QStringList, rows);
    const Result<QJsonDocument> parsed = JsonReader::parse(json);
    QVERIFY(parsed.ok());
    const std::unique_ptr<Release> release = m_walker.walkJson(parsed.value().object());
    QCOMPARE(bool(release), isRelease);
    if (!release)
        return;
    QCOMPARE(release->description(), description);
    QCOMPARE(releaseRows(*release), rows);
}

QTEST_GUILESS_MAIN(TestReleaseWalker)
#include "test_releasewalker.moc"
