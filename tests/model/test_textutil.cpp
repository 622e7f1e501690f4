#include "model/textutil.h"

#include <QTest>

class TestTextUtil : public QObject {
    Q_OBJECT

private slots:
    void trimmedString_data();
    void trimmedString();
    void trimmedCStringIsUtf8();
    void numericalCompare_data();
    void numericalCompare();
    void numericalCompareSameObject();
};

void TestTextUtil::trimmedString_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");

    QTest::newRow("blanks, tab and line feed") << " \n x y \t" << "x y";
    QTest::newRow("inner line breaks kept") << "\r\na\n\nb\r\n" << "a\n\nb";
    QTest::newRow("nothing to trim") << "x" << "x";
    QTest::newRow("only blanks") << " \t\n " << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("no-break space") << QString::fromUtf8("\u00A0x\u00A0") << "x";
    QTest::newRow("ideographic space") << QString::fromUtf8("\u3000x") << "x";
    QTest::newRow("line and paragraph separators") << QString::fromUtf8("\u2028x\u2029") << "x";
    QTest::newRow("next line") << QString::fromUtf8("x\u0085") << "x";
    QTest::newRow("vertical tab and form feed") << "\v\fx" << "x";
    QTest::newRow("zero-width space is not white space") << QString::fromUtf8("\u200Bx") << QString::fromUtf8("\u200Bx");
}

void TestTextUtil::trimmedString()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(TextUtil::trimmedString(text), trimmed);
}

void TestTextUtil::trimmedCStringIsUtf8()
{
    const QByteArray bytes = TextUtil::trimmedCString(QString::fromUtf8("  Björk – Jóga \n"));
    QCOMPARE(bytes, QByteArray("Bj\xC3\xB6rk \xE2\x80\x93 J\xC3\xB3ga"));
    QCOMPARE(bytes.constData()[bytes.size()], '\0');
    QVERIFY(TextUtil::trimmedCString(" ").isEmpty());
}

void TestTextUtil::numericalCompare_data()
{
    QTest::addColumn<QString>("a");
    QTest::addColumn<QString>("b");
    QTest::addColumn<int>("order");

    QTest::newRow("numbers by value") << "track2" << "track10" << -1;
    QTest::newRow("numbers by value, reversed") << "track10" << "track2" << 1;
    QTest::newRow("letters") << "abc" << "abd" << -1;
    QTest::newRow("leading zeros equal") << "a01" << "a1" << 0;
    QTest::newRow("equal") << "same" << "same" << 0;
    QTest::newRow("prefix first") << "abc" << "abcd" << -1;
    QTest::newRow("longer last") << "abcd" << "abc" << 1;
    QTest::newRow("empty first") << "" << "a" << -1;
    QTest::newRow("both empty") << "" << "" << 0;
    QTest::newRow("digit before letter") << "a1" << "aa" << -1;
    QTest::newRow("case by code unit") << "B" << "a" << -1;
    QTest::newRow("continues after equal runs") << "x10y2" << "x10y10" << -1;
    QTest::newRow("equal runs, then text") << "10b" << "010a" << 1;
    QTest::newRow("digits then end") << "7" << "7 " << -1;
    QTest::newRow("only ascii digits are numbers") << QString::fromUtf8("٢") << "1" << 1;
    QTest::newRow("large values") << "v18446744073709551615" << "v9" << 1;
}

void TestTextUtil::numericalCompare()
{
    QFETCH(QString, a);
    QFETCH(QString, b);
    QFETCH(int, order);
    QCOMPARE(TextUtil::numericalCompare(a, b), order);
    QCOMPARE(TextUtil::numericalCompare(b, a), -order);
}

void TestTextUtil::numericalCompareSameObject()
{
    const QString text = "a2b";
    QCOMPARE(TextUtil::numericalCompare(text, text), 0);
}

QTEST_GUILESS_MAIN(TestTextUtil)
#include "test_textutil.moc"
