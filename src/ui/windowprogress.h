#pragma once

#include "editor/progressdisplay.h"

class BottomBar;
class ProgressSheet;

// How the window shows work going on: loading and saving in the bottom bar (with the count and
// a Cancel button), the online lookup in the progress sheet.
class WindowProgress : public ProgressDisplay {
public:
    WindowProgress(BottomBar *bar, ProgressSheet *sheet);

    void showProgress(const QString &text) override;
    void showCountedProgress(const QString &text, qint64 done, qint64 total,
                             const std::function<void()> &cancel) override;
    void showProgressSheet() override;
    void setProgressText(const QString &text) override;
    void setProgressSubText(const QString &text) override;
    void endProgressSheet() override;
    bool isIdle() const override;

private:
    BottomBar *m_bar;
    ProgressSheet *m_sheet;
};
