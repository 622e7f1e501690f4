#pragma once

#include "lookup/downloadmanageradvisor.h"

#include <QImage>
#include <QJsonArray>
#include <QList>
#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class Cover;
class DownloadManager;
class DownloadOperation;
class Json2ReleaseWalker;
class ProgressDisplay;
class Release;
class UserInterface;
class UserQuestions;

// Turns a search text into releases with their cover pictures, in three download batches: the
// database search, one request per release found, one per cover picture. Results are gathered
// in temporary lists while the batches hand over and published in one step when the search
// ends. Lives on the main thread, where its batches run too; talks to the user only through its
// questions and its progress sheet, which must outlive it.
class BrowserController : public QObject, public DownloadManagerAdvisor {
    Q_OBJECT

public:
    enum DownloadState { idle = 0, searching = 1, fetchingReleases = 2, loadingCovers = 3 };

    BrowserController(UserQuestions *questions, ProgressDisplay *progress, QObject *parent = nullptr);
    // A front end that has both parts in one object.
    explicit BrowserController(UserInterface *ui, QObject *parent = nullptr);
    ~BrowserController() override;

    const QString &searchString() const { return m_searchString; }
    void setSearchString(const QString &searchString) { m_searchString = searchString; }

    // The published results.
    const QList<std::shared_ptr<Release>> &releases() const { return m_releases; }
    const QList<std::shared_ptr<Cover>> &covers() const { return m_covers; }
    int downloadState() const { return m_downloadState; }
    quint64 targetReleaseCount() const { return m_targetReleaseCount; }
    quint64 targetCoverCount() const { return m_targetCoverCount; }
    qint64 requestsLeft() const { return m_requestsLeft; }
    qint64 requestsLimit() const { return m_requestsLimit; }
    qint64 requestsLimitReset() const { return m_requestsLimitReset; }
    // The items of the last usable search response, or none.
    const std::optional<QJsonArray> &releaseItems() const { return m_releaseItems; }

    // Whether the last search ended on a failure (an alert), and whether any of its answers was
    // 401 (no or wrong credentials).
    bool failed() const { return m_failed; }
    bool sawUnauthorized() const { return m_unauthorized; }
    // The first answer of the last search (to its search or release requests) that was passed
    // over without a message: no connection, a status other than 200 below 500, or an empty
    // body. A search that found nothing and has one could not ask, rather than found nothing,
    // which a caller without the window may want to say.
    struct UnusedAnswer {
        qint64 statusCode = 0;
        QString error;
    };
    const std::optional<UnusedAnswer> &firstUnusedAnswer() const { return m_firstUnusedAnswer; }

    // Starts a search when searchString is not empty.
    void searchDiscogs();
    // The release of the selected cover, or null.
    Release *currentRelease() const;
    QString statusMessage() const;

    // The cover browser's data source.
    qsizetype numberOfItemsInImageFlow() const;
    std::shared_ptr<Cover> imageFlow(qsizetype itemAtIndex) const;
    // "<artist> – <album>\n<genre> (<year>)" of the cover's release.
    static QString labelForCover(const Cover &cover);
    // The tool tip of a cover browser item: the pixel size of the cover's picture, if any.
    static std::optional<QString> toolTipForCover(const Cover &cover);
    qsizetype selectedIndex() const { return m_selectedIndex; }
    void setSelectedIndex(qsizetype index);

    // The address of the web API ("DISCOGS_API_URL", without a trailing slash).
    static QString apiBaseUrl();
    // The database search address for a text, encoded as described at encodeSearchText().
    static QString searchUrl(const QString &text);
    // Percent-encodes UTF-8 bytes of every character outside the letters, digits, the marks
    // - _ . ! ~ * ' ( ) and the reserved characters ; / ? : @ & = + $ , which stay as they are.
    static QString encodeSearchText(const QString &text);
    // The application's picture shown for a placeholder UID.
    static QImage placeholderImage(const QString &uid);

    // DownloadManagerAdvisor
    void trackProgress(quint64 remaining) override;
    bool shallCancel() override;
    void cancel() override;
    void processDownload(const DownloadOperation &download) override;
    void trackCompletion() override;

signals:
    // The published releases and covers were replaced (the status line changes with them).
    void releasesChanged();
    // The cover browser was reloaded; its first item is selected.
    void coversReloaded();
    // The release table must show currentRelease() again.
    void releaseTableReloaded();
    // The user stopped the running search (the progress sheet was dismissed) and its batch has
    // been cancelled; the published results are those of the search before.
    void searchStopped();

private:
    // The stages of a search.
    void doSearchDiscogs();
    void doGetRelease();
    void processSearchResult(const DownloadOperation &operation);
    void processReleases();
    void processRelease(const DownloadOperation &operation);
    void loadImagesOfCovers();
    void processImage(const DownloadOperation &operation);
    void completeDiscogsSearch();
    void updateRequestData(const QList<QPair<QByteArray, QByteArray>> *headers);
    bool handleDiscogsAvailability(qint64 status);

    bool validateObject(bool present, const QString &error);
    void noteUnusedAnswer(const DownloadOperation &operation);
    void processImages(const QJsonArray &images, const std::shared_ptr<Release> &release);
    void addCoverWithImageUID(const QString &uid, const std::shared_ptr<Release> &release);
    void showProgressBar(const std::optional<QString> &text);
    void startStage(int state, const QStringList &urls, const std::optional<QVariantList> &context,
                    quint64 threads);
    // Ends the running search once, after the hand-over in progress, then shows the alert.
    void postFailure(const QString &informativeKey, const QString &detail, bool details);

    UserQuestions *m_questions;
    ProgressDisplay *m_progress;
    QString m_searchString;
    QList<std::shared_ptr<Release>> m_releases;
    QList<std::shared_ptr<Cover>> m_covers;
    std::optional<QList<std::shared_ptr<Release>>> m_releasesTemp;
    std::optional<QList<std::shared_ptr<Cover>>> m_coversTemp;
    std::optional<QJsonArray> m_releaseItems;
    std::shared_ptr<DownloadManager> m_downloadManager;
    // Stops the batch of the current stage, if any, and lets go of it.
    void stopDownload();
    int m_downloadState = idle;
    quint64 m_targetReleaseCount = 0;
    quint64 m_targetCoverCount = 0;
    qint64 m_requestsLeft = 2147483647;
    qint64 m_requestsLimit = 1000;
    qint64 m_requestsLimitReset = 2147483647;
    // Set when a failure has ended the running search; later results of its batch are dropped.
    bool m_failed = false;
    bool m_unauthorized = false;
    std::optional<UnusedAnswer> m_firstUnusedAnswer;
    std::unique_ptr<Json2ReleaseWalker> m_walker;
    qsizetype m_selectedIndex = 0;
};
