// Text and byte conversions at the boundary to TagLib. The reference for texts is TagLib's own
// UTF-8 form, read up to its first NUL.

#include "tags/taglibconvert.h"

#include <QTest>

#include <taglib/tbytevector.h>
#include <taglib/tstring.h>

#include <string>

Q_DECLARE_METATYPE(std::wstring)

class TestTagLibConvert : public QObject {
    Q_OBJECT

private slots:
    void matchesTagLibUtf8_data()
    {
        QTest::addColumn<std::wstring>("units");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << std::wstring() << QStringLiteral("");
        QTest::newRow("ascii") << std::wstring(L"Title") << QStringLiteral("Title");
        QTest::newRow("latin") << std::wstring(L"Mot\u00f6rhead") << QStringLiteral("Motörhead");
        QTest::newRow("surrogate pair") << std::wstring{0xD83C, 0xDFB5, L'!'} << QString::fromUtf8("\xF0\x9F\x8E\xB5!");
        QTest::newRow("embedded NUL") << std::wstring{L'a', L'b', 0, L'c'} << QStringLiteral("ab");
        QTest::newRow("leading NUL") << std::wstring{0, L'c'} << QStringLiteral("");
        QTest::newRow("lone high surrogate") << std::wstring{L'a', 0xD83C, L'b'} << QStringLiteral("");
        QTest::newRow("lone low surrogate") << std::wstring{L'a', 0xDFB5} << QStringLiteral("");
        QTest::newRow("high surrogate at end") << std::wstring{L'a', 0xD83C} << QStringLiteral("");
        QTest::newRow("bad surrogate after NUL") << std::wstring{L'a', 0, 0xD83C} << QStringLiteral("");
        QTest::newRow("line breaks") << std::wstring(L"one\r\ntwo\n") << QStringLiteral("one\r\ntwo\n");
    }

    void matchesTagLibUtf8()
    {
        QFETCH(std::wstring, units);
        QFETCH(QString, expected);
        // TagLib's String keeps UTF-16 code units; this constructor stores them as given.
        const TagLib::String text(units, TagLib::String::UTF16BE);
        const QString converted = TagLibConvert::toQString(text);
        QCOMPARE(converted, expected);
        QVERIFY(!converted.isNull());
        QCOMPARE(converted, QString::fromUtf8(text.toCString(true)));
    }

    void copiesBytes()
    {
        const char raw[] = {'\xff', '\xd8', '\0', 'x'};
        const TagLib::ByteVector bytes(raw, 4);
        QCOMPARE(TagLibConvert::toQByteArray(bytes), QByteArray(raw, 4));
        QCOMPARE(TagLibConvert::toQByteArray(TagLib::ByteVector()), QByteArray());
    }
};

QTEST_GUILESS_MAIN(TestTagLibConvert)
#include "test_taglibconvert.moc"
