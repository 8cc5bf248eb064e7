// Memory for the compile's large tables.
//
// A block starts on a 2 MB boundary and asks the system to back its whole 2 MB pages with large
// pages (a hint). Each small page costs a page fault on first touch, dearly so in a virtual
// machine, and a table read at random misses the TLB on small pages.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <memory>

struct FreeLargeBlock {
    void operator()(void* data) const noexcept { std::free(data); }
};

template <class T>
using LargeBlock = std::unique_ptr<T[], FreeLargeBlock>;

// Null when there is not enough memory.
void* AllocateLarge(std::size_t bytes);

template <class T>
LargeBlock<T> AllocateLargeArray(std::size_t count) {
    if (count > SIZE_MAX / sizeof(T))
        return nullptr;
    return LargeBlock<T>(static_cast<T*>(AllocateLarge(count * sizeof(T))));
}
