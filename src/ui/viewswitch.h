#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QStackedWidget;
class QWidget;

// Switches the window between its two views, the editor and the browser, shown one at a time
// in one container. Asking for the view already shown does nothing. The view shown gets the
// keyboard focus a moment later: the song table in the editor, the search field in the browser.
// Where the style animates, the new view pushes the old one out sideways: the editor comes in
// from the right, the browser from the left.
class ViewSwitch : public QObject {
    Q_OBJECT

public:
    static constexpr int FocusDelayMs = 100;
    static constexpr int TransitionMs = 150;

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

    // Whether a switch slides. On where the style animates widgets and the user has not turned
    // animations off; a window that is not shown never slides.
    bool isAnimated() const { return m_animated; }
    void setAnimated(bool animated) { m_animated = animated; }
    static bool animationsWanted(const QWidget *widget);
    // The picture that slides while a switch is under way, else null. The new view is current
    // from the start; the picture covers it until the slide ends.
    QWidget *transition() const;

signals:
    void viewChanged(bool editorVisible);
    // The slide of the last switch has ended (not sent for a switch without one).
    void transitionFinished();

private:
    void focusLater(QWidget *widget);
    // Makes the view current, sliding it in from the right or from the left when animated.
    void present(QWidget *view, bool fromRight);

    QStackedWidget *m_container;
    QWidget *m_editor;
    QWidget *m_editorFocus;
    QWidget *m_browser;
    QWidget *m_browserFocus;
    bool m_editorVisible = true;
    bool m_installed = false;
    bool m_animated;
    QPointer<QWidget> m_transition;
    std::function<void()> m_beforeBrowser;
};
