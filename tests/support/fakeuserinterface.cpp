#include "fakeuserinterface.h"

#include "model/localized.h"

#include <QLocale>
#include <QThread>

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
    questionThreads.append(QThread::currentThread());
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

void FakeUserInterface::showCountedProgress(const QString &text, qint64 done, qint64 total,
                                            const std::function<void()> &cancel)
{
    const Count count{text, done, total};
    counts.append(count);
    if (onCount)
        onCount(count, cancel);
}

QString FakeUserInterface::countFault(const char *key, qint64 total, qint64 lastDone, qsizetype first) const
{
    if (counts.size() <= first)
        return QStringLiteral("no counts");
    qint64 done = 0;
    for (const Count &count : counts.mid(first)) {
        const QString text = Localized::text(key).arg(QLocale().toString(count.done), QLocale().toString(total));
        if (count.total != total || count.text != text)
            return QStringLiteral("count \"%1\" of %2").arg(count.text).arg(count.total);
        if (count.done < done)
            return QStringLiteral("count back from %1 to %2").arg(done).arg(count.done);
        done = count.done;
    }
    return done == lastDone ? QString() : QStringLiteral("last count %1, not %2").arg(done).arg(lastDone);
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
