#pragma once

#include "tags/tagsreader.h"

#include <QList>
#include <QVariant>

#include <vector>

struct SortDescriptor;

// The in-place sort of the song list by the table's sort order.
namespace SongSorting {

// Orders two property values: numbers by value, texts in case-insensitive natural order
// ("Track 2" before "track 10"); a number orders before a text, and an absent value before both.
int compareValues(const QVariant &a, const QVariant &b);

// Sorts stably by the descriptors in turn (each a song property read by Song::valueForKey), so
// songs that compare equal keep their order. Answers, for each row after the sort, the row its
// song had before.
std::vector<int> sortSongs(SongList *songs, const QList<SortDescriptor> &descriptors);

} // namespace SongSorting
