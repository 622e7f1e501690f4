#pragma once

#include <QByteArray>
#include <QImage>
#include <QLatin1String>
#include <QString>

#include <functional>

class Release;

// The picture identifiers that stand for a missing picture; each is also the name of the
// application's picture shown in its place.
inline constexpr QLatin1String NoImageUID("no_image");
inline constexpr QLatin1String NotAuthorizedUID("not_authorized");
inline constexpr QLatin1String QuotaExceededUID("quota_exceeded");

// One picture of a release: the item the cover browser shows. A release owns its covers (shared,
// so the browser's list may hold them too); a cover refers back to its release without owning
// it. Not synchronized: built on one thread, then handed over whole.
class Cover {
public:
    // A placeholder UID is kept as it is; otherwise uid is the picture's URL, the UID is its last
    // path component and the URL is kept as fullImagePath.
    explicit Cover(const QString &imageUID);
    Cover(const Cover &) = delete;
    Cover &operator=(const Cover &) = delete;

    static bool isPlaceholderUID(const QString &uid);

    // The downloaded picture or the placeholder picture; null until loaded.
    const QImage &image() const { return m_image; }
    // The encoded bytes of a downloaded picture; empty for a placeholder.
    const QByteArray &imageData() const { return m_imageData; }
    void setImage(const QImage &image, const QByteArray &imageData = {});

    const QString &imageUID() const { return m_imageUID; }
    void setImageUID(const QString &imageUID) { m_imageUID = imageUID; }
    const QString &fullImagePath() const { return m_fullImagePath; }
    void setFullImagePath(const QString &fullImagePath) { m_fullImagePath = fullImagePath; }

    Release *rel() const { return m_rel; }
    // Tells the observer when the release actually changes.
    void setRel(Release *rel);
    using RelObserver = std::function<void(Cover &cover)>;
    void setRelObserver(RelObserver observer) { m_relObserver = std::move(observer); }

    // "<fullImagePath> | <release description>", "(null)" for no release. For logs.
    QString description() const;

private:
    QImage m_image;
    QByteArray m_imageData;
    QString m_imageUID;
    QString m_fullImagePath;
    Release *m_rel = nullptr;
    RelObserver m_relObserver;
};
