#include "model/image.h"
#include "model/imagepool.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QTest>
#include <QThread>

#include <vector>

namespace {

QByteArray randomBytes(qsizetype size, quint32 seed)
{
    QRandomGenerator generator(seed);
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char(generator.bounded(256));
    return bytes;
}

} // namespace

class TestImage : public QObject {
    Q_OBJECT

private slots:
    void digestIsMd5();
    void equalityByDigest();
    void nullImage();
    void poolSharesEqualBuffers();
    void poolTellsApartSameSample_data();
    void poolTellsApartSameSample();
    void poolFreesUnusedPictures();
    void poolFromSeveralThreads();
    void poolCopiesOnlyNewPictures();
    void digestWaitsForFirstUse();
};

void TestImage::digestIsMd5()
{
    // The MD5 of "abc" from RFC 1321.
    const Image image(QByteArray("abc"));
    QCOMPARE(image.hashHex(), QByteArray("900150983cd24fb0d6963f7d28e17f72"));
    QCOMPARE(image.hash().size(), 16);
    QCOMPARE(image.data(), QByteArray("abc"));

    const Image given(QByteArray("xyz"), QByteArray(16, '\1'));
    QCOMPARE(given.hash(), QByteArray(16, '\1'));
}

void TestImage::equalityByDigest()
{
    const QByteArray bytes = randomBytes(10000, 1);
    QByteArray changed = bytes;
    changed[5000] = char(changed[5000] ^ 1);

    const Image a(bytes);
    const Image b(QByteArray(bytes.constData(), bytes.size())); // a separate buffer
    const Image c(changed);
    QVERIFY(a.isEqualToImage(b));
    QVERIFY(a == b);
    QVERIFY(!a.isEqualToImage(c));

    // Only the digest decides, not the bytes.
    const Image labelled(QByteArray("other bytes"), a.hash());
    QVERIFY(labelled.isEqualToImage(a));
}

void TestImage::nullImage()
{
    const Image none;
    QVERIFY(none.isNull());
    QVERIFY(none.data().isEmpty());
    QVERIFY(!Image(QByteArray()).isNull()); // an empty buffer still has a digest
    QVERIFY(!none.isEqualToImage(Image(QByteArray())));
    // A digest given as empty stays empty: such an image has none.
    QVERIFY(Image(QByteArray("abc"), QByteArray()).isNull());
}

void TestImage::poolSharesEqualBuffers()
{
    ImagePool pool;
    const QByteArray bytes = randomBytes(200000, 2);
    const QByteArray copy(bytes.constData(), bytes.size());
    QVERIFY(copy.constData() != bytes.constData());

    const Image first = pool.imageFor(bytes);
    const Image second = pool.imageFor(copy);
    QCOMPARE(first.hash(), Image(bytes).hash());
    QVERIFY(first == second);
    // The second picture keeps the first one's buffer; the copy can be freed.
    QCOMPARE(second.data().constData(), first.data().constData());
    QCOMPARE(pool.digestCount(), 1);
    QCOMPARE(pool.liveCount(), 1);

    const Image other = pool.imageFor(randomBytes(200000, 3));
    QVERIFY(!(other == first));
    QCOMPARE(pool.digestCount(), 2);
    QCOMPARE(pool.liveCount(), 2);
}

void TestImage::poolTellsApartSameSample_data()
{
    QTest::addColumn<qsizetype>("size");
    QTest::addColumn<qsizetype>("changedAt");

    // Pictures that differ only where the bucket key does not look share a bucket; the byte
    // comparison must still keep them apart.
    QTest::newRow("middle of a large picture") << qsizetype(100000) << qsizetype(50000);
    QTest::newRow("just past the head sample") << qsizetype(8193) << qsizetype(4096);
    QTest::newRow("small picture, last byte") << qsizetype(10) << qsizetype(9);
}

void TestImage::poolTellsApartSameSample()
{
    QFETCH(qsizetype, size);
    QFETCH(qsizetype, changedAt);

    ImagePool pool;
    const QByteArray bytes = randomBytes(size, 4);
    QByteArray changed = bytes;
    changed[changedAt] = char(changed[changedAt] + 1);

    const Image a = pool.imageFor(bytes);
    const Image b = pool.imageFor(changed);
    QVERIFY(!a.isEqualToImage(b));
    QCOMPARE(b.data(), changed);
    QCOMPARE(b.hash(), Image(changed).hash());
    QCOMPARE(pool.imageFor(changed).data().constData(), b.data().constData());
    QCOMPARE(pool.liveCount(), 2);
}

void TestImage::poolFreesUnusedPictures()
{
    ImagePool pool;
    {
        const Image kept = pool.imageFor(randomBytes(5000, 5));
        QCOMPARE(kept.hash().size(), 16);
        QCOMPARE(pool.liveCount(), 1);
    }
    QCOMPARE(pool.liveCount(), 0);

    // A picture made again after it was freed is digested again and still correct.
    const QByteArray bytes = randomBytes(5000, 5);
    const Image again = pool.imageFor(bytes);
    QCOMPARE(again.hash(), Image(bytes).hash());
    QCOMPARE(pool.digestCount(), 2);
}

void TestImage::poolFromSeveralThreads()
{
    ImagePool pool;
    constexpr int Threads = 6;
    constexpr int Distinct = 8;
    constexpr int Rounds = 40;
    std::vector<QByteArray> sources;
    for (int i = 0; i < Distinct; ++i)
        sources.push_back(randomBytes(30000 + i, quint32(100 + i)));

    std::vector<std::vector<Image>> made(Threads);
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < Threads; ++t) {
        threads.emplace_back(QThread::create([&, t] {
            for (int round = 0; round < Rounds; ++round) {
                // Each thread brings its own copies, as readers do.
                const QByteArray &source = sources[size_t((round + t) % Distinct)];
                made[size_t(t)].push_back(pool.imageFor(QByteArray(source.constData(), source.size())));
            }
        }));
        threads.back()->start();
    }
    for (auto &thread : threads)
        QVERIFY(thread->wait(60000));

    QCOMPARE(pool.liveCount(), Distinct);
    for (int i = 0; i < Distinct; ++i) {
        const QByteArray digest = QCryptographicHash::hash(sources[size_t(i)], QCryptographicHash::Md5);
        const char *buffer = nullptr;
        for (const auto &images : made) {
            for (const Image &image : images) {
                if (image.hash() != digest)
                    continue;
                QCOMPARE(image.data(), sources[size_t(i)]);
                if (!buffer)
                    buffer = image.data().constData();
                QCOMPARE(image.data().constData(), buffer);
            }
        }
        QVERIFY(buffer);
    }
    // Two threads may digest the same new picture at once, but never more than once each.
    QVERIFY(pool.digestCount() >= Distinct);
    QVERIFY(pool.digestCount() <= Distinct * Threads);
}

void TestImage::poolCopiesOnlyNewPictures()
{
    ImagePool pool;
    // Bytes that belong to someone else, as a tag's picture does.
    const QByteArray tagBytes = randomBytes(60000, 6);
    const Image first = pool.imageFor(QByteArrayView(tagBytes));
    QCOMPARE(first.data(), tagBytes);
    QVERIFY(first.data().constData() != tagBytes.constData());

    // An equal picture from another buffer gets the pooled one, not a copy of its own.
    const QByteArray sameBytes(tagBytes.constData(), tagBytes.size());
    const Image second = pool.imageFor(QByteArrayView(sameBytes));
    QCOMPARE(second.data().constData(), first.data().constData());
    QCOMPARE(pool.liveCount(), 1);

    // A buffer handed over as such is kept, as before.
    const QByteArray own = randomBytes(60000, 7);
    QCOMPARE(pool.imageFor(own).data().constData(), own.constData());

    QByteArray changed = tagBytes;
    changed[30000] = char(changed[30000] + 1);
    const Image third = pool.imageFor(QByteArrayView(changed));
    QVERIFY(third.data().constData() != first.data().constData());
    QVERIFY(!(third == first));

    // An empty tag picture may come without any data pointer.
    const Image empty = pool.imageFor(QByteArrayView());
    QCOMPARE(pool.imageFor(QByteArrayView()).data().constData(), empty.data().constData());
    QCOMPARE(empty.hash(), Image(QByteArray()).hash());
}

void TestImage::digestWaitsForFirstUse()
{
    ImagePool pool;
    const QByteArray bytes = randomBytes(100000, 8);
    const Image image = pool.imageFor(QByteArrayView(bytes));
    const Image again = pool.imageFor(QByteArrayView(bytes));
    QVERIFY(!image.isNull());
    QCOMPARE(pool.digestCount(), 0);

    // Many threads ask at once: one digest, and every thread sees it.
    const QByteArray expected = QCryptographicHash::hash(bytes, QCryptographicHash::Md5);
    constexpr int Threads = 6;
    std::vector<QByteArray> seen(Threads);
    std::vector<std::unique_ptr<QThread>> threads;
    for (int t = 0; t < Threads; ++t) {
        const Image copy = t % 2 ? image : again;
        threads.emplace_back(QThread::create([copy, &seen, t] { seen[size_t(t)] = copy.hash(); }));
        threads.back()->start();
    }
    for (auto &thread : threads)
        QVERIFY(thread->wait(60000));
    for (const QByteArray &digest : seen)
        QCOMPARE(digest, expected);
    QCOMPARE(pool.digestCount(), 1);
    QCOMPARE(image.hashHex(), expected.toHex());
    QCOMPARE(pool.digestCount(), 1);
}

QTEST_GUILESS_MAIN(TestImage)
#include "test_image.moc"
