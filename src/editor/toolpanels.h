#pragma once

#include "editor/closingwindowcontroller.h"

#include <QString>

#include <array>
#include <functional>

// The six tool panels, in the order in which they are restored, stored and closed.
enum class ToolPanel {
    Numbering,
    Naming,
    Capitalization,
    Extraction,
    Lyrics,
    Composition,
};

// Remembers which tool panels are open across runs (under their visibility settings) and across
// closing and reopening the main window.
class ToolPanels {
public:
    static constexpr int Count = 6;
    static constexpr std::array<ToolPanel, Count> All = {
        ToolPanel::Numbering, ToolPanel::Naming,  ToolPanel::Capitalization,
        ToolPanel::Extraction, ToolPanel::Lyrics, ToolPanel::Composition,
    };

    // "NUMBERING_PANEL_VISIBLE" and its siblings.
    static QString visibilityKey(ToolPanel panel);

    ClosingWindowController &controller(ToolPanel panel) { return m_controllers[size_t(panel)]; }
    void setWindow(ToolPanel panel, PanelWindow *window) { controller(panel).setWindow(window); }
    // Brings the main window to the front and makes it the key window.
    void setActivateMainWindow(std::function<void()> activate) { m_activateMainWindow = std::move(activate); }

    // When the main window is loaded: with RESTORE_PANELS_ON_STARTUP on, shows the panels that
    // were open at the last quit, then activates the main window.
    void restorePanelsIfNeeded();
    // At quit: stores for each panel whether it is visible now.
    void applicationWillTerminate();
    // When the main window closes: closes the panels but composition, noting which were open.
    void windowWillClose();
    // Reactivation of the application; with no visible window, activates the main window and
    // reopens the panels closed with it. Always answers that it handled the request.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);

private:
    void activateMainWindow();

    std::array<ClosingWindowController, Count> m_controllers;
    std::function<void()> m_activateMainWindow;
};
