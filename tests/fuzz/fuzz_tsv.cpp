// Fuzz target for the delimited-text reader and the song-list import. Every input is read by the
// reader, whose events must come in document order, and imported onto songs twice: once onto as
// many songs as it has records (so that well-formed lists are applied) and once onto one song
// more (so that it must fail). A failed import must leave every song as it was.

#include "fuzzing.h"

#include "model/song.h"
#include "tools/chcsvparser.h"
#include "tools/delimitedtextdecoder.h"
#include "tools/importexportassistant.h"
#include "tools/linereader.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace {

// Larger lists would only slow the run down; their records are still read.
constexpr qsizetype MaxSongs = 64;

using Fuzzing::require;

// Checks that the reader's events nest and count as they should.
class EventChecker : public CHCSVParserDelegate {
public:
    qsizetype records = 0;
    qsizetype fieldCharacters = 0;
    bool finished = false;

    void parserDidBeginDocument(CHCSVParser *) override
    {
        require(!m_begun, "document begins once");
        m_begun = true;
    }
    void parserDidBeginLine(CHCSVParser *, qsizetype recordNumber) override
    {
        require(m_begun && !m_inRecord && !finished, "record begins inside the document");
        require(recordNumber == records + 1, "records are numbered in order");
        m_inRecord = true;
        m_nextField = 0;
    }
    void parserDidReadField(CHCSVParser *, const QString &field, qsizetype atIndex) override
    {
        require(m_inRecord, "field inside a record");
        require(atIndex == m_nextField++, "fields are indexed in order");
        require(!field.isNull(), "fields are texts");
        fieldCharacters += field.size();
    }
    void parserDidEndLine(CHCSVParser *, qsizetype recordNumber) override
    {
        require(m_inRecord && recordNumber == records + 1, "record ends as it began");
        m_inRecord = false;
        ++records;
    }
    void parserDidEndDocument(CHCSVParser *parser) override
    {
        require(m_begun && !m_inRecord && !finished, "document ends once, after its records");
        require(!parser->error(), "no document end after a failure");
        finished = true;
    }
    void parserDidFailWithError(CHCSVParser *parser, const CHCSVError &error) override
    {
        require(m_begun && !m_inRecord && !finished, "failure ends the document once");
        require(parser->error() && error.code == CHCSVError::UnexpectedDelimiter, "failure is recorded");
        finished = true;
    }

private:
    bool m_begun = false;
    bool m_inRecord = false;
    qsizetype m_nextField = 0;
};

bool isWellFormed(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (c.isSurrogate())
            return false;
    }
    return true;
}

std::vector<std::unique_ptr<Song>> makeSongs(qsizetype count)
{
    std::vector<std::unique_ptr<Song>> songs;
    for (qsizetype i = 0; i < count; ++i) {
        auto song = std::make_unique<Song>();
        song->setFilePath(QStringLiteral("/music/%1.mp3").arg(i));
        song->setFileName(QStringLiteral("%1.mp3").arg(i));
        song->setTitle(QStringLiteral("Title"));
        song->setTrack(QStringLiteral("1/2"));
        song->setYear(1999);
        song->resetModifications();
        songs.push_back(std::move(song));
    }
    return songs;
}

QString state(const Song &song)
{
    return song.description() + song.albumArtist() + song.composer();
}

void importOnto(const QByteArray &data, qsizetype songCount, bool mayApply)
{
    auto songs = makeSongs(songCount);
    QList<Song *> selection;
    QStringList before;
    for (const auto &song : songs) {
        selection.append(song.get());
        before.append(state(*song));
    }
    ImportExportAssistant assistant;
    const std::optional<ImportError> error = assistant.importSongTags(selection, data);
    if (error) {
        require(error->code == ImportError::TabCountNotConsistent || error->code == ImportError::RecordsNotAccepted,
                "import fails with a known code");
        require(!error->description.isEmpty(), "a failure is described");
    }
    require(!(assistant.applied() && error), "an applied list is no failure");
    require(mayApply || !assistant.applied(), "a list is applied only to as many songs as records");
    if (assistant.applied())
        return;
    for (qsizetype i = 0; i < qsizetype(songs.size()); ++i) {
        require(!songs[std::size_t(i)]->isModified(), "a refused list flags nothing");
        require(state(*songs[std::size_t(i)]) == before[i], "a refused list changes nothing");
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    Fuzzing::prepareRun(false);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *bytes, size_t size)
{
    const QByteArray data(reinterpret_cast<const char *>(bytes), qsizetype(size));

    const QString text = DelimitedTextDecoder::decodeDocument(data);
    require(isWellFormed(text), "decoded text has no unpaired surrogate");

    CHCSVParser parser(data, u'\t');
    EventChecker checker;
    parser.setDelegate(&checker);
    parser.parse();
    require(checker.finished, "the document ends or fails");
    require(checker.fieldCharacters <= text.size(), "fields come from the text");

    LineReader lines(data, QStringConverter::Utf8);
    while (!lines.readTrimmedLine().isNull()) {
    }

    // The first record is the header.
    const qsizetype dataRecords = std::max<qsizetype>(checker.records - 1, 0);
    if (dataRecords <= MaxSongs) {
        importOnto(data, dataRecords, true);
        importOnto(data, dataRecords + 1, false);
    } else {
        importOnto(data, MaxSongs, false);
    }
    return 0;
}
