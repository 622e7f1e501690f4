#include "lookup/browsercontroller.h"

#include "editor/userinterface.h"
#include "lookup/cover.h"
#include "lookup/downloadmanager.h"
#include "lookup/downloadoperation.h"
#include "lookup/json2releasewalker.h"
#include "lookup/jsonreader.h"
#include "lookup/release.h"
#include "model/localized.h"
#include "model/picturedata.h"
#include "model/userdefaults.h"

#include <QFileInfo>
#include <QJsonObject>
#include <QColor>
#include <QRegularExpression>
#include <QUrl>

namespace {

constexpr qint64 NoHeaderSeen = 2147483647;

QString keyText(const char *key)
{
    return Localized::text(key);
}

} // namespace

BrowserController::BrowserController(UserInterface *ui, QObject *parent)
    : BrowserController(ui, ui, parent)
{
}

BrowserController::BrowserController(UserQuestions *questions, ProgressDisplay *progress, QObject *parent)
    : QObject(parent), m_questions(questions), m_progress(progress), m_walker(std::make_unique<Json2ReleaseWalker>())
{
}

BrowserController::~BrowserController()
{
    // A running batch calls its advisor until it ends.
    stopDownload();
}

void BrowserController::stopDownload()
{
    if (m_downloadManager)
        m_downloadManager->stop();
    m_downloadManager.reset();
}

QString BrowserController::apiBaseUrl()
{
    QString base = UserDefaults::shared().stringForKey(QStringLiteral("DISCOGS_API_URL"));
    if (base.isEmpty())
        base = QStringLiteral("https://api.discogs.com");
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QString BrowserController::encodeSearchText(const QString &text)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(text, "!*'();/?:@&=+$,"));
}

QString BrowserController::searchUrl(const QString &text)
{
    return apiBaseUrl() + QStringLiteral("/database/search?q=%1&type=release").arg(encodeSearchText(text));
}

QImage BrowserController::placeholderImage(const QString &uid)
{
    // A plain square in a shade of its own for each placeholder; drawn without fonts, so that it
    // can be made where no GUI application runs (the command line).
    QColor colour(0x80, 0x80, 0x80);
    if (uid == NotAuthorizedUID)
        colour = QColor(0xa0, 0x60, 0x60);
    else if (uid == QuotaExceededUID)
        colour = QColor(0x60, 0x60, 0xa0);
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

void BrowserController::searchDiscogs()
{
    if (!m_searchString.isEmpty())
        doSearchDiscogs();
}

void BrowserController::doSearchDiscogs()
{
    // The batch of a search that a failure has ended may still be handing over.
    stopDownload();
    m_releasesTemp.emplace();
    m_coversTemp.emplace();
    m_firstUnusedAnswer.reset();
    // A new search never falls back on the items of an earlier one.
    m_releaseItems.reset();
    m_failed = false;
    m_unauthorized = false;
    m_progress->setProgressText(keyText("SearchingDiscogsForX").arg(m_searchString));
    showProgressBar(keyText("FetchingReleaseInformation"));
    static const QRegularExpression digits(QStringLiteral("\\A[0-9]+\\z"));
    if (digits.match(m_searchString).hasMatch()) {
        doGetRelease();
        return;
    }
    startStage(searching, {searchUrl(m_searchString)}, std::nullopt, 1);
}

void BrowserController::doGetRelease()
{
    QJsonObject item;
    item.insert(QStringLiteral("resource_url"), apiBaseUrl() + QStringLiteral("/releases/") + m_searchString);
    m_releaseItems = QJsonArray{item};
    m_downloadState = searching;
    processReleases();
}

void BrowserController::startStage(int state, const QStringList &urls,
                                   const std::optional<QVariantList> &context, quint64 threads)
{
    m_downloadState = state;
    auto manager = DownloadManager::create(urls, context, this, threads, 0);
    m_downloadManager = manager;
    manager->startDownload();
}

void BrowserController::processDownload(const DownloadOperation &download)
{
    if (download.statusCode() == 401)
        m_unauthorized = true;
    switch (m_downloadState) {
    case searching:
        processSearchResult(download);
        break;
    case fetchingReleases:
        processRelease(download);
        break;
    case loadingCovers:
        processImage(download);
        break;
    default:
        break;
    }
}

void BrowserController::trackCompletion()
{
    m_downloadManager.reset();
    // A failure ends the search once this hand-over is over (postFailure()).
    if (m_failed)
        return;
    switch (m_downloadState) {
    case searching:
        processReleases();
        break;
    case fetchingReleases:
        loadImagesOfCovers();
        break;
    case loadingCovers:
        completeDiscogsSearch();
        break;
    default:
        break;
    }
}

void BrowserController::updateRequestData(const QList<QPair<QByteArray, QByteArray>> *headers)
{
    if (!headers) {
        m_requestsLeft = 0;
        return;
    }
    const auto lower = [&](const char *name, qint64 &field) {
        for (const auto &header : *headers) {
            if (header.first.compare(name, Qt::CaseInsensitive) != 0)
                continue;
            bool ok = false;
            const qint64 value = header.second.trimmed().toLongLong(&ok);
            if (ok && value < field)
                field = value;
        }
    };
    lower("X-Ratelimit-Remaining", m_requestsLeft);
    lower("X-Ratelimit-Limit", m_requestsLimit);
    lower("X-Ratelimit-Reset", m_requestsLimitReset);
}

bool BrowserController::handleDiscogsAvailability(qint64 status)
{
    if (status < 500)
        return true;
    postFailure(QStringLiteral("DiscogsUnavailableAtPresent"), {}, false);
    return false;
}

bool BrowserController::validateObject(bool present, const QString &error)
{
    if (present && error.isEmpty())
        return true;
    postFailure(QStringLiteral("MakeSureYouAreConnectedToInternet"),
                error.isEmpty() ? keyText("MakeSureYouAreConnectedToInternet") : error, true);
    return false;
}

void BrowserController::postFailure(const QString &informativeKey, const QString &detail, bool details)
{
    // Only the first failure ends the search: a second completion would publish empty lists.
    // Posted, so that the hand-over in progress ends first; what it brings after the failure is
    // dropped, and its completion leaves the ending to this.
    const bool first = !m_failed;
    m_failed = true;
    QMetaObject::invokeMethod(this, [this, first, informativeKey, detail, details] {
        if (first)
            completeDiscogsSearch();
        UserQuestions::Question question;
        question.messageKey = QStringLiteral("QuorlCouldNotQueryDiscogs");
        question.informativeKey = informativeKey;
        question.buttonKeys = {QStringLiteral("OK")};
        if (details)
            question.buttonKeys.append(QStringLiteral("ShowDetails"));
        if (m_questions->ask(question) == 1 && details)
            m_questions->presentError(detail);
    }, Qt::QueuedConnection);
}

void BrowserController::processSearchResult(const DownloadOperation &operation)
{
    updateRequestData(&operation.responseHeaders());
    if (!handleDiscogsAvailability(operation.statusCode()))
        return;
    if (operation.statusCode() != 200 || operation.data().isEmpty()) {
        noteUnusedAnswer(operation);
        return;
    }
    const auto parsed = JsonReader::parse(operation.data());
    QString error = parsed ? QString() : parsed.error().detail;
    if (error.isEmpty() && operation.error())
        error = operation.error()->description;
    if (!validateObject(parsed.ok(), error))
        return;
    const QJsonValue results = parsed.value().object().value(QStringLiteral("results"));
    if (!validateObject(results.isArray(), error))
        return;
    m_releaseItems = results.toArray();
}

void BrowserController::noteUnusedAnswer(const DownloadOperation &operation)
{
    if (!m_firstUnusedAnswer)
        m_firstUnusedAnswer = UnusedAnswer{operation.statusCode(),
                                           operation.error() ? operation.error()->description : QString()};
}

void BrowserController::processReleases()
{
    if (!m_releaseItems || m_releaseItems->isEmpty()) {
        completeDiscogsSearch();
        return;
    }
    showProgressBar(keyText(m_releaseItems->size() == 1 ? "WaitingToDownloadRelease" : "WaitingToDownloadReleases"));
    m_targetReleaseCount = 0;
    m_targetCoverCount = 0;
    QStringList urls;
    for (const QJsonValue &item : *m_releaseItems) {
        const QJsonValue url = item.toObject().value(QStringLiteral("resource_url"));
        if (!url.isString())
            continue;
        urls.append(url.toString());
        ++m_targetReleaseCount;
    }
    startStage(fetchingReleases, urls, std::nullopt, 4);
}

void BrowserController::processRelease(const DownloadOperation &operation)
{
    updateRequestData(&operation.responseHeaders());
    if (!handleDiscogsAvailability(operation.statusCode()))
        return;
    if (m_failed)
        return;
    if (operation.statusCode() != 200 || operation.data().isEmpty()) {
        noteUnusedAnswer(operation);
        return;
    }
    const auto parsed = JsonReader::parse(operation.data());
    QString error = parsed ? QString() : parsed.error().detail;
    if (!validateObject(parsed.ok() && parsed.value().isObject(), error))
        return;
    const QJsonObject document = parsed.value().object();
    if (UserDefaults::shared().boolForKey(QStringLiteral("SEARCH_FOR_CDS_ONLY"))) {
        bool isCD = false;
        for (const QJsonValue &format : document.value(QStringLiteral("formats")).toArray())
            isCD = isCD || format.toObject().value(QStringLiteral("name")).toString().compare(
                               QStringLiteral("CD"), Qt::CaseInsensitive) == 0;
        if (!isCD)
            return;
    }
    std::shared_ptr<Release> release = m_walker->walkJson(document);
    if (!release)
        return;
    const QJsonArray images = document.value(QStringLiteral("images")).toArray();
    processImages(images, release);
    if (images.isEmpty())
        addCoverWithImageUID(NoImageUID, release);
    if (m_releasesTemp && !m_failed)
        m_releasesTemp->append(release);
}

void BrowserController::processImages(const QJsonArray &images, const std::shared_ptr<Release> &release)
{
    for (const QJsonValue &image : images) {
        const QJsonValue uri = image.toObject().value(QStringLiteral("uri"));
        if (!uri.isString())
            continue;
        // The service sends empty addresses to clients without a token: nothing to fetch.
        if (uri.toString().isEmpty()) {
            addCoverWithImageUID(NoImageUID, release);
            continue;
        }
        ++m_targetCoverCount;
        addCoverWithImageUID(uri.toString(), release);
    }
}

void BrowserController::addCoverWithImageUID(const QString &uid, const std::shared_ptr<Release> &release)
{
    auto cover = std::make_shared<Cover>(uid);
    release->addCover(cover);
    cover->setRel(release.get());
    if (m_coversTemp && !m_failed)
        m_coversTemp->append(cover);
}

void BrowserController::loadImagesOfCovers()
{
    const QList<std::shared_ptr<Cover>> covers = m_coversTemp.value_or(QList<std::shared_ptr<Cover>>{});
    if (covers.isEmpty()) {
        completeDiscogsSearch();
        return;
    }
    showProgressBar(keyText(covers.size() == 1 ? "WaitingToDownloadCover" : "WaitingToDownloadCovers"));
    QStringList urls;
    QVariantList context;
    for (const auto &cover : covers) {
        if (cover->imageUID().isEmpty() || Cover::isPlaceholderUID(cover->imageUID())) {
            cover->setImage(placeholderImage(cover->imageUID().isEmpty() ? QString(NoImageUID) : cover->imageUID()));
            continue;
        }
        urls.append(cover->fullImagePath());
        context.append(QVariant::fromValue(cover.get()));
    }
    // The covers stay alive in coversTemp until the batch has handed them over.
    startStage(loadingCovers, urls, context, 4);
}

void BrowserController::processImage(const DownloadOperation &operation)
{
    updateRequestData(&operation.responseHeaders());
    if (!handleDiscogsAvailability(operation.statusCode()))
        return;
    auto *cover = operation.context().value<Cover *>();
    if (!cover || m_failed)
        return;
    const QString extension = QFileInfo(operation.url().path()).suffix().toLower();
    const QByteArray &data = operation.data();
    bool accepted = operation.statusCode() == 200 && !data.isEmpty();
    if (accepted && (extension == QLatin1String("jpg") || extension == QLatin1String("jpeg")))
        accepted = PictureData::isValidJPEG(data);
    else if (accepted && extension == QLatin1String("png"))
        accepted = PictureData::isValidPNG(data);
    if (accepted) {
        QImage image = QImage::fromData(data);
        PictureData::makePixelSized(image);
        if (!image.isNull()) {
            cover->setImage(image, data);
            return;
        }
    }
    QString uid;
    if (operation.statusCode() == 401)
        uid = NotAuthorizedUID;
    else if (m_requestsLeft != 0 && operation.statusCode() != 429)
        uid = NoImageUID;
    else
        uid = QuotaExceededUID;
    cover->setImageUID(uid);
    cover->setImage(placeholderImage(uid));
}

void BrowserController::completeDiscogsSearch()
{
    m_releases = m_releasesTemp.value_or(QList<std::shared_ptr<Release>>{});
    m_covers = m_coversTemp.value_or(QList<std::shared_ptr<Cover>>{});
    m_releasesTemp.reset();
    m_coversTemp.reset();
    emit releasesChanged();
    m_selectedIndex = 0;
    emit coversReloaded();
    emit releaseTableReloaded();
    m_downloadState = idle;
    showProgressBar(std::nullopt);
    m_questions->postNotification(keyText("SearchCompleted"), m_searchString);
}

void BrowserController::trackProgress(quint64 remaining)
{
    const char *key = nullptr;
    quint64 target = 0;
    if (m_downloadState == fetchingReleases) {
        key = "ProcessingNReleases";
        target = m_targetReleaseCount;
    } else if (m_downloadState == loadingCovers) {
        key = "LoadingNCovers";
        target = m_targetCoverCount;
    }
    if (!key || remaining >= target)
        return;
    showProgressBar(keyText(key).arg(remaining));
}

void BrowserController::showProgressBar(const std::optional<QString> &text)
{
    if (text) {
        m_progress->showProgressSheet();
        m_progress->setProgressSubText(*text);
    } else {
        m_progress->setProgressSubText(QString());
        m_progress->endProgressSheet();
    }
}

bool BrowserController::shallCancel()
{
    return m_progress->isIdle();
}

void BrowserController::cancel()
{
    m_downloadState = idle;
    m_releasesTemp.reset();
    m_coversTemp.reset();
    m_downloadManager.reset();
    // Last: a listener may let this browser go (with deleteLater()).
    emit searchStopped();
}

Release *BrowserController::currentRelease() const
{
    if (m_selectedIndex < 0 || m_selectedIndex >= m_covers.size())
        return nullptr;
    return m_covers.at(m_selectedIndex)->rel();
}

void BrowserController::setSelectedIndex(qsizetype index)
{
    m_selectedIndex = index;
    emit releaseTableReloaded();
}

qsizetype BrowserController::numberOfItemsInImageFlow() const
{
    return m_covers.size();
}

std::shared_ptr<Cover> BrowserController::imageFlow(qsizetype itemAtIndex) const
{
    return itemAtIndex >= 0 && itemAtIndex < m_covers.size() ? m_covers.at(itemAtIndex) : nullptr;
}

QString BrowserController::labelForCover(const Cover &cover)
{
    const Release *release = cover.rel();
    if (!release)
        return {};
    return QStringLiteral("%1 – %2\n%3 (%4)")
        .arg(release->artist(), release->album(), release->genre(), QString::number(release->year()));
}

std::optional<QString> BrowserController::toolTipForCover(const Cover &cover)
{
    return PictureData::pixelSize(cover.image());
}

QString BrowserController::statusMessage() const
{
    const auto &releases = m_releases;
    const auto &covers = m_covers;
    QString message;
    if (releases.isEmpty())
        message = keyText("NoSearchResultsFound");
    else if (releases.size() == 1)
        message = keyText("1SearchResult");
    else
        message = keyText("NSearchResults").arg(quint64(releases.size()));
    if (!releases.isEmpty()) {
        quint32 real = 0;
        for (const auto &cover : covers)
            real += Cover::isPlaceholderUID(cover->imageUID()) ? 0 : 1;
        if (covers.isEmpty() || (covers.size() == 1 && real == 0))
            message += keyText("NoCovers");
        else if (covers.size() == 1)
            message += keyText("1Cover");
        else
            message += keyText("NCovers").arg(real);
    }
    const qint64 left = m_requestsLeft;
    if (left == NoHeaderSeen || left == 1000)
        return message;
    if (left == 0) {
        const qint64 reset = m_requestsLimitReset;
        message += keyText("NoImageRequestsLeftTodayResetInTimeX").arg(reset / 3600).arg((reset / 60) % 60);
    } else if (left == 1) {
        message += keyText("1ImageRequestLeftToday");
    } else {
        message += keyText("NImageRequestsLeftToday").arg(left);
    }
    return message;
}
