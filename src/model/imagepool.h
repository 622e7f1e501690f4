#pragma once

#include "model/image.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QMutex>

#include <memory>

// Makes Image values so that equal pictures share one byte buffer and each distinct buffer is
// digested at most once, when its digest is first used: twelve songs of an album with the same
// cover keep one copy in memory, and loading pays for no MD5 at all. Pictures are told equal by
// their bytes. Thread-safe; readers call it from worker threads. Holds only weak references, so
// pictures no song keeps are freed.
class ImagePool {
public:
    static ImagePool &shared();

    ImagePool() = default;
    ImagePool(const ImagePool &) = delete;
    ImagePool &operator=(const ImagePool &) = delete;

    // An Image equal to Image(bytes), sharing the buffer of an equal picture made earlier if one
    // is still alive; a new picture keeps the given buffer.
    Image imageFor(const QByteArray &bytes);
    // The same for bytes the caller owns elsewhere (a tag's picture): they are copied only when
    // no equal picture is alive, so a repeated cover costs a comparison, not a copy.
    Image imageFor(QByteArrayView bytes);

    // Number of distinct live buffers (for tests and the benchmark).
    int liveCount();
    // Number of digests of this pool's pictures computed so far (for tests and the benchmark).
    qint64 digestCount();

private:
    using Entry = std::weak_ptr<const ImageData>;

    // Pictures are first told apart by their size and a hash of a sample of their bytes; only
    // pictures with the same key are compared byte for byte.
    static quint64 keyFor(QByteArrayView bytes);
    // imageFor() of the bytes; a new picture takes the buffer, or a copy of the bytes without one.
    Image imageFor(QByteArrayView bytes, const QByteArray *buffer);
    // The live pictures under the key; drops the dead ones. Called with the lock held.
    QList<std::shared_ptr<const ImageData>> candidates(quint64 key);
    void sweep();

    QMutex m_mutex;
    QHash<quint64, QList<Entry>> m_entries;
    int m_insertsSinceSweep = 0;
    const ImageData::DigestCounter m_digests = std::make_shared<std::atomic<qint64>>(0);
};
