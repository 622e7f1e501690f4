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
        if (!isNumber || start < 1 || (!starts.isEmpty() && start <= starts.constLast()))
            return badStarts(text);
        starts.append(start);
    }
    return starts;
}

Result<QList<int>> segmentStarts(const QList<int> &starts, int songCount)
{
    QList<int> segments = starts;
    if (segments.isEmpty() || segments.constFirst() != 1)
        segments.prepend(1);
    if (songCount > 0 && segments.constLast() > songCount)
        return Error{ErrorCode::InvalidArgument,
                     Localized::text("CliDiscStartBeyondSongsXY").arg(segments.constLast()).arg(songCount)};
    segments.append(songCount + 1);
    return segments;
}

} // namespace DiscStarts
