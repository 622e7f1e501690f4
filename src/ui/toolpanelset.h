#pragma once

#include "editor/toolpanels.h"

#include <QObject>

#include <array>

class MainWindow;
class QAction;
class QWidget;
class ToolWindow;

// The tool panels of the main window: one tool window per panel that has content, registered
// with the panel logic (ToolPanels), and one Tools-menu entry per panel that shows or hides it.
// The entry of a panel without content stays disabled.
//
// Every panel is added in addToolPanels() (toolpanelset.cpp), one line each:
//     panels.add(ToolPanel::Lyrics, new LyricsPanel(window));
// The content widget takes (MainWindow &window, QWidget *parent = nullptr) and acts on
// window.editor().selectedObjects() when its commands run.
class ToolPanelSet : public QObject {
    Q_OBJECT

public:
    // The panels' windows are children of the main window.
    ToolPanelSet(ToolPanels &panels, QWidget *mainWindow);
    ~ToolPanelSet() override;

    // Makes the panel's window around the content (which it takes over), hands it to the panel
    // logic and enables its menu entry. A panel is added once.
    ToolWindow *add(ToolPanel panel, QWidget *content);

    // The Tools-menu entry: checked while the panel shows.
    QAction *action(ToolPanel panel) const { return m_actions[size_t(panel)]; }
    // Null until the panel is added.
    ToolWindow *window(ToolPanel panel) const { return m_windows[size_t(panel)]; }
    // The content of an added panel, as its own type; null otherwise.
    template <typename Content>
    Content *content(ToolPanel panel) const;

private:
    ToolPanels &m_panels;
    QWidget *m_mainWindow;
    std::array<QAction *, ToolPanels::Count> m_actions{};
    std::array<ToolWindow *, ToolPanels::Count> m_windows{};
};

// Adds the panels the window has; MainWindow calls it once, after its menus are built.
void addToolPanels(ToolPanelSet &panels, MainWindow &window);

#include "ui/toolwindow.h"

template <typename Content>
Content *ToolPanelSet::content(ToolPanel panel) const
{
    ToolWindow *made = window(panel);
    return made ? qobject_cast<Content *>(made->content()) : nullptr;
}
