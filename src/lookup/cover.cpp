#include "lookup/cover.h"

#include "lookup/release.h"

Cover::Cover(const QString &imageUID)
    : m_fullImagePath(imageUID)
{
    m_imageUID = isPlaceholderUID(imageUID) ? imageUID
                                            : imageUID.mid(imageUID.lastIndexOf(u'/') + 1);
}

bool Cover::isPlaceholderUID(const QString &uid)
{
    return uid == NoImageUID || uid == NotAuthorizedUID || uid == QuotaExceededUID;
}

void Cover::setImage(const QImage &image, const QByteArray &imageData)
{
    m_image = image;
    m_imageData = imageData;
}

void Cover::setRel(Release *rel)
{
    if (m_rel == rel)
        return;
    m_rel = rel;
    if (m_relObserver)
        m_relObserver(*this);
}

QString Cover::description() const
{
    return QStringLiteral("%1 | %2").arg(
        m_fullImagePath, m_rel != nullptr ? m_rel->description() : QStringLiteral("(null)"));
}
