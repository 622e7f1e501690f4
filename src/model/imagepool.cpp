#include "model/imagepool.h"

#include <QMutexLocker>

#include <cstring>

namespace {

// Bytes hashed from each end of a picture to pick its bucket.
constexpr qsizetype SampleSize = 4096;
// Dead entries are swept out of the whole table after this many insertions.
constexpr int SweepInterval = 256;

std::shared_ptr<const ImageData> findEqual(const QList<std::shared_ptr<const ImageData>> &candidates,
                                           QByteArrayView bytes)
{
    for (const auto &candidate : candidates) {
        const QByteArray &pooled = candidate->data();
        if (pooled.size() != bytes.size())
            continue;
        // An empty view may have no data pointer at all; memcmp must not see it.
        if (bytes.isEmpty() || pooled.constData() == bytes.constData()
            || std::memcmp(pooled.constData(), bytes.constData(), size_t(bytes.size())) == 0)
            return candidate;
    }
    return nullptr;
}

} // namespace

ImagePool &ImagePool::shared()
{
    static ImagePool pool;
    return pool;
}

quint64 ImagePool::keyFor(QByteArrayView bytes)
{
    const qsizetype size = bytes.size();
    const char *data = bytes.data();
    size_t hash = qHash(QByteArrayView(data, qMin(size, SampleSize)));
    if (size > SampleSize) {
        const qsizetype tail = qMin(size - SampleSize, SampleSize);
        hash = qHashMulti(hash, QByteArrayView(data + size - tail, tail));
    }
    return (quint64(size) << 32) ^ quint64(hash);
}

QList<std::shared_ptr<const ImageData>> ImagePool::candidates(quint64 key)
{
    QList<std::shared_ptr<const ImageData>> live;
    auto bucket = m_entries.find(key);
    if (bucket == m_entries.end())
        return live;
    QList<Entry> &entries = bucket.value();
    for (qsizetype i = entries.size() - 1; i >= 0; --i) {
        if (auto strong = entries.at(i).lock())
            live.append(std::move(strong));
        else
            entries.removeAt(i);
    }
    if (entries.isEmpty())
        m_entries.erase(bucket);
    return live;
}

Image ImagePool::imageFor(const QByteArray &bytes)
{
    return imageFor(QByteArrayView(bytes), &bytes);
}

Image ImagePool::imageFor(QByteArrayView bytes)
{
    return imageFor(bytes, nullptr);
}

Image ImagePool::imageFor(QByteArrayView bytes, const QByteArray *buffer)
{
    const quint64 key = keyFor(bytes);
    {
        QMutexLocker lock(&m_mutex);
        const auto live = candidates(key);
        lock.unlock();
        // The byte comparison runs outside the lock; the strong references keep the buffers.
        if (auto found = findEqual(live, bytes))
            return Image(std::move(found));
    }

    // A new picture: copied (when it has no buffer of its own) without holding the lock, then
    // published unless another thread published an equal one meanwhile. Its digest waits until
    // someone uses it.
    auto made = std::make_shared<const ImageData>(buffer ? *buffer : bytes.toByteArray(), m_digests);
    QMutexLocker lock(&m_mutex);
    const auto live = candidates(key);
    if (auto found = findEqual(live, bytes))
        return Image(std::move(found));
    m_entries[key].append(made);
    if (++m_insertsSinceSweep >= SweepInterval)
        sweep();
    return Image(std::move(made));
}

void ImagePool::sweep()
{
    m_insertsSinceSweep = 0;
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        it.value().removeIf([](const Entry &entry) { return entry.expired(); });
        if (it.value().isEmpty())
            it = m_entries.erase(it);
        else
            ++it;
    }
}

int ImagePool::liveCount()
{
    QMutexLocker lock(&m_mutex);
    sweep();
    int count = 0;
    for (const QList<Entry> &entries : std::as_const(m_entries))
        count += int(entries.size());
    return count;
}

qint64 ImagePool::digestCount()
{
    return m_digests->load();
}
