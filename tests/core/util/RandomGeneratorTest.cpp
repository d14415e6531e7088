#include "util/RandomGenerator.h"

#include <gtest/gtest.h>

#include <vector>

using namespace ivra;

using ivra::RandomGenerator;

TEST(RandomGenerator, StartsWithThePortableSequence)
{
    auto& random = RandomGenerator::instance();
    const auto saved = random.state();
    random.setState(RandomGenerator::initialState);
    std::vector<int> drawn;
    for (int i = 0; i < 10; ++i)
        drawn.push_back(random.next());
    EXPECT_EQ(drawn, (std::vector<int>{16838, 5758, 10113, 17515, 31051, 5627, 23010, 7419, 16212, 4086}));
    EXPECT_EQ(random.state(), 267834847u);
    random.setState(saved);
}

TEST(RandomGenerator, StaysInRangeAndWrapsTheState)
{
    auto& random = RandomGenerator::instance();
    const auto saved = random.state();
    random.setState(0xFFFFFFFFu);
    int lowest = RandomGenerator::maxValue;
    int highest = 0;
    for (int i = 0; i < 100000; ++i) {
        const int value = random.next();
        lowest = std::min(lowest, value);
        highest = std::max(highest, value);
    }
    EXPECT_EQ(lowest, 0);
    EXPECT_EQ(highest, RandomGenerator::maxValue);
    random.setState(saved);
}

TEST(RandomGenerator, GuardGivesBackTheDrawsUnlessReleased)
{
    auto& random = RandomGenerator::instance();
    random.setState(42);
    {
        ivra::RandomStateGuard guard;
        random.next();
        random.next();
    }
    EXPECT_EQ(random.state(), 42u);
    {
        ivra::RandomStateGuard guard;
        random.next();
        guard.release();
    }
    EXPECT_NE(random.state(), 42u);
}
