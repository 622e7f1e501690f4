#include "fakeuserinterface.h"

QStringList FakeUserInterface::askedMessageKeys() const
{
    QStringList keys;
    for (const Question &question : questions)
        keys.append(question.messageKey);
    return keys;
}

int FakeUserInterface::ask(const Question &question)
{
    questions.append(question);
    if (answers.isEmpty()) {
        ++unexpectedQuestions;
        return defaultAnswer;
    }
    return answers.dequeue();
}

std::optional<QStringList> FakeUserInterface::chooseFiles(const FileChoice &choice)
{
    choices.append(choice);
    if (chooserResults.isEmpty())
        return std::nullopt;
    return chooserResults.dequeue();
}

std::optional<QString> FakeUserInterface::chooseSaveFile(const SaveChoice &choice)
{
    saveChoices.append(choice);
    if (saveChooserResults.isEmpty())
        return std::nullopt;
    return saveChooserResults.dequeue();
}

void FakeUserInterface::showProgress(const QString &text)
{
    progressTexts.append(text);
}

void FakeUserInterface::clearSortOrder()
{
    ++sortOrderClears;
}

QList<int> FakeUserInterface::selectedRows() const
{
    return rows;
}

void FakeUserInterface::setSelectedRows(const QList<int> &newRows)
{
    rows = newRows;
    selectionHistory.append(newRows);
}

void FakeUserInterface::showProgressSheet()
{
    sheetEvents.append(QStringLiteral("show"));
    sheetShown = true;
}

void FakeUserInterface::setProgressText(const QString &text)
{
    sheetEvents.append(QStringLiteral("text:") + text);
}

void FakeUserInterface::setProgressSubText(const QString &text)
{
    sheetEvents.append(QStringLiteral("sub:") + text);
    if (!dismissOnSubText.isEmpty() && text.contains(dismissOnSubText))
        sheetShown = false;
}

void FakeUserInterface::endProgressSheet()
{
    sheetEvents.append(QStringLiteral("end"));
    sheetShown = false;
}

void FakeUserInterface::postNotification(const QString &title, const QString &text)
{
    notifications.append({title, text});
}

void FakeUserInterface::presentError(const QString &detail)
{
    presentedErrors.append(detail);
}
