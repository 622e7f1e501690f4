#include "progressline.h"

#include "console.h"

namespace {

// Faster than this a counter only flickers.
constexpr qint64 RedrawMilliseconds = 100;

} // namespace

ProgressLine::ProgressLine(bool quiet)
    : m_enabled(!quiet && Console::isErrorTerminal())
{
}

void ProgressLine::show(const QString &text)
{
    if (!m_enabled)
        return;
    Console::showTransient(text);
    if (text.isEmpty())
        m_sinceDrawn.invalidate();
    else
        m_sinceDrawn.start();
}

void ProgressLine::showCount(const QString &text)
{
    if (m_sinceDrawn.isValid() && m_sinceDrawn.elapsed() < RedrawMilliseconds)
        return;
    show(text);
}
