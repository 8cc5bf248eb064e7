#include "core/compile/LargeBlock.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>

namespace {

constexpr std::size_t kHugePage = std::size_t{2} << 20;

// Asks the system to back the whole 2 MB pages inside a block with large pages (a hint).
void AdviseHugePages(void* data, std::size_t size) {
    const auto begin = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t first = (begin + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t last = (begin + size) & ~(kHugePage - 1);
    if (last > first)
        ::madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

}  // namespace

void* AllocateLarge(std::size_t bytes) {
    if (bytes > SIZE_MAX - kHugePage)
        return nullptr;
    // A last page that would be nearly full is taken whole, so that it can be a large page too;
    // a larger remainder stays in small pages rather than hold memory that is never used.
    const std::size_t whole = (bytes + kHugePage - 1) & ~(kHugePage - 1);
    const std::size_t size = whole - bytes <= kHugePage / 4 ? whole : bytes;
    void* data = nullptr;
    if (::posix_memalign(&data, kHugePage, std::max<std::size_t>(size, 1)) != 0)
        return nullptr;
    AdviseHugePages(data, size);
    return data;
}
