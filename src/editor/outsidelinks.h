#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class LinkOpener;
class Song;

// The editor's small outside links: a store search for a song, the songs' files in the file
// manager, the feedback mail and the privacy policy page. The links are built here and handed
// to the opener; the maker's values come from the build's configuration unless given.
class OutsideLinks {
public:
    struct MakerValues {
        // The store's web host without its top-level domain, which the AMAZON_TLD setting adds.
        QString storeHost;
        QString supportAddress;
        QUrl privacyPage;
    };
    static MakerValues configuredValues();

    // One folder and the files of the selection in it, in selection order.
    struct FolderGroup {
        QString folder;
        QStringList filePaths;
        bool operator==(const FolderGroup &) const = default;
    };

    explicit OutsideLinks(LinkOpener *opener, MakerValues values = configuredValues());

    void setOpener(LinkOpener *opener) { m_opener = opener; }
    const MakerValues &values() const { return m_values; }

    // The query text of a store search: the artist, then "+" and the album, or, without an
    // album, "+" and the title.
    static QString storeQuery(const Song &song);
    // The store search link for the song, with the top-level domain given (".com").
    static QUrl storeSearchLink(const Song &song, const QString &storeHost, const QString &topLevelDomain);
    // The selected files grouped by their folder: folders in order of first appearance, the
    // files of each in selection order.
    static QList<FolderGroup> groupByFolder(const QList<Song *> &songs);
    // A mail link to the address with the subject.
    static QUrl mailLink(const QString &address, const QString &subject);

    // Opens the store search for the first song; nothing without songs.
    void searchInAmazon(const QList<Song *> &selected) const;
    // Asks the file manager once per folder to show the songs' files.
    void openInFinder(const QList<Song *> &selected) const;
    // Opens a new mail to the support address, subject the text of "QuorlFeedback".
    void sendFeedback() const;
    void showPrivacyPolicy() const;

private:
    LinkOpener *m_opener;
    MakerValues m_values;
};
