#pragma once

#include "editor/userinterface.h"
#include "tags/tagsreader.h"

// The user interface of the command-line tool. Questions get the affirmative button when
// --yes was given, are asked on the terminal when standard input is one, and otherwise get the
// cancelling button. Progress texts go to standard error. The selection is always every loaded
// song in list order.
class TerminalUserInterface : public UserInterface {
public:
    explicit TerminalUserInterface(bool answerYes);

    // The list whose songs make the selection; must outlive this object.
    void setSongList(const SongList *songs) { m_songs = songs; }

    int ask(const Question &question) override;
    std::optional<QStringList> chooseFiles(const FileChoice &choice) override;
    void showProgress(const QString &text) override;
    void clearSortOrder() override {}
    QList<int> selectedRows() const override;
    void setSelectedRows(const QList<int> &rows) override;

    // How many questions were answered with their cancelling button.
    int cancelledCount() const { return m_cancelledCount; }

    // The position of the button that declines: "Cancel" if there is one, else the last.
    static int cancellingButton(const QStringList &buttonKeys);

private:
    int askOnTerminal(const Question &question) const;

    const SongList *m_songs = nullptr;
    bool m_answerYes;
    int m_cancelledCount = 0;
};
