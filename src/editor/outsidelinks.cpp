#include "editor/outsidelinks.h"

#include "editor/linkopener.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"

#include <quorlversion.h>

namespace {

// Percent-escaping for a link: everything but the unreserved characters, with the given
// characters also left as they are.
QString escaped(const QString &text, const QByteArray &keep = {})
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

QString folderOf(const QString &filePath)
{
    const qsizetype slash = filePath.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QString();
    if (slash == 0)
        return QStringLiteral("/");
    return filePath.left(slash);
}

} // namespace

OutsideLinks::MakerValues OutsideLinks::configuredValues()
{
    return {QStringLiteral(QUORL_STORE_HOST), QStringLiteral(QUORL_SUPPORT_ADDRESS),
            QUrl(QStringLiteral(QUORL_PRIVACY_URL))};
}

OutsideLinks::OutsideLinks(LinkOpener *opener, MakerValues values)
    : m_opener(opener)
    , m_values(std::move(values))
{
}

QString OutsideLinks::storeQuery(const Song &song)
{
    QString query = song.artist();
    if (!song.album().isEmpty())
        query += QStringLiteral("+%1").arg(song.album());
    else if (!song.title().isEmpty())
        query += QStringLiteral("+%1").arg(song.title());
    return query;
}

QUrl OutsideLinks::storeSearchLink(const Song &song, const QString &storeHost, const QString &topLevelDomain)
{
    // The "+" between the parts stays a separator of the search words.
    // The value of "url" carries an escaped equals sign.
    const QString text = QStringLiteral("http://") + storeHost + topLevelDomain
                         + QStringLiteral("/s?url=search-alias%3Daps&field-keywords=") + escaped(storeQuery(song), "+");
    return QUrl(text, QUrl::StrictMode);
}

QList<OutsideLinks::FolderGroup> OutsideLinks::groupByFolder(const QList<Song *> &songs)
{
    QList<FolderGroup> groups;
    for (const Song *song : songs) {
        const QString folder = folderOf(song->filePath());
        auto found = std::find_if(groups.begin(), groups.end(),
                                  [&folder](const FolderGroup &group) { return group.folder == folder; });
        if (found == groups.end())
            groups.append({folder, {song->filePath()}});
        else
            found->filePaths.append(song->filePath());
    }
    return groups;
}

QUrl OutsideLinks::mailLink(const QString &address, const QString &subject)
{
    return QUrl(QStringLiteral("mailto:%1?SUBJECT=%2").arg(escaped(address, "@"), escaped(subject)),
                QUrl::StrictMode);
}

void OutsideLinks::searchInAmazon(const QList<Song *> &selected) const
{
    if (selected.isEmpty() || !m_opener)
        return;
    const QString topLevelDomain = UserDefaults::shared().stringForKey(QStringLiteral("AMAZON_TLD"));
    m_opener->openLink(storeSearchLink(*selected.first(), m_values.storeHost, topLevelDomain));
}

void OutsideLinks::openInFinder(const QList<Song *> &selected) const
{
    if (!m_opener)
        return;
    for (const FolderGroup &group : groupByFolder(selected))
        m_opener->revealFiles(group.folder, group.filePaths);
}

void OutsideLinks::sendFeedback() const
{
    if (m_opener)
        m_opener->openLink(mailLink(m_values.supportAddress, Localized::text("QuorlFeedback")));
}

void OutsideLinks::showPrivacyPolicy() const
{
    if (m_opener)
        m_opener->openLink(m_values.privacyPage);
}
