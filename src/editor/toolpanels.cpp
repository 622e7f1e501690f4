#include "editor/toolpanels.h"

#include "model/userdefaults.h"

namespace {

// The panels that follow the main window when it closes and reopens; composition stays as it is.
constexpr ToolPanel PanelsClosedWithMainWindow[] = {
    ToolPanel::Numbering, ToolPanel::Naming, ToolPanel::Capitalization,
    ToolPanel::Extraction, ToolPanel::Lyrics,
};

} // namespace

QString ToolPanels::visibilityKey(ToolPanel panel)
{
    switch (panel) {
    case ToolPanel::Numbering: return QStringLiteral("NUMBERING_PANEL_VISIBLE");
    case ToolPanel::Naming: return QStringLiteral("NAMING_PANEL_VISIBLE");
    case ToolPanel::Capitalization: return QStringLiteral("CAPITALIZATION_PANEL_VISIBLE");
    case ToolPanel::Extraction: return QStringLiteral("EXTRACTION_PANEL_VISIBLE");
    case ToolPanel::Lyrics: return QStringLiteral("LYRICS_PANEL_VISIBLE");
    case ToolPanel::Composition: return QStringLiteral("COMPOSITION_PANEL_VISIBLE");
    }
    return QString();
}

void ToolPanels::activateMainWindow()
{
    if (m_activateMainWindow)
        m_activateMainWindow();
}

void ToolPanels::restorePanelsIfNeeded()
{
    const UserDefaults &defaults = UserDefaults::shared();
    if (!defaults.boolForKey(QStringLiteral("RESTORE_PANELS_ON_STARTUP")))
        return;
    for (ToolPanel panel : All) {
        PanelWindow *window = controller(panel).window();
        if (window && defaults.boolForKey(visibilityKey(panel)))
            window->show();
    }
    activateMainWindow();
}

void ToolPanels::applicationWillTerminate()
{
    UserDefaults &defaults = UserDefaults::shared();
    for (ToolPanel panel : All)
        defaults.setBool(controller(panel).isWindowVisible(), visibilityKey(panel));
    defaults.synchronize();
}

void ToolPanels::windowWillClose()
{
    for (ToolPanel panel : PanelsClosedWithMainWindow)
        controller(panel).closeWindowIfOpenAndStore();
}

bool ToolPanels::applicationShouldHandleReopen(bool hasVisibleWindows)
{
    if (!hasVisibleWindows) {
        activateMainWindow();
        for (ToolPanel panel : PanelsClosedWithMainWindow)
            controller(panel).restoreWindowIfWasOpen();
    }
    return true;
}
