#include "tools/titlecase.h"

#include "model/userdefaults.h"

#include <QLocale>
#include <QSet>
#include <QStringView>
#include <QTextBoundaryFinder>

namespace TextUtil {

namespace {

char32_t codePointAt(QStringView text, qsizetype pos)
{
    const QChar c = text[pos];
    if (c.isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(c, text[pos + 1]);
    return c.unicode();
}

char32_t codePointBefore(QStringView text, qsizetype pos)
{
    const QChar c = text[pos - 1];
    if (c.isLowSurrogate() && pos >= 2 && text[pos - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[pos - 2], c);
    return c.unicode();
}

qsizetype firstCharacterLength(QStringView word)
{
    return codePointAt(word, 0) > 0xFFFF ? 2 : 1;
}

// Appends a word found by the boundary finder. Qt's segmentation breaks at a full stop between
// two letters, where the default Unicode rules keep abbreviations and host names ("e.g",
// "U.S.A", "www.example.com") in one word; such pieces are joined again, so that the "." keeps
// the whole word as typed in title case.
void appendWord(QList<WordRange> *words, QStringView text, WordRange word)
{
    if (!words->isEmpty()) {
        WordRange &previous = words->last();
        const qsizetype stop = previous.start + previous.length;
        if (stop + 1 == word.start && text[stop] == u'.' && QChar::isLetter(codePointBefore(text, stop))
            && QChar::isLetter(codePointAt(text, word.start))) {
            previous.length = word.start + word.length - previous.start;
            return;
        }
    }
    words->append(word);
}

// An upper-case or title-case letter, or ".", after the word's first character.
bool hasInnerCapital(QStringView word)
{
    for (qsizetype i = firstCharacterLength(word); i < word.size(); ++i) {
        const char32_t c = codePointAt(word, i);
        if (c > 0xFFFF)
            ++i;
        const QChar::Category category = QChar::category(c);
        if (category == QChar::Letter_Uppercase || category == QChar::Letter_Titlecase || c == U'.')
            return true;
    }
    return false;
}

} // namespace

QList<WordRange> wordRanges(const QString &text)
{
    QList<WordRange> words;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Word, text);
    qsizetype start = 0;
    bool startsWord = finder.boundaryReasons().testFlag(QTextBoundaryFinder::StartOfItem);
    while (finder.toNextBoundary() != -1) {
        const qsizetype end = finder.position();
        const QTextBoundaryFinder::BoundaryReasons reasons = finder.boundaryReasons();
        if (startsWord && reasons.testFlag(QTextBoundaryFinder::EndOfItem))
            appendWord(&words, text, {start, end - start});
        start = end;
        startsWord = reasons.testFlag(QTextBoundaryFinder::StartOfItem);
    }
    return words;
}

bool isSmallWord(const QString &lowercaseWord)
{
    static const QSet<QString> smallWords = {
        QStringLiteral("a"),   QStringLiteral("an"),  QStringLiteral("and"), QStringLiteral("as"),
        QStringLiteral("at"),  QStringLiteral("but"), QStringLiteral("by"),  QStringLiteral("en"),
        QStringLiteral("for"), QStringLiteral("if"),  QStringLiteral("in"),  QStringLiteral("of"),
        QStringLiteral("on"),  QStringLiteral("or"),  QStringLiteral("the"), QStringLiteral("to"),
        QStringLiteral("via"), QStringLiteral("vs"),  QStringLiteral("feat"),
    };
    return smallWords.contains(lowercaseWord);
}

QString titlecaseString(const QString &text)
{
    return titlecaseString(text, !UserDefaults::shared().boolForKey(QStringLiteral("DISABLE_NEW_YORK_STYLE")));
}

QString titlecaseString(const QString &text, bool newYorkStyle)
{
    const QList<WordRange> words = wordRanges(text);
    if (words.isEmpty())
        return text;

    // The result is built piece by piece rather than replaced in place, because a case mapping
    // may change a word's length ("ß" upper-cases to "SS") and the ranges refer to the input.
    QString result;
    result.reserve(text.size() + 8);
    qsizetype copied = 0;
    qsizetype lastWordInResult = 0;
    bool first = true;
    bool lastHadNoInnerCapital = false;
    for (const WordRange &range : words) {
        result += QStringView(text).mid(copied, range.start - copied);
        lastWordInResult = result.size();
        const QString word = text.mid(range.start, range.length);
        const QString lower = lowercaseString(word);
        if (newYorkStyle && !first && isSmallWord(lower)) {
            result += lower;
        } else if (hasInnerCapital(word)) {
            lastHadNoInnerCapital = false;
            result += word;
        } else {
            lastHadNoInnerCapital = true;
            result += capitalizedString(word);
        }
        copied = range.start + range.length;
        first = false;
    }
    if (lastHadNoInnerCapital) {
        // A small word that ends the text is capitalized after all. The input word is
        // capitalized, not the result, so that a word already done is not mapped twice.
        const WordRange &last = words.last();
        result.truncate(lastWordInResult);
        result += capitalizedString(text.mid(last.start, last.length));
    }
    result += QStringView(text).mid(copied);
    return result;
}

QString capitalizedString(const QString &word)
{
    if (word.isEmpty())
        return word;
    const qsizetype firstLength = firstCharacterLength(word);
    const QString firstCharacter = word.left(firstLength);
    // The rest is lower-cased with the whole word as context (a Greek final sigma depends on
    // the letters before it); the mapping of the first character is then cut off again.
    const QString lowerWord = lowercaseString(word);
    const QString lowerFirst = lowercaseString(firstCharacter);
    const QString rest = lowerWord.startsWith(lowerFirst) ? lowerWord.mid(lowerFirst.size())
                                                          : lowercaseString(word.mid(firstLength));
    return uppercaseString(firstCharacter) + rest;
}

QString uppercaseString(const QString &text)
{
    return QLocale().toUpper(text);
}

QString lowercaseString(const QString &text)
{
    return QLocale().toLower(text);
}

} // namespace TextUtil
