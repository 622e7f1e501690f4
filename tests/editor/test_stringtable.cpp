#include "model/localized.h"

#include <QFile>
#include <QTest>
#include <QXmlStreamReader>

// The embedded English table: keys map to their texts, missing keys show themselves.
class TestStringTable : public QObject {
    Q_OBJECT

private slots:
    void keysShowThemselvesBeforeInstalling();
    void installedTableMapsKeys_data();
    void installedTableMapsKeys();
    void missingKeyShowsKey();
    void everyEntryHasText();
};

void TestStringTable::keysShowThemselvesBeforeInstalling()
{
    QCOMPARE(Localized::text("NoSongsLoaded"), QStringLiteral("NoSongsLoaded"));
}

void TestStringTable::installedTableMapsKeys_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("text");
    QTest::newRow("plain") << "NoSongsLoaded" << "No songs loaded";
    QTest::newRow("one argument") << "1SongLoadedNSelected" << "1 song loaded, %1 selected";
    QTest::newRow("two arguments") << "NSongsLoadedNSelected" << "%1 songs loaded, %2 selected";
    QTest::newRow("button") << "DontShowAgain" << QStringLiteral("Don’t Show Again");
    QTest::newRow("non-ASCII") << "PixelSizeXByX" << QStringLiteral("%1 × %1 px");
}

void TestStringTable::installedTableMapsKeys()
{
    QFETCH(QString, key);
    QFETCH(QString, text);
    static const bool installed = Localized::installStringTable();
    QVERIFY(installed);
    QCOMPARE(Localized::text(key), text);
    QCOMPARE(Localized::text(key.toUtf8().constData()), text);
}

void TestStringTable::missingKeyShowsKey()
{
    QVERIFY(Localized::installStringTable());
    QCOMPARE(Localized::text("NoSuchKeyAnywhere"), QStringLiteral("NoSuchKeyAnywhere"));
    QCOMPARE(Localized::text(QStringLiteral("AlsoMissingX")), QStringLiteral("AlsoMissingX"));
}

void TestStringTable::everyEntryHasText()
{
    // Every entry of the source table reaches the embedded one with its text: an empty or
    // unfinished translation would show the bare key in the interface.
    QVERIFY(Localized::installStringTable());
    QFile file(QStringLiteral(QUORL_TEST_DATA_DIR "/../../translations/quorl_en.ts"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    QString key;
    int count = 0;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == u"message") {
            key = xml.attributes().value(QStringLiteral("id")).toString();
        } else if (xml.name() == u"translation" && !key.isEmpty()) {
            const bool unfinished = xml.attributes().value(QStringLiteral("type")) == u"unfinished";
            const QString text = xml.readElementText(QXmlStreamReader::SkipChildElements);
            QVERIFY2(!unfinished && !text.isEmpty(), qPrintable(key));
            QCOMPARE(Localized::text(key), text);
            key.clear();
            ++count;
        }
    }
    QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
    QVERIFY(count > 10);
}

QTEST_GUILESS_MAIN(TestStringTable)
#include "test_stringtable.moc"
