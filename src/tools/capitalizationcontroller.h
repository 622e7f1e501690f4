#pragma once

#include <QList>
#include <QString>

#include <functional>

class EditorController;
class Song;

// The capitalization tool: rewrites the title, artist, album artist, composer, album and genre
// of the selected songs in title case, upper case or lower case, as chosen by the mode keys
// CAPITALIZATION_TITLE_CASE, CAPITALIZATION_UPPER_CASE and CAPITALIZATION_LOWER_CASE. The
// comment, the lyrics and the number fields are never changed. The songs controller must
// outlive the tool.
class CapitalizationController {
public:
    using Transform = std::function<QString(const QString &)>;

    explicit CapitalizationController(EditorController *songsController);

    // Applies the selected mode. Title case lower-cases the fields first, unless the alternate
    // (Option/Alt) key is held at that moment: then capitals typed inside words are kept.
    void applyCapitalizationToSongs();
    void applyTitleCase();
    void applyUpperCase();
    void applyLowerCase();

    // Each sets its own mode key on and the other two off.
    void selectTitleCase();
    void selectUpperCase();
    void selectLowerCase();

    // Tells whether the alternate key is held at the moment of the call: the window asks the
    // keyboard, the command line answers from its options. Without a query it is not held.
    void setAlternateKeyQuery(std::function<bool()> query) { m_isAlternateKeyDown = std::move(query); }

    // Sets each of the six fields of every song, in field order, through its setter to the
    // transform of its current value. A field is read right before it is set, so a setter's
    // side effect (the album-artist binding) is seen by the fields after it.
    static void transformSongs(const QList<Song *> &songs, const Transform &transform);

private:
    void selectMode(const QString &modeKey);

    EditorController *m_songsController;
    std::function<bool()> m_isAlternateKeyDown;
};
