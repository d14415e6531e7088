#include "util/RandomGenerator.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ivra;

namespace {

// Read before main(): nothing has drawn yet, so this is where every run of the program starts.
const std::uint32_t stateAtStart = RandomGenerator::instance().state();

} // namespace

// The portable generator of the C standard: from state 1, state * 1103515245 + 12345
// (modulo 2^32), yielding (state / 65536) mod 32768.
TEST(RandomGenerator, PortableSequenceFromStateOne)
{
    EXPECT_EQ(stateAtStart, 1u);
    auto& random = RandomGenerator::instance();
    const auto saved = random.state();
    random.setState(1);
    std::vector<int> drawn;
    for (int i = 0; i < 5; ++i)
        drawn.push_back(random.next());
    EXPECT_EQ(drawn, (std::vector<int>{16838, 5758, 10113, 17515, 31051}));

    std::uint32_t state = 0xFFFFFFF0u; // wraps at once
    random.setState(state);
    for (int i = 0; i < 100000; ++i) {
        state = state * 1103515245u + 12345u;
        ASSERT_EQ(random.next(), static_cast<int>((state >> 16) & 0x7FFF)) << "draw " << i;
    }
    random.setState(saved);
}

TEST(RandomGenerator, GuardGivesBackTheDrawsUnlessReleased)
{
    auto& random = RandomGenerator::instance();
    random.setState(42);
    {
        RandomStateGuard guard;
        random.next();
    }
    EXPECT_EQ(random.state(), 42u);
    {
        RandomStateGuard guard;
        random.next();
        guard.release();
    }
    EXPECT_EQ(random.state(), 42u * 1103515245u + 12345u);
}
