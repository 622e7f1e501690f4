#include "ui/viewswitch.h"

#include <QPointer>
#include <QStackedWidget>
#include <QTimer>

ViewSwitch::ViewSwitch(QStackedWidget *container, QWidget *editor, QWidget *editorFocus, QWidget *browser,
                       QWidget *browserFocus, QObject *parent)
    : QObject(parent)
    , m_container(container)
    , m_editor(editor)
    , m_editorFocus(editorFocus)
    , m_browser(browser)
    , m_browserFocus(browserFocus)
{
}

void ViewSwitch::showEditor()
{
    if (m_editorVisible && m_installed)
        return;
    m_installed = true;
    m_container->setCurrentWidget(m_editor);
    focusLater(m_editorFocus);
    m_editorVisible = true;
    emit viewChanged(true);
}

void ViewSwitch::showBrowser()
{
    if (!m_editorVisible)
        return;
    if (m_beforeBrowser)
        m_beforeBrowser();
    m_installed = true;
    m_container->setCurrentWidget(m_browser);
    focusLater(m_browserFocus);
    m_editorVisible = false;
    emit viewChanged(false);
}

void ViewSwitch::changeView(int segment)
{
    if (segment == 0)
        showEditor();
    else if (segment == 1)
        showBrowser();
}

void ViewSwitch::focusLater(QWidget *widget)
{
    QTimer::singleShot(FocusDelayMs, this, [target = QPointer<QWidget>(widget)] {
        if (target && target->isVisible())
            target->setFocus(Qt::OtherFocusReason);
    });
}
