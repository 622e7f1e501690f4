#include "savepreview.h"

#include "jsonwriter.h"
#include "songjson.h"
#include "terminaltext.h"

#include "model/localized.h"
#include "model/song.h"
#include "tags/plannedrenames.h"
#include "tags/tagswriter.h"

#include <QStringList>

#include <utility>

namespace SavePreview {

namespace {

QString lastComponent(const QString &path)
{
    return path.section(QLatin1Char('/'), -1);
}

QString statusName(PlannedRenames::Outcome outcome)
{
    switch (outcome) {
    case PlannedRenames::Outcome::Renamed: return QStringLiteral("ok");
    case PlannedRenames::Outcome::Collision: return QStringLiteral("collision");
    case PlannedRenames::Outcome::Exists: return QStringLiteral("exists");
    case PlannedRenames::Outcome::InvalidName: return QStringLiteral("invalid");
    case PlannedRenames::Outcome::TooLong: return QStringLiteral("too-long");
    case PlannedRenames::Outcome::Failed: return QStringLiteral("failed");
    }
    return QString();
}

const char *labelKey(const QString &key)
{
    static const QList<std::pair<QString, const char *>> labels = {
        {QStringLiteral("track"), "CliFieldTrack"},
        {QStringLiteral("title"), "CliFieldTitle"},
        {QStringLiteral("artist"), "CliFieldArtist"},
        {QStringLiteral("albumArtist"), "CliFieldAlbumArtist"},
        {QStringLiteral("composer"), "CliFieldComposer"},
        {QStringLiteral("album"), "CliFieldAlbum"},
        {QStringLiteral("disc"), "CliFieldDisc"},
        {QStringLiteral("genre"), "CliFieldGenre"},
        {QStringLiteral("year"), "CliFieldYear"},
        {QStringLiteral("comment"), "CliFieldComment"},
        {QStringLiteral("lyrics"), "CliFieldLyrics"},
        {QStringLiteral("isCompilation"), "CliFieldCompilation"},
        {QStringLiteral("images"), "CliFieldPictures"},
    };
    for (const auto &[name, label] : labels)
        if (name == key)
            return label;
    return "CliFieldFileName";
}

// Texts in quotes, so that an empty one and blanks at the ends show; pictures by their count.
QString shown(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return QString::number(value.toStringList().size());
    if (value.typeId() == QMetaType::QString)
        return QLatin1Char('"') + TerminalText::escaped(value.toString()) + QLatin1Char('"');
    return value.toString();
}

void writeValue(JsonWriter *writer, const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList) {
        writer->beginArray();
        for (const QString &item : value.toStringList())
            writer->string(item);
        writer->endArray();
    } else if (value.typeId() == QMetaType::QString) {
        writer->string(value.toString());
    } else {
        writer->number(value.toLongLong());
    }
}

} // namespace

QList<Row> rows(const QList<Song *> &songs, const std::vector<SongSnapshot> &before, const TagsWriter &writer,
                bool forced)
{
    PlannedRenames renames;
    QList<Row> result;
    for (qsizetype i = 0; i < songs.size(); ++i) {
        const Song &song = *songs.at(i);
        Row row{&song, before.at(size_t(i)).changes(song), std::nullopt};
        const QString to = TagsWriter::renamedPath(song);
        if (song.isFileNameModified() && writer.willWrite(song, forced) && to != song.filePath()) {
            const PlannedRenames::Outcome outcome = renames.plan(song.filePath(), to);
            // A name of nothing has no path; the name asked for is what there is to show.
            row.rename = Rename{lastComponent(song.filePath()), to.isEmpty() ? song.fileName() : lastComponent(to),
                                statusName(outcome)};
        }
        result.append(row);
    }
    return result;
}

QString text(const QList<Row> &rows)
{
    QString result;
    for (const Row &row : rows) {
        if (row.changes.isEmpty() && !row.rename)
            continue;
        result += TerminalText::escaped(row.song->filePath()) + QLatin1Char('\n');
        for (const SongSnapshot::Change &change : row.changes)
            result += QStringLiteral("  %1: %2 → %3\n")
                          .arg(Localized::text(labelKey(change.key)), shown(change.before), shown(change.now));
        if (row.rename)
            result += QStringLiteral("  %1: %2 → %3 (%4)\n")
                          .arg(Localized::text("CliFieldFileName"), shown(row.rename->from), shown(row.rename->to),
                               row.rename->status);
    }
    return result;
}

QByteArray json(const QList<Row> &rows)
{
    JsonWriter writer;
    writer.beginArray();
    for (const Row &row : rows) {
        SongJson::writeSongFields(&writer, *row.song);
        writer.key("changes");
        writer.beginArray();
        for (const SongSnapshot::Change &change : row.changes) {
            writer.beginObject();
            writer.key("field");
            writer.string(change.key);
            writer.key("old");
            writeValue(&writer, change.before);
            writer.key("new");
            writeValue(&writer, change.now);
            writer.endObject();
        }
        writer.endArray();
        writer.key("rename");
        if (row.rename) {
            writer.beginObject();
            writer.key("from");
            writer.string(row.rename->from);
            writer.key("to");
            writer.string(row.rename->to);
            writer.key("status");
            writer.string(row.rename->status);
            writer.endObject();
        } else {
            writer.null();
        }
        writer.endObject();
    }
    writer.endArray();
    return writer.data();
}

} // namespace SavePreview
