#pragma once

#include <QList>
#include <QtGlobal>
#include <QString>
#include <QStringList>

#include <optional>

// What the editor, the tools and the lookup need of the user interface. The desktop window, the
// terminal and the tests' scripted fake implement it; controllers call only this.
class UserInterface {
public:
    virtual ~UserInterface() = default;

    // A modal question: message and informative text (keys of the string table, or for the
    // informative text a ready text when informativeKey is empty), two or three buttons given by
    // their keys in order. Returns the 0-based position of the pressed button.
    struct Question {
        QString messageKey;
        QString informativeKey;
        QString informativeText;
        QStringList buttonKeys;
    };
    virtual int ask(const Question &question) = 0;

    // The file-and-folder chooser of the Add command; nullopt when cancelled.
    struct FileChoice {
        QString promptKey;
        QString messageKey;
        QString titleKey;
        QStringList extensions;
        bool allowFolders = true;
        bool allowMultiple = true;
        // Whether a chosen link (alias) is replaced by the file it points to.
        bool resolveAliases = false;
    };
    virtual std::optional<QStringList> chooseFiles(const FileChoice &choice) = 0;

    // The save chooser: a new or existing file to write to, proposed under a name in the
    // chooser's folder; nullopt when cancelled. A front end without one cancels.
    struct SaveChoice {
        QString promptKey;
        QString messageKey;
        QString proposedName;
    };
    virtual std::optional<QString> chooseSaveFile(const SaveChoice &choice)
    {
        Q_UNUSED(choice);
        return std::nullopt;
    }

    // The one-line progress text of the bottom bar; an empty text hides it. Must be painted
    // before returning, since the work that follows blocks the event loop.
    virtual void showProgress(const QString &text) = 0;

    // The progress sheet of the online lookup: show it (nothing when already shown), its main
    // and sub text, end it; idle means not shown, which while a lookup runs means that the user
    // has dismissed it. isIdle() may be asked from any thread. Front ends without a sheet ignore
    // them and never report a dismissal.
    virtual void showProgressSheet() {}
    virtual void setProgressText(const QString &text) { Q_UNUSED(text); }
    virtual void setProgressSubText(const QString &text) { Q_UNUSED(text); }
    virtual void endProgressSheet() {}
    virtual bool isIdle() const { return false; }
    // A desktop notification with the default sound.
    virtual void postNotification(const QString &title, const QString &text)
    {
        Q_UNUSED(title);
        Q_UNUSED(text);
    }
    // The standard presentation of an error (the "ShowDetails" button of an alert).
    virtual void presentError(const QString &detail) { Q_UNUSED(detail); }

    // The song table.
    virtual void clearSortOrder() = 0;
    virtual QList<int> selectedRows() const = 0;
    virtual void setSelectedRows(const QList<int> &rows) = 0;
};
