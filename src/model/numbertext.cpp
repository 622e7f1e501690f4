#include "model/numbertext.h"

namespace NumberText {

namespace {

int widthForCount(qint32 count)
{
    if (count >= 100000)
        return 6;
    if (count >= 10000)
        return 5;
    if (count >= 1000)
        return 4;
    if (count >= 100)
        return 3;
    return 2;
}

} // namespace

QString addLeadingZerosToNumber(qint32 number, qint32 forCount, bool ifDesired)
{
    if (!ifDesired)
        return QString::number(number);
    return QStringLiteral("%1").arg(number, widthForCount(forCount), 10, QLatin1Char('0'));
}

QString addLeadingZerosAndSlashToCount(qint32 count, bool ifDesired)
{
    if (ifDesired && count < 10)
        return QStringLiteral("/0") + QString::number(count);
    return QStringLiteral("/") + QString::number(count);
}

} // namespace NumberText
