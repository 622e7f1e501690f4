#pragma once

#include "tools/pattern.h"

#include <QString>

class Song;

// Builds one text of a song from its own values by a pattern and stores it in one field. Never
// fails: a token without a value contributes "" or 0. Keeps no state.
namespace TagComposer {

// The text of the pattern for the song: literals as they are, tokens by the song's value
// (numbers in decimal, the length as "m:ss" or "h:mm:ss").
QString composedText(const Pattern &pattern, const Song &song);
// Sets the song's field named toProperty ("title", "comment") to composedText() through its
// setter, which trims and ignores an unchanged value.
void composeTags(const Pattern &pattern, Song &ofSong, const QString &toProperty);

} // namespace TagComposer
