#include "util/ScratchArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace ivra;

TEST(ScratchArena, HandsOutDisjointAlignedArraysFromTheLentBlockThenBeyondIt)
{
    std::vector<std::int64_t> storage(8); // on the heap, below the blocks the arena maps later
    const auto* lent = reinterpret_cast<const std::byte*>(storage.data());
    ScratchArena arena(storage.data(), 64);
    const auto inLent = [&](const void* p, std::size_t bytes) {
        return static_cast<const std::byte*>(p) >= lent && static_cast<const std::byte*>(p) + bytes <= lent + 64;
    };
    char* c = arena.take<char>(3);
    std::int64_t* a = arena.take<std::int64_t>(4); // aligned after the 3 bytes: 8 .. 40
    EXPECT_TRUE(inLent(c, 3) && inLent(a, 32));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(a) % alignof(std::int64_t), 0u);
    EXPECT_GE(reinterpret_cast<std::byte*>(a), reinterpret_cast<std::byte*>(c) + 3);

    const ScratchArena::Mark mark = arena.mark();
    std::int32_t* fits = arena.take<std::int32_t>(6); // exactly the 24 bytes left
    EXPECT_TRUE(inLent(fits, 24));
    arena.rewind(mark);
    EXPECT_EQ(arena.take<std::int32_t>(6), fits);

    std::int32_t* beyond = arena.take<std::int32_t>(1);
    EXPECT_FALSE(inLent(beyond, 4));
    std::int32_t* large = arena.take<std::int32_t>(1 << 20);
    large[(1 << 20) - 1] = 7; // the whole array is usable
    arena.rewind(mark); // a mark in a block the arena left has no effect
    EXPECT_NE(arena.take<std::int32_t>(6), fits);
}
