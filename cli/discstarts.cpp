#include "discstarts.h"

#include "model/localized.h"

namespace DiscStarts {

namespace {

Error badStarts(const QString &text)
{
    return Error{ErrorCode::InvalidArgument,
                 Localized::text("CliBadOptionValueXY").arg(text, QStringLiteral("--") + QLatin1String(OptionName))};
}

} // namespace

Result<QList<int>> parse(const QString &text)
{
    QList<int> starts;
    for (const QString &part : text.split(QLatin1Char(','))) {
        bool isNumber = false;
        const int start = part.trimmed().toInt(&isNumber);
        const int lowest = starts.isEmpty() ? 1 : starts.constLast() + 1;
        // The first disc begins with the first song; a list that starts later would leave the
        // songs before it out of every disc.
        if (!isNumber || start < lowest || (starts.isEmpty() && start != 1))
            return badStarts(text);
        starts.append(start);
    }
    return starts;
}

Result<QList<int>> segmentStarts(const QList<int> &starts, int songCount)
{
    const int end = songCount + 1;
    if (starts.constLast() > end)
        return Error{ErrorCode::InvalidArgument,
                     Localized::text("CliDiscStartBeyondSongsXY").arg(starts.constLast()).arg(songCount)};
    QList<int> segments = starts;
    if (segments.constLast() != end)
        segments.append(end);
    return segments;
}

} // namespace DiscStarts
