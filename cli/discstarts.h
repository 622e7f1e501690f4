#pragma once

#include "model/result.h"

#include <QList>
#include <QString>

// The --disc-starts option of "number" and "all-in-one": the 1-based positions in the song list
// where a disc begins, as the numbering tool takes them ("1,4,9" for 8 songs: the last element is
// the song count plus 1), or the same list without its last element ("1,4").
namespace DiscStarts {

inline constexpr const char *OptionName = "disc-starts";

// Positive integers separated by commas, starting at 1 and strictly ascending; a usage error
// otherwise.
Result<QList<int>> parse(const QString &text);
// The segment starts the numbering takes for that many songs: the list as given when it ends
// with the count plus 1, else the list with the count plus 1 added. A usage error when a start
// lies beyond the count plus 1.
Result<QList<int>> segmentStarts(const QList<int> &starts, int songCount);

} // namespace DiscStarts
