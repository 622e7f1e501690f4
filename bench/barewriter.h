#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The yardstick of the save benchmark: every file opened with TagLib alone, its title set and
// the file saved, as a program without songs would do it (MP3 saved as ID3v2.4 without an ID3v1
// copy, like the editor's save pass; every other type with its own plain save()).
namespace BareWriter {

// Sets the title of every file and saves it; returns how many saves succeeded. With picture
// bytes, the picture is added to each file as its front cover as well (a tag that grows past
// its padding, so that TagLib moves the audio).
int setTitles(const QStringList &paths, const QString &title, const QByteArray &picture = {});

// The title of the file as TagLib reads it (empty when it cannot be read).
QString titleOf(const QString &path);

} // namespace BareWriter
