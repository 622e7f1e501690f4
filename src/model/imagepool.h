#pragma once

#include "model/image.h"

#include <QByteArray>

// Makes Image values so that equal pictures share one byte buffer and each distinct buffer is
// digested once: twelve songs of an album with the same cover keep one copy in memory, and
// loading does not pay for an MD5 per song. Thread-safe; readers call it from worker threads.
// Holds only weak references, so pictures no song keeps are freed.
class ImagePool {
public:
    static ImagePool &shared();

    // An Image equal to Image(bytes), sharing the buffer of an equal picture made earlier if one
    // is still alive.
    Image imageFor(const QByteArray &bytes);

    // Number of distinct live buffers (for tests and the benchmark).
    int liveCount();
};
