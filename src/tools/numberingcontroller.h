#pragma once

#include <QString>
#include <QtGlobal>

// The track-numbering tool. The two formatting operations are shared with the tag readers,
// which build track and disc texts from integer pairs the same way.
class NumberingController {
public:
    // The number in decimal; if ifDesired, zero-padded to the width for the count (2 digits
    // below 100, then one more digit per power of ten up to 6 from 100000).
    static QString addLeadingZerosToNumber(qint32 number, qint32 forCount, bool ifDesired);
    // "/" and the count; if ifDesired and the count is below 10, "/0" and the count.
    static QString addLeadingZerosAndSlashToCount(qint32 count, bool ifDesired);
};
