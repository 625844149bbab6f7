#include "platform/StartHeap.h"

#include <cstdlib>  // defines __GLIBC__ under the GNU C library

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZEMRA_FOREIGN_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || \
    __has_feature(thread_sanitizer)
#define ZEMRA_FOREIGN_HEAP 1
#endif
#endif

#if defined(__linux__) && defined(__GLIBC__) && !defined(ZEMRA_FOREIGN_HEAP)
#include <fcntl.h>
#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#define ZEMRA_HUGE_PAGE_HEAP 1
#endif

namespace zemra {

#ifdef ZEMRA_HUGE_PAGE_HEAP
namespace {

constexpr uintptr_t kHugePage = uintptr_t{2} << 20;
constexpr uintptr_t kSmallPage = 4096;
// Room for two huge pages; a 4000-point simulation with its export fits in the first (only the
// pages a run touches are ever taken).
constexpr size_t kAdvised = size_t{4} << 20;
// What the 64-byte probe block and the filler's header add to the filler's size in the heap.
constexpr uintptr_t kBlockOverhead = 96;
constexpr int kDefaultThreshold = 128 * 1024;  // glibc's start values of both thresholds

// True when the kernel gives huge pages to memory that asks for them ("[always]" or
// "[madvise]" selected).
bool HugePagesOnRequest() {
    const int fd = open("/sys/kernel/mm/transparent_hugepage/enabled", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    char text[128] = {};
    const ssize_t n = read(fd, text, sizeof text - 1);
    close(fd);
    if (n <= 0) return false;
    return std::strstr(text, "[always]") != nullptr || std::strstr(text, "[madvise]") != nullptr;
}

void RestoreThresholds() {
    mallopt(M_MMAP_THRESHOLD, kDefaultThreshold);
    mallopt(M_TRIM_THRESHOLD, kDefaultThreshold);
}

}  // namespace

bool PrepareHugePageHeap() {
    if (!HugePagesOnRequest()) return false;
    // Large blocks from the heap instead of a mapping of their own, and no trimming of the heap's
    // top, so that every allocation of the run comes from the advised region.
    if (mallopt(M_MMAP_THRESHOLD, 16 << 20) == 0 || mallopt(M_TRIM_THRESHOLD, 64 << 20) == 0) {
        RestoreThresholds();
        return false;
    }
    void* here = std::malloc(64);
    const uintptr_t h = reinterpret_cast<uintptr_t>(here);
    const uintptr_t boundary = (h + 2 * kSmallPage + kHugePage - 1) & ~(kHugePage - 1);
    // A filler block up to one page below the boundary, never freed (it is address space that
    // is never touched). The block after it then starts just below the boundary and ends a page
    // above the advised range, so the block headers the allocator writes lie outside it: a huge
    // page can only take a 2 MB range in which no small page has been touched yet.
    void* filler = here ? std::malloc(boundary - kSmallPage - h - kBlockOverhead) : nullptr;
    void* reserve = filler ? std::malloc(kAdvised + 2 * kSmallPage) : nullptr;
    const uintptr_t r = reinterpret_cast<uintptr_t>(reserve);
    const uintptr_t end = reinterpret_cast<uintptr_t>(sbrk(0));
    // Only the allocator's own contiguous heap, grown as planned, is advised.
    const bool planned = reserve && r > h && r < boundary && end >= boundary + kAdvised;
    const bool advised =
        planned && madvise(reinterpret_cast<void*>(boundary), kAdvised, MADV_HUGEPAGE) == 0;
    if (!advised) RestoreThresholds();
    std::free(reserve);  // back to the heap's top, where the run's allocations start
    std::free(here);
    if (!advised) std::free(filler);
    return advised;
}
#else
bool PrepareHugePageHeap() {
    return false;
}
#endif

}  // namespace zemra
