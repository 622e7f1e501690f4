#include "sortoption.h"

#include "model/localized.h"

namespace SortOption {

const QStringList &keys()
{
    static const QStringList properties = {
        QStringLiteral("fileName"),    QStringLiteral("filePath"), QStringLiteral("track"),
        QStringLiteral("title"),       QStringLiteral("artist"),   QStringLiteral("albumArtist"),
        QStringLiteral("composer"),    QStringLiteral("album"),    QStringLiteral("disc"),
        QStringLiteral("genre"),       QStringLiteral("year"),     QStringLiteral("comment"),
        QStringLiteral("isCompilation"), QStringLiteral("bitrate"), QStringLiteral("length"),
    };
    return properties;
}

Result<QList<SortDescriptor>> parse(const QString &text)
{
    QList<SortDescriptor> descriptors;
    for (const QString &part : text.split(QLatin1Char(','))) {
        SortDescriptor descriptor;
        descriptor.ascending = !part.startsWith(QLatin1Char('-'));
        descriptor.key = descriptor.ascending ? part : part.mid(1);
        if (!keys().contains(descriptor.key))
            return Error{ErrorCode::InvalidArgument,
                         Localized::text("CliBadChoiceXYZ")
                             .arg(part, QStringLiteral("--sort"), keys().join(QStringLiteral(", ")))};
        descriptors.append(descriptor);
    }
    return descriptors;
}

} // namespace SortOption
