#pragma once

#include <QString>

// Helpers for the error lists of batch operations, which keep the first ten failures in the
// text and count the rest.
namespace ErrorUtil {

// Appends a line telling how many failures beyond the first ten there were: nothing for a count
// of 10 or less, "one more" for 11, the count minus 10 from 12 on.
void appendEllipsisToMessage(QString *message, quint64 withErrorCount);

} // namespace ErrorUtil
