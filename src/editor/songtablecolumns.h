#pragma once

#include "editor/editorcontroller.h"
#include "model/songobserverset.h"

#include <QString>
#include <QStringView>

#include <optional>

// The fourteen columns of the song table, in their order.
enum class SongColumn {
    Track,
    Title,
    Artist,
    Album,
    AlbumArtist,
    Composer,
    Disc,
    Genre,
    Year,
    Comment,
    Compilation,
    Bitrate,
    Length,
    FileName,
};
inline constexpr int SongColumnCount = 14;

// What each column shows, what its header says, which setting hides it and how it sorts.
namespace SongColumns {

struct Definition {
    SongField field;      // the song property shown, edited and sorted by
    const char *titleKey; // string table key of the header
    const char *hideKey;  // the setting that hides the column
    bool isEditable;      // edited in place through the field's setter
};

// column must be one of the fourteen.
const Definition &definition(SongColumn column);
std::optional<SongColumn> columnForField(SongField field);
std::optional<SongColumn> columnForHideKey(QStringView key);
bool isValid(int column);

// The sort order of one column: the song property by name, so that the list sorts numbers by
// value and texts (track and disc pairs among them) in natural order.
SortDescriptor sortDescriptor(SongColumn column, bool ascending);

} // namespace SongColumns
