#pragma once

#include <QString>

// Track and disc numbers as texts, with or without leading zeros: the numbering tool writes
// them so, and the MP4 reader shows the numbers it reads so.
namespace NumberText {

// The number in decimal; if ifDesired, zero-padded to the width for the count (2 digits below
// 100, then one more digit per power of ten up to 6 from 100000).
QString addLeadingZerosToNumber(qint32 number, qint32 forCount, bool ifDesired);
// "/" and the count; if ifDesired and the count is below 10, "/0" and the count.
QString addLeadingZerosAndSlashToCount(qint32 count, bool ifDesired);

} // namespace NumberText
