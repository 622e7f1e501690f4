#include "fixtures.h"
#include "patterntesting.h"
#include "tools/patternbuffer.h"
#include "tools/tagfieldrules.h"
#include "tools/tokenutil.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

// Runs the steps, separated by "|", on the buffer: "type:TEXT", "paste:SYNTAX" (a pattern in the
// command line's syntax, as the clipboard brings it), "token:STRING", "caret:N", "select:FROM,TO",
// "left", "right", "sleft", "sright" (with Shift), "wleft", "wright", "back", "del", "finish",
// "undo", "redo", "all". Returns how many steps changed the pattern.
int run(PatternBuffer *buffer, const QString &steps)
{
    int changes = 0;
    for (const QString &step : steps.split(u'|', Qt::SkipEmptyParts)) {
        const QString name = step.section(u':', 0, 0);
        const QString argument = step.section(u':', 1);
        bool changed = false;
        if (name == u"type")
            changed = buffer->insertTyped(argument);
        else if (name == u"paste")
            changed = buffer->insertPattern(patternFromText(argument));
        else if (name == u"token")
            changed = buffer->insertToken(TokenUtil::tokenWithTokenString(argument));
        else if (name == u"caret")
            buffer->setCaret(argument.toInt());
        else if (name == u"select")
            buffer->setCaret(argument.section(u',', 0, 0).toInt()), buffer->setCaret(argument.section(u',', 1).toInt(), true);
        else if (name == u"left" || name == u"sleft")
            buffer->moveLeft(name == u"sleft");
        else if (name == u"right" || name == u"sright")
            buffer->moveRight(name == u"sright");
        else if (name == u"wleft")
            buffer->moveWordLeft(false);
        else if (name == u"wright")
            buffer->moveWordRight(false);
        else if (name == u"back")
            changed = buffer->deleteBackward();
        else if (name == u"del")
            changed = buffer->deleteForward();
        else if (name == u"finish")
            changed = buffer->finishTyping();
        else if (name == u"undo")
            changed = buffer->undo();
        else if (name == u"redo")
            changed = buffer->redo();
        else if (name == u"all")
            buffer->selectAll();
        else
            qFatal("unknown step %s", qPrintable(step));
        changes += changed ? 1 : 0;
    }
    return changes;
}

} // namespace

// The editing state behind the pattern field: where the caret goes around tokens, what
// Backspace and Delete take, when typed text becomes a token, and that a token goes in where
// the token buttons' rules put it.
class TestPatternBuffer : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void edits_data();
    void edits();
    void insertionFollowsTheTokenRules_data();
    void insertionFollowsTheTokenRules();
    void selectionCopiesWholeTokens_data();
    void selectionCopiesWholeTokens();

private:
    QTemporaryDir m_dir;
};

void TestPatternBuffer::initTestCase()
{
    QVERIFY(useEditorSettings(m_dir));
}

void TestPatternBuffer::edits_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("changes");

    // "{Track} - {Title}": Track at 0, " - " at 1-3, Title at 4, end 5.
    const QString trackTitle = QStringLiteral("{Track} - {Title}");
    QTest::newRow("typing into an empty field") << "" << "type:01 |type:x" << "[01 x]" << 4 << 2;
    QTest::newRow("a typed token string becomes the token when the edit ends")
        << "" << "type:Title|finish" << "{Title}" << 1 << 2;
    QTest::newRow("typing alone never makes a token") << "" << "type:Title" << "[Title]" << 5 << 1;
    QTest::newRow("other case stays literal") << "" << "type:title|finish" << "[title]" << 5 << 1;
    QTest::newRow("a token string inside longer text stays literal")
        << "" << "type:Title |finish" << "[Title ]" << 6 << 1;
    QTest::newRow("typed between two tokens") << "{Track}{Title}"
                                              << "caret:1|type:Album Artist|finish" << "{Track}{Album Artist}{Title}" << 2 << 2;
    QTest::newRow("pasted text never becomes a token") << "" << "paste:Title|finish" << "[Title]" << 5 << 1;
    QTest::newRow("half typed, half pasted stays literal") << "" << "type:Ti|paste:tle|finish" << "[Title]" << 5 << 2;
    QTest::newRow("an ended edit is not made a token later")
        << "" << "type:Tit|finish|caret:0|paste:x|back|caret:3|type:le|finish" << "[Title]" << 5 << 4;
    QTest::newRow("Backspace joins the literals around a token")
        << "a{Title}b" << "caret:2|back" << "[ab]" << 1 << 1;
    QTest::newRow("Backspace at the start changes nothing") << trackTitle << "caret:0|back" << "{Track}[ - ]{Title}" << 0 << 0;
    QTest::newRow("Delete at the end changes nothing") << trackTitle << "del" << "{Track}[ - ]{Title}" << 5 << 0;
    QTest::newRow("Left collapses a selection to its start") << trackTitle << "select:1,4|left|type:x" << "{Track}[x - ]{Title}" << 2 << 1;
    QTest::newRow("Right collapses a selection to its end") << trackTitle << "select:5,2|right|type:x" << "{Track}[ - ]{Title}[x]" << 6 << 1;
    QTest::newRow("the caret is clamped to the content") << trackTitle << "caret:99|type:!|caret:-3|type:?"
                                                        << "[?]{Track}[ - ]{Title}[!]" << 1 << 2;
    QTest::newRow("Backspace over a selection across a token") << trackTitle << "select:2,5|back" << "{Track}[ ]" << 2 << 1;
    QTest::newRow("a surrogate pair goes whole") << "a😀b" << "caret:3|back" << "[ab]" << 1 << 1;
    QTest::newRow("the arrows never stop inside a surrogate pair")
        << "a😀b" << "caret:1|right|type:x|left|left|type:y" << "[ay😀xb]" << 2 << 2;
    QTest::newRow("a word left stops at each token") << trackTitle << "wleft|wleft|type:x" << "[x]{Track}[ - ]{Title}" << 1 << 1;
    QTest::newRow("word moves cross spaces and stop at words")
        << "one two{Year}" << "caret:0|wright|type:_|wright|wright|type:." << "[one _two]{Year}[.]" << 10 << 2;
    QTest::newRow("a token inserted over a selection") << trackTitle << "select:1,4|token:Artist" << "{Track}{Artist}{Title}" << 2 << 1;
    QTest::newRow("undo and redo") << trackTitle << "back|type:x|undo|undo|redo" << "{Track}[ - ]" << 4 << 5;
    QTest::newRow("undo puts a deleted token and the caret back") << trackTitle << "caret:4|del|undo" << "{Track}[ - ]{Title}" << 4 << 2;
    QTest::newRow("undo takes back a made token") << "" << "type:Year|finish|undo" << "[Year]" << 4 << 3;
    QTest::newRow("an edit after undo ends redo") << "" << "type:a|undo|type:b|redo" << "[b]" << 1 << 3;
    QTest::newRow("select all and delete") << trackTitle << "all|del|undo" << "{Track}[ - ]{Title}" << 5 << 2;
}

void TestPatternBuffer::edits()
{
    QFETCH(QString, start);
    QFETCH(QString, steps);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    QFETCH(int, changes);

    PatternBuffer buffer;
    buffer.setPattern(patternFromText(start));
    QCOMPARE(buffer.caret(), PatternUtil::width(patternFromText(start)));
    QCOMPARE(run(&buffer, steps), changes);
    QCOMPARE(describePattern(buffer.pattern()), expected);
    QCOMPARE(buffer.caret(), caret);
    QCOMPARE(buffer.length(), PatternUtil::width(buffer.pattern()));
}

void TestPatternBuffer::insertionFollowsTheTokenRules_data()
{
    QTest::addColumn<QString>("start");

    QTest::newRow("literal before a token") << "01 {Title}";
    QTest::newRow("tokens around a literal") << "{Track} - {Title}";
    QTest::newRow("neighbouring tokens and a tail") << "{Disc}{Track} (live)";
    QTest::newRow("empty") << "";
}

// Every caret and every selection of the pattern: the token lands where the rules of the token
// buttons put it, and the caret after it.
void TestPatternBuffer::insertionFollowsTheTokenRules()
{
    QFETCH(QString, start);

    const Pattern pattern = patternFromText(start);
    const qsizetype width = PatternUtil::width(pattern);
    for (qsizetype from = 0; from <= width; ++from) {
        for (qsizetype length = 0; from + length <= width; ++length) {
            PatternBuffer buffer;
            buffer.setPattern(pattern);
            buffer.setCaret(from + length);
            buffer.setCaret(from, true);
            QVERIFY(buffer.insertToken(TokenUtil::tokenWithTag(2)));
            const TagFieldRules::Insertion rules = TagFieldRules::addToken(pattern, from, length, 2);
            const QByteArray where = QByteArray::number(from) + "+" + QByteArray::number(length);
            QVERIFY2(buffer.pattern() == rules.pattern, where + ": " + describePattern(buffer.pattern()).toUtf8());
            QVERIFY2(buffer.caret() == rules.caret, where);
        }
    }
}

void TestPatternBuffer::selectionCopiesWholeTokens_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("wordAt");
    QTest::addColumn<QString>("word");

    // "{Track} - {Title} (live)": Track 0, " - " 1-3, Title 4, " (live)" 5-11.
    QTest::newRow("nothing") << 3 << 3 << "" << 0 << "{Track}";
    QTest::newRow("one token") << 4 << 5 << "{Title}" << 4 << "{Title}";
    QTest::newRow("across a token") << 2 << 7 << "[- ]{Title}[ (]" << 8 << "[live]";
    QTest::newRow("backwards") << 12 << 0 << "{Track}[ - ]{Title}[ (live)]" << 2 << "[-]";
    QTest::newRow("at the end") << 12 << 12 << "" << 12 << "";
}

void TestPatternBuffer::selectionCopiesWholeTokens()
{
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, expected);
    QFETCH(int, wordAt);
    QFETCH(QString, word);

    PatternBuffer buffer;
    buffer.setPattern(patternFromText(QStringLiteral("{Track} - {Title} (live)")));
    buffer.setCaret(from);
    buffer.setCaret(to, true);
    QCOMPARE(describePattern(buffer.selectedPattern()), expected);
    QCOMPARE(buffer.hasSelection(), from != to);
    buffer.selectWordAt(wordAt);
    QCOMPARE(describePattern(buffer.selectedPattern()), word);
}

QTEST_GUILESS_MAIN(TestPatternBuffer)
#include "test_patternbuffer.moc"
