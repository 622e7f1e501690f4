#pragma once

#include "editor/userinterface.h"

#include <QList>
#include <QPair>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QThread;

// A scripted user interface for tests: answers questions and choosers from prepared queues and
// records everything the code under test asked for.
class FakeUserInterface : public UserInterface {
public:
    // Questions: each ask() takes the next prepared answer (a button position); with the queue
    // empty it answers defaultAnswer and counts an unexpected question.
    QQueue<int> answers;
    int defaultAnswer = 0;
    QList<Question> questions;
    int unexpectedQuestions = 0;
    // The thread each question was asked on.
    QList<QThread *> questionThreads;

    // Choosers: each chooseFiles() takes the next prepared result; with none left it cancels.
    QQueue<std::optional<QStringList>> chooserResults;
    QList<FileChoice> choices;
    // The save chooser: each chooseSaveFile() takes the next prepared result; none left cancels.
    QQueue<std::optional<QString>> saveChooserResults;
    QList<SaveChoice> saveChoices;

    // Every progress text shown, in order ("" when hidden).
    QStringList progressTexts;
    // Every count shown, in order; onCount, when set, sees each with its cancel function (a
    // test cancels at a point of its choosing).
    struct Count {
        QString text;
        qint64 done = 0;
        qint64 total = 0;
    };
    QList<Count> counts;
    std::function<void(const Count &count, const std::function<void()> &cancel)> onCount;
    // What is wrong with the counts from index first on: each is done of total in the text of
    // the key, done never goes back, and the last is lastDone. Empty when all of that holds.
    QString countFault(const char *key, qint64 total, qint64 lastDone, qsizetype first = 0) const;

    // The song table.
    int sortOrderClears = 0;
    QList<int> rows;
    QList<QList<int>> selectionHistory;

    // The progress sheet: every call recorded in order ("show", "text:<t>", "sub:<t>", "end");
    // shown tells whether it is up; dismissOnSubText makes the sheet idle once a sub text
    // containing it has been set (the user stops the lookup).
    QStringList sheetEvents;
    bool sheetShown = false;
    QString dismissOnSubText;
    QList<QPair<QString, QString>> notifications;
    QStringList presentedErrors;
    void showProgressSheet() override;
    void setProgressText(const QString &text) override;
    void setProgressSubText(const QString &text) override;
    void endProgressSheet() override;
    bool isIdle() const override { return !sheetShown; }
    void postNotification(const QString &title, const QString &text) override;
    void presentError(const QString &detail) override;
    void answerNext(int button) { answers.enqueue(button); }
    QStringList askedMessageKeys() const;

    int ask(const Question &question) override;
    std::optional<QStringList> chooseFiles(const FileChoice &choice) override;
    std::optional<QString> chooseSaveFile(const SaveChoice &choice) override;
    void showProgress(const QString &text) override;
    void showCountedProgress(const QString &text, qint64 done, qint64 total,
                             const std::function<void()> &cancel) override;
    void clearSortOrder() override;
    QList<int> selectedRows() const override;
    void setSelectedRows(const QList<int> &newRows) override;
};
