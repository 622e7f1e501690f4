#pragma once

// Allocator settings for a process that works through many files one after another.
namespace HeapTuning {

// Keeps memory freed after one file for the next instead of returning it to the system at once.
// Reading or saving a file allocates and frees the same few buffers (tag bytes, pictures); with
// the C library's default trimming every file pays again for fresh pages, which on some machines
// costs more than the tag work itself. Up to `retainedBytes` of free memory at the top of the heap
// is kept, and blocks up to half that size come from the heap. Call once at start, before other
// threads exist. Does nothing where the C library has no such setting.
void keepFreedMemory(int retainedBytes = 64 * 1024 * 1024);

} // namespace HeapTuning
