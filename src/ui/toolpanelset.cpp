#include "ui/toolpanelset.h"

#include "model/localized.h"
#include "ui/capitalizationpanel.h"
#include "ui/compositionpanel.h"
#include "ui/extractionpanel.h"
#include "ui/lyricspanel.h"
#include "ui/mainwindow.h"
#include "ui/namingpanel.h"
#include "ui/numberingpanel.h"

#include <QAction>

void addToolPanels(ToolPanelSet &panels, MainWindow &window)
{
    panels.add(ToolPanel::Numbering, new NumberingPanel(window));
    panels.add(ToolPanel::Naming, new NamingPanel(window));
    panels.add(ToolPanel::Capitalization, new CapitalizationPanel(window));
    panels.add(ToolPanel::Extraction, new ExtractionPanel(window));
    panels.add(ToolPanel::Lyrics, new LyricsPanel(window));
    panels.add(ToolPanel::Composition, new CompositionPanel(window));
}

namespace {

const char *menuKey(ToolPanel panel)
{
    switch (panel) {
    case ToolPanel::Numbering: return "MenuNumbering";
    case ToolPanel::Naming: return "MenuNaming";
    case ToolPanel::Capitalization: return "MenuCapitalization";
    case ToolPanel::Extraction: return "MenuExtraction";
    case ToolPanel::Lyrics: return "MenuLyrics";
    case ToolPanel::Composition: return "MenuComposition";
    }
    return "";
}

} // namespace

ToolPanelSet::ToolPanelSet(ToolPanels &panels, QWidget *mainWindow)
    : QObject(mainWindow)
    , m_panels(panels)
    , m_mainWindow(mainWindow)
{
    for (ToolPanel panel : ToolPanels::All) {
        auto *entry = new QAction(Localized::text(menuKey(panel)), this);
        entry->setObjectName(ToolPanels::visibilityKey(panel));
        entry->setCheckable(true);
        entry->setEnabled(false);
        connect(entry, &QAction::triggered, this, [this, panel] {
            m_panels.controller(panel).toggleWindow();
            // The entry shows the window's state, whatever the click made of the check mark.
            action(panel)->setChecked(m_panels.controller(panel).isWindowVisible());
        });
        m_actions[size_t(panel)] = entry;
    }
}

ToolPanelSet::~ToolPanelSet()
{
    // The windows go before the main window's parts their panels use.
    for (ToolPanel panel : ToolPanels::All) {
        m_panels.setWindow(panel, nullptr);
        delete m_windows[size_t(panel)];
    }
}

ToolWindow *ToolPanelSet::add(ToolPanel panel, QWidget *content)
{
    Q_ASSERT(!window(panel));
    auto *made = new ToolWindow(panel, content, m_mainWindow);
    m_windows[size_t(panel)] = made;
    m_panels.setWindow(panel, made->panelWindow());
    QAction *entry = action(panel);
    connect(made, &ToolWindow::visibilityChanged, entry, &QAction::setChecked);
    entry->setEnabled(true);
    return made;
}
