#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a file that hold its audio, found by walking the container without TagLib, so
// that tests can prove a tag write left them alone:
//   MP3   everything after the leading ID3v2 tag (and the tags directly behind it), up to the
//         trailing APE, ID3v1 and footed ID3v2 tags; not recognised with an ID3v2 header amid it;
//   FLAC  the STREAMINFO block and the frames after the last metadata block;
//   MP4   the payload of every top-level "mdat" atom;
//   AIFF  the "COMM" and "SSND" chunks;  WAV  the "fmt " and "data" chunks.
// Empty when the file cannot be read or its layout is not recognised. The format is taken from
// the extension.
QByteArray audioStream(const QString &path);
