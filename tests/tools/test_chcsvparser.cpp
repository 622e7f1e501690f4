#include "fixtures.h"
#include "tools/chcsvparser.h"
#include "tools/delimitedtextdecoder.h"

#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include <stdexcept>

using DelimitedTextDecoder::Encoding;

Q_DECLARE_METATYPE(DelimitedTextDecoder::Encoding)

namespace {

// Every event as a short text: "B" document begins, "L1" record 1 begins, "F0:text" field 0,
// "E1" record 1 ends, "D" document ends, "X:description" failure.
class Recorder : public CHCSVParserDelegate {
public:
    QStringList events;

    void parserDidBeginDocument(CHCSVParser *) override { events << QStringLiteral("B"); }
    void parserDidBeginLine(CHCSVParser *, qsizetype recordNumber) override
    {
        events << QStringLiteral("L%1").arg(recordNumber);
    }
    void parserDidReadField(CHCSVParser *, const QString &field, qsizetype atIndex) override
    {
        QVERIFY(!field.isNull());
        events << QStringLiteral("F%1:%2").arg(atIndex).arg(field);
    }
    void parserDidEndLine(CHCSVParser *, qsizetype recordNumber) override
    {
        events << QStringLiteral("E%1").arg(recordNumber);
    }
    void parserDidEndDocument(CHCSVParser *) override { events << QStringLiteral("D"); }
    void parserDidFailWithError(CHCSVParser *, const CHCSVError &error) override
    {
        events << QStringLiteral("X%1:%2").arg(error.code).arg(error.description);
    }
};

QStringList eventsOf(CHCSVParser &parser)
{
    Recorder recorder;
    parser.setDelegate(&recorder);
    parser.parse();
    return recorder.events;
}

QStringList eventsOf(const QByteArray &bytes)
{
    CHCSVParser parser(bytes, u'\t');
    return eventsOf(parser);
}

QStringList split(const char *events)
{
    return QString::fromUtf8(events).split(u'|');
}

QByteArray utf16(const QString &text, QStringConverter::Encoding encoding)
{
    QStringEncoder encoder(encoding);
    return encoder.encode(text);
}

// The table's text, with the Korean word in ISO-2022-KR: the two syllables in their GL form
// between shift-out and shift-in.
const QString Text = QStringLiteral("Tïtle\tÄrtist\n日本 \t😀\n한국\tx\n");
const QByteArray KoreanLine = QByteArray("\x0e\x47\x51\x31\x39\x0f\tx\n");
const char *const TextEvents = "B|L1|F0:Tïtle|F1:Ärtist|E1|L2|F0:日本 |F1:😀|E2|L3|F0:한국|F1:x|E3|D";

} // namespace

class TestCHCSVParser : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void events_data();
    void events();
    void syntaxFailureDescribesTheCharacter();
    void delimiterMustBeUsable_data();
    void delimiterMustBeUsable();
    void otherDelimiters();
    void encodingsOfFiles_data();
    void encodingsOfFiles();
    void decodingStopsAtFirstInvalidSequence_data();
    void decodingStopsAtFirstInvalidSequence();
    void singleByteTextsReadInTheirEncoding_data();
    void singleByteTextsReadInTheirEncoding();
    void detectionLooksAtTheFirst512Bytes_data();
    void detectionLooksAtTheFirst512Bytes();
    void unreadableFileIsEmpty();

private:
    QTemporaryDir m_dir;
};

void TestCHCSVParser::initTestCase()
{
    QVERIFY(m_dir.isValid());
}

void TestCHCSVParser::events_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("events");

    auto row = [](const char *name, const QByteArray &bytes, const char *events) {
        QTest::newRow(name) << bytes << QString::fromUtf8(events);
    };
    row("two fields", "a\tb\n", "B|L1|F0:a|F1:b|E1|D");
    row("no final line feed", "a\tb", "B|L1|F0:a|F1:b|E1|D");
    row("empty middle field", "a\t\tb\n", "B|L1|F0:a|F1:|F2:b|E1|D");
    row("empty last field", "a\t\n", "B|L1|F0:a|F1:|E1|D");
    row("delimiter at the end of the text", "a\t", "B|L1|F0:a|F1:|E1|D");
    row("delimiter alone", "\t", "B|L1|F0:|F1:|E1|D");
    row("empty line between records", "a\n\nb\n", "B|L1|F0:a|E1|L2|F0:|E2|L3|F0:b|E3|D");
    row("empty line at the end", "a\n\n", "B|L1|F0:a|E1|L2|F0:|E2|D");
    row("line feed alone", "\n", "B|L1|F0:|E1|D");
    row("empty file", "", "B|D");
    row("CR LF", "a\r\nb\r\n", "B|L1|F0:a|E1|L2|F0:b|E2|D");
    row("CR alone", "a\rb", "B|L1|F0:a|E1|L2|F0:b|E2|D");
    row("LF CR is two breaks", "a\n\rb", "B|L1|F0:a|E1|L2|F0:|E2|L3|F0:b|E3|D");
    row("CR CR LF", "a\r\r\nb", "B|L1|F0:a|E1|L2|F0:|E2|L3|F0:b|E3|D");
    row("vertical tab and form feed", "a\vb\fc", "B|L1|F0:a|E1|L2|F0:b|E2|L3|F0:c|E3|D");
    row("next line, line and paragraph separators", "a\xc2\x85" "b\xe2\x80\xa8" "c\xe2\x80\xa9" "d",
        "B|L1|F0:a|E1|L2|F0:b|E2|L3|F0:c|E3|L4|F0:d|E4|D");
    row("blanks are kept", "  a  \t b\n", "B|L1|F0:  a  |F1: b|E1|D");
    row("no-break and ideographic spaces are blanks before a quote", "\xc2\xa0\xe3\x80\x80\"q\"\xe3\x80\x80\tz",
        "B|L1|F0:\u00a0\u3000\"q\"\u3000|F1:z|E1|D");
    row("quoted field keeps its quotes", "\"x\ty\"\tz\n", "B|L1|F0:\"x\ty\"|F1:z|E1|D");
    row("doubled quotes stand as they are", "\"a\"\"b\"\n", "B|L1|F0:\"a\"\"b\"|E1|D");
    row("empty quoted field", "\"\"\tb", "B|L1|F0:\"\"|F1:b|E1|D");
    row("line breaks inside quotes", "\"a\nb\r\nc\"\td\ne", "B|L1|F0:\"a\nb\r\nc\"|F1:d|E1|L2|F0:e|E2|D");
    row("blanks around a quoted field", "  \"q\"  \tb", "B|L1|F0:  \"q\"  |F1:b|E1|D");
    row("quote inside a plain field", "a\"b\tc", "B|L1|F0:a\"b|F1:c|E1|D");
    row("text after the closing quote", "\"a\" x\tb\nc\n", "B|L1|F0:\"a\" |E1|X1:Unexpected delimiter. Expected '\t' (0x9), but got 'x' (0x78)");
    row("text right after the closing quote", "x\t\"a\"b\n", "B|L1|F0:x|F1:\"a\"|E1|X1:Unexpected delimiter. Expected '\t' (0x9), but got 'b' (0x62)");
    row("failure in a later record", "a\n\"b\"c\nd", "B|L1|F0:a|E1|L2|F0:\"b\"|E2|X1:Unexpected delimiter. Expected '\t' (0x9), but got 'c' (0x63)");
    row("quote open at the end", "a\t\"bc\nd", "B|L1|F0:a|E1|D");
    row("lone quote", "\"", "B|L1|E1|D");
    row("tripled quote closes after the pair", "\"a\"\"\"\tb", "B|L1|F0:\"a\"\"\"|F1:b|E1|D");
    QTest::newRow("NUL inside a field") << QByteArray("a\0b\tc", 5)
                                        << QStringLiteral("B|L1|F0:a") + QChar(0) + QStringLiteral("b|F1:c|E1|D");
    row("byte-order mark is not part of the first field", "\xef\xbb\xbf" "a\tb", "B|L1|F0:a|F1:b|E1|D");
    row("second byte-order mark stays", "\xef\xbb\xbf\xef\xbb\xbf" "a", "B|L1|F0:\ufeffa|E1|D");
}

void TestCHCSVParser::events()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, events);
    QCOMPARE(eventsOf(bytes), events.split(u'|'));
}

void TestCHCSVParser::syntaxFailureDescribesTheCharacter()
{
    CHCSVParser parser(QByteArray("\"a\"\xe2\x82\xac"), u';');
    Recorder recorder;
    parser.setDelegate(&recorder);
    parser.parse();
    QVERIFY(parser.error().has_value());
    QCOMPARE(parser.error()->code, CHCSVError::UnexpectedDelimiter);
    QCOMPARE(parser.error()->description,
             QStringLiteral("Unexpected delimiter. Expected ';' (0x3B), but got '€' (0x20AC)"));
    QCOMPARE(recorder.events.last(), QStringLiteral("X1:") + parser.error()->description);
}

void TestCHCSVParser::delimiterMustBeUsable_data()
{
    QTest::addColumn<QChar>("delimiter");
    QTest::newRow("double quote") << QChar(u'"');
    QTest::newRow("line feed") << QChar(u'\n');
    QTest::newRow("carriage return") << QChar(u'\r');
    QTest::newRow("line separator") << QChar(0x2028);
}

void TestCHCSVParser::delimiterMustBeUsable()
{
    QFETCH(QChar, delimiter);
    QVERIFY_THROWS_EXCEPTION(std::invalid_argument, CHCSVParser(QByteArray("a"), delimiter));
}

void TestCHCSVParser::otherDelimiters()
{
    // With a delimiter other than TAB, the TAB is a blank: it is skipped before a quote and kept
    // in the raw text.
    CHCSVParser comma(QByteArray("a,\t\"b,c\"\t,d\n"), u',');
    QCOMPARE(eventsOf(comma), split("B|L1|F0:a|F1:\t\"b,c\"\t|F2:d|E1|D"));
    // The delimiter is never a blank, even when it is a space.
    CHCSVParser space(QByteArray("\"a\" b"), u' ');
    QCOMPARE(eventsOf(space), split("B|L1|F0:\"a\"|F1:b|E1|D"));
}

void TestCHCSVParser::encodingsOfFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<qsizetype>("skipped");
    QTest::addColumn<QString>("events");

    const QString events = QString::fromUtf8(TextEvents);
    QTest::newRow("UTF-32 BE") << QByteArray("\x00\x00\xfe\xff", 4) + utf16(Text, QStringConverter::Utf32BE)
                               << Encoding::Utf32BigEndian << qsizetype(4) << events;
    QTest::newRow("UTF-32 LE") << QByteArray("\xff\xfe\x00\x00", 4) + utf16(Text, QStringConverter::Utf32LE)
                               << Encoding::Utf32LittleEndian << qsizetype(4) << events;
    QTest::newRow("UTF-16 BE") << QByteArray("\xfe\xff") + utf16(Text, QStringConverter::Utf16BE)
                               << Encoding::Utf16BigEndian << qsizetype(2) << events;
    QTest::newRow("UTF-16 LE") << QByteArray("\xff\xfe") + utf16(Text, QStringConverter::Utf16LE)
                               << Encoding::Utf16LittleEndian << qsizetype(2) << events;
    QTest::newRow("UTF-8 with mark") << QByteArray("\xef\xbb\xbf") + Text.toUtf8() << Encoding::Utf8 << qsizetype(3)
                                     << events;
    QTest::newRow("UTF-8") << Text.toUtf8() << Encoding::Utf8 << qsizetype(0) << events;
    QTest::newRow("ISO-2022-KR") << QByteArray("\x1b$)C" "ab\t\n") + KoreanLine << Encoding::Iso2022Kr << qsizetype(4)
                                 << QStringLiteral("B|L1|F0:ab|F1:|E1|L2|F0:한국|F1:x|E2|D");
    QTest::newRow("Mac OS Roman") << QByteArray("Caf\x8e\t\x8a\x9a\n\xa5\t\xd2x\xd3\n") << Encoding::MacOSRoman
                                  << qsizetype(0) << QStringLiteral("B|L1|F0:Café|F1:äö|E1|L2|F0:•|F1:“x”|E2|D");
    // The UTF-32 little-endian mark begins like the UTF-16 one; a UTF-16 text beginning with NUL
    // is read as UTF-32.
    QTest::newRow("UTF-32 LE before UTF-16 LE") << QByteArray("\xff\xfe\x00\x00" "A\x00\x00\x00", 8)
                                                << Encoding::Utf32LittleEndian << qsizetype(4)
                                                << QStringLiteral("B|L1|F0:A|E1|D");
}

void TestCHCSVParser::encodingsOfFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(qsizetype, skipped);
    QFETCH(QString, events);

    const QString path = writeFile(m_dir, QStringLiteral("list.tsv"), bytes);
    QVERIFY(!path.isEmpty());
    CHCSVParser parser(path, u'\t');
    QCOMPARE(DelimitedTextDecoder::encodingName(parser.detection().encoding),
             DelimitedTextDecoder::encodingName(encoding));
    QCOMPARE(parser.detection().bytesSkipped, skipped);
    QCOMPARE(eventsOf(parser), events.split(u'|'));
}

void TestCHCSVParser::decodingStopsAtFirstInvalidSequence_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");

    const QByteArray longText = QByteArray("x\ty\n").repeated(300);
    QTest::newRow("UTF-8 invalid byte after several chunks") << longText + "ok\xff" "gone" << Encoding::Utf8
                                                             << QString::fromLatin1(longText + "ok");
    QTest::newRow("UTF-8 sequence cut by ASCII") << QByteArray("ab\xe2\x82(cd") << Encoding::Utf8 << QStringLiteral("ab");
    QTest::newRow("UTF-8 encoded surrogate") << QByteArray("ab\xed\xa0\x80" "cd") << Encoding::Utf8
                                             << QStringLiteral("ab");
    QTest::newRow("UTF-8 overlong NUL") << QByteArray("ab\xc0\x80" "cd") << Encoding::Utf8 << QStringLiteral("ab");
    QTest::newRow("UTF-8 beyond U+10FFFF") << QByteArray("ab\xf4\x90\x80\x80") << Encoding::Utf8 << QStringLiteral("ab");
    QTest::newRow("UTF-8 cut at the end") << QByteArray("ab\xe2\x82") << Encoding::Utf8 << QStringLiteral("ab");
    QTest::newRow("UTF-8 noncharacter is valid") << QByteArray("a\xef\xbf\xbe" "b") << Encoding::Utf8
                                                 << QStringLiteral("a\ufffeb");
    QTest::newRow("UTF-16 LE odd byte at the end") << QByteArray("a\0b\0c", 5) << Encoding::Utf16LittleEndian
                                                   << QStringLiteral("ab");
    QTest::newRow("UTF-16 LE lone high surrogate") << QByteArray("a\0\x00\xd8" "b\0", 6) << Encoding::Utf16LittleEndian
                                                   << QStringLiteral("a");
    QTest::newRow("UTF-16 BE lone low surrogate") << QByteArray("\0a\xdc\x00\0b", 6) << Encoding::Utf16BigEndian
                                                  << QStringLiteral("a");
    QTest::newRow("UTF-16 BE pair") << QByteArray("\xd8\x3d\xde\x00", 4) << Encoding::Utf16BigEndian
                                    << QStringLiteral("😀");
    QTest::newRow("UTF-32 BE beyond U+10FFFF") << QByteArray("\0\0\0a\0\x11\0\0\0\0\0b", 12)
                                               << Encoding::Utf32BigEndian << QStringLiteral("a");
    QTest::newRow("UTF-32 LE surrogate") << QByteArray("a\0\0\0\x00\xd8\0\0", 8) << Encoding::Utf32LittleEndian
                                         << QStringLiteral("a");
    QTest::newRow("UTF-32 LE cut unit") << QByteArray("a\0\0\0b\0", 6) << Encoding::Utf32LittleEndian
                                        << QStringLiteral("a");
    QTest::newRow("ISO-2022-KR invalid double byte") << QByteArray("ab\x0e\x30\x21\xff\x0f" "c")
                                                     << Encoding::Iso2022Kr << QStringLiteral("ab가");
    QTest::newRow("ISO-2022-KR eight-bit byte") << QByteArray("ab\x80" "cd") << Encoding::Iso2022Kr
                                                << QStringLiteral("ab");
    QTest::newRow("Mac OS Roman has no invalid byte") << QByteArray("\x80\xff\x00z", 4) << Encoding::MacOSRoman
                                                      << QStringLiteral("Äˇ") + QChar(0) + QStringLiteral("z");
}

void TestCHCSVParser::decodingStopsAtFirstInvalidSequence()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);
    QCOMPARE(DelimitedTextDecoder::decode(bytes, encoding), text);
}

void TestCHCSVParser::detectionLooksAtTheFirst512Bytes_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<int>("textLength");

    const QByteArray ascii(511, 'a');
    // "ä" spans bytes 511 and 512: the window ends inside a character.
    QTest::newRow("character cut at the window's end") << ascii + "\xc3\xa4" "b" << Encoding::Utf8 << 513;
    QTest::newRow("invalid byte after the window") << ascii + "a" + "\xff" "b" << Encoding::Utf8 << 512;
    // The window without its last two bytes decodes, so the text is UTF-8 and ends before 0xFF.
    QTest::newRow("invalid byte among the last three of the window")
        << QByteArray(510, 'a') + "\xff" "aa" << Encoding::Utf8 << 510;
    // "ÿ" among letters reads better than "ˇ".
    QTest::newRow("invalid byte before the last three") << QByteArray(508, 'a') + "\xff" "aaaa" << Encoding::Windows1252
                                                        << 513;
    QTest::newRow("short file with an invalid last byte") << QByteArray("ab\xe4") << Encoding::Utf8 << 2;
}

void TestCHCSVParser::singleByteTextsReadInTheirEncoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<Encoding>("encoding");
    QTest::addColumn<QString>("text");
    QTest::newRow("Windows-1252 list from a spreadsheet")
        << QByteArray("Title\tArtist\nCaf\xe9\tSe\xf1or\n") << Encoding::Windows1252
        << QStringLiteral("Title\tArtist\nCafé\tSeñor\n");
    QTest::newRow("Windows-1252 quotes and dashes") << QByteArray("It\x92s \x96 \x93live\x94\n")
                                                    << Encoding::Windows1252 << QStringLiteral("It’s – “live”\n");
    QTest::newRow("Windows-1252 capitals") << QByteArray("\xc9T\xc9\t\xc0 bient\xf4t\n") << Encoding::Windows1252
                                           << QStringLiteral("ÉTÉ\tÀ bientôt\n");
    QTest::newRow("Mac OS Roman accents") << QByteArray("Caf\x8e\tM\x9ala \x84" "and\x9c\n") << Encoding::MacOSRoman
                                          << QStringLiteral("Café\tMöla Ñandú\n");
    QTest::newRow("Mac OS Roman quotes") << QByteArray("\xd2Gar\x8don\xd3\n") << Encoding::MacOSRoman
                                         << QStringLiteral("“Garçon”\n");
    // Bytes that Windows-1252 leaves undefined can only be Mac OS Roman.
    QTest::newRow("byte undefined in Windows-1252") << QByteArray("x\xe9\x81 y\n") << Encoding::MacOSRoman
                                                    << QStringLiteral("xÈÅ y\n");
    QTest::newRow("nothing tells them apart") << QByteArray("a \xb0 b\n") << Encoding::MacOSRoman
                                              << QStringLiteral("a ∞ b\n");
}

void TestCHCSVParser::singleByteTextsReadInTheirEncoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(QString, text);
    DelimitedTextDecoder::Detection detection;
    QCOMPARE(DelimitedTextDecoder::decodeDocument(bytes, &detection), text);
    QCOMPARE(DelimitedTextDecoder::encodingName(detection.encoding), DelimitedTextDecoder::encodingName(encoding));
}

void TestCHCSVParser::detectionLooksAtTheFirst512Bytes()
{
    QFETCH(QByteArray, bytes);
    QFETCH(Encoding, encoding);
    QFETCH(int, textLength);

    DelimitedTextDecoder::Detection detection;
    const QString text = DelimitedTextDecoder::decodeDocument(bytes, &detection);
    QCOMPARE(DelimitedTextDecoder::encodingName(detection.encoding), DelimitedTextDecoder::encodingName(encoding));
    QCOMPARE(detection.bytesSkipped, qsizetype(0));
    QCOMPARE(text.size(), qsizetype(textLength));
}

void TestCHCSVParser::unreadableFileIsEmpty()
{
    CHCSVParser parser(m_dir.filePath(QStringLiteral("missing.tsv")), u'\t');
    QCOMPARE(eventsOf(parser), split("B|D"));
}

QTEST_GUILESS_MAIN(TestCHCSVParser)
#include "test_chcsvparser.moc"
