#include "editor/savecontroller.h"

#include "editor/editorcontroller.h"
#include "editor/errorutil.h"
#include "editor/songsaving.h"
#include "editor/userquestions.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <QCoreApplication>
#include <QEventLoop>

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

SaveController::~SaveController()
{
    if (!m_saving)
        return;
    m_saving.reset();
    m_editor.setSaving(false);
}

SaveReport SaveController::saveSongs()
{
    return saveAndWait(false);
}

SaveReport SaveController::saveSongsForced()
{
    return saveAndWait(true);
}

SaveReport SaveController::saveAndWait(bool forced)
{
    Q_ASSERT_X(QCoreApplication::instance(), "SaveController", "saving needs an event loop");
    SaveReport report;
    bool ended = false;
    startSaving(forced, [&](const SaveReport &ending) {
        report = ending;
        ended = true;
    });
    QEventLoop loop;
    while (!ended && isSaving())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    return report;
}

void SaveController::startSaving(bool forced, std::function<void(const SaveReport &)> done)
{
    if (m_saving)
        return;
    QList<Song *> songs;
    songs.reserve(qsizetype(m_editor.songs().size()));
    for (const auto &song : m_editor.songs())
        songs.append(song.get());
    m_editor.setSaving(true);
    m_saving = std::make_unique<SongSaving>(m_writer, songs, forced, m_editor.progress(),
                                            [this, forced, done = std::move(done)](const SaveReport &report) {
                                                saveEnded(report, forced, done);
                                            });
    m_saving->start();
}

void SaveController::cancelSaving()
{
    if (m_saving)
        m_saving->cancel();
}

void SaveController::saveEnded(SaveReport report, bool forced, const std::function<void(const SaveReport &)> &done)
{
    m_endedSaving = std::move(m_saving);
    ErrorUtil::appendEllipsisToMessage(&report.errorText, report.errorCount);
    showReport(report);
    // Loads asked for during the save start now, before the reload that comes after them.
    m_editor.setSaving(false);
    if (forced && UserDefaults::shared().boolForKey(QStringLiteral("SCALE_IMAGES")))
        m_editor.reloadSongs();
    if (done)
        done(report);
}

bool SaveController::applicationShouldTerminate()
{
    const SongList &songs = m_editor.songs();
    const bool anyModified = std::any_of(songs.begin(), songs.end(),
                                         [](const auto &song) { return song->isModified(); });
    if (!anyModified)
        return true;
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("UnsavedChanges");
    question.informativeKey = QStringLiteral("DoYouWantToSaveChanges");
    question.buttonKeys = {QStringLiteral("Save"), QStringLiteral("Cancel"),
                           QStringLiteral("DontSave")};
    switch (m_editor.questions()->ask(question)) {
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

void SaveController::showReport(const SaveReport &report)
{
    if (report.errorText.isEmpty())
        return;
    UserQuestions *questions = m_editor.questions();
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("CouldNotSaveOneOrMoreFiles");
    question.informativeKey = QStringLiteral("MakeSurePermissionsCorrect");
    question.buttonKeys = {QStringLiteral("OK"), QStringLiteral("ShowDetails")};
    if (questions->ask(question) != ReportShowDetails)
        return;
    UserQuestions::Question details;
    details.messageKey = QStringLiteral("ErrorDetails");
    details.informativeText = report.errorText;
    details.buttonKeys = {QStringLiteral("OK")};
    questions->ask(details);
}
