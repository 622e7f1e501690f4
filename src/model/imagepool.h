#pragma once

#include "model/image.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>

#include <memory>

// Makes Image values so that equal pictures share one byte buffer and each distinct buffer is
// digested once: twelve songs of an album with the same cover keep one copy in memory, and
// loading does not pay for an MD5 per song. Thread-safe; readers call it from worker threads.
// Holds only weak references, so pictures no song keeps are freed.
class ImagePool {
public:
    static ImagePool &shared();

    ImagePool() = default;
    ImagePool(const ImagePool &) = delete;
    ImagePool &operator=(const ImagePool &) = delete;

    // An Image equal to Image(bytes), sharing the buffer of an equal picture made earlier if one
    // is still alive.
    Image imageFor(const QByteArray &bytes);

    // Number of distinct live buffers (for tests and the benchmark).
    int liveCount();
    // Number of digests computed so far (for tests and the benchmark).
    qint64 digestCount();

private:
    using Entry = std::weak_ptr<const ImageData>;

    // Pictures are first told apart by their size and a hash of a sample of their bytes; only
    // pictures with the same key are compared byte for byte.
    static quint64 keyFor(const QByteArray &bytes);
    // The live pictures under the key; drops the dead ones. Called with the lock held.
    QList<std::shared_ptr<const ImageData>> candidates(quint64 key);
    void sweep();

    QMutex m_mutex;
    QHash<quint64, QList<Entry>> m_entries;
    int m_insertsSinceSweep = 0;
    qint64 m_digests = 0;
};
