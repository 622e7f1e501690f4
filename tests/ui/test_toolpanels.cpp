#include "editor/editorcontroller.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/pattern.h"
#include "ui/capitalizationpanel.h"
#include "ui/compositionpanel.h"
#include "ui/extractionpanel.h"
#include "ui/mainwindow.h"
#include "ui/numberingpanel.h"
#include "ui/patterneditor.h"
#include "ui/patternfield.h"
#include "ui/preferencesdialog.h"
#include "ui/songtableview.h"
#include "ui/toolpanelset.h"
#include "windowtesting.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace WindowTesting;

Q_DECLARE_METATYPE(ToolPanel)

namespace {

// A song's field by the name the tables below use.
QString field(const Song &song, const QString &name)
{
    if (name == QLatin1String("title"))
        return song.title();
    if (name == QLatin1String("artist"))
        return song.artist();
    if (name == QLatin1String("track"))
        return song.track();
    if (name == QLatin1String("comment"))
        return song.comment();
    return QStringLiteral("(no field %1)").arg(name);
}

// The stored form of a pattern written as ["<Artist>", " - ", "<Title>"]: a token in angle brackets.
QVariantList scheme(const QStringList &elements)
{
    Pattern pattern;
    for (const QString &element : elements) {
        if (element.startsWith(QLatin1Char('<')) && element.endsWith(QLatin1Char('>')))
            pattern.append(PatternElement::token(element.mid(1, element.size() - 2)));
        else
            pattern.append(PatternElement::literal(element));
    }
    return PatternUtil::toStoredForm(pattern);
}

QWidget *makePanel(ToolPanel panel, MainWindow &window)
{
    switch (panel) {
    case ToolPanel::Numbering: return new NumberingPanel(window);
    case ToolPanel::Capitalization: return new CapitalizationPanel(window);
    case ToolPanel::Extraction: return new ExtractionPanel(window);
    case ToolPanel::Composition: return new CompositionPanel(window);
    default: return nullptr;
    }
}

} // namespace

// The tool panels in their windows: each command on the selection, the choices bound to the
// settings, the custom-pattern editor of extraction, and which panels come back at the next start.
class TestToolPanels : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void commandsTagTheSelection_data();
    void commandsTagTheSelection();
    void choicesAreSharedByEveryControlOfTheKey_data();
    void choicesAreSharedByEveryControlOfTheKey();
    void extractionEditorRefusesNeighbouringFields();
    void panelsComeBackAfterRestart_data();
    void panelsComeBackAfterRestart();

private:
    bool openWindow();
    MainWindow &window() const { return **m_test; }
    ToolWindow *panelWindow(ToolPanel panel) const { return window().toolPanelSet()->window(panel); }

    std::optional<TestWindow> m_test;
};

void TestToolPanels::init()
{
    m_test.emplace();
}

void TestToolPanels::cleanup()
{
    m_test.reset();
}

bool TestToolPanels::openWindow()
{
    return m_test->open({{"01 - Dora - First.mp3", "the sound of the city", "ann lee", {}, "7", "silence.mp3"},
                         {"02 - Eve - Second.mp3", "where to", "BOB", {}, "8", "silence.mp3"},
                         {"03 - Fay - Third.flac", "eMix to", "Cy", {}, "9", "silence.flac"}});
}

void TestToolPanels::commandsTagTheSelection_data()
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

    const QVariantHash none;
    const QList<int> all{0, 1, 2};
    QTest::newRow("numbering") << ToolPanel::Numbering << QStringList() << none << all << QString() << "track"
                               << QStringList{"01/03", "02/03", "03/03"};
    QTest::newRow("numbering without zeros") << ToolPanel::Numbering << QStringList{"NUMBERING_LEADING_ZERO"} << none
                                             << all << QString() << "track" << QStringList{"1/3", "2/3", "3/3"};
    QTest::newRow("numbering without count") << ToolPanel::Numbering << QStringList{"NUMBERING_TRACK_COUNT"} << none
                                             << all << QString() << "track" << QStringList{"01", "02", "03"};
    QTest::newRow("numbering the first and last") << ToolPanel::Numbering << QStringList() << none << QList<int>{0, 2}
                                                  << QString() << "track" << QStringList{"01/02", "8", "02/02"};
    QTest::newRow("title case") << ToolPanel::Capitalization << QStringList() << none << all << QString() << "title"
                                << QStringList{"The Sound of the City", "Where To", "Emix To"};
    QTest::newRow("title case, small words too")
        << ToolPanel::Capitalization << QStringList{"DISABLE_NEW_YORK_STYLE"} << none << all << QString() << "title"
        << QStringList{"The Sound Of The City", "Where To", "Emix To"};
    QTest::newRow("upper case") << ToolPanel::Capitalization << QStringList{"CAPITALIZATION_UPPER_CASE"} << none
                                << all << QString() << "artist" << QStringList{"ANN LEE", "BOB", "CY"};
    QTest::newRow("lower case") << ToolPanel::Capitalization << QStringList{"CAPITALIZATION_LOWER_CASE"} << none
                                << all << QString() << "artist" << QStringList{"ann lee", "bob", "cy"};
    QTest::newRow("extract track and title") << ToolPanel::Extraction << QStringList() << none << all << QString() << "title"
                                             << QStringList{"- Dora - First", "- Eve - Second", "- Fay - Third"};
    QTest::newRow("extract track, artist and title")
        << ToolPanel::Extraction << QStringList{"EXTRACT_TRACK_ARTIST_AND_TITLE"} << none << all << QString() << "artist"
        << QStringList{"Dora", "Eve", "Fay"};
    QTest::newRow("extract custom from the title")
        << ToolPanel::Extraction << QStringList{"EXTRACT_CUSTOM"}
        << QVariantHash{{"EXTRACT_CUSTOM_SCHEME", scheme({"<Artist>", " ", "<Title>"})}, {"EXTRACTION_SOURCE", "title"}}
        << all << QString() << "artist" << QStringList{"the", "where", "eMix"};
    // No name has the separator: the track takes the whole name, which is no number.
    QTest::newRow("extract custom, names do not fit")
        << ToolPanel::Extraction << QStringList{"EXTRACT_CUSTOM"}
        << QVariantHash{{"EXTRACT_CUSTOM_SCHEME", scheme({"<Track>", "_", "<Title>"})}} << all
        << "CouldNotTag1OrMoreSongs"
        << "track" << QStringList{"", "", ""};
    QTest::newRow("compose into the second") << ToolPanel::Composition << QStringList() << none << QList<int>{1}
                                             << QString() << "title"
                                             << QStringList{"the sound of the city", "where to 8", "eMix to"};
    QTest::newRow("compose title and track") << ToolPanel::Composition << QStringList() << none << all << QString() << "title"
                                             << QStringList{"the sound of the city 7", "where to 8", "eMix to 9"};
    QTest::newRow("compose custom into the comment")
        << ToolPanel::Composition << QStringList{"COMPOSE_CUSTOM"}
        << QVariantHash{{"COMPOSE_CUSTOM_SCHEME", scheme({"<Artist>", " (", "<Track>", ")"})},
                        {"COMPOSITION_TARGET", "comment"}}
        << all << QString() << "comment" << QStringList{"ann lee (7)", "BOB (8)", "Cy (9)"};
}

void TestToolPanels::commandsTagTheSelection()
{
    QFETCH(ToolPanel, panel);
    QFETCH(QStringList, clicks);
    QFETCH(QVariantHash, settings);
    QFETCH(QList<int>, selected);
    QFETCH(QString, report);
    QFETCH(QString, field);
    QFETCH(QStringList, saved);
    QVERIFY(openWindow());
    SongTableView *table = window().table();
    table->clearSelection();
    for (int row : selected)
        table->selectionModel()->select(table->model()->index(row, 0),
                                        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    for (auto setting = settings.cbegin(); setting != settings.cend(); ++setting)
        UserDefaults::shared().setObject(setting.value(), setting.key());

    QAction *entry = window().toolPanelSet()->action(panel);
    QVERIFY(entry->isEnabled());
    entry->trigger();
    ToolWindow *tool = panelWindow(panel);
    QTRY_VERIFY(tool->isVisible());
    QVERIFY(entry->isChecked());
    for (const QString &key : clicks) {
        auto *control = tool->findChild<QAbstractButton *>(key);
        QVERIFY2(control, qPrintable(key));
        control->click();
    }
    auto *command = tool->findChild<QPushButton *>(QStringLiteral("command"));
    QVERIFY(command && command->isEnabled());
    DialogAnswerer answerer;
    answerer.answer(QStringLiteral("OK"));
    command->click();
    QCOMPARE(answerer.asked, report.isEmpty() ? QStringList() : QStringList{Localized::text(report)});

    window().action(MainWindow::Command::Save)->trigger();
    QVERIFY(waitForSave(window()));
    for (int row = 0; row < saved.size(); ++row) {
        const std::unique_ptr<Song> onDisk = reread(*song(window(), row));
        QVERIFY(onDisk);
        QCOMPARE(::field(*onDisk, field), saved[row]);
    }
    // Without a selection the command waits.
    window().table()->clearSelection();
    QVERIFY(!command->isEnabled());
}

void TestToolPanels::choicesAreSharedByEveryControlOfTheKey_data()
{
    QTest::addColumn<ToolPanel>("panel");
    QTest::addColumn<QString>("key");
    // The other keys of its radio choice, off once it is chosen.
    QTest::addColumn<QStringList>("others");
    QTest::newRow("leading zeros") << ToolPanel::Numbering << "NUMBERING_LEADING_ZERO" << QStringList();
    QTest::newRow("track count") << ToolPanel::Numbering << "NUMBERING_TRACK_COUNT" << QStringList();
    QTest::newRow("upper case") << ToolPanel::Capitalization << "CAPITALIZATION_UPPER_CASE"
                                << QStringList{"CAPITALIZATION_TITLE_CASE", "CAPITALIZATION_LOWER_CASE"};
    QTest::newRow("small words") << ToolPanel::Capitalization << "DISABLE_NEW_YORK_STYLE" << QStringList();
    QTest::newRow("custom extraction") << ToolPanel::Extraction << "EXTRACT_CUSTOM"
                                       << QStringList{"EXTRACT_TRACK_AND_TITLE", "EXTRACT_TRACK_ARTIST_AND_TITLE"};
    QTest::newRow("custom composition") << ToolPanel::Composition << "COMPOSE_CUSTOM"
                                        << QStringList{"COMPOSE_TITLE_AND_TRACK"};
}

void TestToolPanels::choicesAreSharedByEveryControlOfTheKey()
{
    QFETCH(ToolPanel, panel);
    QFETCH(QString, key);
    QFETCH(QStringList, others);
    QVERIFY(openWindow());
    const bool before = UserDefaults::shared().boolForKey(key);
    std::unique_ptr<QWidget> twin(makePanel(panel, window()));
    auto *control = panelWindow(panel)->findChild<QAbstractButton *>(key);
    auto *twinControl = twin->findChild<QAbstractButton *>(key);
    QVERIFY(control && twinControl);
    QCOMPARE(control->isChecked(), before);
    QCOMPARE(twinControl->isChecked(), before);

    control->click();
    QCOMPARE(UserDefaults::shared().boolForKey(key), !before);
    QCOMPARE(twinControl->isChecked(), !before);
    for (const QString &other : others) {
        QVERIFY(!UserDefaults::shared().boolForKey(other));
        QVERIFY(!twin->findChild<QAbstractButton *>(other)->isChecked());
        QVERIFY(!panelWindow(panel)->findChild<QAbstractButton *>(other)->isChecked());
    }
    // The preferences show the same key where they offer it; a change there shows in the panel.
    if (QCheckBox *preference = window().preferences()->checkBoxFor(key)) {
        QCOMPARE(preference->isChecked(), !before);
        preference->click();
        QCOMPARE(control->isChecked(), before);
    }
}

void TestToolPanels::extractionEditorRefusesNeighbouringFields()
{
    QVERIFY(openWindow());
    auto *panel = window().toolPanelSet()->content<ExtractionPanel>(ToolPanel::Extraction);
    QVERIFY(panel);
    const PanelControls::CustomPattern &custom = panel->custom();
    QVERIFY(!custom.edit->isEnabled());
    panelWindow(ToolPanel::Extraction)->findChild<QRadioButton *>(QStringLiteral("EXTRACT_CUSTOM"))->click();
    QVERIFY(custom.edit->isEnabled());
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
    QCOMPARE(UserDefaults::shared().arrayForKey(QStringLiteral("EXTRACT_CUSTOM_SCHEME")),
             scheme({"<Artist>", " - ", "<Title>"}));
    // The panel shows the stored pattern.
    QCOMPARE(custom.display->pattern(), PatternUtil::fromStoredForm(scheme({"<Artist>", " - ", "<Title>"})));
}

void TestToolPanels::panelsComeBackAfterRestart_data()
{
    QTest::addColumn<QList<ToolPanel>>("toggled");
    QTest::addColumn<bool>("quit");
    QTest::addColumn<bool>("restore");
    QTest::addColumn<QList<ToolPanel>>("shownAfter");
    using P = ToolPanel;
    QTest::newRow("quit") << QList<P>{P::Numbering, P::Extraction} << true << true
                          << QList<P>{P::Numbering, P::Extraction};
    QTest::newRow("quit, restoring off") << QList<P>{P::Numbering, P::Extraction} << true << false << QList<P>();
    QTest::newRow("panel closed before quit") << QList<P>{P::Capitalization, P::Composition, P::Capitalization}
                                              << true << true << QList<P>{P::Composition};
    // Closing the main window closes the panels with it, all but composition.
    QTest::newRow("window closed") << QList<P>{P::Numbering, P::Capitalization, P::Composition} << false << true
                                   << QList<P>{P::Composition};
}

void TestToolPanels::panelsComeBackAfterRestart()
{
    QFETCH(QList<ToolPanel>, toggled);
    QFETCH(bool, quit);
    QFETCH(bool, restore);
    QFETCH(QList<ToolPanel>, shownAfter);
    QVERIFY(openWindow());
    UserDefaults::shared().setBool(restore, QStringLiteral("RESTORE_PANELS_ON_STARTUP"));
    for (ToolPanel panel : toggled)
        window().toolPanelSet()->action(panel)->trigger();
    // An open panel's size comes back with it, shown or not.
    const QSize size(431, 377);
    const auto open = std::find_if(toggled.cbegin(), toggled.cend(),
                                   [this](ToolPanel panel) { return panelWindow(panel)->isVisible(); });
    QVERIFY(open != toggled.cend());
    const ToolPanel resized = *open;
    panelWindow(resized)->resize(size);
    if (quit)
        window().action(MainWindow::Command::Quit)->trigger();
    else
        window().close();
    QTRY_VERIFY(!window().isVisible());
    m_test->window.reset();

    MainWindow again;
    again.show();
    again.windowLoaded();
    for (ToolPanel panel : ToolPanels::All) {
        const bool shown = shownAfter.contains(panel);
        QCOMPARE(again.toolPanelSet()->window(panel)->isVisible(), shown);
        QCOMPARE(again.toolPanelSet()->action(panel)->isChecked(), shown);
    }
    QCOMPARE(again.toolPanelSet()->window(resized)->size(), size);
}

QTEST_MAIN(TestToolPanels)
#include "test_toolpanels.moc"
