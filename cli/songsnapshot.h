#pragma once

#include "model/image.h"

#include <QList>
#include <QString>
#include <QVariant>

class Song;

// The values of a song before a command changed it, to tell what the command changed and to put
// back a song the command failed on.
class SongSnapshot {
public:
    explicit SongSnapshot(const Song &song);

    // One field that differs: a song property name ("title", "year"; "images" for the pictures,
    // as lists of their MD5 sums) with its value before and now.
    struct Change {
        QString key;
        QVariant before;
        QVariant now;
    };
    // The fields that differ now, in the order of the tag fields, the pictures last; the file
    // name is left to the rename.
    QList<Change> changes(const Song &song) const;

    // Puts every value back through the setters, the file name included, and clears the flags
    // when the song had none.
    void restore(Song *song) const;

    const QString &fileName() const { return m_fileName; }

private:
    QList<QVariant> m_values;
    QList<Image> m_images;
    QString m_fileName;
    bool m_wasModified;
};
