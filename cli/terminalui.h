#pragma once

#include "progressline.h"

#include "editor/userinterface.h"
#include "tags/tagsreader.h"

#include <memory>

class InterruptWatch;

// The user interface of the command-line tool. Questions get the affirmative button when
// --yes was given, are asked on the terminal when standard input is one, and otherwise get the
// cancelling button. A question that is not asked on the terminal is still printed on standard
// error with the answer it got, and a failure report is always answered with "ShowDetails", so
// that its error list reaches standard error in scripts too. The selection is always every
// loaded song in list order.
//
// Progress (the count of a load or a save, the steps of a lookup) is one line on standard
// error, rewritten in place, while standard error is a terminal and the run is not quiet.
//
// The lookup's progress sheet is shown while a search runs; Ctrl-C (SIGINT) then dismisses it,
// which stops the search, and a second Ctrl-C ends the process at once. While no sheet is shown
// SIGINT keeps the disposition it had.
class TerminalUserInterface : public UserInterface {
public:
    explicit TerminalUserInterface(bool answerYes);
    ~TerminalUserInterface() override;
    TerminalUserInterface(const TerminalUserInterface &) = delete;
    TerminalUserInterface &operator=(const TerminalUserInterface &) = delete;

    // The list whose songs make the selection; must outlive this object.
    void setSongList(const SongList *songs) { m_songs = songs; }

    int ask(const Question &question) override;
    std::optional<QStringList> chooseFiles(const FileChoice &choice) override;
    void setQuiet(bool quiet);
    void showProgress(const QString &text) override;
    void showCountedProgress(const QString &text, qint64 done, qint64 total,
                             const std::function<void()> &cancel) override;
    // The lookup's progress sheet: each sub text takes the progress line. After a Ctrl-C it is
    // not shown again until clearInterruption().
    void showProgressSheet() override;
    void setProgressSubText(const QString &text) override;
    void endProgressSheet() override;
    bool isIdle() const override { return m_idle; }
    // Whether Ctrl-C has dismissed the sheet since the last clearInterruption().
    bool wasInterrupted() const { return m_interrupted; }
    void clearInterruption() { m_interrupted = false; }
    void clearSortOrder() override {}
    QList<int> selectedRows() const override;
    void setSelectedRows(const QList<int> &rows) override;

    // How many questions with a choice were answered with their cancelling button.
    int cancelledCount() const { return m_cancelledCount; }

    // The position of the button that declines: "Cancel" if there is one, else the last.
    static int cancellingButton(const QStringList &buttonKeys);
    // The answer given without asking: "ShowDetails" when offered, else the first button with
    // answerYes, else the cancelling one.
    static int automaticAnswer(const QStringList &buttonKeys, bool answerYes);

private:
    int askOnTerminal(const Question &question) const;
    static void printQuestion(const Question &question);

    void interrupt();

    const SongList *m_songs = nullptr;
    bool m_answerYes;
    int m_cancelledCount = 0;
    bool m_idle = true;
    bool m_interrupted = false;
    std::unique_ptr<InterruptWatch> m_interruptWatch;
    ProgressLine m_progressLine;
};
