#include "tools/tsvcontroller.h"

#include "editor/editorcontroller.h"
#include "editor/userquestions.h"
#include "model/localized.h"
#include "model/wholefile.h"
#include "tools/importexportassistant.h"

const QString TsvController::ProposedFileName = QStringLiteral("songs.tsv");

namespace {

// The position of "ShowDetails" among the buttons of the import's report.
constexpr int ShowDetailsButton = 1;

TsvReport failure(const QString &path, int code, const QString &text)
{
    TsvReport report;
    report.outcome = TsvReport::Outcome::Failed;
    report.path = path;
    report.errorCode = code;
    report.errorText = text;
    return report;
}

TsvReport done(const QString &path)
{
    TsvReport report;
    report.outcome = TsvReport::Outcome::Done;
    report.path = path;
    return report;
}

} // namespace

TsvController::TsvController(EditorController &editor)
    : m_editor(editor)
{
}

TsvReport TsvController::exportSongsAsTsv()
{
    UserQuestions::SaveChoice choice;
    choice.promptKey = QStringLiteral("Export");
    choice.messageKey = QStringLiteral("ExportSelectedSongsAsTsv");
    choice.proposedName = ProposedFileName;
    const std::optional<QString> path = m_editor.questions()->chooseSaveFile(choice);
    if (!path)
        return TsvReport();
    return exportSongsAsTsv(*path);
}

TsvReport TsvController::exportSongsAsTsv(const QString &toPath)
{
    const QByteArray bytes = ImportExportAssistant::exportSongTagsToTSV(m_editor.selectedObjects()).toUtf8();
    // The text goes to a temporary file beside the target, which then replaces the target.
    const Result<void> written = WholeFile::replace(toPath, bytes);
    if (!written) {
        reportExportFailure(toPath, written.error().detail);
        return failure(toPath, 0, written.error().detail);
    }
    return done(toPath);
}

TsvReport TsvController::importSongsFromTsv()
{
    UserQuestions::FileChoice choice;
    choice.promptKey = QStringLiteral("Import");
    choice.messageKey = QStringLiteral("SelectTsvSongListToApply");
    choice.allowFolders = false;
    choice.allowMultiple = false;
    const std::optional<QStringList> paths = m_editor.questions()->chooseFiles(choice);
    if (!paths || paths->isEmpty())
        return TsvReport();
    return importSongsFromTsv(paths->constFirst());
}

TsvReport TsvController::importSongsFromTsv(const QString &fromPath)
{
    ImportExportAssistant assistant;
    const std::optional<ImportError> error = assistant.importSongTags(m_editor.selectedObjects(), fromPath);
    if (error) {
        reportImportFailure(error->description);
        return failure(fromPath, error->code, error->description);
    }
    // A list the reader found malformed is dropped without a word to the user.
    if (!assistant.applied()) {
        const QString reason = assistant.parserError() ? assistant.parserError()->description : QString();
        return failure(fromPath, 0, reason);
    }
    return done(fromPath);
}

void TsvController::reportExportFailure(const QString &path, const QString &reason) const
{
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("CouldNotExport");
    question.informativeText = Localized::text("CouldNotWriteFileXY").arg(path, reason);
    question.buttonKeys = {QStringLiteral("OK")};
    m_editor.questions()->ask(question);
}

void TsvController::reportImportFailure(const QString &description) const
{
    UserQuestions::Question question;
    question.messageKey = QStringLiteral("CouldNotImport");
    question.informativeKey = QStringLiteral("MakeSureTsvCorrect");
    question.buttonKeys = {QStringLiteral("OK"), QStringLiteral("ShowDetails")};
    if (m_editor.questions()->ask(question) != ShowDetailsButton)
        return;
    UserQuestions::Question details;
    details.messageKey = QStringLiteral("ErrorDetails");
    details.informativeText = description;
    details.buttonKeys = {QStringLiteral("OK")};
    m_editor.questions()->ask(details);
}
