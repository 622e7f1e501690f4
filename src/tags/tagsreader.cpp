#include "tags/tagsreader.h"

#include "model/fileidentity.h"
#include "model/song.h"
#include "tags/aiffreader.h"
#include "tags/flacreader.h"
#include "tags/lengthcachingstream.h"
#include "tags/m4areader.h"
#include "tags/mp3reader.h"
#include "tags/parallelparse.h"
#include "tags/wavreader.h"

#include <QFile>
#include <QThread>

#include <taglib/tfilestream.h>

#include <algorithm>
#include <exception>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The regular file at the path opened for reading, with its identity; null when it cannot be
// opened or is no regular file (the reader then opens the path itself, as it always could).
std::unique_ptr<TagLib::FileStream> openForReading(const QByteArray &native, QByteArray *identity)
{
    // Not blocking: a pipe named like a music file must not stop the open.
    const int descriptor = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0)
        return nullptr;
    struct stat st {};
    if (::fstat(descriptor, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(descriptor);
        return nullptr;
    }
    // The stream owns the descriptor once it is open.
    // Reading never changes the file, so its length is known for the whole read.
    auto stream = std::make_unique<LengthCachingStream>(descriptor, long(st.st_size));
    if (!stream->isOpen()) {
        ::close(descriptor);
        return nullptr;
    }
    *identity = FileIdentity::ofStat(st);
    return stream;
}

} // namespace

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
    const QByteArray native = QFile::encodeName(path);
    if (QFile::decodeName(native) != path)
        return nullptr;
    // The identity is taken before reading, so that a change made while the file is read counts
    // as a change; from the open file when it can be opened, which spares a second lookup and
    // names the very file that is read.
    QByteArray identity;
    const std::unique_ptr<TagLib::FileStream> stream = openForReading(native, &identity);
    if (!stream)
        identity = FileIdentity::ofPath(path);
    std::unique_ptr<Song> song;
    try {
        song = stream ? reader->parseStream(stream.get()) : reader->parseFile(path);
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
    ParallelParse run(*this, files, workers);
    run.start();
    run.wait();
    SongList songs = run.takeReady();
    toSongs->insert(toSongs->end(), std::make_move_iterator(songs.begin()), std::make_move_iterator(songs.end()));
}
