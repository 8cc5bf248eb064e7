#include "core/compile/LargeBlock.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

TEST(LargeBlock, StartsOnALargePageHoldsWhatWasAskedAndRefusesTheImpossible) {
    for (const std::size_t count : {std::size_t{1}, std::size_t{262'100}, std::size_t{300'000}}) {
        const LargeBlock<std::uint64_t> block = AllocateLargeArray<std::uint64_t>(count);
        ASSERT_TRUE(block);
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block.get()) % (std::uintptr_t{2} << 20), 0u);
        std::memset(block.get(), 0xA5, count * sizeof(std::uint64_t));  // all of it is ours
    }
    EXPECT_FALSE(AllocateLargeArray<std::uint64_t>(SIZE_MAX / 4));
    EXPECT_EQ(AllocateLarge(SIZE_MAX - 10), nullptr);
}
