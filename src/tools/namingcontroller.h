#pragma once

#include "tools/batchreport.h"
#include "tools/pattern.h"

#include <QList>
#include <QString>
#include <QStringList>

class EditorController;
class Song;

// The naming tool: gives songs file names built from their tags by one of three fixed schemes
// or the custom pattern. It only records the wanted name (Song::setFileName); the save pass
// renames the files. Songs that lack a value the scheme needs keep their name and are listed in
// one report. The editor is not owned and must outlive the controller.
class NamingController {
public:
    // The scheme settings in the order naming tests them: the first one on is used.
    static const QString ArtistAndTitleKey;
    static const QString TrackAndTitleKey;
    static const QString TrackArtistAndTitleKey;
    static const QString CustomKey;
    static const QString CustomSchemeKey;
    static const QStringList &schemeKeys();

    explicit NamingController(EditorController &editor);
    NamingController(const NamingController &) = delete;
    NamingController &operator=(const NamingController &) = delete;

    // Names the selected songs, shows the report of the failures, if any, and returns it.
    BatchReport applyNamingToSongs();
    // The same for the given songs, in their order.
    BatchReport applyNamingToSongs(const QList<Song *> &songs);

    // What naming a song would give it, with the settings of the moment.
    struct ProposedName {
        enum class Kind {
            Named,        // name holds the new file name
            Missing,      // a value the scheme needs is missing
            NotRenamable, // the song may not be renamed
            NothingLeft,  // the name sanitizes to nothing; the song keeps its name
        };
        Kind kind = Kind::Named;
        QString name;
    };
    // What naming would give each of the songs, in their order, changing nothing and asking
    // nothing.
    static QList<ProposedName> proposeNames(const QList<const Song *> &songs);

    // The text a token contributes to a file name; null where the song has no value for it
    // (and for tokens that never name files).
    static QString stringForToken(const QString &tokenString, const Song &ofSong);
    // True if every token gives a non-empty value. Otherwise false, and withMessage is set to
    // the missing token strings in lower case, joined by "/" ("artist/title").
    static bool validateProperties(const QStringList &tokenStrings, const Song &ofSong, QString *withMessage);
    // Appends " - " with NAMING_SEPARATE_BY_HYPHEN on, else " ".
    static void appendSeparator(QString *text);

    void selectArtistAndTitle();
    void selectTrackAndTitle();
    void selectTrackArtistAndTitle();
    void selectCustom();

    // The custom-pattern editor's storage: the stored pattern, and storing an edited one
    // (andApply: then names the selection with it at once, as the confirm button does with
    // the alternate key held).
    Pattern customPattern() const;
    void saveCustom(const Pattern &pattern, bool andApply);

private:
    EditorController &m_editor;
};
