#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <memory>

class Release;

// Builds a Release from the JSON document of one release of the web API: which entries become
// track rows, how positions become disc and track numbers, which artist a row gets and how a
// featured artist enters the title. Stateless; any thread. A value of an unexpected JSON type
// (null, a number where text is expected, an object where a list is expected) counts as absent.
class Json2ReleaseWalker {
public:
    // The release, or null when the document has no "tracklist" list.
    std::unique_ptr<Release> walkJson(const QJsonObject &document) const;

    // The name of the first entry of "artists"; empty when there is none.
    QString artist(const QJsonObject &object) const;
    // The name of the first entry of the track's "extraartists" whose role is exactly
    // "Featuring"; empty when there is none or it has no name.
    QString featuringArtist(const QJsonObject &track) const;
    // True when one entry of type "track" has a position other than digits, digits-digits or a
    // letter followed by digits; such a release is numbered 1, 2, 3 … on disc 1.
    bool areTracksInconsistent(const QJsonArray &tracks) const;
    // "A01" → "1", "B12" → "12", "2-05" → "5"; other positions unchanged ("07" stays "07").
    QString normalizedTrack(const QString &position) const;
    // "A3" → "1", "B1" → "2" (each side a disc of its own), "2-05" → "2"; otherwise "1".
    QString normalizedDisc(const QString &position) const;
    // Drops the " (n)" the database appends to names it has several of: "Artist (2)" →
    // "Artist"; "Artist (Live)" and "Artist(2)" stay.
    QString removeTrailingDiscogsParentheses(const QString &text) const;
};
