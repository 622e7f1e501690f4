#pragma once

#include "tools/pattern.h"

#include <QString>
#include <QVariantHash>

#include <memory>

class Song;

// The pattern written in the command line's syntax ("{Track} - {Title}"). A text that does not
// parse is a mistake in the test and ends it.
Pattern patternFromText(const QString &syntax);

// Each element in its own brackets, so that neighbouring literals stay apart:
// "{Track}[ - ]{Title}".
QString describePattern(const Pattern &pattern);

// A song as loading leaves it, without a file: the path, the file name taken from the path, the
// fields set by property name ("track", "title", "year", "length", ...), and no flag set.
std::unique_ptr<Song> makeSong(const QString &path, const QVariantHash &fields = {});
