#include "ui/windowprogress.h"

#include "ui/bottombar.h"
#include "ui/progresssheet.h"

WindowProgress::WindowProgress(BottomBar *bar, ProgressSheet *sheet)
    : m_bar(bar)
    , m_sheet(sheet)
{
}

void WindowProgress::showProgress(const QString &text)
{
    m_bar->showProgress(text);
}

void WindowProgress::showCountedProgress(const QString &text, qint64 done, qint64 total,
                                         const std::function<void()> &cancel)
{
    m_bar->showCountedProgress(text, done, total, cancel);
}

void WindowProgress::showProgressSheet()
{
    m_sheet->showProgressSheet();
}

void WindowProgress::setProgressText(const QString &text)
{
    m_sheet->setProgressText(text);
}

void WindowProgress::setProgressSubText(const QString &text)
{
    m_sheet->setProgressSubText(text);
}

void WindowProgress::endProgressSheet()
{
    m_sheet->endProgressSheet();
}

bool WindowProgress::isIdle() const
{
    return m_sheet->isIdle();
}
