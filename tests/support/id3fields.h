#pragma once

#include <QByteArray>
#include <QString>

namespace TagLib::ID3v2 {
class Tag;
}

// The ID3 mapping as a test table shared by the MP3, AIFF and WAV writer tests. Columns:
//   field (QString)      song property written by name
//   value (QString)      the value given to the setter
//   frameId (QByteArray) the frame it must end up in
//   frameText (QString)  that frame's text; "" when no frame may remain
//   readBack (QString)   the property as the reader gives it back
// With a prefix, row names begin with it ("aiff: ...") and the prefix is not a column.
void addID3FieldColumns();
void addID3FieldRows(const QString &prefix = QString());

// Fills the tag with values other than any row's: every mapped frame, plus frames the system
// never reads (a "TXXX" frame, a comment and lyrics with a description, a "PRIV" frame).
void prefillID3Tag(TagLib::ID3v2::Tag *tag);
// "" when the frames prefillID3Tag() added that the system never reads are all still there.
QString id3KeptFramesMismatch(TagLib::ID3v2::Tag *tag);

// "" when the tag holds exactly what the row wants for frameId: no frame for an empty
// frameText, else one frame with that text. For comments and lyrics only the frames without a
// description count, and the one wanted must be in language "eng".; otherwise a description of the difference.
QString id3FieldMismatch(TagLib::ID3v2::Tag *tag, const QByteArray &frameId, const QString &frameText);
