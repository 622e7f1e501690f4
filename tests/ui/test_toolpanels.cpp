#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "patterntesting.h"
#include "tools/pattern.h"
#include "tools/toolpreferences.h"
#include "ui/capitalizationpanel.h"
#include "ui/extractionpanel.h"
#include "ui/mainwindow.h"
#include "ui/patterneditor.h"
#include "ui/patternfield.h"
#include "ui/preferencesdialog.h"
#include "ui/songtableview.h"
#include "ui/toolpanelset.h"
#include "windowtesting.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QPushButton>
#include <QtTest>

using namespace WindowTesting;
using P = ToolPanel;

Q_DECLARE_METATYPE(ToolPanel)

namespace {

// The stored form of a pattern in the command line's syntax.
QVariantList scheme(const QString &syntax)
{
    return PatternUtil::toStoredForm(patternFromText(syntax));
}

// Three songs with titles, artists and tracks whose file names carry other values; all selected.
bool open(TestWindow &test)
{
    return test.open({{"01 - Dora - First.mp3", "the sound of the city", "ann lee", {}, "7", "silence.mp3"},
                      {"02 - Eve - Second.mp3", "where to", "BOB", {}, "8", "silence.mp3"},
                      {"03 - Fay - Third.flac", "eMix to", "Cy", {}, "9", "silence.flac"}});
}

} // namespace

// The tool panels in their windows: each command on the selection, the choices bound to the
// settings, the custom-pattern editor of extraction, and which panels come back at the next start.
class TestToolPanels : public QObject {
    Q_OBJECT

private slots:
    void commandsTagTheSelection_data()
    {
        QTest::addColumn<ToolPanel>("panel");
        // Check boxes and radio buttons of the panel clicked before the command, by their key.
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QVariantHash>("settings");
        // The rows selected when the command runs; the others keep their values.
        QTest::addColumn<QList<int>>("selected");
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QStringList>("saved");
        const QList<int> all{0, 1, 2};
        QTest::newRow("numbering the first and last")
            << P::Numbering << QStringList() << QVariantHash() << QList<int>{0, 2} << QString() << "track"
            << QStringList{"01/02", "8", "02/02"};
        QTest::newRow("numbering without count") << P::Numbering << QStringList{"NUMBERING_TRACK_COUNT"} << QVariantHash()
                                                 << all << QString() << "track" << QStringList{"01", "02", "03"};
        QTest::newRow("upper case") << P::Capitalization << QStringList{"CAPITALIZATION_UPPER_CASE"} << QVariantHash()
                                    << all << QString() << "artist" << QStringList{"ANN LEE", "BOB", "CY"};
        QTest::newRow("extract custom from the title")
            << P::Extraction << QStringList{"EXTRACT_CUSTOM"}
            << QVariantHash{{"EXTRACT_CUSTOM_SCHEME", scheme("{Artist} {Title}")}, {"EXTRACTION_SOURCE", "title"}}
            << all << QString() << "artist" << QStringList{"the", "where", "eMix"};
        // No name has the separator: the track takes the whole name, which is no number.
        QTest::newRow("extract, names do not fit")
            << P::Extraction << QStringList{"EXTRACT_CUSTOM"}
            << QVariantHash{{"EXTRACT_CUSTOM_SCHEME", scheme("{Track}_{Title}")}} << all
            << "CouldNotTag1OrMoreSongs" << "track" << QStringList{"", "", ""};
        QTest::newRow("compose custom into the comment")
            << P::Composition << QStringList{"COMPOSE_CUSTOM"}
            << QVariantHash{{"COMPOSE_CUSTOM_SCHEME", scheme("{Artist} ({Track})")},
                            {"COMPOSITION_TARGET", "comment"}}
            << all << QString() << "comment" << QStringList{"ann lee (7)", "BOB (8)", "Cy (9)"};
    }

    void commandsTagTheSelection()
    {
        QFETCH(ToolPanel, panel);
        QFETCH(QStringList, clicks);
        QFETCH(QVariantHash, settings);
        QFETCH(QList<int>, selected);
        QFETCH(QString, report);
        QFETCH(QString, field);
        QFETCH(QStringList, saved);
        TestWindow test;
        QVERIFY(open(test));
        select(*test, selected);
        SongTableView *table = test->table();
        for (auto setting = settings.cbegin(); setting != settings.cend(); ++setting)
            UserDefaults::shared().setObject(setting.value(), setting.key());

        QAction *entry = test->toolPanelSet()->action(panel);
        entry->trigger();
        ToolWindow *tool = test->toolPanelSet()->window(panel);
        QTRY_VERIFY(tool->isVisible());
        QVERIFY(entry->isChecked());
        for (const QString &key : clicks)
            tool->findChild<QAbstractButton *>(key)->click();
        auto *command = tool->findChild<QPushButton *>(QStringLiteral("command"));
        QVERIFY(command->isEnabled());
        DialogAnswerer answerer;
        answerer.answer(QStringLiteral("OK"));
        command->click();
        QCOMPARE(answerer.asked, report.isEmpty() ? QStringList() : QStringList{Localized::text(report)});

        // The main window's shortcuts work in its panels.
        QApplication::setActiveWindow(tool);
        QTest::keySequence(command, QKeySequence::Save);
        // Greyed out while the save runs, back once it has ended.
        QVERIFY(!command->isEnabled());
        QVERIFY(waitForSave(*test));
        QVERIFY(command->isEnabled());
        for (int row = 0; row < saved.size(); ++row)
            QCOMPARE(reread(*song(*test, row))->valueForKey(field).toString(), saved[row]);
        // Without a selection the command waits.
        table->clearSelection();
        QVERIFY(!command->isEnabled());
        // Ctrl+W closes the panel from within it only.
        QApplication::setActiveWindow(test.window.get());
        QTest::keySequence(table, QKeySequence::Close);
        QVERIFY(tool->isVisible());
        QApplication::setActiveWindow(tool);
        QTest::keySequence(command, QKeySequence::Close);
        QVERIFY(!tool->isVisible() && !entry->isChecked());
    }

    void choicesAreSharedByEveryControlOfTheKey()
    {
        TestWindow test;
        QVERIFY(open(test));
        UserDefaults &defaults = UserDefaults::shared();
        // A check box: the preferences offer the same key, each follows the other at once.
        auto *zeros = test->toolPanelSet()->window(P::Numbering)->findChild<QAbstractButton *>(
            QStringLiteral("NUMBERING_LEADING_ZERO"));
        QCheckBox *preference = test->preferences()->checkBoxFor(QStringLiteral("NUMBERING_LEADING_ZERO"));
        QVERIFY(zeros->isChecked() && preference->isChecked());
        zeros->click();
        QVERIFY(!defaults.boolForKey(QStringLiteral("NUMBERING_LEADING_ZERO")) && !preference->isChecked());
        preference->click();
        QVERIFY(zeros->isChecked());

        // A radio choice: a second panel of the kind stands for any other control of its keys.
        const QStringList modes{"CAPITALIZATION_TITLE_CASE", "CAPITALIZATION_UPPER_CASE", "CAPITALIZATION_LOWER_CASE"};
        CapitalizationPanel twin(*test);
        ToolWindow *tool = test->toolPanelSet()->window(P::Capitalization);
        for (const QString &chosen : {modes[1], modes[2], modes[0]}) {
            tool->findChild<QAbstractButton *>(chosen)->click();
            for (const QString &mode : modes) {
                QCOMPARE(defaults.boolForKey(mode), mode == chosen);
                QCOMPARE(twin.findChild<QAbstractButton *>(mode)->isChecked(), mode == chosen);
            }
        }
        // A settings file with two keys of the group on shows the one the tool goes by, alone.
        defaults.setBool(false, modes[0]);
        defaults.setBool(true, modes[2]);
        defaults.setBool(true, modes[1]);
        QCOMPARE(ToolPreferences::selectedKey(modes), modes[1]);
        for (const QString &mode : modes)
            QCOMPARE(twin.findChild<QAbstractButton *>(mode)->isChecked(), mode == modes[1]);
    }

    void extractionEditorRefusesNeighbouringFields()
    {
        TestWindow test;
        QVERIFY(open(test));
        ToolPanelSet *panels = test->toolPanelSet();
        const PanelControls::CustomPattern &custom = panels->content<ExtractionPanel>(P::Extraction)->custom();
        QVERIFY(!custom.edit->isEnabled());
        panels->window(P::Extraction)->findChild<QAbstractButton *>(QStringLiteral("EXTRACT_CUSTOM"))->click();
        custom.edit->click();
        QTRY_VERIFY(custom.editor->isVisible());
        PatternField *field = custom.editor->field();
        field->addToken(QStringLiteral("Artist"));
        QVERIFY(custom.editor->confirmButton()->isEnabled());
        field->addToken(QStringLiteral("Title"));
        QVERIFY(!custom.editor->confirmButton()->isEnabled());
        field->setCursorPosition(1);
        QTest::keyClicks(field, QStringLiteral(" - "));
        QVERIFY(custom.editor->confirmButton()->isEnabled());
        custom.editor->confirmButton()->click();
        QTRY_VERIFY(!custom.editor->isVisible());
        const QVariantList stored = scheme("{Artist} - {Title}");
        QCOMPARE(UserDefaults::shared().arrayForKey(QStringLiteral("EXTRACT_CUSTOM_SCHEME")), stored);
        QCOMPARE(custom.display->pattern(), PatternUtil::fromStoredForm(stored));
    }

    void panelsComeBackAfterRestart_data()
    {
        QTest::addColumn<QList<ToolPanel>>("toggled");
        QTest::addColumn<bool>("quit");
        QTest::addColumn<bool>("restore");
        QTest::addColumn<QList<ToolPanel>>("shownAfter");
        QTest::newRow("quit") << QList<P>{P::Numbering, P::Extraction} << true << true
                              << QList<P>{P::Numbering, P::Extraction};
        QTest::newRow("quit, restoring off") << QList<P>{P::Numbering, P::Extraction} << true << false << QList<P>();
        QTest::newRow("closed before quit") << QList<P>{P::Capitalization, P::Capitalization, P::Composition} << true
                                            << true
                                            << QList<P>{P::Composition};
        // Closing the main window closes the panels with it, all but composition.
        QTest::newRow("window closed") << QList<P>{P::Numbering, P::Capitalization, P::Composition} << false << true
                                       << QList<P>{P::Composition};
    }

    void panelsComeBackAfterRestart()
    {
        QFETCH(QList<ToolPanel>, toggled);
        QFETCH(bool, quit);
        QFETCH(bool, restore);
        QFETCH(QList<ToolPanel>, shownAfter);
        TestWindow test;
        QVERIFY(open(test));
        UserDefaults::shared().setBool(restore, QStringLiteral("RESTORE_PANELS_ON_STARTUP"));
        for (ToolPanel panel : toggled)
            test->toolPanelSet()->action(panel)->trigger();
        // An open panel's size comes back with it, shown or not.
        const ToolPanel resized = toggled.constLast();
        test->toolPanelSet()->window(resized)->resize(431, 377);
        if (quit)
            test->action(MainWindow::Command::Quit)->trigger();
        else
            test->close();
        QTRY_VERIFY(!test->isVisible());
        test.window.reset();

        MainWindow again;
        again.show();
        again.windowLoaded();
        for (ToolPanel panel : ToolPanels::All) {
            QCOMPARE(again.toolPanelSet()->window(panel)->isVisible(), shownAfter.contains(panel));
            QCOMPARE(again.toolPanelSet()->action(panel)->isChecked(), shownAfter.contains(panel));
        }
        QCOMPARE(again.toolPanelSet()->window(resized)->size(), QSize(431, 377));
    }
};

QTEST_MAIN(TestToolPanels)
#include "test_toolpanels.moc"
