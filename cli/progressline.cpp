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
    draw(text);
    m_sinceCount.invalidate();
}

void ProgressLine::showCount(const QString &text)
{
    // The first count after another text is drawn at once, the next ones a few times a second.
    if (m_sinceCount.isValid() && m_sinceCount.elapsed() < RedrawMilliseconds)
        return;
    draw(text);
    m_sinceCount.start();
}

void ProgressLine::draw(const QString &text)
{
    if (m_enabled)
        Console::showTransient(text);
}
