#pragma once
// Room on the process heap for a large drawing, in 2 MB pages.
//
// Building a large drawing's objects touches hundreds of megabytes of fresh
// heap memory in small allocations. In 4 KB pages that is one page fault per
// 4 KB, which on virtual machines costs a large share of reading and of the
// first pass over the objects. The reservation grows the heap once by the
// given size and advises that range for transparent huge pages, so the
// allocations that follow are carved from memory faulted in 2 MB at a time.
// Untouched reserved memory costs address space only.

#include <cstddef>

// Makes sure at least `bytes` of advised heap lie above what is in use now.
// The first call also stops the allocator from handing the heap top back to
// the system, so the reservation outlives frees. A hint only: does nothing
// (and returns false) where the system has no huge pages on request, when
// the allocator in use does not carve from the program break, or when the
// heap cannot grow; returns true when a range was advised.
bool acdbReserveHeap(size_t bytes);
