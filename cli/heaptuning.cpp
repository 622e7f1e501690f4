#include "heaptuning.h"

#include <cstdlib> // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace HeapTuning {

void keepFreedMemory(int retainedBytes)
{
#if defined(__GLIBC__)
    // Setting either threshold turns off the library's own adjustment of both, so both are set:
    // blocks up to half the retained size (pictures, whole files TagLib shifts on a growing tag)
    // come from the heap and are reused, instead of being mapped and unmapped for every file.
    mallopt(M_MMAP_THRESHOLD, retainedBytes / 2);
    mallopt(M_TRIM_THRESHOLD, retainedBytes);
#else
    (void)retainedBytes;
#endif
}

} // namespace HeapTuning
