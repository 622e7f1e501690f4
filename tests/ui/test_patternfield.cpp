#include "editor/editorcontroller.h"
#include "fixtures.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "patterntesting.h"
#include "tools/namingcontroller.h"
#include "tools/patternclipboard.h"
#include "tools/tokenutil.h"
#include "ui/mainwindow.h"
#include "ui/patterneditor.h"
#include "ui/patternfield.h"
#include "ui/tokenbuttons.h"
#include "windowtesting.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QtTest>

using namespace WindowTesting;

namespace {

const QString NamingKey = QStringLiteral("NAMING_CUSTOM_SCHEME");

// A shown window holding a pattern field, the token buttons for it and a line edit the focus can
// go to.
struct FieldWindow {
    FieldWindow()
    {
        auto *column = new QVBoxLayout(&window);
        column->addWidget(field);
        column->addWidget(buttons);
        column->addWidget(other);
        window.show();
        field->setFocus();
    }

    // Runs the steps, separated by "|": "type:TEXT", "readonly", "select:FROM,LENGTH", "button:TOKEN",
    // "click:X", "shiftclick:X", "dclick:X" (X from the right edge when negative), "clip:TYPE=DATA"
    // ("pattern" for the pattern type), "copied:TEXT" (the clipboard holds a pattern shown as TEXT),
    // "clipboard:TEXT" (holds only that text); "bind", "store:SYNTAX", "stored:PATTERN" (checked)
    // on the naming key, "reopen" its store from disk; else a key as a shortcut names it ("Ctrl+V").
    void run(const QString &steps)
    {
        for (const QString &step : steps.split(u'|')) {
            const QString name = step.section(u':', 0, 0);
            const QString argument = step.section(u':', 1);
            const QPoint point(argument.toInt() < 0 ? field->width() + argument.toInt() : argument.toInt(), field->height() / 2);
            if (name == u"type") {
                QTest::keyClicks(field, argument);
            } else if (name == u"readonly") {
                field->setReadOnly(true);
            } else if (name == u"select") {
                field->setSelection(argument.section(u',', 0, 0).toInt(), argument.section(u',', 1).toInt());
            } else if (name == u"button") {
                QPushButton *button = buttons->button(argument);
                QVERIFY(button);
                QCOMPARE(button->text(), TokenUtil::localizedTokenString(argument));
                QCOMPARE(button->property("tag").toUInt(), uint(*TokenUtil::tokenForString(argument)));
                QTest::mouseClick(button, Qt::LeftButton);
                QVERIFY(field->hasFocus());
            } else if (name == u"click" || name == u"shiftclick") {
                QTest::mouseClick(field, Qt::LeftButton, name == u"shiftclick" ? Qt::ShiftModifier : Qt::NoModifier, point);
            } else if (name == u"dclick") {
                QTest::mouseDClick(field, Qt::LeftButton, {}, point);
            } else if (name == u"clip") {
                const QString type = argument.section(u'=', 0, 0);
                auto *data = new QMimeData;
                data->setData(type == u"pattern" ? QString::fromLatin1(PatternClipboard::MimeType) : type, argument.section(u'=', 1).toUtf8());
                QGuiApplication::clipboard()->setMimeData(data);
            } else if (name == u"copied" || name == u"clipboard") {
                const QMimeData *data = QGuiApplication::clipboard()->mimeData();
                QVERIFY(data);
                QCOMPARE(data->hasFormat(QString::fromLatin1(PatternClipboard::MimeType)), name == u"copied");
                QCOMPARE(data->text(), argument);
            } else if (name == u"bind") {
                field->bindToKey(NamingKey);
            } else if (name == u"store") {
                PatternUtil::storePattern(patternFromText(argument), NamingKey);
            } else if (name == u"stored") {
                QCOMPARE(describePattern(PatternUtil::storedPattern(NamingKey)), argument);
            } else if (name == u"reopen") {
                UserDefaults::shared().synchronize();
                UserDefaults::shared().openStore(UserDefaults::shared().storePath());
            } else {
                const QKeySequence key(step);
                QVERIFY2(key.count() == 1 && key[0].key() != Qt::Key_unknown, qPrintable(step));
                QTest::keyClick(field, key[0].key(), key[0].keyboardModifiers());
            }
        }
    }

    QWidget window;
    PatternField *field = new PatternField(&window);
    TokenButtons *buttons = new TokenButtons(TokenUtil::tokenStrings(), field, &window);
    QLineEdit *other = new QLineEdit(&window);
};

} // namespace

// The pattern field as a person uses it: the keys, token buttons, clicks and clipboard data that
// reach the editing state, and the settings key; and the custom-pattern editor with its Done,
// Apply under Alt, and Cancel, naming real songs in the window.
class TestPatternField : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void edits_data();
    void edits();
    void editorStoresAppliesOrCancels_data();
    void editorStoresAppliesOrCancels();

private:
    QTemporaryDir m_settings;
};

void TestPatternField::initTestCase()
{
    QVERIFY(m_settings.isValid());
    setUp(m_settings);
}

void TestPatternField::init()
{
    UserDefaults::shared().removeObjectForKey(NamingKey);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
}

void TestPatternField::edits_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("edits");

    // "{Track} - {Title}": Track at 0, " - " at 1-3, Title at 4, end 5.
    const QString trackTitle = QStringLiteral("{Track} - {Title}");
    const QString wideChip = QStringLiteral("{Album Artist}{Title}x");
    QTest::newRow("read-only: typing, deleting, pasting, undo and Cut do nothing, Copy copies")
        << trackTitle << "readonly|Backspace|Left|Del|Ctrl+V|Ctrl+Z|type:Title|Home|Shift+Right|Ctrl+X|clipboard:pasted|Ctrl+C|copied:{Track}"
        << "{Track}[ - ]{Title}" << 1 << 0;
    QTest::newRow("Home and Delete, End and Backspace take a chip, Ctrl+Z puts it back")
        << trackTitle << "Home|Del|End|Backspace|Ctrl+Z" << "[ - ]{Title}" << 4 << 3;
    QTest::newRow("Left and Right step over a chip, Shift+Right selects")
        << trackTitle << "Left|type:x|Home|Right|Right|type:y|Shift+Right|Del" << "{Track}[ y x]{Title}" << 3 << 3;
    QTest::newRow("Shift+Home selects everything, typing replaces it") << trackTitle << "Shift+Home|type:abc" << "[abc]" << 3 << 3;
    QTest::newRow("Ctrl+Backspace takes a word") << "{Track} one two" << "Ctrl+Backspace" << "{Track}[ one ]" << 6 << 1;
    QTest::newRow("Return and leaving the field end the edit: a typed token string becomes the token")
        << "{Track}" << "type:Title|Return|type:Album Artist|Tab" << "{Track}{Title}{Album Artist}" << 3 << 19;
    QTest::newRow("Ctrl with a letter types nothing, Ctrl+A and Delete empty the field") << trackTitle << "Ctrl+B|Ctrl+A|Del" << "" << 0 << 1;
    QTest::newRow("a chip and text copied, pasted at the end")
        << trackTitle << "select:0,3|Ctrl+C|copied:{Track} -|End|Ctrl+V" << "{Track}[ - ]{Title}{Track}[ -]" << 8 << 1;
    QTest::newRow("cut, pasted before the first chip") << trackTitle << "select:1,4|Ctrl+X|copied: - {Title}|Home|Ctrl+V" << "[ - ]{Title}{Track}" << 4 << 2;
    QTest::newRow("pasted over its own selection") << trackTitle << "Ctrl+A|Ctrl+C|copied:{Track} - {Title}|Ctrl+V" << "{Track}[ - ]{Title}" << 5 << 1;
    QTest::newRow("a pasted token string stays literal") << "{Track}" << "clip:text/plain=Title|Ctrl+V|Return" << "{Track}[Title]" << 6 << 1;
    QTest::newRow("pasted syntax stays literal, lines become one")
        << "{Track}" << "clip:text/plain={Title}\r\nb\nc|Ctrl+V|Tab" << "{Track}[{Title} b c]" << 12 << 1;
    QTest::newRow("pattern data that is no list") << "{Track}" << R"(clip:pattern={"tokenField":"Title"}|Ctrl+V)" << "{Track}" << 1 << 0;
    QTest::newRow("pattern data: literals joined, empty ones dropped, unknown tokens kept")
        << "{Track}" << R"(clip:pattern=["-",{"tokenField":"Year"},7,"",{"tokenField":"Mood"},"a","b"]|Ctrl+V)" << "{Track}[-]{Year}[7]{Mood}[ab]" << 7 << 1;
    QTest::newRow("a token button replaces the selection") << trackTitle << "select:1,3|button:Track Total" << "{Track}{Track Total}{Title}" << 2 << 1;
    QTest::newRow("clicks far left and far right, Shift+click selects from the caret")
        << wideChip << "click:1|type:a|click:-2|type:b|shiftclick:1|Ctrl+C|copied:a{Album Artist}{Title}xb" << "[a]{Album Artist}{Title}[xb]" << 0 << 2;
    QTest::newRow("a double click selects the chip under it") << wideChip << "dclick:8|Ctrl+C|copied:{Album Artist}" << "{Album Artist}{Title}[x]" << 1 << 0;
    QTest::newRow("the bound key follows every edit, on disk too")
        << "" << "store:{Artist} - |bind|button:Title|stored:{Artist}[ - ]{Title}|Backspace|Backspace|stored:{Artist}[ -]|reopen|stored:{Artist}[ -]"
        << "{Artist}[ -]" << 3 << 3;
    QTest::newRow("a change to the bound key shows in the field") << "" << "store:{Artist}|bind|type:x|store:{Year}" << "{Year}" << 1 << 1;
}

void TestPatternField::edits()
{
    QFETCH(QString, start);
    QFETCH(QString, steps);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    QFETCH(int, edits);

    FieldWindow test;
    QVERIFY(QTest::qWaitForWindowActive(&test.window) && test.field->hasFocus());
    QSignalSpy edited(test.field, &PatternField::patternEdited);
    // Content set from outside is no edit and puts the caret at the end.
    test.field->setPattern(patternFromText(start));
    QCOMPARE(test.field->cursorPosition(), PatternUtil::width(patternFromText(start)));
    test.run(steps);
    if (QTest::currentTestFailed())
        return;
    QTRY_COMPARE(describePattern(test.field->pattern()), expected);
    QCOMPARE(test.field->cursorPosition(), caret);
    QCOMPARE(edited.count(), edits);
}

void TestPatternField::editorStoresAppliesOrCancels_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("open");
    QTest::addColumn<bool>("named"); // applied once, naming the songs

    QTest::newRow("Alt turns Done into Apply: stores, names the songs, stays open") << "token:Artist|altdown|confirm" << "{Track}[ ]{Artist}" << true << true;
    QTest::newRow("Alt held on the click alone applies") << "token:Artist|altclick" << "{Track}[ ]{Artist}" << true << true;
    QTest::newRow("Alt released: Done again") << "token:Artist|altdown|altup|confirm" << "{Track}[ ]{Artist}" << false << false;
    QTest::newRow("Apply, then Done") << "token:Artist|altclick|type:!|confirm" << "{Track}[ ]{Artist}[!]" << false << true;
    QTest::newRow("a typed token string and Return") << "type:Artist|return" << "{Track}[ Artist]" << false << false;
    QTest::newRow("Done stores and closes; opening it again keeps the edit") << "token:Artist|reopen|confirm" << "{Track}[ ]{Artist}" << false << false;
    QTest::newRow("Cancel stores nothing") << "token:Artist|cancel" << "{Track}[ ]" << false << false;
    QTest::newRow("Escape stores nothing") << "token:Artist|escape" << "{Track}[ ]" << false << false;
}

void TestPatternField::editorStoresAppliesOrCancels()
{
    QFETCH(QString, steps);
    QFETCH(QString, stored);
    QFETCH(bool, open);
    QFETCH(bool, named);

    TestWindow test;
    QVERIFY(test.open({{"a.mp3", "One", "Ann", "", "3"}, {"b.mp3", "Two", "Bob", "", "4"}}));
    NamingController naming(test->editor());
    naming.selectCustom();
    PatternUtil::storePattern(patternFromText(QStringLiteral("{Track} ")), NamingKey);

    PatternEditor editor(NamingKey, TokenUtil::tokenStrings(), test.window.get());
    QSignalSpy applied(&editor, &PatternEditor::applyRequested);
    connect(&editor, &PatternEditor::applyRequested, &editor, [&naming] { naming.applyNamingToSongs(); });
    editor.editCustom();
    QTRY_VERIFY(editor.field()->hasFocus());
    QCOMPARE(editor.field()->cursorPosition(), 2);
    QCOMPARE(editor.confirmButton()->text(), Localized::text("Done"));

    for (const QString &step : steps.split(u'|')) {
        const QString argument = step.section(u':', 1);
        const bool alt = step == u"altclick" || (step == u"confirm" && editor.isAlternateDown());
        if (step.startsWith(u"token:"))
            QTest::mouseClick(editor.tokenButtons()->button(argument), Qt::LeftButton);
        else if (step.startsWith(u"type:"))
            QTest::keyClicks(editor.field(), argument);
        else if (step == u"altdown")
            QTest::keyPress(editor.field(), Qt::Key_Alt, Qt::AltModifier);
        else if (step == u"altup")
            QTest::keyRelease(editor.field(), Qt::Key_Alt);
        else if (step == u"confirm" || step == u"altclick")
            QTest::mouseClick(editor.confirmButton(), Qt::LeftButton, alt ? Qt::AltModifier : Qt::NoModifier);
        else if (step == u"reopen")
            editor.editCustom();
        else if (step == u"cancel")
            QTest::mouseClick(editor.cancelButton(), Qt::LeftButton);
        else if (step == u"escape" || step == u"return")
            QTest::keyClick(editor.field(), step == u"escape" ? Qt::Key_Escape : Qt::Key_Return);
        if (step == u"altdown" || step == u"altup")
            QCOMPARE(editor.confirmButton()->text(), Localized::text(step == u"altdown" ? "Apply" : "Done"));
    }

    QCOMPARE(describePattern(PatternUtil::storedPattern(NamingKey)), stored);
    QTRY_COMPARE(editor.isVisible(), open);
    QCOMPARE(applied.count(), named ? 1 : 0);
    QCOMPARE(QStringList({song(*test, 0)->fileName(), song(*test, 1)->fileName()}),
             (named ? QStringList{"3 Ann.mp3", "4 Bob.mp3"} : QStringList{"a.mp3", "b.mp3"}));
    if (!open) {
        // The Alt watch ended with the dialog.
        QTest::keyPress(test.window.get(), Qt::Key_Alt, Qt::AltModifier);
        QCOMPARE(editor.confirmButton()->text(), Localized::text("Done"));
    }
    QTest::keyRelease(test.window.get(), Qt::Key_Alt);
}

QTEST_MAIN(TestPatternField)
#include "test_patternfield.moc"
