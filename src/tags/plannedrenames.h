#pragma once

#include "model/filerename.h"

#include <QSet>
#include <QString>

// The renames of a dry save pass, one after the other, answered as the real pass would meet
// them: besides what FileRename sees on disk now, a name that an earlier rename of the pass
// would take is a collision, and a name that an earlier rename would leave is free by then.
class PlannedRenames {
public:
    enum class Outcome {
        Renamed,
        Collision,   // an earlier rename of the pass takes the name
        Exists,      // another file has the name
        InvalidName,
        TooLong,
        Failed,
    };

    // The outcome of moving the file at from to to after the renames planned before; a rename
    // that would succeed is recorded for the next ones.
    Outcome plan(const QString &from, const QString &to);

    // The status the rename itself reports for an outcome (a collision is a name that exists).
    static FileRename::Status statusOf(Outcome outcome);

private:
    QSet<QString> m_taken;
    QSet<QString> m_freed;
};
