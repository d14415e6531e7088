// ivra-cli's argument parsing on any arguments (the input split at NUL bytes):
// options and steps are read, and the steps run on a 4 x 4 picture. Refusals are
// CliErrors or an operator refusing its input; anything else is a bug.
#include "FuzzSupport.h"

#include "CliError.h"
#include "Options.h"
#include "RunCounters.h"
#include "StepCatalogue.h"

#include "image/ImageRGB.h"
#include "util/MessageSink.h"

#include <stdexcept>

namespace {

// Operators' progress lines are of no interest here.
class QuietSink : public ivra::MessageSink {
public:
    void message(const std::string&) override {}
};

std::unique_ptr<ivra::DataObject> smallPicture()
{
    auto image = std::make_unique<ivra::ImageRGB>(4, 4);
    for (int p = 0; p < 3; ++p)
        for (int i = 0; i < 16; ++i)
            image->plane(p)[i] = (i * 37 + p * 91) % 256;
    return image;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    ivra::MessageSink::install(std::make_unique<QuietSink>());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> words{"ivra-cli"};
    for (std::size_t i = 0, start = 0; i <= size; ++i)
        if (i == size || data[i] == 0) {
            words.emplace_back(reinterpret_cast<const char*>(data) + start, i - start);
            start = i + 1;
        }
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    try {
        const ivra::cli::Options o = ivra::cli::parseArguments(static_cast<int>(argv.size()), argv.data());
        std::unique_ptr<ivra::DataObject> current = smallPicture();
        ivra::cli::RunCounters counters;
        for (ivra::cli::StepCall& call : ivra::cli::parseSteps(o.steps)) {
            ivra::cli::StepArgs args(call.name, std::move(call.values), current->type());
            current = ivra::cli::findStep(call.name)->run(*current, args, counters).data;
        }
    } catch (const ivra::cli::CliError&) {
    } catch (const std::invalid_argument&) {
    }
    return 0;
}
