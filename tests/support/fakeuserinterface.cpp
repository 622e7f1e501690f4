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
