#include "editor/errorutil.h"
#include "model/localized.h"

#include <QTest>

class TestErrorUtil : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void ellipsis_data();
    void ellipsis();
};

void TestErrorUtil::initTestCase()
{
    QVERIFY(Localized::installStringTable());
    // Both keys have texts in the table, with a place for the count.
    for (const char *key : {"ThereIsOneMoreEntry", "ThereAreMoreEntries"}) {
        QVERIFY2(Localized::text(key) != QLatin1String(key), key);
        QVERIFY2(Localized::text(key).contains("%1"), key);
    }
}

void TestErrorUtil::ellipsis_data()
{
    QTest::addColumn<quint64>("count");
    QTest::addColumn<QString>("key");
    QTest::addColumn<int>("more");

    QTest::newRow("none") << quint64(0) << QString() << 0;
    QTest::newRow("ten") << quint64(10) << QString() << 0;
    QTest::newRow("eleven") << quint64(11) << "ThereIsOneMoreEntry" << 1;
    QTest::newRow("twelve") << quint64(12) << "ThereAreMoreEntries" << 2;
    QTest::newRow("many") << quint64(1010) << "ThereAreMoreEntries" << 1000;
}

void TestErrorUtil::ellipsis()
{
    QFETCH(quint64, count);
    QFETCH(QString, key);
    QFETCH(int, more);

    const QString entries = "first failed\nsecond failed\n";
    QString message = entries;
    ErrorUtil::appendEllipsisToMessage(&message, count);
    if (key.isEmpty()) {
        QCOMPARE(message, entries);
        return;
    }
    QVERIFY(message.startsWith(entries));
    const QString line = message.mid(entries.size());
    QCOMPARE(line, Localized::text(key).arg(more));
    QVERIFY(line.contains(QString::number(more)));
}

QTEST_GUILESS_MAIN(TestErrorUtil)
#include "test_errorutil.moc"
