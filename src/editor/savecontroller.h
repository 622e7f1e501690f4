#pragma once

#include "tags/tagswriter.h"

#include <functional>
#include <memory>

class EditorController;
class SongSaving;

// The editor's Save commands and the question about unsaved changes at the end. Saves the whole
// song list through the TagsWriter, on a worker thread with a count and a way to cancel, and
// tells the user once, after the pass, what failed. While a save runs the songs must not be
// edited (front ends block editing); the editor itself refuses to remove or move songs then.
// The editor and the writer are not owned and must outlive the controller.
class SaveController {
public:
    SaveController(EditorController &editor, TagsWriter &writer);
    ~SaveController();
    SaveController(const SaveController &) = delete;
    SaveController &operator=(const SaveController &) = delete;

    // Writes every modified song and waits for the end; shows the failure report, if any, and
    // returns it (its text already ended with the line about entries left out).
    SaveReport saveSongs();
    // Writes every song in full; reloads the list afterwards while SCALE_IMAGES is on, since the
    // files then hold other pictures than the songs.
    SaveReport saveSongsForced();
    // The same without waiting: returns at once and hands the report to done on this thread
    // once the pass has ended and its report has been shown (and a reload asked for). Nothing
    // happens while a save runs already.
    void startSaving(bool forced, std::function<void(const SaveReport &)> done = {});
    bool isSaving() const { return m_saving != nullptr; }
    // The file in hand is finished; no further one is saved. The files not reached keep their
    // songs modified and are listed in the report.
    void cancelSaving();

    // With unsaved changes asks whether to save them: true to end the application now, false
    // to keep it running.
    bool applicationShouldTerminate();

private:
    SaveReport saveAndWait(bool forced);
    void saveEnded(SaveReport report, bool forced, const std::function<void(const SaveReport &)> &done);
    void showReport(const SaveReport &report);

    EditorController &m_editor;
    TagsWriter &m_writer;
    std::unique_ptr<SongSaving> m_saving;
    // The pass that ended last, kept until the next one ends: it tells of its end from inside.
    std::unique_ptr<SongSaving> m_endedSaving;
};
