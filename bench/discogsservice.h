#pragma once

#include <QByteArray>
#include <QString>

class HttpTestServer;

// The web service a search talks to, played by the scripted HTTP server: every request is
// answered after the same delay. The search finds `releases` releases, each with a track list
// of `tracksPerRelease` songs and `coversPerRelease` cover pictures (small real JPEGs) served by the same server.
struct DiscogsService {
    int releases = 10;
    int coversPerRelease = 3;
    int tracksPerRelease = 12;
    int delayMs = 100;

    // Scripts the answers of every route on the server.
    void serveOn(HttpTestServer &server) const;
    // Scripts the server and makes it the web service of the lookup (the benchmark's settings);
    // empty, or what went wrong.
    QString standIn(HttpTestServer &server) const;

    // The text searched for; not a release number, so the search request is made.
    static QString searchText() { return QStringLiteral("benchmark album"); }
    // The requests one search makes: the search, one per release, one per cover.
    int requestCount() const { return 1 + releases + releases * coversPerRelease; }

    static QByteArray searchDocument(const QString &baseUrl, int releases);
    static QByteArray releaseDocument(const QString &baseUrl, int release, int tracks, int covers);
    // A JPEG made with QImage, in a shade of its own for each cover.
    static QByteArray coverJpeg(int release, int cover);
};
