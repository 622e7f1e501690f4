#pragma once

#include "model/result.h"

#include <QList>
#include <QString>

// The --disc-starts option of "number" and "all-in-one": the 1-based positions in the song list
// where a disc begins ("1,4,9"). The first disc always begins at 1, whether it is given or not.
namespace DiscStarts {

inline constexpr const char *OptionName = "disc-starts";

// Positive integers separated by commas, strictly ascending; a usage error otherwise.
Result<QList<int>> parse(const QString &text);
// The segment starts the numbering takes for that many songs: 1, the given starts, then the
// count plus 1. A usage error when a start lies beyond the last song.
Result<QList<int>> segmentStarts(const QList<int> &starts, int songCount);

} // namespace DiscStarts
