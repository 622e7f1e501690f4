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

#include <QApplication>
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

// A shown window holding a pattern field and, below it, a line edit the focus can go to.
struct FieldWindow {
    FieldWindow()
    {
        auto *column = new QVBoxLayout(&window);
        column->addWidget(field);
        column->addWidget(other);
        window.show();
        field->setFocus();
    }
    bool ready() { return QTest::qWaitForWindowActive(&window) && field->hasFocus(); }

    QWidget window;
    PatternField *field = new PatternField(&window);
    QLineEdit *other = new QLineEdit(&window);
};

QTestEventList keys(std::initializer_list<QKeyCombination> combinations, const QString &typed = QString())
{
    QTestEventList events;
    for (const QKeyCombination combination : combinations)
        events.addKeyClick(combination.key(), combination.keyboardModifiers());
    if (!typed.isEmpty())
        events.addKeyClicks(typed);
    return events;
}

} // namespace

// The pattern field as a person uses it: the keyboard around chips, the token buttons, the
// clipboard, the stored form and the settings key; and the custom-pattern editor with its
// Done, Apply under Alt, and Cancel, naming real songs in the window.
class TestPatternField : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void keyboard_data();
    void keyboard();
    void tokenButtonsInsertAtTheCaret_data();
    void tokenButtonsInsertAtTheCaret();
    void copyAndPasteKeepTokens_data();
    void copyAndPasteKeepTokens();
    void plainTextPastesAsLiteral_data();
    void plainTextPastesAsLiteral();
    void leavingTheFieldEndsTheEdit();
    void storedFormRoundTrips_data();
    void storedFormRoundTrips();
    void boundKeyFollowsEveryEdit_data();
    void boundKeyFollowsEveryEdit();
    void clickPutsTheCaretBetweenChips();
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
    for (const char *key : {"NAMING_CUSTOM_SCHEME", "EXTRACT_CUSTOM_SCHEME", "COMPOSE_CUSTOM_SCHEME"})
        UserDefaults::shared().removeObjectForKey(QString::fromLatin1(key));
    QGuiApplication::clipboard()->clear();
}

void TestPatternField::keyboard_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QTestEventList>("events");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("caret");
    QTest::addColumn<int>("edits");
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("clipboard");

    // "{Track} - {Title}": Track at 0, " - " at 1-3, Title at 4, end 5.
    const QString trackTitle = QStringLiteral("{Track} - {Title}");
    QTest::newRow("read-only: typing, deleting, pasting and undo do nothing")
        << trackTitle
        << keys({Qt::Key_Backspace, Qt::Key_Left, Qt::Key_Delete, Qt::ControlModifier | Qt::Key_V, Qt::ControlModifier | Qt::Key_Z},
                QStringLiteral("Title"))
        << "{Track}[ - ]{Title}" << 4 << 0 << true << "pasted";
    QTest::newRow("read-only: Cut changes nothing, Copy copies")
        << trackTitle << keys({Qt::ShiftModifier | Qt::Key_Left, Qt::ControlModifier | Qt::Key_X, Qt::ControlModifier | Qt::Key_C})
        << "{Track}[ - ]{Title}" << 4 << 0 << true << "{Title}";
    QTest::newRow("Cut takes the selection to the clipboard")
        << trackTitle << keys({Qt::ShiftModifier | Qt::Key_Left, Qt::ControlModifier | Qt::Key_X}) << "{Track}[ - ]" << 4 << 1
        << false << "{Title}";
    QTest::newRow("Backspace takes the chip before the caret") << trackTitle << keys({Qt::Key_End, Qt::Key_Backspace})
                                                              << "{Track}[ - ]" << 4 << 1 << false << "pasted";
    QTest::newRow("Delete takes the chip after the caret") << trackTitle << keys({Qt::Key_Home, Qt::Key_Delete})
                                                          << "[ - ]{Title}" << 0 << 1 << false << "pasted";
    QTest::newRow("Left steps over a chip") << trackTitle << keys({Qt::Key_Left}, QStringLiteral("x"))
                                           << "{Track}[ - x]{Title}" << 5 << 1 << false << "pasted";
    QTest::newRow("Right steps over a chip") << trackTitle << keys({Qt::Key_Home, Qt::Key_Right, Qt::Key_Right}, QStringLiteral("x"))
                                            << "{Track}[ x- ]{Title}" << 3 << 1 << false << "pasted";
    QTest::newRow("Shift+Home selects everything, typing replaces it")
        << trackTitle << keys({Qt::ShiftModifier | Qt::Key_Home}, QStringLiteral("abc")) << "[abc]" << 3 << 3 << false << "pasted";
    QTest::newRow("Shift+Right across a chip and Delete") << trackTitle
                                                         << keys({Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right,
                                                                  Qt::ShiftModifier | Qt::Key_Right, Qt::ShiftModifier | Qt::Key_Right,
                                                                  Qt::Key_Delete})
                                                         << "{Track}[ -]" << 3 << 1 << false << "pasted";
    QTest::newRow("Ctrl+Backspace takes a word") << "{Track} one two" << keys({Qt::ControlModifier | Qt::Key_Backspace})
                                                 << "{Track}[ one ]" << 6 << 1 << false << "pasted";
    QTestEventList typedTitle;
    typedTitle.addKeyClicks(QStringLiteral("Title"));
    typedTitle.addKeyClick(Qt::Key_Return);
    QTest::newRow("Return ends the edit: a typed token string becomes the token")
        << "{Track}" << typedTitle << "{Track}{Title}" << 2 << 6 << false << "pasted";
    QTest::newRow("typed next to loaded text stays literal") << "{Track} " << typedTitle << "{Track}[ Title]" << 7 << 5 << false << "pasted";
    QTest::newRow("Ctrl+Z undoes a Backspace") << trackTitle << keys({Qt::Key_Backspace, Qt::ControlModifier | Qt::Key_Z})
                                              << "{Track}[ - ]{Title}" << 5 << 2 << false << "pasted";
    QTest::newRow("Ctrl+A and Delete empty the field") << trackTitle << keys({Qt::ControlModifier | Qt::Key_A, Qt::Key_Delete})
                                                      << "" << 0 << 1 << false << "pasted";
    QTest::newRow("Ctrl with a letter types nothing") << "ab" << keys({Qt::ControlModifier | Qt::Key_B}) << "[ab]" << 2 << 0 << false << "pasted";
}

void TestPatternField::keyboard()
{
    QFETCH(QString, start);
    QFETCH(QTestEventList, events);
    QFETCH(QString, expected);
    QFETCH(int, caret);
    QFETCH(int, edits);
    QFETCH(bool, readOnly);
    QFETCH(QString, clipboard);

    FieldWindow test;
    QVERIFY(test.ready());
    test.field->setReadOnly(readOnly);
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted"));
    test.field->setPattern(patternFromText(start));
    QCOMPARE(test.field->cursorPosition(), PatternUtil::width(patternFromText(start)));
    QSignalSpy edited(test.field, &PatternField::patternEdited);
    events.simulate(test.field);
    QCOMPARE(describePattern(test.field->pattern()), expected);
    QCOMPARE(test.field->cursorPosition(), caret);
    QCOMPARE(edited.count(), edits);
    QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
}

void TestPatternField::tokenButtonsInsertAtTheCaret_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("token");
    QTest::addColumn<QString>("expected");

    const QString trackTitle = QStringLiteral("{Track} - {Title}");
    QTest::newRow("inside a literal") << "01 {Title}" << 1 << 0 << "Artist" << "[0]{Artist}[1 ]{Title}";
    QTest::newRow("before the literal") << trackTitle << 1 << 0 << "Artist" << "{Track}{Artist}[ - ]{Title}";
    QTest::newRow("before the last chip") << trackTitle << 4 << 0 << "Artist" << "{Track}[ - ]{Artist}{Title}";
    QTest::newRow("at the end") << trackTitle << 5 << 0 << "Track Total" << "{Track}[ - ]{Title}{Track Total}";
    QTest::newRow("over a selection") << trackTitle << 1 << 3 << "Year" << "{Track}{Year}{Title}";
    QTest::newRow("into an empty field") << "" << 0 << 0 << "File Path" << "{File Path}";
}

void TestPatternField::tokenButtonsInsertAtTheCaret()
{
    QFETCH(QString, start);
    QFETCH(int, from);
    QFETCH(int, length);
    QFETCH(QString, token);
    QFETCH(QString, expected);

    FieldWindow test;
    auto *buttons = new TokenButtons(TokenUtil::tokenStrings(), test.field, &test.window);
    test.window.layout()->addWidget(buttons);
    QVERIFY(test.ready());
    test.field->setPattern(patternFromText(start));
    test.field->setSelection(from, length);
    QSignalSpy edited(test.field, &PatternField::patternEdited);

    QPushButton *button = buttons->button(token);
    QVERIFY(button);
    QCOMPARE(button->text(), TokenUtil::localizedTokenString(token));
    QCOMPARE(button->property("tag").toUInt(), uint(*TokenUtil::tokenForString(token)));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(describePattern(test.field->pattern()), expected);
    QCOMPARE(test.field->cursorPosition(), from + 1);
    QCOMPARE(edited.count(), 1);
    QVERIFY(test.field->hasFocus());
}

void TestPatternField::copyAndPasteKeepTokens_data()
{
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("cut");
    QTest::addColumn<int>("pasteAt");
    QTest::addColumn<QString>("plainText");
    QTest::addColumn<QString>("expected");

    // "{Track} - {Title}"
    QTest::newRow("a chip and text, pasted at the end") << 0 << 3 << false << 5 << "{Track} -"
                                                        << "{Track}[ - ]{Title}{Track}[ -]";
    QTest::newRow("one chip, pasted at the start") << 4 << 1 << false << 0 << "{Title}" << "{Title}{Track}[ - ]{Title}";
    QTest::newRow("cut and pasted before the first chip") << 1 << 4 << true << 0 << " - {Title}" << "[ - ]{Title}{Track}";
    QTest::newRow("pasted over the selection it came from") << 0 << 5 << false << -1 << "{Track} - {Title}"
                                                            << "{Track}[ - ]{Title}";
}

void TestPatternField::copyAndPasteKeepTokens()
{
    QFETCH(int, from);
    QFETCH(int, length);
    QFETCH(bool, cut);
    QFETCH(int, pasteAt);
    QFETCH(QString, plainText);
    QFETCH(QString, expected);

    FieldWindow test;
    QVERIFY(test.ready());
    test.field->setPattern(patternFromText(QStringLiteral("{Track} - {Title}")));
    test.field->setSelection(from, length);
    QTest::keyClick(test.field, cut ? Qt::Key_X : Qt::Key_C, Qt::ControlModifier);
    const QMimeData *data = QGuiApplication::clipboard()->mimeData();
    QVERIFY(data && data->hasFormat(QString::fromLatin1(PatternClipboard::MimeType)));
    QCOMPARE(data->text(), plainText);

    if (pasteAt >= 0)
        test.field->setCursorPosition(pasteAt);
    QTest::keyClick(test.field, Qt::Key_V, Qt::ControlModifier);
    test.field->finishEditing();
    QCOMPARE(describePattern(test.field->pattern()), expected);
}

void TestPatternField::plainTextPastesAsLiteral_data()
{
    QTest::addColumn<QByteArray>("mimeType");
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");

    QTest::newRow("a token string") << QByteArray("text/plain") << QByteArray("Title") << "{Track}[Title]";
    QTest::newRow("the command line's syntax") << QByteArray("text/plain") << QByteArray("{Title}") << "{Track}[{Title}]";
    QTest::newRow("lines become one") << QByteArray("text/plain") << QByteArray("a\r\nb\nc") << "{Track}[a b c]";
    QTest::newRow("pattern data that is no list") << QByteArray(PatternClipboard::MimeType) << QByteArray("{\"tokenField\":\"Title\"}")
                                                  << "{Track}";
    QTest::newRow("pattern data") << QByteArray(PatternClipboard::MimeType) << QByteArray("[\"-\",{\"tokenField\":\"Year\"},7]")
                                  << "{Track}[-]{Year}[7]";
}

void TestPatternField::plainTextPastesAsLiteral()
{
    QFETCH(QByteArray, mimeType);
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);

    FieldWindow test;
    QVERIFY(test.ready());
    test.field->setPattern({TokenUtil::tokenWithToken(Token::Track)});
    auto *data = new QMimeData;
    data->setData(QString::fromLatin1(mimeType), content);
    QGuiApplication::clipboard()->setMimeData(data);
    test.field->paste();
    // Leaving the field ends the edit; pasted text is never made a token.
    test.other->setFocus();
    QTRY_VERIFY(test.other->hasFocus());
    QCOMPARE(describePattern(test.field->pattern()), expected);
}

void TestPatternField::leavingTheFieldEndsTheEdit()
{
    FieldWindow test;
    QVERIFY(test.ready());
    QSignalSpy edited(test.field, &PatternField::patternEdited);
    QTest::keyClicks(test.field, QStringLiteral("Album Artist"));
    QCOMPARE(describePattern(test.field->pattern()), QStringLiteral("[Album Artist]"));
    QTest::keyClick(test.field, Qt::Key_Tab);
    QTRY_VERIFY(test.other->hasFocus());
    QCOMPARE(describePattern(test.field->pattern()), QStringLiteral("{Album Artist}"));
    QCOMPARE(edited.count(), 13);
}

void TestPatternField::storedFormRoundTrips_data()
{
    QTest::addColumn<QVariantList>("stored");
    QTest::addColumn<QVariantList>("expected");
    QTest::addColumn<int>("width");

    const auto token = [](const char *tokenString) { return QVariant(QVariantMap{{"tokenField", QString::fromLatin1(tokenString)}}); };
    QTest::newRow("tokens and literals") << QVariantList{token("Track"), " - ", token("Title")}
                                         << QVariantList{token("Track"), " - ", token("Title")} << 5;
    QTest::newRow("neighbouring tokens") << QVariantList{token("Disc"), token("Track")} << QVariantList{token("Disc"), token("Track")} << 2;
    QTest::newRow("neighbouring literals are joined") << QVariantList{"a", "b", token("Year")} << QVariantList{"ab", token("Year")} << 3;
    QTest::newRow("empty literals go") << QVariantList{"", token("Year"), ""} << QVariantList{token("Year")} << 1;
    QTest::newRow("an unknown token string is kept") << QVariantList{token("Mood")} << QVariantList{token("Mood")} << 1;
    QTest::newRow("empty") << QVariantList{} << QVariantList{} << 0;
}

void TestPatternField::storedFormRoundTrips()
{
    QFETCH(QVariantList, stored);
    QFETCH(QVariantList, expected);
    QFETCH(int, width);

    PatternField field;
    QSignalSpy edited(&field, &PatternField::patternEdited);
    field.setPattern(PatternUtil::fromStoredForm(stored));
    QCOMPARE(PatternUtil::toStoredForm(field.pattern()), expected);
    QCOMPARE(field.cursorPosition(), width);
    QCOMPARE(edited.count(), 0);
    // The clipboard form of the whole content reads back the same.
    const std::unique_ptr<QMimeData> data(PatternClipboard::mimeData(field.pattern()));
    QCOMPARE(PatternUtil::toStoredForm(PatternClipboard::pattern(data.get())), expected);
}

void TestPatternField::boundKeyFollowsEveryEdit_data()
{
    QTest::addColumn<QString>("key");
    QTest::newRow("naming") << NamingKey;
    QTest::newRow("extraction") << "EXTRACT_CUSTOM_SCHEME";
    QTest::newRow("composition") << "COMPOSE_CUSTOM_SCHEME";
}

void TestPatternField::boundKeyFollowsEveryEdit()
{
    QFETCH(QString, key);

    PatternUtil::storePattern(patternFromText(QStringLiteral("{Artist} - ")), key);
    FieldWindow test;
    test.field->bindToKey(key);
    QVERIFY(test.ready());
    QCOMPARE(describePattern(test.field->pattern()), QStringLiteral("{Artist}[ - ]"));

    test.field->addToken(QStringLiteral("Title"));
    QCOMPARE(describePattern(PatternUtil::storedPattern(key)), QStringLiteral("{Artist}[ - ]{Title}"));
    QTest::keyClick(test.field, Qt::Key_Backspace);
    QTest::keyClick(test.field, Qt::Key_Backspace);
    QCOMPARE(describePattern(PatternUtil::storedPattern(key)), QStringLiteral("{Artist}[ -]"));

    // Written to the store on disk: a store opened anew reads it.
    UserDefaults::shared().synchronize();
    UserDefaults::shared().openStore(UserDefaults::shared().storePath());
    QCOMPARE(describePattern(PatternUtil::storedPattern(key)), QStringLiteral("{Artist}[ -]"));
    QCOMPARE(describePattern(test.field->pattern()), QStringLiteral("{Artist}[ -]"));

    // A change made elsewhere shows in the field.
    PatternUtil::storePattern(patternFromText(QStringLiteral("{Year}")), key);
    QCOMPARE(describePattern(test.field->pattern()), QStringLiteral("{Year}"));
}

void TestPatternField::clickPutsTheCaretBetweenChips()
{
    FieldWindow test;
    QVERIFY(test.ready());
    test.field->setPattern(patternFromText(QStringLiteral("{Album Artist}{Title}x")));
    // Far left, far right, and the middle of the field (inside the wide first chip).
    QTest::mouseClick(test.field, Qt::LeftButton, {}, QPoint(1, test.field->height() / 2));
    QCOMPARE(test.field->cursorPosition(), 0);
    QTest::mouseClick(test.field, Qt::LeftButton, {}, QPoint(test.field->width() - 2, test.field->height() / 2));
    QCOMPARE(test.field->cursorPosition(), 3);
    QTest::mouseClick(test.field, Qt::LeftButton, Qt::ShiftModifier, QPoint(1, test.field->height() / 2));
    QCOMPARE(test.field->selectionStart(), 0);
    QCOMPARE(test.field->selectionLength(), 3);
    QTest::mouseDClick(test.field, Qt::LeftButton, {}, QPoint(8, test.field->height() / 2));
    QCOMPARE(test.field->selectionStart(), 0);
    QCOMPARE(test.field->selectionLength(), 1);
}

void TestPatternField::editorStoresAppliesOrCancels_data()
{
    QTest::addColumn<QString>("steps");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("open");
    QTest::addColumn<QStringList>("fileNames");

    const QStringList unchanged{"a.mp3", "b.mp3"};
    const QStringList named{"3 Ann.mp3", "4 Bob.mp3"};
    QTest::newRow("Done stores and closes") << "token:Artist|confirm" << "{Track}[ ]{Artist}" << false << unchanged;
    QTest::newRow("Alt turns Done into Apply: stores, names the songs, stays open")
        << "token:Artist|altdown|confirm" << "{Track}[ ]{Artist}" << true << named;
    QTest::newRow("Alt held on the click alone applies") << "token:Artist|altclick" << "{Track}[ ]{Artist}" << true << named;
    QTest::newRow("Alt released: Done again") << "token:Artist|altdown|altup|confirm" << "{Track}[ ]{Artist}" << false << unchanged;
    QTest::newRow("Apply, then Done") << "token:Artist|altclick|type:!|confirm" << "{Track}[ ]{Artist}[!]" << false << named;
    QTest::newRow("a typed token string and Return") << "type:Artist|return" << "{Track}[ Artist]" << false << unchanged;
    QTest::newRow("opening it again keeps the edit") << "token:Artist|reopen|confirm" << "{Track}[ ]{Artist}" << false << unchanged;
    QTest::newRow("Cancel stores nothing") << "token:Artist|cancel" << "{Track}[ ]" << false << unchanged;
    QTest::newRow("Escape stores nothing") << "token:Artist|escape" << "{Track}[ ]" << false << unchanged;
}

void TestPatternField::editorStoresAppliesOrCancels()
{
    QFETCH(QString, steps);
    QFETCH(QString, stored);
    QFETCH(bool, open);
    QFETCH(QStringList, fileNames);

    TestWindow test;
    QVERIFY(test.open({{"a.mp3", "One", "Ann", "", "3"}, {"b.mp3", "Two", "Bob", "", "4"}}));
    NamingController naming(test->editor());
    naming.selectCustom();
    PatternUtil::storePattern(patternFromText(QStringLiteral("{Track} ")), NamingKey);

    PatternEditor editor(NamingKey, TokenUtil::tokenStrings(), test.window.get());
    QSignalSpy applied(&editor, &PatternEditor::applyRequested);
    connect(&editor, &PatternEditor::applyRequested, &editor, [&naming] { naming.applyNamingToSongs(); });
    editor.editCustom();
    QTRY_VERIFY(editor.isVisible());
    QTRY_VERIFY(editor.field()->hasFocus());
    QCOMPARE(editor.field()->cursorPosition(), 2);
    QCOMPARE(editor.confirmButton()->text(), Localized::text("Done"));

    int applies = 0;
    for (const QString &step : steps.split(u'|')) {
        const QString argument = step.section(u':', 1);
        if (step.startsWith(u"token:")) {
            QTest::mouseClick(editor.tokenButtons()->button(argument), Qt::LeftButton);
        } else if (step.startsWith(u"type:")) {
            QTest::keyClicks(editor.field(), argument);
        } else if (step == u"altdown") {
            QTest::keyPress(editor.field(), Qt::Key_Alt, Qt::AltModifier);
            QCOMPARE(editor.confirmButton()->text(), Localized::text("Apply"));
        } else if (step == u"altup") {
            QTest::keyRelease(editor.field(), Qt::Key_Alt);
            QCOMPARE(editor.confirmButton()->text(), Localized::text("Done"));
        } else if (step == u"confirm" || step == u"altclick") {
            const bool alt = step == u"altclick" || editor.isAlternateDown();
            QTest::mouseClick(editor.confirmButton(), Qt::LeftButton, alt ? Qt::AltModifier : Qt::NoModifier);
            applies += alt ? 1 : 0;
        } else if (step == u"reopen") {
            editor.editCustom();
        } else if (step == u"cancel") {
            QTest::mouseClick(editor.cancelButton(), Qt::LeftButton);
        } else if (step == u"escape" || step == u"return") {
            QTest::keyClick(editor.field(), step == u"escape" ? Qt::Key_Escape : Qt::Key_Return);
        }
    }

    QCOMPARE(describePattern(PatternUtil::storedPattern(NamingKey)), stored);
    QTRY_COMPARE(editor.isVisible(), open);
    QCOMPARE(applied.count(), applies);
    QCOMPARE(QStringList({song(*test, 0)->fileName(), song(*test, 1)->fileName()}), fileNames);
    if (!open) {
        // The Alt watch ended with the dialog.
        QTest::keyPress(test.window.get(), Qt::Key_Alt, Qt::AltModifier);
        QCOMPARE(editor.confirmButton()->text(), Localized::text("Done"));
    }
    QTest::keyRelease(test.window.get(), Qt::Key_Alt);
}

QTEST_MAIN(TestPatternField)
#include "test_patternfield.moc"
