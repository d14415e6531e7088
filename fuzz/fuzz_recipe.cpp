// The recipe reader on any text: a recipe it takes runs on a 4 x 4 picture.
// Refusals are RecipeErrors or an operator refusing its input; anything else is a bug.
#include "FuzzSupport.h"

#include "recipe/Recipe.h"
#include "recipe/RecipeRunner.h"

#include "image/ImageRGB.h"
#include "util/MessageSink.h"

#include <stdexcept>

namespace {

class QuietSink : public ivra::MessageSink {
public:
    void message(const std::string&) override {}
};

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ivra::MessageSink::install(std::make_unique<QuietSink>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    try {
        const auto calls = ivra::recipe::readRecipe(std::string(reinterpret_cast<const char*>(data), size));
        auto image = std::make_unique<ivra::ImageRGB>(4, 4);
        for (int i = 0; i < 16; ++i)
            image->setPixel(i, static_cast<std::int16_t>(i * 37 % 256), static_cast<std::int16_t>(i * 91 % 256), 9);
        ivra::recipe::runSteps({std::move(image), "picture"}, calls);
    } catch (const ivra::recipe::RecipeError&) {
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
