#include "editor/closingwindowcontroller.h"

ClosingWindowController::ClosingWindowController(PanelWindow *window)
    : m_window(window)
{
}

bool ClosingWindowController::isWindowVisible() const
{
    return m_window && m_window->isVisible();
}

void ClosingWindowController::toggleWindow()
{
    if (!m_window)
        return;
    if (m_window->isVisible())
        m_window->close();
    else
        m_window->show();
}

void ClosingWindowController::closeWindowIfOpenAndStore()
{
    if (isWindowVisible()) {
        m_wasOpen = true;
        m_window->close();
    } else {
        m_wasOpen = false;
    }
}

void ClosingWindowController::restoreWindowIfWasOpen()
{
    if (m_wasOpen && m_window)
        m_window->show();
}
