#pragma once

#include "editor/userquestions.h"

#include <QPointer>
#include <QString>

#include <functional>

class QWidget;

// The questions and choosers of the editor as window-modal dialogs on the main window: a
// message box with the buttons in the order asked, the file-and-folder chooser of the Add
// command, the picture chooser and the save chooser. Each call returns once answered; the
// window's other parts keep painting meanwhile.
class WindowQuestions : public UserQuestions {
public:
    explicit WindowQuestions(QWidget *window);

    int ask(const Question &question) override;
    std::optional<QStringList> chooseFiles(const FileChoice &choice) override;
    std::optional<QString> chooseSaveFile(const SaveChoice &choice) override;
    void postNotification(const QString &title, const QString &text) override;
    void presentError(const QString &detail) override;

    // Where notifications go (the window's status line until the desktop's are used).
    void setNotificationSink(std::function<void(const QString &title, const QString &text)> sink)
    {
        m_notify = std::move(sink);
    }

    // The position an ask() answers when the box is left without a button (Escape, or the box
    // closed): the button keyed "Cancel" if there is one, else the last.
    static int escapePosition(const QStringList &buttonKeys);

private:
    QPointer<QWidget> m_window;
    // The folder the last chooser ended in; the next one starts there.
    QString m_lastFolder;
    std::function<void(const QString &, const QString &)> m_notify;
};
