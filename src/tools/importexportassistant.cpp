#include "tools/importexportassistant.h"

#include "editor/standardfolders.h"
#include "model/filerename.h"
#include "model/localized.h"
#include "model/song.h"
#include "tags/tagswriter.h"
#include "tools/linereader.h"
#include "tools/tokenutil.h"

#include <QFile>

const QString ImportError::Domain = QString::fromLatin1(StandardFolders::BundleIdentifier);

namespace {

constexpr QChar Tab = u'\t';
constexpr QChar Blank = u' ';
constexpr QChar LineFeed = u'\n';

QString withoutTabs(const QString &value)
{
    QString text = value;
    return text.replace(Tab, Blank);
}

// The year a text stands for, read the way the year setter reads a text: its leading decimal
// integer, 0 if it has none.
qint64 yearValue(const QString &text)
{
    Song probe;
    probe.setYear(text);
    return probe.year();
}

// An empty cell (no year) or a text that starts with the year's digits ("1999", "1999-05-01");
// "abc" or "-5" is no year, and would otherwise quietly remove the song's.
bool isYear(const QString &text)
{
    const QString trimmed = text.trimmed();
    return trimmed.isEmpty() || (trimmed.front() >= u'0' && trimmed.front() <= u'9');
}

std::optional<QByteArray> readFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

ImportError couldNotParse()
{
    return ImportError{ImportError::CouldNotParse, Localized::text("CouldNotParse")};
}

} // namespace

const QStringList &ImportExportAssistant::exportedColumns()
{
    static const QStringList columns{
        TokenUtil::tokenString(Token::Track),   TokenUtil::tokenString(Token::Title),
        TokenUtil::tokenString(Token::Artist),  TokenUtil::tokenString(Token::AlbumArtist),
        TokenUtil::tokenString(Token::Composer), TokenUtil::tokenString(Token::Album),
        TokenUtil::tokenString(Token::Disc),    TokenUtil::tokenString(Token::Genre),
        TokenUtil::tokenString(Token::Year),    TokenUtil::tokenString(Token::Comment),
        TokenUtil::tokenString(Token::FileName),
    };
    return columns;
}

QString ImportExportAssistant::exportSongTagsToTSV(const QList<Song *> &songs)
{
    QString text = exportedColumns().join(Tab) + LineFeed;
    for (const Song *song : songs) {
        const QStringList values{
            song->track(),
            withoutTabs(song->title()),
            withoutTabs(song->artist()),
            withoutTabs(song->albumArtist()),
            withoutTabs(song->composer()),
            withoutTabs(song->album()),
            song->disc(),
            withoutTabs(song->genre()),
            song->year() == 0 ? QString() : QString::number(song->year()),
            withoutTabs(song->comment()),
            withoutTabs(song->fileName()),
        };
        // Line breaks inside values are written as they are.
        text += values.join(Tab) + LineFeed;
    }
    return text;
}

std::optional<ImportError> ImportExportAssistant::validateTsv(const QString &path)
{
    const std::optional<QByteArray> bytes = readFile(path);
    if (!bytes)
        return couldNotParse();
    return validateTsv(*bytes);
}

std::optional<ImportError> ImportExportAssistant::validateTsv(const QByteArray &data)
{
    LineReader reader(data, QStringConverter::Utf8);
    std::optional<qsizetype> expectedTabs;
    for (QString line = reader.readLine(); !line.isNull(); line = reader.readLine()) {
        const qsizetype tabs = line.count(Tab);
        if (!expectedTabs) {
            expectedTabs = tabs;
        } else if (tabs != *expectedTabs) {
            return ImportError{ImportError::TabCountNotConsistent,
                               Localized::text("NumberOfTabsNotConsistent").arg(reader.linesRead())};
        }
    }
    return std::nullopt;
}

ImportExportAssistant::ImportExportAssistant() = default;

ImportExportAssistant::~ImportExportAssistant() = default;

std::optional<ImportError> ImportExportAssistant::importSongTags(const QList<Song *> &songs, const QString &fromTSV)
{
    const std::optional<QByteArray> bytes = readFile(fromTSV);
    if (!bytes) {
        m_selectedSongs = songs;
        m_applied = false;
        return couldNotParse();
    }
    return importSongTags(songs, *bytes);
}

std::optional<ImportError> ImportExportAssistant::importSongTags(const QList<Song *> &songs,
                                                                 const QByteArray &fromTSVData)
{
    m_selectedSongs = songs;
    m_applied = false;
    m_parserError.reset();
    m_errorMessage.clear();
    if (std::optional<ImportError> error = validateTsv(fromTSVData))
        return error;
    CHCSVParser parser(fromTSVData, Tab);
    parser.setDelegate(this);
    parser.parse();
    if (!m_errorMessage.isEmpty())
        return ImportError{ImportError::RecordsNotAccepted, m_errorMessage};
    return std::nullopt;
}

void ImportExportAssistant::parserDidBeginDocument(CHCSVParser *parser)
{
    Q_UNUSED(parser);
    m_importedSongs.clear();
    m_fieldNames.clear();
    m_currentRecord = -1;
    m_overfullRecord = -1;
    m_errorMessage.clear();
}

void ImportExportAssistant::parserDidBeginLine(CHCSVParser *parser, qsizetype recordNumber)
{
    Q_UNUSED(parser);
    // Record 1 is the header.
    if (recordNumber <= 1)
        return;
    m_importedSongs.push_back(std::make_unique<Song>());
    m_currentRecord = recordNumber - 2;
}

void ImportExportAssistant::parserDidReadField(CHCSVParser *parser, const QString &field, qsizetype atIndex)
{
    Q_UNUSED(parser);
    if (m_currentRecord < 0) {
        m_fieldNames.append(field);
        return;
    }
    if (atIndex >= m_fieldNames.size()) {
        // Possible only where a quoted value spans lines: the columns of the record no longer
        // line up with the header, so none of its values can be trusted.
        if (m_overfullRecord != m_currentRecord) {
            m_overfullRecord = m_currentRecord;
            m_errorMessage += Localized::text("TooManyFieldsInRecordError").arg(m_currentRecord + 1);
        }
        return;
    }
    applyField(*m_importedSongs[std::size_t(m_currentRecord)], m_fieldNames[atIndex], field);
}

void ImportExportAssistant::applyField(Song &song, const QString &fieldName, const QString &value)
{
    const QString key = TokenUtil::propertyStringKVOCompliantFromTag(fieldName);
    // Not a token string, or a token without a field of its own ("Disc Total", "Track Total").
    if (key.isNull() || !Song::isKey(key))
        return;
    if (key == u"fileName") {
        // The scratch song has no path, so the name cannot be checked against its extension yet.
        song.noCheck_setFileName(value);
    } else if (key == u"year") {
        if (!isYear(value))
            appendRecordError("NotAValidYearInRecordError");
        else if (const qint64 year = yearValue(value); year > 0)
            song.setYear(year);
    } else if (key == u"disc" || key == u"track") {
        // An empty cell is how the export writes a song without one: the field is cleared.
        if (value.trimmed().isEmpty() || Song::isValidNaturalNumberOrPair(value))
            song.setValueForKey(key, value.trimmed().isEmpty() ? QStringLiteral("") : value);
        else
            appendRecordError(key == u"disc" ? "NotAValidDiscTagInRecordError" : "NotAValidTrackTagInRecordError");
    } else {
        song.setValueForKey(key, value);
    }
}

void ImportExportAssistant::appendRecordError(const char *key)
{
    m_errorMessage += Localized::text(key).arg(m_currentRecord + 1);
}

void ImportExportAssistant::parserDidEndDocument(CHCSVParser *parser)
{
    Q_UNUSED(parser);
    if (m_importedSongs.size() != std::size_t(m_selectedSongs.size())) {
        m_errorMessage += Localized::text("NumberOfSelectedAndImportedSongsDoNotMatch");
        return;
    }
    checkImportedFileNames();
    if (!m_errorMessage.isEmpty())
        return;
    copyImportedSongs();
    m_applied = true;
}

void ImportExportAssistant::parserDidFailWithError(CHCSVParser *parser, const CHCSVError &error)
{
    Q_UNUSED(parser);
    // A malformed list changes nothing; the document end, which applies the records, never comes.
    m_parserError = error;
}

void ImportExportAssistant::checkImportedFileNames()
{
    // Only now is each name paired with its file. Names the setter would ignore (another
    // extension) are passed over here too.
    for (qsizetype i = 0; i < m_selectedSongs.size(); ++i) {
        const Song &song = *m_selectedSongs[i];
        const QString &wanted = m_importedSongs[std::size_t(i)]->fileName();
        const QString extension = song.extension();
        if (wanted.isNull() || extension.isEmpty() || !wanted.endsWith(extension, Qt::CaseInsensitive))
            continue;
        const QString path = TagsWriter::renamedPath(song.folder(), wanted, extension);
        if (FileRename::checkName(path) != FileRename::Status::Done)
            m_errorMessage += Localized::text("NotAValidFileNameInRecordError").arg(i + 1);
    }
}

void ImportExportAssistant::copyImportedSongs()
{
    for (qsizetype i = 0; i < m_selectedSongs.size(); ++i) {
        Song &song = *m_selectedSongs[i];
        const Song &imported = *m_importedSongs[std::size_t(i)];
        song.setTrack(imported.track());
        song.setTitle(imported.title());
        song.setArtist(imported.artist());
        song.setAlbumArtist(imported.albumArtist());
        song.setComposer(imported.composer());
        song.setAlbum(imported.album());
        song.setDisc(imported.disc());
        song.setGenre(imported.genre());
        song.setYear(imported.year());
        song.setComment(imported.comment());
        // Ignored unless the name ends with the song's own extension.
        song.setFileName(imported.fileName());
    }
}
