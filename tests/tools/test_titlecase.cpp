#include "fixtures.h"
#include "model/userdefaults.h"
#include "tools/titlecase.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList words(const QString &text)
{
    QStringList list;
    for (const TextUtil::WordRange &range : TextUtil::wordRanges(text))
        list.append(text.mid(range.start, range.length));
    return list;
}

} // namespace

class TestTitlecase : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanupTestCase();

    void wordSegmentation_data();
    void wordSegmentation();
    void newYorkStyle_data();
    void newYorkStyle();
    void everyWordCapitalized_data();
    void everyWordCapitalized();
    void styleSwitchReadAtEachCall();
    void smallWordTable();
    void capitalizedWord_data();
    void capitalizedWord();
    void fullCaseMappings_data();
    void fullCaseMappings();
    void turkishLocaleMapsDottedI();

private:
    QTemporaryDir m_settings;
};

void TestTitlecase::initTestCase()
{
    QVERIFY(m_settings.isValid());
    useTemporarySettings(m_settings);
}

void TestTitlecase::init()
{
    // The C locale: Unicode's default case mappings, without the rules of any language.
    QLocale::setDefault(QLocale::c());
    UserDefaults::shared().removeObjectForKey(QStringLiteral("DISABLE_NEW_YORK_STYLE"));
}

void TestTitlecase::cleanupTestCase()
{
    QLocale::setDefault(QLocale::system());
}

void TestTitlecase::wordSegmentation_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("blanks") << "the sound  of" << QStringList{"the", "sound", "of"};
    QTest::newRow("apostrophe inside") << "don't stop" << QStringList{"don't", "stop"};
    QTest::newRow("typographic apostrophe") << u"l’amour d’été"_qs << QStringList{u"l’amour"_qs, u"d’été"_qs};
    QTest::newRow("abbreviation with dots") << "e.g. this" << QStringList{"e.g", "this"};
    QTest::newRow("initials") << "U.S.A. for" << QStringList{"U.S.A", "for"};
    QTest::newRow("host name") << "www.example.com" << QStringList{"www.example.com"};
    QTest::newRow("slash splits") << "AB/CD" << QStringList{"AB", "CD"};
    QTest::newRow("hyphen splits") << "x-ray" << QStringList{"x", "ray"};
    QTest::newRow("dot between blanks") << "a . b" << QStringList{"a", "b"};
    QTest::newRow("two dots") << "a..b" << QStringList{"a", "b"};
    QTest::newRow("dot before a digit") << "a.1" << QStringList{"a", "1"};
    QTest::newRow("dot after a digit") << "1.a" << QStringList{"1", "a"};
    QTest::newRow("decimal number") << "pi is 3.14" << QStringList{"pi", "is", "3.14"};
    QTest::newRow("punctuation only") << u" — ?! "_qs << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("Greek") << u"Ωδή στη Ρόδο"_qs << QStringList{u"Ωδή"_qs, u"στη"_qs, u"Ρόδο"_qs};
    QTest::newRow("letters outside the BMP")
        << u"\U00010428\U00010429.\U0001042A x"_qs << QStringList{u"\U00010428\U00010429.\U0001042A"_qs, "x"};
}

void TestTitlecase::wordSegmentation()
{
    QFETCH(QString, text);
    QFETCH(QStringList, words);
    QCOMPARE(::words(text), words);
}

void TestTitlecase::newYorkStyle_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("titlecase");

    QTest::newRow("small words inside") << "the sound of the city" << "The Sound of the City";
    QTest::newRow("final small word") << "where to" << "Where To";
    QTest::newRow("final small word before punctuation") << "where to?" << "Where To?";
    QTest::newRow("first word never small") << "feat of strength" << "Feat of Strength";
    QTest::newRow("single small word") << "a" << "A";
    QTest::newRow("small words at both ends") << "the end of the" << "The End of The";
    QTest::newRow("inner capital keeps the final small word") << "eMix to" << "eMix to";
    QTest::newRow("inner capital after the final small word's test")
        << "McCartney and the" << "McCartney and the";
    QTest::newRow("capitals kept") << "AB/CD live" << "AB/CD Live";
    QTest::newRow("lower-case pair") << "ab/cd live" << "Ab/Cd Live";
    QTest::newRow("all capitals: small words lowered") << "OF MICE AND MEN" << "OF MICE and MEN";
    QTest::newRow("apostrophes") << "don't stop me now" << "Don't Stop Me Now";
    QTest::newRow("inner apostrophes") << "rock'n'roll all night" << "Rock'n'roll All Night";
    QTest::newRow("typographic apostrophes") << u"l’amour d’été"_qs << u"L’amour D’été"_qs;
    QTest::newRow("abbreviation kept") << "e.g. the best" << "e.g. the Best";
    QTest::newRow("initials kept") << "U.S.A. for africa" << "U.S.A. for Africa";
    QTest::newRow("host name kept") << "visit www.example.com" << "Visit www.example.com";
    QTest::newRow("hyphenated") << "x-ray spex" << "X-Ray Spex";
    QTest::newRow("numbers") << "2nd of may" << "2nd of May";
    QTest::newRow("number last") << "the best of 1999" << "The Best of 1999";
    QTest::newRow("feat and vs") << "artist feat. singer vs dj" << "Artist feat. Singer vs Dj";
    QTest::newRow("via and en") << "paris en rose via rome" << "Paris en Rose via Rome";
    QTest::newRow("white space kept") << "  in  the\tmood \n" << "  In  the\tMood \n";
    QTest::newRow("quoted") << "\"the end of\"" << "\"The End Of\"";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("punctuation only") << " - " << " - ";
    QTest::newRow("Greek") << u"ωδή στη ρόδο"_qs << u"Ωδή Στη Ρόδο"_qs;
    QTest::newRow("Greek capitals kept") << u"ΟΔΟΣ"_qs << u"ΟΔΟΣ"_qs;
    QTest::newRow("Cyrillic") << u"группа крови"_qs << u"Группа Крови"_qs;
    QTest::newRow("German") << u"straße der liebe"_qs << u"Straße Der Liebe"_qs;
    // "ß" upper-cases to "SS": the words after it must still be found at their places.
    QTest::newRow("mapping that lengthens a word") << u"ßx of ßy the"_qs << u"SSx of SSy The"_qs;
    QTest::newRow("dotless i in the C locale") << u"ılık istanbul"_qs << u"Ilık Istanbul"_qs;
    QTest::newRow("letters outside the BMP") << u"\U00010428\U00010429 x"_qs << u"\U00010400\U00010429 X"_qs;
    QTest::newRow("inner capital outside the BMP") << u"\U00010428\U00010401 of"_qs << u"\U00010428\U00010401 of"_qs;
}

void TestTitlecase::newYorkStyle()
{
    QFETCH(QString, text);
    QFETCH(QString, titlecase);
    QCOMPARE(TextUtil::titlecaseString(text, true), titlecase);
    // The default setting is New York style.
    QCOMPARE(TextUtil::titlecaseString(text), titlecase);
}

void TestTitlecase::everyWordCapitalized_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("titlecase");

    QTest::newRow("small words") << "the sound of the city" << "The Sound Of The City";
    QTest::newRow("inner capital still kept") << "eMix to" << "eMix To";
    QTest::newRow("feat") << "artist feat singer" << "Artist Feat Singer";
    QTest::newRow("all capitals") << "OF MICE AND MEN" << "OF MICE AND MEN";
}

void TestTitlecase::everyWordCapitalized()
{
    QFETCH(QString, text);
    QFETCH(QString, titlecase);
    QCOMPARE(TextUtil::titlecaseString(text, false), titlecase);
}

void TestTitlecase::styleSwitchReadAtEachCall()
{
    const QString key = QStringLiteral("DISABLE_NEW_YORK_STYLE");
    UserDefaults::shared().setBool(true, key);
    QCOMPARE(TextUtil::titlecaseString(u"the sound of the city"_qs), u"The Sound Of The City"_qs);
    UserDefaults::shared().setBool(false, key);
    QCOMPARE(TextUtil::titlecaseString(u"the sound of the city"_qs), u"The Sound of the City"_qs);
}

void TestTitlecase::smallWordTable()
{
    const QStringList small = {"a",  "an", "and", "as", "at", "but", "by",  "en", "for", "if",
                               "in", "of", "on",  "or", "the", "to", "via", "vs", "feat"};
    for (const QString &word : small)
        QVERIFY2(TextUtil::isSmallWord(word), qPrintable(word));
    for (const char *word : {"from", "with", "nor", "is", "ft", "The", "", "feat."})
        QVERIFY2(!TextUtil::isSmallWord(QString::fromUtf8(word)), word);
}

void TestTitlecase::capitalizedWord_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("capitalized");

    QTest::newRow("lower") << "word" << "Word";
    QTest::newRow("upper") << "WORD" << "Word";
    QTest::newRow("mixed") << "wOrD" << "Word";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("sharp s first") << u"ßa"_qs << u"SSa"_qs;
    QTest::newRow("sharp s inside") << u"STRASSE straße"_qs << u"Strasse straße"_qs;
    QTest::newRow("Greek final sigma") << u"ΟΔΟΣ"_qs << u"Οδος"_qs;
    QTest::newRow("Greek two letters") << u"ΟΣ"_qs << u"Ος"_qs;
    QTest::newRow("Cyrillic") << u"МОСКВА"_qs << u"Москва"_qs;
    QTest::newRow("dotted capital I in the C locale") << u"İSTANBUL"_qs << u"İstanbul"_qs;
    QTest::newRow("outside the BMP") << u"\U00010400\U00010401"_qs << u"\U00010400\U00010429"_qs;
}

void TestTitlecase::capitalizedWord()
{
    QFETCH(QString, word);
    QFETCH(QString, capitalized);
    QCOMPARE(TextUtil::capitalizedString(word), capitalized);
}

void TestTitlecase::fullCaseMappings_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("lower");

    QTest::newRow("German sharp s") << u"Straße"_qs << u"STRASSE"_qs << u"straße"_qs;
    QTest::newRow("ligature") << u"ﬁne"_qs << u"FINE"_qs << u"ﬁne"_qs;
    QTest::newRow("Greek final sigma") << u"Οδός"_qs << u"ΟΔΌΣ"_qs << u"οδός"_qs;
    QTest::newRow("Greek final sigma from capitals") << u"ΟΔΟΣ ΟΣ"_qs << u"ΟΔΟΣ ΟΣ"_qs << u"οδος ος"_qs;
    QTest::newRow("Cyrillic") << u"Группа Крови"_qs << u"ГРУППА КРОВИ"_qs << u"группа крови"_qs;
    QTest::newRow("dotted capital I in the C locale") << u"İzmir"_qs << u"İZMIR"_qs << u"i\u0307zmir"_qs;
    QTest::newRow("i in the C locale") << u"istanbul ılık"_qs << u"ISTANBUL ILIK"_qs << u"istanbul ılık"_qs;
    QTest::newRow("outside the BMP") << u"\U00010400\U00010428"_qs << u"\U00010400\U00010400"_qs
                                     << u"\U00010428\U00010428"_qs;
    QTest::newRow("no case") << u"東京 123 -"_qs << u"東京 123 -"_qs << u"東京 123 -"_qs;
}

void TestTitlecase::fullCaseMappings()
{
    QFETCH(QString, text);
    QFETCH(QString, upper);
    QFETCH(QString, lower);
    QCOMPARE(TextUtil::uppercaseString(text), upper);
    QCOMPARE(TextUtil::lowercaseString(text), lower);
}

// The mappings follow the current locale: Turkish has its own dotted and dotless i.
void TestTitlecase::turkishLocaleMapsDottedI()
{
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    QCOMPARE(TextUtil::uppercaseString(u"istanbul"_qs), u"İSTANBUL"_qs);
    QCOMPARE(TextUtil::lowercaseString(u"ILIK"_qs), u"ılık"_qs);
    QCOMPARE(TextUtil::titlecaseString(u"izmir ılık"_qs, true), u"İzmir Ilık"_qs);
}

QTEST_GUILESS_MAIN(TestTitlecase)
#include "test_titlecase.moc"
