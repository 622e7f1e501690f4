#pragma once

#include <QString>

// File-name helpers shared by the song model, saving and the naming tool.
namespace FileUtil {

// Makes a text usable as a file name: makes every control character (NUL, tab, line breaks,
// DEL, ...) and line or paragraph separator a blank, trims it, replaces path separators and
// colons by "-", with "ENSURE_VALID_WINDOWS_FILES" on (read at each call) also the characters
// Windows refuses, strips hyphens at both ends and turns each run of blanks into one blank.
QString sanitizeFileName(const QString &fileName);

} // namespace FileUtil
