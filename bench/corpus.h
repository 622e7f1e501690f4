#pragma once

#include "model/result.h"

#include <QString>

// A benchmark corpus on disk: fixture copies tagged as CorpusPlan says, one JPEG cover per
// album shared by its songs, and a manifest that lets a later run reuse the folder.
struct Corpus {
    QString folder;
    int songCount = 0;
    int albumCount = 0;
    qint64 distinctPictureBytes = 0; // sum of the sizes of the album covers

    // The corpus of songCount songs under parent ("<parent>/corpus-<songCount>"), if a complete
    // one is there.
    static Result<Corpus> open(const QString &parent, int songCount);
    // Makes the corpus, replacing an incomplete one; progress goes to standard error.
    static Result<Corpus> make(const QString &parent, int songCount, const QString &fixtureFolder);
    static QString folderFor(const QString &parent, int songCount);
    // The complete corpus if there is one, else a new one (made is then set; a message says so
    // on standard output).
    static Result<Corpus> openOrMake(const QString &parent, int songCount, const QString &fixtureFolder,
                                     bool *made);
};
