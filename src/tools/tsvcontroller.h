#pragma once

#include <QString>

class EditorController;

// What one export or import command did.
struct TsvReport {
    enum class Outcome {
        // The chooser was closed: nothing was read, written or changed.
        Cancelled,
        // The list was written, or applied to the songs.
        Done,
        // Nothing was written or changed; errorText tells why.
        Failed,
    };
    Outcome outcome = Outcome::Cancelled;
    // The file written or read.
    QString path;
    // For a failed import, the ImportError code, or 0 for a list the reader found malformed
    // (errorText then holds the reader's description, which the editor does not show).
    int errorCode = 0;
    QString errorText;

    bool failed() const { return outcome == Outcome::Failed; }
};

// The editor's commands for song lists: export the selected songs to a tab-separated file and
// apply such a file to them. Asks for files and reports failures through the editor's user
// interface. The editor is not owned and must outlive the controller.
class TsvController {
public:
    static const QString ProposedFileName;

    explicit TsvController(EditorController &editor);
    TsvController(const TsvController &) = delete;
    TsvController &operator=(const TsvController &) = delete;

    // Asks where to save (proposing "songs.tsv"), then exportSongsAsTsv(path).
    TsvReport exportSongsAsTsv();
    // Writes the song list of the selected songs to the file as UTF-8, in one step: the file is
    // either replaced whole or, when writing fails, left as it was; a failure is reported.
    TsvReport exportSongsAsTsv(const QString &toPath);

    // Asks for one file, then importSongsFromTsv(path).
    TsvReport importSongsFromTsv();
    // Applies the song list in the file to the selected songs; a refused list changes nothing
    // and is reported with its details.
    TsvReport importSongsFromTsv(const QString &fromPath);

private:
    void reportExportFailure(const QString &path, const QString &reason) const;
    void reportImportFailure(const QString &description) const;

    EditorController &m_editor;
};
