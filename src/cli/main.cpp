// ivra-cli: runs the workbench's operators headless.
//   ivra-cli INPUT... [STEP...] -o OUTPUT [--labels LABELS] [--json] [--hsv-input] [--jobs N] [--threads N]
//   ivra-cli --recipe RECIPE INPUT... -o OUTPUT [...]
//   ivra-cli [STEP... | --recipe RECIPE] --print-recipe
#include "BatchRunner.h"
#include "CliError.h"
#include "InputLoader.h"
#include "InputRun.h"
#include "Options.h"
#include "RunPlan.h"

#include "recipe/Recipe.h"

#include "util/MessageSink.h"
#include "util/Threads.h"

#include <QFile>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <unistd.h>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace ivra::cli {
namespace {

std::vector<StepCall> readRecipeFile(const std::string& path)
{
    QFile file(qPath(path));
    if (!file.open(QIODevice::ReadOnly))
        throw CliError(path + ": cannot read: " + file.errorString().toStdString());
    try {
        return recipe::readRecipe(file.readAll().toStdString());
    } catch (const recipe::RecipeError& e) {
        throw CliError(path + ": " + e.what());
    }
}

int run(int argc, char** argv, std::FILE* err)
{
    const Options o = parseArguments(argc, argv);
    if (o.threads > 0)
        setDefaultThreadCount(o.threads);
    const std::vector<StepCall> calls = o.recipe.empty() ? parseSteps(o.steps) : readRecipeFile(o.recipe);
    if (o.printRecipe) {
        // The steps run once on a tiny blank picture to fill in their defaults;
        // what the operators say about that picture is of no interest.
        class Silent : public MessageSink {
            void message(const std::string&) override {}
        };
        MessageSink::install(std::make_unique<Silent>());
        std::cout << recipe::recipeText(recipe::recordSteps(calls, o.hsvInput ? TypeImageHSV : 0)) << std::endl;
        return 0;
    }
    const std::vector<Options> runs = planRuns(o);
    if (runs.size() > 1)
        return runBatch(runs, calls, err);
#if defined(__GLIBC__)
    // One input: the kernels' worker threads allocate from the main heap, whose pages
    // are mostly touched already; a heap of their own starts on fresh pages, about 30
    // page faults per worker in every process, as long as a small kernel on a virtual
    // machine. (A batch keeps a heap per job thread.)
    mallopt(M_ARENA_MAX, 1);
#endif
    InputTimes times;
    const std::string summary = runInput(runs[0], calls, false, times);
    if (o.json)
        std::cout << summary << std::endl;
    return 0;
}

void reportError(const std::string& message)
{
    std::string line = message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::cerr << "ivra-cli: " << line << std::endl;
}

// Standard error as it was at the start: a picture decoder's stretch with
// standard error shut (InputLoader) never swallows our own lines.
std::FILE* ownStandardError()
{
    const int fd = ::dup(STDERR_FILENO);
    std::FILE* stream = fd >= 0 ? ::fdopen(fd, "w") : nullptr;
    if (!stream)
        return stderr;
    std::setvbuf(stream, nullptr, _IOLBF, 0);
    return stream;
}

// A batch allocates and frees the same picture-sized blocks for every input. Kept
// in the heap rather than handed back to the system, they are reused as they are;
// fresh memory costs a page fault and the zeroing of every page, and unmapping it
// stalls the other jobs' page faults. Blocks of 32 MiB and more (pictures of
// several megapixels) are still mapped apart and given back when freed.
void keepFreedMemory()
{
#if defined(__GLIBC__)
    ::mallopt(M_MMAP_THRESHOLD, 32 << 20); // the largest the allocator takes
    ::mallopt(M_TRIM_THRESHOLD, INT_MAX);
#endif
}

} // namespace
} // namespace ivra::cli

int main(int argc, char** argv)
{
    // Diagnostic lines of the operators go to standard error; standard output
    // carries only the JSON summary.
    ivra::cli::keepFreedMemory();
    std::FILE* err = ivra::cli::ownStandardError();
    ivra::MessageSink::install(std::make_unique<ivra::StreamMessageSink>(err, err));
    // The toolkit's own warnings (a decoder complaining about a broken file) are
    // dropped: a failure is reported once, as the one error line below.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-h" || a == "--help") {
            std::cout << ivra::cli::helpText();
            return 0;
        }
        if (a == "--version") {
            std::cout << ivra::cli::versionText();
            return 0;
        }
    }
    try {
        return ivra::cli::run(argc, argv, err);
    } catch (const std::exception& e) {
        ivra::cli::reportError(e.what());
    }
    return 2;
}
