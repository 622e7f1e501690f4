#pragma once

#include "tools/pattern.h"

#include <QList>
#include <QString>
#include <QStringList>

class EditorController;
class Song;

// The composition tool: sets the title or the comment of songs to a text built from their own
// values by the fixed title-and-track pattern or the custom pattern. Never fails. The editor is
// not owned and must outlive the controller.
class CompositionController {
public:
    static const QString TitleAndTrackKey;
    static const QString CustomKey;
    static const QString CustomSchemeKey;
    static const QString TargetKey;
    static const QStringList &patternKeys();

    // A choice of the target list: its label and the song field it stands for.
    struct Choice {
        QString label;
        QString value;
    };
    // "title", then "comment"; labels from the string table at each call.
    static QList<Choice> targets();

    explicit CompositionController(EditorController &editor);
    CompositionController(const CompositionController &) = delete;
    CompositionController &operator=(const CompositionController &) = delete;

    // Composes for the selected songs, or for the given ones, in their order.
    void applyCompositionToSongs();
    void applyCompositionToSongs(const QList<Song *> &songs);

    // The pattern and target field composition uses now: [Title, " ", Track] into the title
    // while COMPOSE_TITLE_AND_TRACK is on, else the custom pattern into COMPOSITION_TARGET.
    static Pattern currentPattern();
    static QString currentTarget();

    void selectTitleAndTrack();
    void selectCustom();
    // Stores the target field (a value of targets()).
    void selectTarget(const QString &property);

    // The custom-pattern editor's storage, as for naming.
    Pattern customPattern() const;
    void saveCustom(const Pattern &pattern, bool andApply);

private:
    EditorController &m_editor;
};
