#pragma once

#include <QString>
#include <QStringList>

// The shared corpus of real-world files, read where it lies, and the child processes that handle
// one of its files each: this test executable started again with "--one FILE", so that a crash,
// a sanitizer report or a hang names its file.
namespace CorpusFiles {

QString folder();
bool exists();
// The files the editor would load (by their extension), in a stable order.
QStringList musicFiles();
// Adds the column "path" and one row per music file, named by its path inside the corpus.
void addMusicFileRows();

// Runs this executable with "--one path". Empty when the child ended normally with exit code 0
// and no sanitizer report; else what went wrong, saying what the child was `doing` to the file.
// The child's standard output goes to *output.
QString runOneInChild(const QString &path, const QString &doing, int timeLimitMs, QString *output);

} // namespace CorpusFiles
