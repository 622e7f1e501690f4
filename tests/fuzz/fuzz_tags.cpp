// Fuzz target for the tag readers. Every input is read by each of the five per-format readers,
// whatever its format, from memory; one of them (chosen by the input's length) reads it again
// from an in-memory file through the stream the application reads files with. Both reads must
// give the same song, and its numbers must be in the forms the song accepts. A reader that the
// library gives up on with an exception gives an empty song, as when the application reads a
// file.

#include "fuzzing.h"

#include "model/song.h"
#include "tags/aiffreader.h"
#include "tags/flacreader.h"
#include "tags/lengthcachingstream.h"
#include "tags/m4areader.h"
#include "tags/mp3reader.h"
#include "tags/wavreader.h"

#include <taglib/tbytevectorstream.h>
#include <taglib/tdebuglistener.h>

#include <cstdio>
#include <exception>
#include <memory>

#include <sys/mman.h>
#include <unistd.h>

namespace {

using Fuzzing::require;

// TagLib reports every damaged frame on the standard error; a fuzz run would drown in them.
class SilentListener : public TagLib::DebugListener {
public:
    void printMessage(const TagLib::String &) override {}
};

struct Readers {
    MP3Reader mp3;
    M4AReader m4a;
    FLACReader flac;
    AIFFReader aiff;
    WAVReader wav;
    const Reader *all[5] = {&mp3, &m4a, &flac, &aiff, &wav};
    const char *names[5] = {"mp3", "m4a", "flac", "aiff", "wav"};
};

Readers &readers()
{
    static Readers instance;
    return instance;
}

int memoryFile = -1;

// Everything a reader sets, pictures by their digest.
QString summary(const Song &song)
{
    QString text = QStringList{song.title(), song.artist(), song.albumArtist(), song.composer(),
                               song.album(), song.genre(), song.comment(), song.lyrics(),
                               song.track(), song.disc()}
                       .join(QChar(0x1f));
    text += QStringLiteral("|%1|%2|%3|%4").arg(song.year()).arg(song.isCompilation()).arg(song.bitrate()).arg(song.length());
    for (const Image &image : song.images())
        text += u'|' + QString::fromLatin1(image.hashHex());
    return text;
}

std::unique_ptr<Song> read(const Reader &reader, TagLib::IOStream *stream)
{
    try {
        return reader.parseStream(stream);
    } catch (const std::exception &) {
        return std::make_unique<Song>();
    }
}

// The bytes as a regular file read through the application's file stream.
std::unique_ptr<Song> readAsFile(const Reader &reader, const uint8_t *bytes, size_t size)
{
    require(ftruncate(memoryFile, 0) == 0 && lseek(memoryFile, 0, SEEK_SET) == 0, "memory file reset");
    for (size_t written = 0; written < size;) {
        const ssize_t n = write(memoryFile, bytes + written, size - written);
        require(n > 0, "memory file written");
        written += size_t(n);
    }
    require(lseek(memoryFile, 0, SEEK_SET) == 0, "memory file rewound");
    // The stream closes its descriptor, so it gets a copy (which shares the offset).
    const int descriptor = dup(memoryFile);
    require(descriptor >= 0, "memory file duplicated");
    LengthCachingStream stream(descriptor, long(size));
    require(stream.isOpen(), "memory file opened");
    return read(reader, &stream);
}

void checkSong(const Song &song, const char *reader)
{
    if (song.length() < 0)
        std::fprintf(stderr, "%s reader: length %d\n", reader, song.length());
    require(song.track().isEmpty() || Song::isValidNaturalNumberOrPair(song.track()), "track is a number or pair");
    require(song.disc().isEmpty() || Song::isValidNaturalNumberOrPair(song.disc()), "disc is a number or pair");
    require(song.length() >= 0, "a length is not negative");
    for (const Image &image : song.images())
        require(!image.isNull() && image.hash().size() == 16, "pictures have a digest");
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzzing::prepareRun(true);
    static SilentListener listener;
    TagLib::setDebugListener(&listener);
    memoryFile = memfd_create("fuzz-tags", MFD_CLOEXEC);
    require(memoryFile >= 0, "memory file created");
    readers();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const TagLib::ByteVector data(reinterpret_cast<const char *>(bytes), static_cast<unsigned int>(size));
    Readers &all = readers();
    for (int i = 0; i < 5; ++i) {
        const Reader &reader = *all.all[i];
        TagLib::ByteVectorStream memory(data);
        const std::unique_ptr<Song> fromMemory = read(reader, &memory);
        require(fromMemory != nullptr, "every reader makes a song");
        checkSong(*fromMemory, all.names[i]);
        // One reader a run (by the input's length) also reads it as a file: that halves the cost.
        if (size_t(i) != size % 5)
            continue;
        const std::unique_ptr<Song> fromFile = readAsFile(reader, bytes, size);
        require(fromFile != nullptr, "every reader makes a song from a file");
        if (summary(*fromMemory) != summary(*fromFile)) {
            std::fprintf(stderr, "%s reader, memory: %s\nfile: %s\n", all.names[i],
                         qPrintable(summary(*fromMemory)), qPrintable(summary(*fromFile)));
            require(false, "a file and its bytes in memory read alike");
        }
    }
    return 0;
}
