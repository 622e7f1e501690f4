#include "model/localized.h"
#include "patterntesting.h"
#include "tools/patternsyntax.h"
#include "tools/tokenutil.h"

#include <QtTest>

class TestPatternSyntax : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void parses_data();
    void parses();
    void rejects_data();
    void rejects();
    void formatsStoredPatterns_data();
    void formatsStoredPatterns();
    void everyTokenRoundTrips();
};

void TestPatternSyntax::initTestCase()
{
    QVERIFY(Localized::installStringTable());
}

void TestPatternSyntax::parses_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("elements");

    QTest::newRow("fixed scheme") << "{Track} - {Artist} - {Title}"
                                  << "{Track}[ - ]{Artist}[ - ]{Title}";
    QTest::newRow("blanks in token strings") << "{Album Artist}/{Track Total}"
                                             << "{Album Artist}[/]{Track Total}";
    QTest::newRow("neighbouring tokens") << "{Artist}{Title}" << "{Artist}{Title}";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("only literal") << "plain text" << "[plain text]";
    QTest::newRow("escaped open") << "{{" << "[{]";
    QTest::newRow("escaped close") << "}}" << "[}]";
    QTest::newRow("escaped token name") << "{{Title}}" << "[{Title}]";
    QTest::newRow("lone close is literal") << "a}b" << "[a}b]";
    QTest::newRow("token then lone close") << "{Title}}" << "{Title}[}]";
    QTest::newRow("token in literal braces") << "{{{Year}}}" << "[{]{Year}[}]";
    QTest::newRow("escapes joined with text") << "({{x}}) {Title}" << "[({x}) ]{Title}";
    QTest::newRow("Unicode literal") << "Ünïcødé – {Title} ♫" << "[Ünïcødé – ]{Title}[ ♫]";
}

void TestPatternSyntax::parses()
{
    QFETCH(QString, text);
    QFETCH(QString, elements);

    const Result<Pattern> pattern = PatternSyntax::parse(text);
    QVERIFY2(pattern.ok(), qPrintable(pattern.ok() ? QString() : pattern.error().detail));
    QCOMPARE(describePattern(pattern.value()), elements);
    // Printing gives a text that parses to the same pattern.
    const Result<Pattern> again = PatternSyntax::parse(PatternSyntax::format(pattern.value()));
    QVERIFY(again.ok());
    QCOMPARE(again.value(), pattern.value());
}

void TestPatternSyntax::rejects_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("named");

    QTest::newRow("unknown token") << "{Track} - {Tittle}" << "Tittle";
    QTest::newRow("lower case") << "{title}" << "title";
    QTest::newRow("display key") << "{AlbumArtist}" << "AlbumArtist";
    QTest::newRow("empty braces") << "x{}y" << "{}";
    QTest::newRow("blank inside") << "{ Title}" << " Title";
    QTest::newRow("unclosed") << "{Track} - {Title" << "{Title";
    QTest::newRow("unclosed at end") << "abc{" << "{";
    QTest::newRow("open inside token") << "{Tr{ack}" << "Tr{ack";
    QTest::newRow("three opening braces") << "{{{Title" << "{Title";
}

void TestPatternSyntax::rejects()
{
    QFETCH(QString, text);
    QFETCH(QString, named);

    const Result<Pattern> pattern = PatternSyntax::parse(text);
    QVERIFY(!pattern.ok());
    QCOMPARE(pattern.error().code, ErrorCode::InvalidArgument);
    // The message shows the user what was wrong.
    QVERIFY2(pattern.error().detail.contains(named), qPrintable(pattern.error().detail));
}

void TestPatternSyntax::formatsStoredPatterns_data()
{
    QTest::addColumn<Pattern>("pattern");
    QTest::addColumn<QString>("text");

    const auto token = [](Token t) { return TokenUtil::tokenWithToken(t); };
    const auto literal = [](const char *text) { return PatternElement::literal(QString::fromUtf8(text)); };
    QTest::newRow("tokens and literal") << Pattern{token(Token::Track), literal(". "), token(Token::Title)}
                                        << "{Track}. {Title}";
    QTest::newRow("braces in literals") << Pattern{literal("{"), token(Token::Year), literal("}}")}
                                        << "{{{Year}}}}}";
    QTest::newRow("neighbouring literals join") << Pattern{literal("a"), literal("b")} << "ab";
    QTest::newRow("empty") << Pattern() << "";
}

void TestPatternSyntax::formatsStoredPatterns()
{
    QFETCH(Pattern, pattern);
    QFETCH(QString, text);

    QCOMPARE(PatternSyntax::format(pattern), text);
    const Result<Pattern> parsed = PatternSyntax::parse(text);
    QVERIFY(parsed.ok());
    QCOMPARE(PatternSyntax::format(parsed.value()), text);
}

void TestPatternSyntax::everyTokenRoundTrips()
{
    for (const QString &tokenString : TokenUtil::tokenStrings()) {
        const Result<Pattern> pattern = PatternSyntax::parse('{' + tokenString + "}-");
        QVERIFY2(pattern.ok(), qPrintable(tokenString));
        QCOMPARE(pattern.value().size(), 2);
        QCOMPARE(pattern.value().first(), TokenUtil::tokenWithTokenString(tokenString));
    }
}

QTEST_GUILESS_MAIN(TestPatternSyntax)
#include "test_patternsyntax.moc"
