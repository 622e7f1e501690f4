#pragma once

#include "editor/userinterface.h"
#include "tags/tagsreader.h"

// The user interface of the command-line tool. Questions get the affirmative button when
// --yes was given, are asked on the terminal when standard input is one, and otherwise get the
// cancelling button. A question that is not asked on the terminal is still printed on standard
// error with the answer it got, and a failure report is always answered with "ShowDetails", so
// that its error list reaches standard error in scripts too. Progress texts go to standard
// error. The selection is always every loaded song in list order.
class TerminalUserInterface : public UserInterface {
public:
    explicit TerminalUserInterface(bool answerYes);

    // The list whose songs make the selection; must outlive this object.
    void setSongList(const SongList *songs) { m_songs = songs; }

    int ask(const Question &question) override;
    std::optional<QStringList> chooseFiles(const FileChoice &choice) override;
    void showProgress(const QString &text) override;
    // The lookup's progress sheet: each sub text becomes a line on standard error.
    void setProgressSubText(const QString &text) override;
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

    const SongList *m_songs = nullptr;
    bool m_answerYes;
    int m_cancelledCount = 0;
};
