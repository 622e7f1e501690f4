#include "editor/songtablecolumns.h"

#include "model/song.h"

#include <array>

namespace SongColumns {

namespace {

constexpr std::array<Definition, SongColumnCount> Definitions{{
    {SongField::Track, "Track", "COLUMN_HIDE_TRACK", true},
    {SongField::Title, "Title", "COLUMN_HIDE_TITLE", true},
    {SongField::Artist, "Artist", "COLUMN_HIDE_ARTIST", true},
    {SongField::Album, "Album", "COLUMN_HIDE_ALBUM", true},
    {SongField::AlbumArtist, "AlbumArtist", "COLUMN_HIDE_ALBUM_ARTIST", true},
    {SongField::Composer, "Composer", "COLUMN_HIDE_COMPOSER", true},
    {SongField::Disc, "Disc", "COLUMN_HIDE_DISC", true},
    {SongField::Genre, "Genre", "COLUMN_HIDE_GENRE", true},
    {SongField::Year, "Year", "COLUMN_HIDE_YEAR", true},
    {SongField::Comment, "Comment", "COLUMN_HIDE_COMMENT", true},
    {SongField::IsCompilation, "Compilation", "COLUMN_HIDE_COMPILATION", true},
    {SongField::Bitrate, "Bitrate", "COLUMN_HIDE_BITRATE", false},
    {SongField::Length, "Length", "COLUMN_HIDE_LENGTH", false},
    {SongField::FileName, "FileName", "COLUMN_HIDE_FILE_NAME", true},
}};

} // namespace

bool isValid(int column)
{
    return column >= 0 && column < SongColumnCount;
}

const Definition &definition(SongColumn column)
{
    Q_ASSERT(isValid(int(column)));
    return Definitions[size_t(column)];
}

std::optional<SongColumn> columnForField(SongField field)
{
    for (size_t column = 0; column < Definitions.size(); ++column) {
        if (Definitions[column].field == field)
            return SongColumn(column);
    }
    return std::nullopt;
}

std::optional<SongColumn> columnForHideKey(QStringView key)
{
    for (size_t column = 0; column < Definitions.size(); ++column) {
        if (key == QLatin1String(Definitions[column].hideKey))
            return SongColumn(column);
    }
    return std::nullopt;
}

SortDescriptor sortDescriptor(SongColumn column, bool ascending)
{
    return SortDescriptor{Song::keyForField(definition(column).field), ascending};
}

} // namespace SongColumns
