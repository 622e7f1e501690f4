#include "lookup/releaseapplier.h"

#include "editor/editorcontroller.h"
#include "editor/imagecontroller.h"
#include "editor/userquestions.h"
#include "lookup/browsercontroller.h"
#include "lookup/cover.h"
#include "lookup/release.h"
#include "model/localized.h"
#include "model/song.h"
#include "model/userdefaults.h"
#include "tools/allinonecontroller.h"

#include <QBuffer>

ReleaseApplier::ReleaseApplier(BrowserController *browser, EditorController *editor, ImageController *images,
                               AllInOneController *allInOne)
    : m_browser(browser), m_editor(editor), m_images(images), m_allInOne(allInOne)
{
}

Release *ReleaseApplier::current() const
{
    return m_browser->releases().isEmpty() ? nullptr : m_browser->currentRelease();
}

int ReleaseApplier::numberOfRowsInTableView() const
{
    const Release *release = current();
    return release ? int(release->countOfTitles()) : 0;
}

int ReleaseApplier::flagForRow(int row) const
{
    const Release *release = current();
    return release && row >= 0 && row < release->countOfFlags() ? release->objectInFlagsAtIndex(row) : 0;
}

QString ReleaseApplier::cellText(const QString &columnIdentifier, int row) const
{
    const Release *release = current();
    if (!release || row < 0 || row >= release->countOfTitles())
        return {};
    const auto at = [row](const QStringList &list) { return row < list.size() ? list.at(row) : QString(); };
    if (columnIdentifier == QLatin1String("track"))
        return at(release->tracks());
    if (columnIdentifier == QLatin1String("disc"))
        return at(release->discs());
    if (columnIdentifier == QLatin1String("title"))
        return at(release->titles());
    if (columnIdentifier == QLatin1String("artist")) {
        const QString artist = at(release->titleArtists());
        return artist.isEmpty() ? release->artist() : artist;
    }
    if (columnIdentifier == QLatin1String("mapsTo"))
        return flagForRow(row) == 1 ? QStringLiteral("➔") : QString();
    if (columnIdentifier == QLatin1String("targetFile"))
        return getTargetFileForRow(row);
    return {};
}

bool ReleaseApplier::setObjectValue(const QString &columnIdentifier, int row)
{
    Release *release = current();
    if (columnIdentifier != QLatin1String("title") || !release || row < 0 || row >= release->countOfFlags())
        return false;
    release->replaceObjectInFlagsAtIndex(row, release->objectInFlagsAtIndex(row) == 1 ? 0 : 1);
    return true;
}

QString ReleaseApplier::getTargetFileForRow(int row) const
{
    const Release *release = current();
    if (!release || flagForRow(row) != 1)
        return {};
    int k = 0;
    for (int i = 0; i <= row; ++i)
        k += release->objectInFlagsAtIndex(i) == 1 ? 1 : 0;
    const QList<Song *> songs = m_editor->selectedObjects();
    return k <= songs.size() ? songs.at(k - 1)->fileName() : Localized::text("NoneSelected");
}

void ReleaseApplier::setAllFlags(int flag)
{
    Release *release = current();
    if (!release)
        return;
    for (qsizetype i = 0; i < release->countOfFlags(); ++i)
        release->replaceObjectInFlagsAtIndex(i, flag);
}

void ReleaseApplier::checkAll()
{
    setAllFlags(1);
}

void ReleaseApplier::uncheckAll()
{
    setAllFlags(0);
}

bool ReleaseApplier::applySearchResultsToSongs()
{
    const auto cover = m_browser->imageFlow(m_browser->selectedIndex());
    return cover && applyCoverWithReleaseToSelection(cover);
}

bool ReleaseApplier::applyCoverWithReleaseToSelection(const std::shared_ptr<Cover> &cover)
{
    const QList<Song *> songs = m_editor->selectedObjects();
    const Release *release = cover->rel();
    if (!release)
        return false;
    QStringList discs, titles, tracks, artists;
    for (qsizetype i = 0; i < release->countOfFlags(); ++i) {
        if (release->objectInFlagsAtIndex(i) != 1)
            continue;
        discs.append(release->objectInDiscsAtIndex(i));
        titles.append(release->objectInTitlesAtIndex(i));
        tracks.append(release->objectInTracksAtIndex(i));
        artists.append(release->objectInTitleArtistsAtIndex(i));
    }
    const qsizetype s = songs.size();
    const qsizetype n = titles.size();
    qsizetype count = s;
    if (s != n) {
        UserQuestions::Question question;
        question.messageKey = QStringLiteral("AreYouSureYouWantToContinueCopying");
        question.informativeKey = s < n ? QStringLiteral("TheNumberOfSongsSelectedIsLess")
                                        : QStringLiteral("TheNumberOfSongsSelectedIsGreater");
        question.buttonKeys = {QStringLiteral("Cancel"), QStringLiteral("Continue")};
        if (m_editor->questions()->ask(question) == 0)
            return false;
        count = qMin(s, n);
    }
    if (!Cover::isPlaceholderUID(cover->imageUID()) && m_images) {
        QByteArray data = cover->imageData();
        if (data.isEmpty() && !cover->image().isNull()) {
            QBuffer buffer(&data);
            buffer.open(QIODevice::WriteOnly);
            cover->image().save(&buffer, "PNG");
        }
        if (!data.isEmpty())
            m_images->addImageWithData(data);
    }
    m_discStarts.clear();
    qint32 previousDisc = -1;
    for (qsizetype i = 0; i < count; ++i) {
        Song *song = songs.at(i);
        song->setArtist(artists.at(i));
        song->setAlbumArtist(release->artist());
        song->setAlbum(release->album());
        song->setGenre(release->genre());
        song->setYear(release->year());
        song->setDisc(discs.at(i));
        song->setTitle(titles.at(i));
        song->setTrack(tracks.at(i));
        if (song->discNumber() != previousDisc)
            m_discStarts.append(int(i + 1));
        previousDisc = song->discNumber();
    }
    m_discStarts.append(int(count + 1));
    if (m_allInOne && UserDefaults::shared().boolForKey(QStringLiteral("ALL_IN_ONE_AFTER_APPLY")))
        m_allInOne->doAllInOneHonoringDiscNumbers(m_discStarts);
    return true;
}
