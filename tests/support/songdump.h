#pragma once

#include <QString>

class Song;

// Every stored value of a song as one text, one "name: value" line per field: texts, numbers,
// file name and path, renamability, the modification flags and, per image, its size, its digest
// and an MD5 taken afresh from its bytes. Two songs that dump equal agree in everything a reader
// fills; a mismatch shows which field differs.
QString dumpSong(const Song &song);
