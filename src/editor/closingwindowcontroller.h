#pragma once

// A window as the panel logic sees it; the desktop window implements it.
class PanelWindow {
public:
    virtual ~PanelWindow() = default;
    virtual bool isVisible() const = 0;
    // Shows the window and brings it to the front.
    virtual void show() = 0;
    virtual void close() = 0;
};

// Runs one tool panel and remembers whether it was open when the main window closed, so that a
// reactivation of the application can bring it back. The window is not owned and may be null
// (no window yet: the panel counts as hidden).
class ClosingWindowController {
public:
    explicit ClosingWindowController(PanelWindow *window = nullptr);

    PanelWindow *window() const { return m_window; }
    void setWindow(PanelWindow *window) { m_window = window; }
    bool isWindowVisible() const;

    bool wasOpen() const { return m_wasOpen; }
    void setWasOpen(bool wasOpen) { m_wasOpen = wasOpen; }

    // Closes the panel if it is visible, else shows it.
    void toggleWindow();
    // Closes a visible panel and notes that it was open; notes that it was not otherwise.
    void closeWindowIfOpenAndStore();
    // Shows the panel if it was open when closeWindowIfOpenAndStore() last ran.
    void restoreWindowIfWasOpen();

private:
    PanelWindow *m_window;
    bool m_wasOpen = false;
};
