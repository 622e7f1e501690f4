#pragma once

#include <QObject>

#include <functional>

class QStackedWidget;
class QWidget;

// Switches the window between its two views, the editor and the browser, shown one at a time
// in one container. Asking for the view already shown does nothing. The view shown gets the
// keyboard focus a moment later: the song table in the editor, the search field in the browser.
class ViewSwitch : public QObject {
    Q_OBJECT

public:
    static constexpr int FocusDelayMs = 100;

    ViewSwitch(QStackedWidget *container, QWidget *editor, QWidget *editorFocus, QWidget *browser,
               QWidget *browserFocus, QObject *parent = nullptr);

    bool isEditorVisible() const { return m_editorVisible; }

    // Before the browser shows: closes the preview, hands over the search text (an empty one
    // leaves the browser's text as it was).
    void setBeforeShowingBrowser(std::function<void()> beforeShowing) { m_beforeBrowser = std::move(beforeShowing); }

    void showEditor();
    void showBrowser();
    // 0 the editor, 1 the browser; anything else does nothing.
    void changeView(int segment);

signals:
    void viewChanged(bool editorVisible);

private:
    void focusLater(QWidget *widget);

    QStackedWidget *m_container;
    QWidget *m_editor;
    QWidget *m_editorFocus;
    QWidget *m_browser;
    QWidget *m_browserFocus;
    bool m_editorVisible = true;
    bool m_installed = false;
    std::function<void()> m_beforeBrowser;
};
