#include "ui/windowquestions.h"

#include "model/localized.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>

namespace {

// A chooser in which files and folders can both be chosen: the accept button takes what is
// selected, folders included, where the plain dialog would open a selected folder instead.
// Opening a folder is a double click.
class FileAndFolderDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const QStringList chosen = selectedFiles();
        const bool allExist = !chosen.isEmpty()
            && std::all_of(chosen.begin(), chosen.end(), [](const QString &path) { return QFileInfo::exists(path); });
        if (allExist) {
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

QString nameFilter(const QString &label, const QStringList &extensions)
{
    QStringList patterns;
    for (const QString &extension : extensions)
        patterns.append(QStringLiteral("*.") + extension);
    return QStringLiteral("%1 (%2)").arg(label, patterns.join(u' '));
}

// The chooser's message, above the file list.
void addMessage(QFileDialog &dialog, const QString &message)
{
    auto *grid = qobject_cast<QGridLayout *>(dialog.layout());
    if (!grid || message.isEmpty())
        return;
    auto *label = new QLabel(message, &dialog);
    label->setWordWrap(true);
    // The dialog's own rows move down by one.
    QList<std::tuple<QLayoutItem *, int, int, int, int>> items;
    while (grid->count() > 0) {
        int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
        grid->getItemPosition(0, &row, &column, &rowSpan, &columnSpan);
        items.append({grid->takeAt(0), row, column, rowSpan, columnSpan});
    }
    grid->addWidget(label, 0, 0, 1, grid->columnCount() > 0 ? grid->columnCount() : 1);
    for (const auto &[item, row, column, rowSpan, columnSpan] : items)
        grid->addItem(item, row + 1, column, rowSpan, columnSpan);
}

} // namespace

WindowQuestions::WindowQuestions(QWidget *window)
    : m_window(window)
{
}

int WindowQuestions::escapePosition(const QStringList &buttonKeys)
{
    const qsizetype cancel = buttonKeys.indexOf(QStringLiteral("Cancel"));
    if (cancel >= 0)
        return int(cancel);
    return int(buttonKeys.size()) - 1;
}

int WindowQuestions::ask(const Question &question)
{
    QMessageBox box(m_window);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIconPixmap(QApplication::windowIcon().pixmap(64, 64));
    box.setText(Localized::text(question.messageKey));
    box.setInformativeText(question.informativeKey.isEmpty() ? question.informativeText
                                                             : Localized::text(question.informativeKey));
    // One role for every button, so that the box keeps them in the order asked.
    QList<QAbstractButton *> buttons;
    for (const QString &key : question.buttonKeys)
        buttons.append(box.addButton(Localized::text(key), QMessageBox::ActionRole));
    const int escape = escapePosition(question.buttonKeys);
    if (!buttons.isEmpty()) {
        box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
        box.setEscapeButton(buttons.at(escape));
    }
    box.exec();
    const qsizetype pressed = buttons.indexOf(box.clickedButton());
    return pressed >= 0 ? int(pressed) : escape;
}

std::optional<QStringList> WindowQuestions::chooseFiles(const FileChoice &choice)
{
    std::unique_ptr<QFileDialog> dialog;
    if (choice.allowFolders)
        dialog = std::make_unique<FileAndFolderDialog>(m_window);
    else
        dialog = std::make_unique<QFileDialog>(m_window);
    // The toolkit's own chooser: a native one could not offer files and folders together.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setOption(QFileDialog::DontResolveSymlinks, !choice.resolveAliases);
    dialog->setWindowModality(Qt::WindowModal);
    dialog->setWindowTitle(Localized::text(choice.titleKey));
    dialog->setLabelText(QFileDialog::Accept, Localized::text(choice.promptKey));
    dialog->setFileMode(choice.allowMultiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!choice.extensions.isEmpty())
        dialog->setNameFilter(nameFilter(Localized::text("ChooserSupportedFiles"), choice.extensions));
    addMessage(*dialog, Localized::text(choice.messageKey));
    // The first chooser starts in the music folder, or at home where there is none.
    if (m_lastFolder.isEmpty() || !QFileInfo(m_lastFolder).isDir())
        m_lastFolder = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!QFileInfo(m_lastFolder).isDir())
        m_lastFolder = QDir::homePath();
    dialog->setDirectory(m_lastFolder);
    if (dialog->exec() != QDialog::Accepted)
        return std::nullopt;
    m_lastFolder = dialog->directory().absolutePath();
    return dialog->selectedFiles();
}

std::optional<QString> WindowQuestions::chooseSaveFile(const SaveChoice &choice)
{
    QFileDialog dialog(m_window);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setLabelText(QFileDialog::Accept, Localized::text(choice.promptKey));
    addMessage(dialog, Localized::text(choice.messageKey));
    if (m_lastFolder.isEmpty())
        m_lastFolder = QDir::homePath();
    dialog.setDirectory(m_lastFolder);
    dialog.selectFile(choice.proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    m_lastFolder = dialog.directory().absolutePath();
    return dialog.selectedFiles().constFirst();
}

void WindowQuestions::postNotification(const QString &title, const QString &text)
{
    if (m_notify)
        m_notify(title, text);
}

void WindowQuestions::presentError(const QString &detail)
{
    QMessageBox box(m_window);
    box.setWindowModality(Qt::WindowModal);
    box.setWindowTitle(QApplication::applicationDisplayName());
    box.setIcon(QMessageBox::Warning);
    box.setText(Localized::text("ErrorDetails"));
    box.setInformativeText(detail);
    box.addButton(Localized::text("OK"), QMessageBox::AcceptRole);
    box.exec();
}
