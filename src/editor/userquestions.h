#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// The questions, choosers and messages of a front end: what the editor, the tools and the
// lookup ask of the person in front of it. Called on the main thread; each call returns once
// answered.
class UserQuestions {
public:
    virtual ~UserQuestions() = default;

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

    // A desktop notification with the default sound.
    virtual void postNotification(const QString &title, const QString &text)
    {
        Q_UNUSED(title);
        Q_UNUSED(text);
    }
    // The standard presentation of an error (the "ShowDetails" button of an alert).
    virtual void presentError(const QString &detail) { Q_UNUSED(detail); }
};
