#include "tags/plannedrenames.h"

PlannedRenames::Outcome PlannedRenames::plan(const QString &from, const QString &to)
{
    if (from == to)
        return Outcome::Renamed;
    const FileRename::Status name = FileRename::checkName(to);
    if (name != FileRename::Status::Done)
        return name == FileRename::Status::TooLong ? Outcome::TooLong : Outcome::InvalidName;
    if (m_taken.contains(to))
        return Outcome::Collision;
    FileRename::Status status = FileRename::wouldRename(from, to);
    // The file that has the name now would have moved on by then.
    if (status == FileRename::Status::Exists && m_freed.contains(to))
        status = FileRename::Status::Done;
    switch (status) {
    case FileRename::Status::Done:
        break;
    case FileRename::Status::Exists:
        return Outcome::Exists;
    case FileRename::Status::InvalidName:
        return Outcome::InvalidName;
    case FileRename::Status::TooLong:
        return Outcome::TooLong;
    case FileRename::Status::Failed:
        return Outcome::Failed;
    }
    m_taken.insert(to);
    m_taken.remove(from);
    m_freed.insert(from);
    m_freed.remove(to);
    return Outcome::Renamed;
}

FileRename::Status PlannedRenames::statusOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Renamed: return FileRename::Status::Done;
    case Outcome::Collision:
    case Outcome::Exists: return FileRename::Status::Exists;
    case Outcome::InvalidName: return FileRename::Status::InvalidName;
    case Outcome::TooLong: return FileRename::Status::TooLong;
    case Outcome::Failed: return FileRename::Status::Failed;
    }
    return FileRename::Status::Failed;
}
