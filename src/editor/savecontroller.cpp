#include "editor/savecontroller.h"

#include "editor/editorcontroller.h"
#include "editor/errorutil.h"
#include "editor/userinterface.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <algorithm>

namespace {

enum ReportButton { ReportOK, ReportShowDetails };
enum QuitButton { QuitSave, QuitCancel, QuitDontSave };

} // namespace

SaveController::SaveController(EditorController &editor, TagsWriter &writer)
    : m_editor(editor)
    , m_writer(writer)
{
}

SaveReport SaveController::saveSongs()
{
    return save(false);
}

SaveReport SaveController::saveSongsForced()
{
    SaveReport report = save(true);
    if (UserDefaults::shared().boolForKey(QStringLiteral("SCALE_IMAGES")))
        m_editor.reloadSongs();
    return report;
}

bool SaveController::applicationShouldTerminate()
{
    const SongList &songs = m_editor.songs();
    const bool anyModified = std::any_of(songs.begin(), songs.end(),
                                         [](const auto &song) { return song->isModified(); });
    if (!anyModified)
        return true;
    UserInterface::Question question;
    question.messageKey = QStringLiteral("UnsavedChanges");
    question.informativeKey = QStringLiteral("DoYouWantToSaveChanges");
    question.buttonKeys = {QStringLiteral("Save"), QStringLiteral("Cancel"),
                           QStringLiteral("DontSave")};
    switch (m_editor.ui()->ask(question)) {
    case QuitSave:
        // Ends whatever the save's outcome; its report has been shown by then.
        saveSongs();
        return true;
    case QuitDontSave:
        return true;
    default:
        // Cancel, and any other way of leaving the question, keeps the edits.
        return false;
    }
}

SaveReport SaveController::save(bool forced)
{
    QList<Song *> songs;
    songs.reserve(qsizetype(m_editor.songs().size()));
    for (const auto &song : m_editor.songs())
        songs.append(song.get());

    m_editor.showProgressBar(Localized::text("SavingFiles"));
    SaveReport report = m_writer.writeFiles(songs, forced);
    m_editor.showProgressBar(QString());

    ErrorUtil::appendEllipsisToMessage(&report.errorText, report.errorCount);
    showReport(report);
    return report;
}

void SaveController::showReport(const SaveReport &report)
{
    if (report.errorText.isEmpty())
        return;
    UserInterface *ui = m_editor.ui();
    UserInterface::Question question;
    question.messageKey = QStringLiteral("CouldNotSaveOneOrMoreFiles");
    question.informativeKey = QStringLiteral("MakeSurePermissionsCorrect");
    question.buttonKeys = {QStringLiteral("OK"), QStringLiteral("ShowDetails")};
    if (ui->ask(question) != ReportShowDetails)
        return;
    UserInterface::Question details;
    details.messageKey = QStringLiteral("ErrorDetails");
    details.informativeText = report.errorText;
    details.buttonKeys = {QStringLiteral("OK")};
    ui->ask(details);
}
