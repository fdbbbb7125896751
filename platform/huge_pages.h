#pragma once

#include <cstddef>

// Asks the kernel to back the 2 MiB-aligned middle of a large, not yet
// written buffer with huge pages. A diary of a million days is two 16 MB
// buffers (the file's bytes and the records); filled 4 KiB at a time they
// cost some 8,000 page faults, a third of a render's CPU time. Only a hint:
// where the kernel cannot or will not, nothing changes.
void AdviseHugePages(void* data, std::size_t size);
