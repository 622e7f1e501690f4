#pragma once

#include "tags/tagswriter.h"

class EditorController;

// The editor's Save commands and the question about unsaved changes at the end. Saves the whole
// song list through the TagsWriter and tells the user once, after the pass, what failed. The
// editor and the writer are not owned and must outlive the controller.
class SaveController {
public:
    SaveController(EditorController &editor, TagsWriter &writer);
    SaveController(const SaveController &) = delete;
    SaveController &operator=(const SaveController &) = delete;

    // Writes every modified song; shows the failure report, if any, and returns it (its text
    // already ended with the line about entries left out).
    SaveReport saveSongs();
    // Writes every song in full; reloads the list afterwards while SCALE_IMAGES is on, since the
    // files then hold other pictures than the songs.
    SaveReport saveSongsForced();

    // With unsaved changes asks whether to save them: true to end the application now, false
    // to keep it running.
    bool applicationShouldTerminate();

private:
    SaveReport save(bool forced);
    void showReport(const SaveReport &report);

    EditorController &m_editor;
    TagsWriter &m_writer;
};
