#pragma once

#include "tools/chcsvparser.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <vector>

class Song;

// Why an import failed: the application's error domain, a code and the text shown to the user.
struct ImportError {
    static const QString Domain;
    // The file could not be read.
    static constexpr int CouldNotParse = 100;
    // A line has another number of TABs than the line before it.
    static constexpr int TabCountNotConsistent = 101;
    // Records were refused; the description lists every problem.
    static constexpr int RecordsNotAccepted = 102;

    int code = 0;
    QString description;
};

// Builds the tab-separated song list of songs, and applies such a list to songs: row k of the
// list goes to the k-th song. A list is applied only as a whole: any problem in any record, or a
// record count other than the number of songs, leaves every song as it was. One object serves
// one import; its state stays readable afterwards.
//
// The list's header names its columns by token strings ("Track", "Album Artist", "File Name");
// columns may come in any order or be missing, and columns with other names are ignored, as are
// "Disc Total" and "Track Total", which no field stores. An empty cell clears its field (so a
// list the export wrote imports again), while a track or disc that is no number pair and a year
// that is no number are refused for their record.
class ImportExportAssistant : public CHCSVParserDelegate {
public:
    // The exported columns, in order.
    static const QStringList &exportedColumns();

    // The song list of the songs in their order: the header line, then one line per song, each
    // ending with LF. TABs inside values become blanks; nothing is quoted.
    static QString exportSongTagsToTSV(const QList<Song *> &songs);

    // The first check, on the file read as UTF-8: every line must have as many TABs as the first.
    // Reading ends at the end or at the first line that is not valid UTF-8. Null if it passes.
    static std::optional<ImportError> validateTsv(const QString &path);
    // The same over the bytes of a file.
    static std::optional<ImportError> validateTsv(const QByteArray &data);

    ImportExportAssistant();
    ~ImportExportAssistant() override;
    ImportExportAssistant(const ImportExportAssistant &) = delete;
    ImportExportAssistant &operator=(const ImportExportAssistant &) = delete;

    // Applies the song list in the file to the songs; null on success. A list the reader finds
    // malformed changes nothing and is not an error (parserError() tells it; applied() is false).
    std::optional<ImportError> importSongTags(const QList<Song *> &songs, const QString &fromTSV);
    // The same over the bytes of a song list.
    std::optional<ImportError> importSongTags(const QList<Song *> &songs, const QByteArray &fromTSVData);

    const QList<Song *> &selectedSongs() const { return m_selectedSongs; }
    // One scratch song per data record, in file order.
    const std::vector<std::unique_ptr<Song>> &importedSongs() const { return m_importedSongs; }
    // The index in importedSongs() of the record being read; -1 while the header is read.
    qsizetype currentRecord() const { return m_currentRecord; }
    const QStringList &fieldNames() const { return m_fieldNames; }
    // Every problem found in the records; not empty means the import failed.
    const QString &errorMessage() const { return m_errorMessage; }
    const std::optional<CHCSVError> &parserError() const { return m_parserError; }
    // Whether the last import copied the records to the songs.
    bool applied() const { return m_applied; }

    void parserDidBeginDocument(CHCSVParser *parser) override;
    void parserDidBeginLine(CHCSVParser *parser, qsizetype recordNumber) override;
    void parserDidReadField(CHCSVParser *parser, const QString &field, qsizetype atIndex) override;
    void parserDidEndDocument(CHCSVParser *parser) override;
    void parserDidFailWithError(CHCSVParser *parser, const CHCSVError &error) override;

private:
    void applyField(Song &song, const QString &fieldName, const QString &value);
    void appendRecordError(const char *key);
    // Adds a record error for every name that no rename could give its song's file.
    void checkImportedFileNames();
    void copyImportedSongs();

    QList<Song *> m_selectedSongs;
    std::vector<std::unique_ptr<Song>> m_importedSongs;
    qsizetype m_currentRecord = -1;
    QStringList m_fieldNames;
    QString m_errorMessage;
    // The record that last had more fields than the header has names, so it is listed once.
    qsizetype m_overfullRecord = -1;
    std::optional<CHCSVError> m_parserError;
    bool m_applied = false;
};
