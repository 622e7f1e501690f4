#include "savepreview.h"

#include "jsonwriter.h"
#include "songjson.h"
#include "terminaltext.h"

#include "model/localized.h"
#include "model/song.h"

#include <QStringList>

#include <utility>

namespace SavePreview {

namespace {

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
                bool forced, const QList<const Song *> &failed)
{
    const QList<RenamePreview::Row> renames = RenamePreview::forSave(songs, writer, forced, failed);
    QList<Row> result;
    for (qsizetype i = 0; i < songs.size(); ++i)
        result.append(Row{songs.at(i), before.at(size_t(i)).changes(*songs.at(i)), renames.at(i)});
    return result;
}

QString text(const QList<Row> &rows)
{
    QString result;
    for (const Row &row : rows) {
        const bool renameShown = row.rename.status != RenamePreview::Status::Unchanged;
        if (row.changes.isEmpty() && !renameShown)
            continue;
        result += TerminalText::escaped(row.song->filePath()) + QLatin1Char('\n');
        for (const SongSnapshot::Change &change : row.changes)
            result += QStringLiteral("  %1: %2 → %3\n")
                          .arg(Localized::text(labelKey(change.key)), shown(change.before), shown(change.now));
        if (renameShown)
            result += QStringLiteral("  %1: %2 → %3 (%4)\n")
                          .arg(Localized::text("CliFieldFileName"), shown(row.rename.oldName),
                               shown(row.rename.newName), RenamePreview::statusName(row.rename.status));
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
        writer.beginObject();
        writer.key("from");
        writer.string(row.rename.oldName);
        writer.key("to");
        writer.string(row.rename.newName);
        writer.key("status");
        writer.string(RenamePreview::statusName(row.rename.status));
        writer.endObject();
        writer.endObject();
    }
    writer.endArray();
    return writer.data();
}

} // namespace SavePreview
