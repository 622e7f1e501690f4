#pragma once

#include "editor/closingwindowcontroller.h"
#include "editor/toolpanels.h"

#include <QWidget>

// A tool panel's own window: a non-modal tool window of the main window that holds the panel's
// controls. It stays above the main window, keeps its place and size from one run to the next
// and tells when it is shown or hidden. The core's panel logic sees it through panelWindow().
class ToolWindow : public QWidget {
    Q_OBJECT

public:
    // The content becomes the window's child; mainWindow is the window's parent.
    ToolWindow(ToolPanel panel, QWidget *content, QWidget *mainWindow);
    ~ToolWindow() override;

    ToolPanel panel() const { return m_panel; }
    QWidget *content() const { return m_content; }
    PanelWindow *panelWindow() { return &m_handle; }

    // The window title's string-table key ("NumberingPanel" and its siblings).
    static const char *titleKey(ToolPanel panel);
    // The settings key under which the window's geometry is kept.
    static QString geometryKey(ToolPanel panel);

signals:
    void visibilityChanged(bool visible);

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    // The window as the panel logic sees it.
    class Handle : public PanelWindow {
    public:
        explicit Handle(ToolWindow &window) : m_window(window) {}
        bool isVisible() const override { return m_window.isVisible(); }
        void show() override;
        void close() override { m_window.close(); }

    private:
        ToolWindow &m_window;
    };

    void storeGeometry() const;
    // The first time a panel without a remembered place shows: beside the main window's right
    // edge, the panels in a cascade, within the screen.
    void placeBesideMainWindow();

    ToolPanel m_panel;
    QWidget *m_content;
    Handle m_handle{*this};
    bool m_placed = false;
};
