#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>

// How a front end shows that work is going on: the one-line progress of the window's bottom
// bar, with a count and a way to stop for loading and saving, and the progress sheet of the
// online lookup. Called on the main thread.
class ProgressDisplay {
public:
    virtual ~ProgressDisplay() = default;

    // The one-line progress text of the bottom bar; an empty text hides it, the count below
    // included. Shown at once: work on the main thread may follow.
    virtual void showProgress(const QString &text) = 0;

    // The count of a load or a save that runs in the background, in place of the progress
    // text: text is ready to show ("Reading 1 200 of 8 000…"), done of total items are through,
    // total is 0 while not yet known. cancel stops the work (the items done stay done); it may
    // be called on the main thread, any number of times, until the progress is hidden. A front
    // end without a count shows the text alone.
    virtual void showCountedProgress(const QString &text, qint64 done, qint64 total,
                                     const std::function<void()> &cancel)
    {
        Q_UNUSED(done);
        Q_UNUSED(total);
        Q_UNUSED(cancel);
        showProgress(text);
    }
    // The text of a count: the key's format with done and total as numbers of the locale.
    static QString countText(const char *key, qint64 done, qint64 total);

    // The progress sheet of the online lookup: show it (nothing when already shown), its main
    // and sub text, end it; idle means not shown, which while a lookup runs means that the user
    // has dismissed it. All on the main thread. Front ends without a sheet ignore them and never
    // report a dismissal.
    virtual void showProgressSheet() {}
    virtual void setProgressText(const QString &text) { Q_UNUSED(text); }
    virtual void setProgressSubText(const QString &text) { Q_UNUSED(text); }
    virtual void endProgressSheet() {}
    virtual bool isIdle() const { return false; }
};
