#include "discogsservice.h"

#include "httptestserver.h"

#include "model/userdefaults.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString releasePath(int release)
{
    return QStringLiteral("/releases/%1").arg(release);
}

QString coverPath(int release, int cover)
{
    return QStringLiteral("/images/R-%1-%2.jpg").arg(release).arg(cover);
}

} // namespace

QByteArray DiscogsService::searchDocument(const QString &baseUrl, int releases)
{
    QJsonArray results;
    for (int release = 1; release <= releases; ++release)
        results.append(QJsonObject{
            {QStringLiteral("id"), release},
            {QStringLiteral("type"), QStringLiteral("release")},
            {QStringLiteral("title"), QStringLiteral("Artist %1 - Album %1").arg(release)},
            {QStringLiteral("resource_url"), baseUrl + releasePath(release)},
        });
    return QJsonDocument(QJsonObject{{QStringLiteral("results"), results}}).toJson(QJsonDocument::Compact);
}

QByteArray DiscogsService::releaseDocument(const QString &baseUrl, int release, int tracks, int covers)
{
    QJsonArray trackList;
    for (int track = 1; track <= tracks; ++track)
        trackList.append(QJsonObject{
            {QStringLiteral("type_"), QStringLiteral("track")},
            {QStringLiteral("position"), QString::number(track)},
            {QStringLiteral("title"), QStringLiteral("Song %1 of album %2").arg(track).arg(release)},
            {QStringLiteral("duration"), QStringLiteral("3:%1").arg(10 + track)},
        });
    QJsonArray images;
    for (int cover = 0; cover < covers; ++cover)
        images.append(QJsonObject{
            {QStringLiteral("type"), cover == 0 ? QStringLiteral("primary") : QStringLiteral("secondary")},
            {QStringLiteral("uri"), baseUrl + coverPath(release, cover)},
            {QStringLiteral("width"), 240},
            {QStringLiteral("height"), 240},
        });
    const QJsonObject document{
        {QStringLiteral("id"), release},
        {QStringLiteral("title"), QStringLiteral("Album %1").arg(release)},
        {QStringLiteral("year"), 1990 + release},
        {QStringLiteral("artists"), QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("Artist %1").arg(release)}}}},
        {QStringLiteral("genres"), QJsonArray{QStringLiteral("Jazz")}},
        {QStringLiteral("formats"), QJsonArray{QJsonObject{{QStringLiteral("name"), QStringLiteral("CD")}}}},
        {QStringLiteral("tracklist"), trackList},
        {QStringLiteral("images"), images},
    };
    return QJsonDocument(document).toJson(QJsonDocument::Compact);
}

QByteArray DiscogsService::coverJpeg(int release, int cover)
{
    QImage image(240, 240, QImage::Format_RGB32);
    image.fill(QColor::fromHsv((release * 37 + cover * 11) % 360, 160, 200));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 85);
    return bytes;
}

QString DiscogsService::standIn(HttpTestServer &server) const
{
    if (!server.isListening())
        return QStringLiteral("the local server could not listen");
    serveOn(server);
    UserDefaults::shared().setObject(server.url(QString()), QStringLiteral("DISCOGS_API_URL"));
    return {};
}

void DiscogsService::serveOn(HttpTestServer &server) const
{
    const QString baseUrl = server.url(QString());
    const auto delayed = [this](const QByteArray &body, const QByteArray &type) {
        HttpTestResponse response = HttpTestResponse::withBody(body);
        response.headers.append({"Content-Type", type});
        response.delayMs = delayMs;
        return response;
    };
    // The query of the search is not looked at: the path alone matches.
    server.setResponse(QStringLiteral("/database/search"), delayed(searchDocument(baseUrl, releases), "application/json"));
    for (int release = 1; release <= releases; ++release) {
        server.setResponse(releasePath(release),
                           delayed(releaseDocument(baseUrl, release, tracksPerRelease, coversPerRelease), "application/json"));
        for (int cover = 0; cover < coversPerRelease; ++cover)
            server.setResponse(coverPath(release, cover), delayed(coverJpeg(release, cover), "image/jpeg"));
    }
}
