#include "editor/campaign.h"
#include "editor/settingsregistry.h"
#include "editor/toolpanels.h"
#include "fakeuserinterface.h"
#include "model/userdefaults.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

// A window that only remembers whether it is shown, and how often it was shown.
class FakeWindow : public PanelWindow {
public:
    bool visible = false;
    int shows = 0;
    bool isVisible() const override { return visible; }
    void show() override
    {
        visible = true;
        ++shows;
    }
    void close() override { visible = false; }
};

// The windows of one application run: six panels and a main window.
struct Run {
    FakeWindow windows[ToolPanels::Count];
    int mainWindowActivations = 0;
    ToolPanels panels;

    Run()
    {
        for (ToolPanel panel : ToolPanels::All)
            panels.setWindow(panel, &window(panel));
        panels.setActivateMainWindow([this] { ++mainWindowActivations; });
    }
    FakeWindow &window(ToolPanel panel) { return windows[int(panel)]; }
    QList<ToolPanel> visiblePanels() const
    {
        QList<ToolPanel> visible;
        for (ToolPanel panel : ToolPanels::All) {
            if (windows[int(panel)].visible)
                visible.append(panel);
        }
        return visible;
    }
};

} // namespace

class TestToolPanels : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void toggleShowsAndCloses();
    void closeAndRestoreRememberWhetherOpen();
    void quitAndStartRestoresOpenPanels_data();
    void quitAndStartRestoresOpenPanels();
    void closingMainWindowStoresPanelsAsClosed();
    void reopenWithoutVisibleWindowRestoresPanels();
    void reopenWithVisibleWindowDoesNothing();

    void campaignAsksPerMinorRelease_data();
    void campaignAsksPerMinorRelease();
    void campaignButtons_data();
    void campaignButtons();

private:
    QTemporaryDir m_store;
};

void TestToolPanels::initTestCase()
{
    QVERIFY(m_store.isValid());
    SettingsRegistry::registerDefaults();
}

void TestToolPanels::init()
{
    // A fresh store file for every test.
    static int count = 0;
    UserDefaults::shared().openStore(m_store.filePath(QStringLiteral("settings%1.ini").arg(++count)));
}

void TestToolPanels::toggleShowsAndCloses()
{
    FakeWindow window;
    ClosingWindowController controller(&window);
    controller.toggleWindow();
    QVERIFY(window.visible);
    controller.toggleWindow();
    QVERIFY(!window.visible);
    ClosingWindowController withoutWindow;
    withoutWindow.toggleWindow();
    withoutWindow.closeWindowIfOpenAndStore();
    QVERIFY(!withoutWindow.wasOpen());
}

void TestToolPanels::closeAndRestoreRememberWhetherOpen()
{
    FakeWindow window;
    ClosingWindowController controller(&window);
    window.show();
    controller.closeWindowIfOpenAndStore();
    QVERIFY(controller.wasOpen());
    QVERIFY(!window.visible);
    controller.restoreWindowIfWasOpen();
    QVERIFY(window.visible);

    // Closed already: remembered as not open, so nothing comes back.
    window.close();
    controller.closeWindowIfOpenAndStore();
    QVERIFY(!controller.wasOpen());
    controller.restoreWindowIfWasOpen();
    QVERIFY(!window.visible);
}

void TestToolPanels::quitAndStartRestoresOpenPanels_data()
{
    QTest::addColumn<bool>("restore");
    QTest::newRow("restore on") << true;
    QTest::newRow("restore off") << false;
}

void TestToolPanels::quitAndStartRestoresOpenPanels()
{
    QFETCH(bool, restore);
    UserDefaults::shared().setBool(restore, QStringLiteral("RESTORE_PANELS_ON_STARTUP"));
    {
        Run first;
        first.window(ToolPanel::Naming).show();
        first.window(ToolPanel::Lyrics).show();
        first.panels.applicationWillTerminate();
    }
    QVERIFY(UserDefaults::shared().boolForKey(QStringLiteral("NAMING_PANEL_VISIBLE")));
    QVERIFY(UserDefaults::shared().boolForKey(QStringLiteral("LYRICS_PANEL_VISIBLE")));
    QVERIFY(!UserDefaults::shared().boolForKey(QStringLiteral("NUMBERING_PANEL_VISIBLE")));

    Run second;
    second.panels.restorePanelsIfNeeded();
    if (restore) {
        QCOMPARE(second.visiblePanels(), (QList<ToolPanel>{ToolPanel::Naming, ToolPanel::Lyrics}));
        QCOMPARE(second.mainWindowActivations, 1);
    } else {
        QVERIFY(second.visiblePanels().isEmpty());
        QCOMPARE(second.mainWindowActivations, 0);
    }
}

void TestToolPanels::closingMainWindowStoresPanelsAsClosed()
{
    {
        Run first;
        first.window(ToolPanel::Naming).show();
        first.window(ToolPanel::Lyrics).show();
        first.window(ToolPanel::Composition).show();
        first.panels.windowWillClose();
        // Composition is left open by the close of the main window.
        QCOMPARE(first.visiblePanels(), QList<ToolPanel>{ToolPanel::Composition});
        first.panels.applicationWillTerminate();
    }
    Run second;
    second.panels.restorePanelsIfNeeded();
    QCOMPARE(second.visiblePanels(), QList<ToolPanel>{ToolPanel::Composition});
}

void TestToolPanels::reopenWithoutVisibleWindowRestoresPanels()
{
    Run run;
    run.window(ToolPanel::Numbering).show();
    run.window(ToolPanel::Extraction).show();
    run.window(ToolPanel::Composition).show();
    run.panels.windowWillClose();
    run.window(ToolPanel::Composition).close();
    QVERIFY(run.visiblePanels().isEmpty());

    QVERIFY(run.panels.applicationShouldHandleReopen(false));
    QCOMPARE(run.mainWindowActivations, 1);
    // Composition was not closed with the main window, so it is not brought back with it.
    QCOMPARE(run.visiblePanels(), (QList<ToolPanel>{ToolPanel::Numbering, ToolPanel::Extraction}));
}

void TestToolPanels::reopenWithVisibleWindowDoesNothing()
{
    Run run;
    run.window(ToolPanel::Naming).show();
    run.panels.windowWillClose();
    QVERIFY(run.panels.applicationShouldHandleReopen(true));
    QCOMPARE(run.mainWindowActivations, 0);
    QVERIFY(run.visiblePanels().isEmpty());
}

void TestToolPanels::campaignAsksPerMinorRelease_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("current");
    QTest::addColumn<bool>("asks");
    QTest::newRow("none stored") << QString() << "2.3.0" << true;
    QTest::newRow("same version") << "2.3.0" << "2.3.0" << false;
    QTest::newRow("new patch") << "2.3.0" << "2.3.5" << false;
    QTest::newRow("new minor") << "2.3.0" << "2.4.0" << true;
    QTest::newRow("new major") << "2.3.0" << "3.0.0" << true;
    QTest::newRow("minor by value") << "2.9.0" << "2.10.0" << true;
    QTest::newRow("older build") << "2.4.0" << "2.3.9" << false;
    QTest::newRow("older major, newer minor") << "3.0.0" << "2.9.0" << false;
    QTest::newRow("stored unreadable") << "garbage" << "2.3.0" << true;
    QTest::newRow("suffix ignored") << "2.3.0" << "2.3.1-beta" << false;
}

void TestToolPanels::campaignAsksPerMinorRelease()
{
    QFETCH(QString, stored);
    QFETCH(QString, current);
    QFETCH(bool, asks);
    QCOMPARE(Campaign::shouldAsk(current, stored), asks);

    if (!stored.isNull())
        UserDefaults::shared().setObject(stored, QStringLiteral("LAST_CAMPAIGN_VERSION"));
    FakeUserInterface ui;
    ui.answerNext(1);
    Campaign::checkCampaign(current, &ui);
    QCOMPARE(ui.questions.size(), asks ? 1 : 0);
}

void TestToolPanels::campaignButtons_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("stored");
    QTest::newRow("positive") << 0 << "2.4.0";
    QTest::newRow("later") << 1 << "2.3.0";
    QTest::newRow("negative") << 2 << "2.4.0";
}

void TestToolPanels::campaignButtons()
{
    QFETCH(int, button);
    QFETCH(QString, stored);
    UserDefaults::shared().setObject(QStringLiteral("2.3.0"), QStringLiteral("LAST_CAMPAIGN_VERSION"));
    FakeUserInterface ui;
    ui.answerNext(button);
    Campaign::checkCampaign(QStringLiteral("2.4.0"), &ui);
    QCOMPARE(ui.questions.size(), 1);
    const UserInterface::Question &question = ui.questions.first();
    QCOMPARE(question.messageKey, QStringLiteral("CampaignTitle"));
    QCOMPARE(question.informativeKey, QStringLiteral("CampaignText"));
    QCOMPARE(question.buttonKeys, (QStringList{"CampaignPositive", "CampaignLater", "CampaignNegative"}));
    QCOMPARE(UserDefaults::shared().stringForKey(QStringLiteral("LAST_CAMPAIGN_VERSION")), stored);

    // The next start of the same version asks again only after "later".
    ui.answerNext(1);
    Campaign::checkCampaign(QStringLiteral("2.4.0"), &ui);
    QCOMPARE(ui.questions.size(), button == 1 ? 2 : 1);
}

QTEST_GUILESS_MAIN(TestToolPanels)
#include "test_toolpanels.moc"
