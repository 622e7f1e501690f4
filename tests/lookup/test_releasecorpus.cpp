#include "releaserows.h"

#include "lookup/json2releasewalker.h"
#include "lookup/jsonreader.h"
#include "lookup/release.h"
#include "model/localized.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

#include <functional>

namespace {

QString corpusFolder(const QString &name)
{
    return QStringLiteral(QUORL_CORPUS_DIR "/discogs/") + name;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// The walker on real documents of the web API (the shared corpus): every release walks, values
// of any type in any place are survived, malformed documents are refused, and the rows of
// several releases are as read off their JSON by hand.
class TestReleaseCorpus : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void walksEveryCorpusRelease();
    void survivesCorpusReleasesWithRetypedValues();
    void rejectsMalformedCorpusDocuments();
    void searchResponsesAreNoReleases();
    void corpusRowsFollowTheRules_data();
    void corpusRowsFollowTheRules();

private:
    Json2ReleaseWalker m_walker;
};

void TestReleaseCorpus::initTestCase()
{
    QVERIFY(Localized::installStringTable());
}

void TestReleaseCorpus::walksEveryCorpusRelease()
{
    const QDir folder(corpusFolder(QStringLiteral("releases")));
    if (!folder.exists())
        QSKIP("The release documents of the shared corpus are missing (../shared/corpus/discogs/releases)");
    const QStringList names = folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names) {
        const Result<QJsonDocument> parsed = JsonReader::parse(readFile(folder.filePath(name)));
        QVERIFY2(parsed.ok(), qPrintable(name + QStringLiteral(": ") + (parsed.ok() ? QString() : parsed.error().detail)));
        QVERIFY2(parsed.value().isObject(), qPrintable(name));
        const std::unique_ptr<Release> release = m_walker.walkJson(parsed.value().object());
        QVERIFY2(release, qPrintable(name));
        QVERIFY2(!release->album().isEmpty(), qPrintable(name));
        QVERIFY2(!release->artist().isEmpty(), qPrintable(name));
        QString problem;
        QVERIFY2(rowsAreConsistent(*release, &problem), qPrintable(name + QStringLiteral(": ") + problem));
    }
}

void TestReleaseCorpus::survivesCorpusReleasesWithRetypedValues()
{
    const QDir folder(corpusFolder(QStringLiteral("releases")));
    if (!folder.exists())
        QSKIP("The release documents of the shared corpus are missing (../shared/corpus/discogs/releases)");
    const QStringList keys{"title", "artists", "genres", "year", "tracklist", "name", "type_",
                           "position", "extraartists", "role"};
    const QList<QJsonValue> replacements{QJsonValue(QJsonValue::Null), QJsonValue(7),
                                         QJsonValue(QStringLiteral("x")), QJsonValue(QJsonObject()),
                                         QJsonValue(QJsonArray())};
    // Replaces the value of every occurrence of the key, at any depth.
    std::function<QJsonValue(const QJsonValue &, const QString &, const QJsonValue &)> retype =
        [&retype](const QJsonValue &value, const QString &key, const QJsonValue &replacement) -> QJsonValue {
        if (value.isArray()) {
            QJsonArray result;
            for (const QJsonValue &element : value.toArray())
                result.append(retype(element, key, replacement));
            return result;
        }
        if (!value.isObject())
            return value;
        QJsonObject result = value.toObject();
        for (auto it = result.begin(); it != result.end(); ++it)
            it.value() = it.key() == key ? replacement : retype(it.value(), key, replacement);
        return result;
    };

    for (const QString &name : folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name)) {
        const QJsonObject document = QJsonDocument::fromJson(readFile(folder.filePath(name))).object();
        for (const QString &key : keys) {
            for (const QJsonValue &replacement : replacements) {
                const QJsonObject changed = retype(document, key, replacement).toObject();
                const std::unique_ptr<Release> release = m_walker.walkJson(changed);
                const QString what = QStringLiteral("%1 with %2 = %3")
                                         .arg(name, key, QString::fromUtf8(QJsonDocument(QJsonArray{replacement}).toJson(QJsonDocument::Compact)));
                if (key == QLatin1String("tracklist")) {
                    QCOMPARE(bool(release), replacement.isArray());
                    continue;
                }
                QVERIFY2(release, qPrintable(what));
                QString problem;
                QVERIFY2(rowsAreConsistent(*release, &problem), qPrintable(what + QStringLiteral(": ") + problem));
            }
        }
    }
}

void TestReleaseCorpus::rejectsMalformedCorpusDocuments()
{
    const QDir folder(corpusFolder(QStringLiteral("malformed")));
    if (!folder.exists())
        QSKIP("The malformed documents of the shared corpus are missing (../shared/corpus/discogs/malformed)");
    const QStringList names = folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names) {
        const QByteArray bytes = readFile(folder.filePath(name));
        QVERIFY2(!bytes.isEmpty(), qPrintable(name));
        const Result<QJsonDocument> parsed = JsonReader::parse(bytes);
        QVERIFY2(!parsed.ok(), qPrintable(name));
        QCOMPARE(parsed.error().code, ErrorCode::Unreadable);
        QVERIFY(!parsed.error().detail.isEmpty());
    }
}

void TestReleaseCorpus::searchResponsesAreNoReleases()
{
    const QDir folder(corpusFolder(QStringLiteral("search")));
    if (!folder.exists())
        QSKIP("The search responses of the shared corpus are missing (../shared/corpus/discogs/search)");
    const QStringList names = folder.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QVERIFY(!names.isEmpty());
    for (const QString &name : names) {
        const Result<QJsonDocument> parsed = JsonReader::parse(readFile(folder.filePath(name)));
        QVERIFY2(parsed.ok(), qPrintable(name));
        const QJsonObject response = parsed.value().object();
        QVERIFY2(response.value(QLatin1String("results")).isArray(), qPrintable(name));
        QVERIFY2(!m_walker.walkJson(response), qPrintable(name));
    }
}

void TestReleaseCorpus::corpusRowsFollowTheRules_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("description");
    QTest::addColumn<int>("rowCount");
    // Row index and its expected "disc|track|title|title artist|flag".
    QTest::addColumn<QList<int>>("checkedRows");
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("sides A and B")
        << "jesseward_discogstagger__40522.json" << "Blunted Dummies | House For All | Electronic | 1993" << 5
        << QList<int>{0, 1, 2, 3, 4}
        << QStringList{"1|1|House For All (Original Mix)|Blunted Dummies|1",
                       "1|2|House For All (House 4 All Robots Mix)|Blunted Dummies|1",
                       "2|1|House For All (Eddie Richard's Mix)|Blunted Dummies|1",
                       "2|2|House For All (J. Acquaviva's Mix)|Blunted Dummies|1",
                       "2|3|House For All (Ruby Fruit Jungle Mix)|Blunted Dummies|1"};
    QTest::newRow("side without number makes it sequential")
        << "buntine_discogs__valid_release.json" << "Persuader, The | Stockholm | Electronic | 1999" << 6
        << QList<int>{0, 1, 5}
        << QStringList{"1|1|Östermalm|Persuader, The|1", "1|2|Vasastaden|Persuader, The|1",
                       "1|6|Gamla Stan|Persuader, The|1"};
    QTest::newRow("track artists of a split")
        << "fptavares_scrobbler__collection_test_data.dart__jsonForReleaseWithTwoArtists.json"
        << "Former Ghosts | Split | Rock | 2015" << 4 << QList<int>{0, 1, 2, 3}
        << QStringList{"1|1|Last Hour's Bow|Former Ghosts|1", "1|2|Past Selves|Former Ghosts|1",
                       "2|1|Wedding|Funeral Advantage|1", "2|2|I Know Him|Funeral Advantage|1"};
    QTest::newRow("headings dropped, medley letters make it sequential")
        << "jruaux_jdiscogs__release-4273080.json"
        << "Gladys Knight And The Pips | If I Were Your Woman + Standing Ovation | Funk / Soul | 2006" << 24
        << QList<int>{0, 15, 16, 17, 18, 23}
        << QStringList{"1|1|If I Were Your Woman|Gladys Knight And The Pips|1",
                       "1|16|Master Of Mind|Gladys Knight And The Pips|1",
                       "1|17|He Ain't Heavy, He's My Brother|Gladys Knight And The Pips|1",
                       "1|18|Bridge Over Troubled Water|Gladys Knight And The Pips|1",
                       "1|19|It Takes A Whole Lotta Man For A Woman Like Me|Gladys Knight And The Pips|1",
                       "1|24|You Need Love Like I Do (Don't You)|Gladys Knight And The Pips|1"};
    QTest::newRow("box set, index entries dropped")
        << "jruaux_jdiscogs__release-9536040.json"
        << "Erik Satie | Tout Satie! - Erik Satie Complete Edition | Classical | 2015" << 63
        << QList<int>{1, 5, 14, 62}
        << QStringList{"1|2|Gymnopédie No. 1 (1888/1897)|Erik Satie|1",
                       "2|10|Le Piège De Méduse, Comédie Lyrique En Un Acte Avec Sept Petites Danses Pour Huit Instruments (1921)|Erik Satie|1",
                       "4|62|Caresse|Erik Satie|1",
                       "9|40|Un Dîner À L'Élysée (1904)|Erik Satie|1"};
    QTest::newRow("sub-tracks of index entries dropped")
        << "fptavares_scrobbler__collection_test_data.dart__jsonForReleaseWithSubtracks.json"
        << "Maurice Ravel | Bolero, Rapsodie Espagnole, Pavane Pour Une Infante Défunte, Daphnis Et Chloé, Suite N° 2 | Classical | 0"
        << 2 << QList<int>{0, 1}
        << QStringList{"1|1|Boléro|Maurice Ravel|1", "1|2|Pavane Pour Une Infante Défunte|Maurice Ravel|1"};
    QTest::newRow("plain numbers, year 0")
        << "jruaux_jdiscogs__release-9680548.json" << "Steely Dan | The Royal Scam | Jazz | 0" << 9
        << QList<int>{0, 8}
        << QStringList{"1|1|Kid Charlemagne|Steely Dan|1", "1|9|The Royal Scam|Steely Dan|1"};
    QTest::newRow("entries without a type give no rows")
        << "discogs_discogs_client__releases_3.json" << "Josh Wink | Profound Sounds Vol. 1 | Electronic | 1999" << 0
        << QList<int>{} << QStringList{};
}

void TestReleaseCorpus::corpusRowsFollowTheRules()
{
    QFETCH(QString, file);
    QFETCH(QString, description);
    QFETCH(int, rowCount);
    QFETCH(QList<int>, checkedRows);
    QFETCH(QStringList, expected);
    const QString path = corpusFolder(QStringLiteral("releases/") + file);
    if (!QFile::exists(path))
        QSKIP(qPrintable(QStringLiteral("Corpus document missing: ") + path));

    const Result<QJsonDocument> parsed = JsonReader::parse(readFile(path));
    QVERIFY(parsed.ok());
    const std::unique_ptr<Release> release = m_walker.walkJson(parsed.value().object());
    QVERIFY(release);
    QCOMPARE(release->description(), description);
    const QStringList all = releaseRows(*release);
    QCOMPARE(all.size(), rowCount);
    QStringList picked;
    for (int row : checkedRows)
        picked.append(all.value(row));
    QCOMPARE(picked, expected);
}

QTEST_GUILESS_MAIN(TestReleaseCorpus)
#include "test_releasecorpus.moc"
