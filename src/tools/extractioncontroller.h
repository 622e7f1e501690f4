#pragma once

#include "tools/batchreport.h"
#include "tools/pattern.h"

#include <QList>
#include <QString>
#include <QStringList>

class EditorController;
class Song;

// The extraction tool: fills tags of songs from their file name without extension or their
// title, read against a fixed or the custom pattern (TagExtractor). Songs whose text does not
// fit are tagged as far as the match went and listed in one report. The editor is not owned and
// must outlive the controller.
class ExtractionController {
public:
    static const QString TrackAndTitleKey;
    static const QString TrackArtistAndTitleKey;
    static const QString CustomKey;
    static const QString CustomSchemeKey;
    static const QString SourceKey;
    static const QStringList &patternKeys();

    // A choice of the source list: its label and the song property it stands for.
    struct Choice {
        QString label;
        QString value;
    };
    // "fileNameWithoutExtension", then "title"; labels from the string table at each call.
    static QList<Choice> sources();

    explicit ExtractionController(EditorController &editor);
    ExtractionController(const ExtractionController &) = delete;
    ExtractionController &operator=(const ExtractionController &) = delete;

    // Extracts into the selected songs, shows the report of the failures, if any, and
    // returns it.
    BatchReport applyExtractionToSongs();
    // The same for the given songs, in their order.
    BatchReport applyExtractionToSongs(const QList<Song *> &songs);

    // The pattern extraction uses now: track-and-title if its key is on, else
    // track-artist-and-title if its key is on, else the custom pattern.
    static Pattern currentPattern();
    // False if the pattern has two neighbouring tokens, which extraction cannot separate.
    static bool isValidPattern(const Pattern &pattern);

    void selectTrackAndTitle();
    void selectTrackArtistAndTitle();
    void selectCustom();
    // Stores the source property (a value of sources()).
    void selectSource(const QString &property);

    // The custom-pattern editor's storage, as for naming.
    Pattern customPattern() const;
    void saveCustom(const Pattern &pattern, bool andApply);

private:
    EditorController &m_editor;
};
