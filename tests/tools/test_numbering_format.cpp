#include "tools/numberingcontroller.h"

#include <QTest>

class TestNumberingFormat : public QObject {
    Q_OBJECT

private slots:
    void numberWidthForCount_data();
    void numberWidthForCount();
    void slashAndCount_data();
    void slashAndCount();
    void pairs_data();
    void pairs();
};

void TestNumberingFormat::numberWidthForCount_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("padded");

    QTest::newRow("100000 or more") << 7 << 100000 << "000007";
    QTest::newRow("far above 100000") << 7 << 2000000 << "000007";
    QTest::newRow("99999") << 7 << 99999 << "00007";
    QTest::newRow("10000") << 7 << 10000 << "00007";
    QTest::newRow("9999") << 7 << 9999 << "0007";
    QTest::newRow("1000") << 7 << 1000 << "0007";
    QTest::newRow("999") << 7 << 999 << "007";
    QTest::newRow("100") << 7 << 100 << "007";
    QTest::newRow("99") << 7 << 99 << "07";
    QTest::newRow("below 10") << 7 << 5 << "07";
    QTest::newRow("no count") << 7 << 0 << "07";
    QTest::newRow("negative count") << 7 << -150 << "07";
    QTest::newRow("number wider than the width") << 1234 << 12 << "1234";
    QTest::newRow("same width") << 150 << 150 << "150";
}

void TestNumberingFormat::numberWidthForCount()
{
    QFETCH(int, number);
    QFETCH(int, count);
    QFETCH(QString, padded);
    QCOMPARE(NumberingController::addLeadingZerosToNumber(number, count, true), padded);
    QCOMPARE(NumberingController::addLeadingZerosToNumber(number, count, false), QString::number(number));
}

void TestNumberingFormat::slashAndCount_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("withZeros");
    QTest::addColumn<QString>("plain");

    QTest::newRow("5") << 5 << "/05" << "/5";
    QTest::newRow("9") << 9 << "/09" << "/9";
    QTest::newRow("10") << 10 << "/10" << "/10";
    QTest::newRow("150 is never padded") << 150 << "/150" << "/150";
    QTest::newRow("0") << 0 << "/00" << "/0";
}

void TestNumberingFormat::slashAndCount()
{
    QFETCH(int, count);
    QFETCH(QString, withZeros);
    QFETCH(QString, plain);
    QCOMPARE(NumberingController::addLeadingZerosAndSlashToCount(count, true), withZeros);
    QCOMPARE(NumberingController::addLeadingZerosAndSlashToCount(count, false), plain);
}

void TestNumberingFormat::pairs_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("withZeros");

    QTest::newRow("3/12") << 3 << 12 << "3/12" << "03/12";
    QTest::newRow("3/5") << 3 << 5 << "3/5" << "03/05";
    QTest::newRow("7/150") << 7 << 150 << "7/150" << "007/150";
    QTest::newRow("12/12") << 12 << 12 << "12/12" << "12/12";
    QTest::newRow("150/150") << 150 << 150 << "150/150" << "150/150";
}

// A track text as the numbering tool and the readers compose it: number part, then count part.
void TestNumberingFormat::pairs()
{
    QFETCH(int, number);
    QFETCH(int, count);
    QFETCH(QString, plain);
    QFETCH(QString, withZeros);
    for (const bool zeros : {false, true}) {
        const QString text = NumberingController::addLeadingZerosToNumber(number, count, zeros)
            + NumberingController::addLeadingZerosAndSlashToCount(count, zeros);
        QCOMPARE(text, zeros ? withZeros : plain);
    }
}

QTEST_GUILESS_MAIN(TestNumberingFormat)
#include "test_numbering_format.moc"
