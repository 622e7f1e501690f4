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
// "undo", "redo", "all", "word:N" (select the word there); "selected:PATTERN" checks the
// selection. Counts the steps that changed the pattern.
void run(PatternBuffer *buffer, const QString &steps, int &changes)
{
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
        else if (name == u"word")
            buffer->selectWordAt(argument.toInt());
        else if (name == u"selected") {
            QCOMPARE(describePattern(buffer->selectedPattern()), argument);
            QCOMPARE(buffer->hasSelection(), !argument.isEmpty());
        } else
            QFAIL(qPrintable(QStringLiteral("unknown step ") + step));
        changes += changed ? 1 : 0;
    }
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
    QTest::newRow("a typed token string becomes the token when the edit ends") << "" << "type:Title|finish" << "{Title}" << 1 << 2;
    QTest::newRow("typing alone never makes a token") << "" << "type:Title" << "[Title]" << 5 << 1;
    QTest::newRow("a token string inside longer text stays literal") << "" << "type:Title |finish" << "[Title ]" << 6 << 1;
    QTest::newRow("typed next to loaded text stays literal") << "{Track} " << "type:Title|finish" << "{Track}[ Title]" << 7 << 1;
    QTest::newRow("typed between two tokens") << "{Track}{Title}" << "caret:1|type:Album Artist|finish" << "{Track}{Album Artist}{Title}" << 2 << 2;
    QTest::newRow("pasted text never becomes a token") << "" << "paste:Title|finish" << "[Title]" << 5 << 1;
    QTest::newRow("half typed, half pasted stays literal") << "" << "type:Ti|paste:tle|finish" << "[Title]" << 5 << 2;
    QTest::newRow("an ended edit is not made a token later") << "" << "type:Tit|finish|caret:0|paste:x|back|caret:3|type:le|finish" << "[Title]" << 5 << 4;
    QTest::newRow("Backspace joins the literals around a token") << "a{Title}b" << "caret:2|back" << "[ab]" << 1 << 1;
    QTest::newRow("Delete at the end and Backspace at the start change nothing") << trackTitle << "del|caret:0|back" << "{Track}[ - ]{Title}" << 0 << 0;
    QTest::newRow("Left and Right collapse a selection to its start and its end")
        << trackTitle << "select:1,4|left|type:x|select:5,2|right|type:y" << "{Track}[x - y]{Title}" << 6 << 2;
    QTest::newRow("the caret is clamped to the content") << trackTitle << "caret:99|type:!|caret:-3|type:?" << "[?]{Track}[ - ]{Title}[!]" << 1 << 2;
    QTest::newRow("Backspace over a selection across a token") << trackTitle << "select:2,5|back" << "{Track}[ ]" << 2 << 1;
    QTest::newRow("the arrows and Backspace take a surrogate pair whole") << "a😀b" << "caret:1|right|type:x|left|left|type:y|right|back" << "[ayxb]" << 2 << 3;
    QTest::newRow("a word left stops at each token") << trackTitle << "wleft|wleft|type:x" << "[x]{Track}[ - ]{Title}" << 1 << 1;
    QTest::newRow("word moves cross spaces and stop at words")
        << "one two{Year}" << "caret:0|wright|type:_|wright|wright|type:." << "[one _two]{Year}[.]" << 10 << 2;
    QTest::newRow("a token inserted over a selection") << trackTitle << "select:1,4|token:Artist" << "{Track}{Artist}{Title}" << 2 << 1;
    QTest::newRow("undo and redo") << trackTitle << "back|type:x|undo|undo|redo" << "{Track}[ - ]" << 4 << 5;
    QTest::newRow("undo puts a deleted token and the caret back") << trackTitle << "caret:4|del|undo" << "{Track}[ - ]{Title}" << 4 << 2;
    QTest::newRow("undo takes back a made token") << "" << "type:Year|finish|undo" << "[Year]" << 4 << 3;
    QTest::newRow("an edit after undo ends redo") << "" << "type:a|undo|type:b|redo" << "[b]" << 1 << 3;
    QTest::newRow("select all and delete") << trackTitle << "all|del|undo" << "{Track}[ - ]{Title}" << 5 << 2;
    // "{Track} - {Title} (live)": Track 0, " - " 1-3, Title 4, " (live)" 5-11. A selection, and a
    // word selected at a position, copy whole tokens.
    const QString live = QStringLiteral("{Track} - {Title} (live)");
    const QString liveShown = QStringLiteral("{Track}[ - ]{Title}[ (live)]");
    QTest::newRow("selected: one token") << live << "select:4,5|selected:{Title}|word:4|selected:{Title}" << liveShown << 5 << 0;
    QTest::newRow("selected: across a token") << live << "select:2,7|selected:[- ]{Title}[ (]|word:8|selected:[live]" << liveShown << 11 << 0;
    QTest::newRow("selected: backwards") << live << "select:12,0|selected:" + liveShown + "|word:2|selected:[-]" << liveShown << 3 << 0;
    QTest::newRow("selected: nothing")
        << live << "select:3,3|selected:|word:0|selected:{Track}|select:12,12|selected:|word:12|selected:" << liveShown << 12 << 0;
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
    int changed = 0;
    run(&buffer, steps, changed);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(changed, changes);
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

QTEST_GUILESS_MAIN(TestPatternBuffer)
#include "test_patternbuffer.moc"
