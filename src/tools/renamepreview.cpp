#include "tools/renamepreview.h"

#include "editor/editorcontroller.h"
#include "editor/userinterface.h"
#include "model/localized.h"
#include "model/song.h"
#include "tags/plannedrenames.h"
#include "tags/tagswriter.h"
#include "tools/allinonecontroller.h"
#include "tools/capitalizationcontroller.h"
#include "tools/namingcontroller.h"
#include "tools/numberingcontroller.h"

#include <QHash>

#include <memory>
#include <numeric>

namespace RenamePreview {

namespace {

QString lastComponent(const QString &path)
{
    return path.section(u'/', -1);
}

// The front end of the copies the all-in-one preview runs on: every song selected, nothing
// asked, nothing shown.
class SilentFrontEnd : public UserInterface {
public:
    int ask(const Question &question) override
    {
        Q_UNUSED(question);
        return 0;
    }
    std::optional<QStringList> chooseFiles(const FileChoice &choice) override
    {
        Q_UNUSED(choice);
        return std::nullopt;
    }
    void showProgress(const QString &text) override { Q_UNUSED(text); }
    void clearSortOrder() override {}
    QList<int> selectedRows() const override
    {
        QList<int> rows(m_count);
        std::iota(rows.begin(), rows.end(), 0);
        return rows;
    }
    void setSelectedRows(const QList<int> &rows) override { Q_UNUSED(rows); }

    void setCount(qsizetype count) { m_count = count; }

private:
    qsizetype m_count = 0;
};

// A song of its own with the values of song that the tools read and change.
std::unique_ptr<Song> copyOf(const Song &song)
{
    static const QStringList keys = {
        QStringLiteral("filePath"), QStringLiteral("isRenamable"), QStringLiteral("track"),
        QStringLiteral("disc"),     QStringLiteral("title"),       QStringLiteral("artist"),
        QStringLiteral("albumArtist"), QStringLiteral("composer"), QStringLiteral("album"),
        QStringLiteral("genre"),    QStringLiteral("year"),        QStringLiteral("comment"),
        QStringLiteral("isCompilation"),
    };
    auto copy = std::make_unique<Song>();
    for (const QString &key : keys)
        copy->setValueForKey(key, song.valueForKey(key));
    copy->noCheck_setFileName(song.fileName());
    return copy;
}

QList<Proposal> proposalsOf(const QList<const Song *> &named, const QList<Song *> &songs)
{
    using Kind = NamingController::ProposedName::Kind;
    const QList<NamingController::ProposedName> names = NamingController::proposeNames(named);
    QList<Proposal> proposals;
    proposals.reserve(songs.size());
    for (qsizetype i = 0; i < songs.size(); ++i) {
        Proposal proposal{songs.at(i), QString(), std::nullopt};
        switch (names.at(i).kind) {
        case Kind::Named: proposal.wantedName = names.at(i).name; break;
        case Kind::Missing: proposal.refused = Status::NotNamed; break;
        case Kind::NotRenamable: proposal.refused = Status::NotRenamable; break;
        case Kind::NothingLeft: proposal.refused = Status::InvalidName; break;
        }
        proposals.append(proposal);
    }
    return proposals;
}

Status statusOf(PlannedRenames::Outcome outcome, const QString &oldName, const QString &newName)
{
    switch (outcome) {
    case PlannedRenames::Outcome::Renamed:
        return oldName.compare(newName, Qt::CaseInsensitive) == 0 ? Status::CaseOnly : Status::Renamed;
    case PlannedRenames::Outcome::Collision: return Status::Collision;
    case PlannedRenames::Outcome::Exists: return Status::Exists;
    case PlannedRenames::Outcome::InvalidName: return Status::InvalidName;
    case PlannedRenames::Outcome::TooLong: return Status::TooLong;
    case PlannedRenames::Outcome::Failed: return Status::Failed;
    }
    return Status::Failed;
}

} // namespace

QList<Row> rows(const QList<Proposal> &proposals)
{
    PlannedRenames planned;
    // The new paths of the renames planned so far, by the row that takes each.
    QHash<QString, int> takenBy;
    QList<Row> result;
    result.reserve(proposals.size());
    for (const Proposal &proposal : proposals) {
        const Song &song = *proposal.song;
        Row row{&song, lastComponent(song.filePath()), QString(), Status::Unchanged, -1};
        row.newName = row.oldName;
        // A song the tool gives no name keeps the one it has, which may be a new name given
        // before and not saved yet: the save renames it all the same.
        const QString wanted = !proposal.refused ? proposal.wantedName
                               : song.isFileNameModified() ? song.fileName()
                                                           : QString();
        if (!wanted.isNull()) {
            const QString to = TagsWriter::renamedPath(song.folder(), wanted, song.extension());
            // A name of nothing has no path; the name asked for is what there is to show.
            row.newName = to.isEmpty() ? wanted : lastComponent(to);
            if (to != song.filePath()) {
                row.status = statusOf(planned.plan(song.filePath(), to), row.oldName, row.newName);
                if (row.status == Status::Collision)
                    row.takenByRow = takenBy.value(to, -1);
                else if (!isRefused(row.status))
                    takenBy.insert(to, int(result.size()));
            }
        }
        // What the save refuses is told first; otherwise why the tool gave no name.
        if (proposal.refused && !isRefused(row.status))
            row.status = *proposal.refused;
        result.append(row);
    }
    return result;
}

QList<Row> forNaming(const QList<Song *> &songs)
{
    return rows(proposalsOf(QList<const Song *>(songs.cbegin(), songs.cend()), songs));
}

QList<Row> forAllInOne(const QList<Song *> &songs)
{
    SilentFrontEnd frontEnd;
    EditorController scratch(&frontEnd);
    SongList copies;
    QList<const Song *> copied;
    for (const Song *song : songs) {
        copies.push_back(copyOf(*song));
        copied.append(copies.back().get());
    }
    frontEnd.setCount(qsizetype(copies.size()));
    scratch.appendSongs(std::move(copies));

    NumberingController numbering(&scratch);
    CapitalizationController capitalization(&scratch);
    NamingController naming(scratch);
    AllInOneController(&numbering, &capitalization, &naming).numberAndCapitalize();
    return rows(proposalsOf(copied, songs));
}

QList<Row> forSave(const QList<Song *> &songs, const TagsWriter &writer, bool forced,
                   const QList<const Song *> &failed)
{
    QList<Proposal> proposals;
    proposals.reserve(songs.size());
    for (const Song *song : songs) {
        Proposal proposal{song, QString(), std::nullopt};
        if (failed.contains(song))
            proposal.refused = Status::NotNamed;
        else if (song->isFileNameModified() && writer.willWrite(*song, forced))
            proposal.wantedName = song->fileName();
        proposals.append(proposal);
    }
    return rows(proposals);
}

bool isFlagged(Status status)
{
    return status != Status::Unchanged && status != Status::Renamed;
}

bool isRefused(Status status)
{
    switch (status) {
    case Status::Collision:
    case Status::Exists:
    case Status::InvalidName:
    case Status::TooLong:
    case Status::Failed:
        return true;
    case Status::Unchanged:
    case Status::Renamed:
    case Status::CaseOnly:
    case Status::NotNamed:
    case Status::NotRenamable:
        return false;
    }
    return false;
}

QString statusName(Status status)
{
    switch (status) {
    case Status::Unchanged: return QStringLiteral("unchanged");
    case Status::Renamed: return QStringLiteral("ok");
    case Status::CaseOnly: return QStringLiteral("case-only");
    case Status::Collision: return QStringLiteral("collision");
    case Status::Exists: return QStringLiteral("exists");
    case Status::InvalidName: return QStringLiteral("invalid");
    case Status::TooLong: return QStringLiteral("too-long");
    case Status::Failed: return QStringLiteral("failed");
    case Status::NotNamed: return QStringLiteral("not-named");
    case Status::NotRenamable: return QStringLiteral("not-renamable");
    }
    return QString();
}

const char *statusTextKey(Status status)
{
    switch (status) {
    case Status::Unchanged: return "RenamePreviewUnchanged";
    case Status::Renamed: return "RenamePreviewRenamed";
    case Status::CaseOnly: return "RenamePreviewCaseOnly";
    case Status::Collision: return "RenamePreviewCollisionX";
    case Status::Exists: return "RenamePreviewExists";
    case Status::InvalidName: return "RenamePreviewInvalid";
    case Status::TooLong: return "RenamePreviewTooLong";
    case Status::Failed: return "RenamePreviewFailed";
    case Status::NotNamed: return "RenamePreviewNotNamed";
    case Status::NotRenamable: return "RenamePreviewNotRenamable";
    }
    return "RenamePreviewFailed";
}

QString statusText(const Row &row, const QList<Row> &rows)
{
    const QString text = Localized::text(statusTextKey(row.status));
    if (row.status != Status::Collision)
        return text;
    const bool known = row.takenByRow >= 0 && row.takenByRow < rows.size();
    return text.arg(known ? rows.at(row.takenByRow).oldName : row.newName);
}

} // namespace RenamePreview
