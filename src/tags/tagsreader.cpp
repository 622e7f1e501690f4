#include "tags/tagsreader.h"

#include "model/fileidentity.h"
#include "model/song.h"
#include "tags/aiffreader.h"
#include "tags/flacreader.h"
#include "tags/m4areader.h"
#include "tags/mp3reader.h"
#include "tags/wavreader.h"

#include <QFile>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <exception>
#include <system_error>
#include <thread>

TagsReader::TagsReader()
    : m_mp3Reader(std::make_unique<MP3Reader>())
    , m_m4aReader(std::make_unique<M4AReader>())
    , m_flacReader(std::make_unique<FLACReader>())
    , m_aiffReader(std::make_unique<AIFFReader>())
    , m_wavReader(std::make_unique<WAVReader>())
{
}

TagsReader::~TagsReader() = default;

void TagsReader::setLeadingZeros(bool leadingZeros)
{
    m_m4aReader->setLeadingZeros(leadingZeros);
}

void TagsReader::setThreadCount(int threads)
{
    m_threads = std::max(0, threads);
}

Reader *TagsReader::readerForPath(const QString &path) const
{
    const qsizetype slash = path.lastIndexOf(u'/');
    const qsizetype dot = path.lastIndexOf(u'.');
    if (dot <= slash)
        return nullptr;
    const QString extension = path.sliced(dot + 1).toLower();
    if (extension == u"mp3")
        return m_mp3Reader.get();
    if (extension == u"m4a" || extension == u"m4b")
        return m_m4aReader.get();
    if (extension == u"flac")
        return m_flacReader.get();
    if (extension == u"aif" || extension == u"aiff")
        return m_aiffReader.get();
    if (extension == u"wav")
        return m_wavReader.get();
    return nullptr;
}

std::unique_ptr<Song> TagsReader::parseFile(const QString &path) const
{
    Reader *reader = readerForPath(path);
    if (!reader)
        return nullptr;
    // A name that is not valid UTF-8 does not survive the trip through QString: the path we
    // hold names another file (or none), so it is not read.
    if (QFile::decodeName(QFile::encodeName(path)) != path)
        return nullptr;
    // Taken before reading, so that a change made while the file is read counts as a change.
    const QByteArray identity = FileIdentity::ofPath(path);
    std::unique_ptr<Song> song;
    try {
        song = reader->parseFile(path);
    } catch (const std::exception &) {
        // Readers never fail: a file the library gives up on (e.g. out of memory on a damaged
        // size field) is listed with empty values, like any other unreadable file.
        song = std::make_unique<Song>();
    }
    if (!song)
        return nullptr;
    song->setFilePath(path);
    song->setFileName(path.sliced(path.lastIndexOf(u'/') + 1));
    song->resetModifications();
    song->setFileIdentity(identity);
    return song;
}

int TagsReader::workerCount(qsizetype fileCount) const
{
    const int wanted = m_threads > 0 ? m_threads : std::max(1, QThread::idealThreadCount());
    return int(std::min<qsizetype>(wanted, fileCount));
}

void TagsReader::parseFiles(const QStringList &files, SongList *toSongs)
{
    if (!toSongs)
        return;
    const int workers = workerCount(files.size());
    if (workers <= 1) {
        for (const QString &path : files) {
            if (auto song = parseFile(path))
                toSongs->push_back(std::move(song));
        }
        return;
    }

    // Each worker takes the next unread index; results are kept by index and appended in path
    // order afterwards, so the list is the one a sequential read makes.
    std::vector<std::unique_ptr<Song>> results(size_t(files.size()));
    std::atomic<qsizetype> next{0};
    auto work = [&] {
        for (qsizetype index = next++; index < files.size(); index = next++)
            results[size_t(index)] = parseFile(files.at(index));
    };
    std::vector<std::thread> threads;
    threads.reserve(size_t(workers - 1));
    for (int i = 1; i < workers; ++i) {
        try {
            threads.emplace_back(work);
        } catch (const std::system_error &) {
            break; // the threads already started and this one read the rest
        }
    }
    work();
    for (std::thread &thread : threads)
        thread.join();
    for (auto &song : results) {
        if (song)
            toSongs->push_back(std::move(song));
    }
}
