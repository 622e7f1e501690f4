#include "heaptuning.h"

#include <QtTest>

#include <cstdlib>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QUORL_HEAP_REPLACED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define QUORL_HEAP_REPLACED 1
#endif

class TestHeapTuning : public QObject {
    Q_OBJECT

private slots:
    // After tuning, a freed block of a few MiB stays with the process for the next file: it is
    // taken from the heap rather than mapped on its own, and freeing it does not shrink the heap.
    void freedMemoryIsKept()
    {
#if defined(QUORL_HEAP_REPLACED)
        QSKIP("the address sanitizer replaces the C library's allocator");
#elif !defined(__GLIBC__)
        QSKIP("only the GNU C library has these settings");
#else
        HeapTuning::keepFreedMemory();
        constexpr size_t blockSize = 8 * 1024 * 1024;
        const struct mallinfo2 before = mallinfo2();
        void *block = std::malloc(blockSize);
        QVERIFY(block != nullptr);
        std::memset(block, 1, blockSize);
        const struct mallinfo2 holding = mallinfo2();
        QCOMPARE(holding.hblkhd, before.hblkhd); // not mapped on its own
        std::free(block);
        const struct mallinfo2 after = mallinfo2();
        QVERIFY2(after.arena >= before.arena + blockSize,
                 qPrintable(QStringLiteral("heap %1 bytes after, %2 before")
                                .arg(after.arena)
                                .arg(before.arena)));
#endif
    }
};

QTEST_GUILESS_MAIN(TestHeapTuning)
#include "test_heaptuning.moc"
