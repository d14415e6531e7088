// The recipe runner's handling of the process-wide random generator: a noise step
// starts from its recorded state or where the chain's previous one stopped, and
// the generator is left as it was found.
#include "recipe/RecipeRunner.h"

#include "image/ImageRGB.h"
#include "ops/OPGauss.h"
#include "util/RandomGenerator.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace ivra;

namespace {

std::unique_ptr<ImageRGB> picture()
{
    auto image = std::make_unique<ImageRGB>(5, 4);
    for (int i = 0; i < 20; ++i)
        image->setPixel(i, static_cast<std::int16_t>(12 * i), static_cast<std::int16_t>(250 - 9 * i), 128);
    return image;
}

// The core's own two Gauss runs from `state`, one after the other.
std::unique_ptr<Image> twoGaussFrom(std::uint32_t state)
{
    RandomGenerator::instance().setState(state);
    const auto once = OPGauss().execute(*picture(), GaussParams{0, 30});
    return OPGauss().execute(*once, GaussParams{5, 20});
}

bool same(const Image& a, const Image& b)
{
    const auto& x = static_cast<const ImageRGB&>(a);
    const auto& y = static_cast<const ImageRGB&>(b);
    const std::size_t n = 3 * static_cast<std::size_t>(x.width()) * x.height(); // the planes are one block
    return std::equal(x.plane(0), x.plane(0) + n, y.plane(0));
}

} // namespace

TEST(RecipeRunner, NoiseStartsFromTheRecordedStateAndLeavesTheGeneratorAlone)
{
    const std::vector<recipe::StepCall> calls{{"gauss", {{"variance", "30"}}, {}, 77u},
                                              {"gauss", {{"mean", "5"}, {"variance", "20"}}}};
    const auto expected = twoGaussFrom(77);
    RandomGenerator::instance().setState(12345);
    nlohmann::ordered_json record = nlohmann::ordered_json::array();
    const recipe::StepResult result = recipe::runSteps({picture(), "p"}, calls, nullptr, &record);
    EXPECT_TRUE(same(static_cast<const Image&>(*result.data), *expected));
    EXPECT_EQ(RandomGenerator::instance().state(), 12345u);
    EXPECT_EQ(record[0]["random_state"], 77);
    // The second step records where the first stopped.
    RandomGenerator::instance().setState(77);
    OPGauss().execute(*picture(), GaussParams{0, 30});
    EXPECT_EQ(record[1]["random_state"], RandomGenerator::instance().state());
    // Without a recorded state the chain starts from 1.
    const auto fromOne = twoGaussFrom(1);
    std::vector<recipe::StepCall> unrecorded = calls;
    unrecorded[0].randomState.reset();
    EXPECT_TRUE(same(static_cast<const Image&>(*recipe::runSteps({picture(), "p"}, unrecorded).data), *fromOne));
}
