#pragma once

#include <QStringList>

#include <memory>
#include <vector>

class Song;
class Reader;
class MP3Reader;
class M4AReader;
class FLACReader;
class AIFFReader;
class WAVReader;

using SongList = std::vector<std::unique_ptr<Song>>;

// Picks a reader by extension and turns paths into songs. Files may be parsed on several
// threads, but the songs are appended exactly as a sequential read in path order makes them.
class TagsReader {
public:
    TagsReader();
    ~TagsReader();
    TagsReader(const TagsReader &) = delete;
    TagsReader &operator=(const TagsReader &) = delete;

    void setLeadingZeros(bool leadingZeros);
    // 1 parses on the calling thread only; 0 (the default) uses one thread per core. A load in
    // the background parses on this many worker threads (at least one).
    void setThreadCount(int threads);
    // The threads that parse a batch of fileCount files (at most one per file).
    int workerCount(qsizetype fileCount) const;

    // Appends one song per path of a known type, in path order: filePath and fileName set,
    // flags cleared. Unknown extensions and paths whose name is not valid UTF-8 are skipped.
    void parseFiles(const QStringList &files, SongList *toSongs);

    // The song for one path as parseFiles() appends it, or null when the path is skipped (unknown
    // extension, or a name that QFile::encodeName() does not turn back into the same QString:
    // such a path cannot name the file it came from). Safe to call from several threads.
    std::unique_ptr<Song> parseFile(const QString &path) const;

    // The reader for a path's extension, or null for an unknown one.
    Reader *readerForPath(const QString &path) const;

private:
    std::unique_ptr<MP3Reader> m_mp3Reader;
    std::unique_ptr<M4AReader> m_m4aReader;
    std::unique_ptr<FLACReader> m_flacReader;
    std::unique_ptr<AIFFReader> m_aiffReader;
    std::unique_ptr<WAVReader> m_wavReader;
    int m_threads = 0;
};
