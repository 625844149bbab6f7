// The heap of a short command-line run. A 4000-point run writes about a megabyte of fresh memory
// (point arrays, the simulation's work arrays, the export text); on a virtual machine every first
// touch of a 4 KB page is a trap costing several microseconds, which together outweigh the
// computation. Backing the heap with transparent huge pages turns those hundreds of traps into
// one or two.
#pragma once

namespace zemra {

// Prepares the process heap so that the next few megabytes of allocations, small and large, are
// served from memory advised for transparent huge pages. Call once, first thing in main, before
// the program allocates its working memory. Where the system or the allocator does not allow it
// (no huge pages, another allocator, a sanitizer's heap), it changes nothing and returns false.
bool PrepareHugePageHeap();

}  // namespace zemra
