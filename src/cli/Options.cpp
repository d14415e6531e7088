#include "Options.h"

#include "CliError.h"

#include "recipe/StepCatalogue.h"

#include <QFileInfo>

#include <charconv>
#include <exception>

namespace ivra::cli {

using recipe::allSteps;
using recipe::findStep;
using recipe::StepDefinition;

namespace {

const char* const usage =
    "usage: ivra-cli INPUT... [STEP...] -o OUTPUT [--labels LABELS.npy] [--json] [--hsv-input] [--max-pixels N]\n"
    "                [--regions TABLE.csv] [--borders PICTURE [--border-color R,G,B]] [--jobs N]\n"
    "       ivra-cli --recipe RECIPE INPUT... -o OUTPUT [options]\n"
    "       ivra-cli [STEP... | --recipe RECIPE] --print-recipe\n"
    "  INPUT   a .png, .jpg, .bmp, .tif, .pbm, .pgm, .ppm or .xpm picture, or a .npy array:\n"
    "          int32 (H,W) gray, (3,H,W) RGB (HSV with --hsv-input)\n"
    "          pictures of more than N pixels are refused before decoding (--max-pixels;\n"
    "          by default those needing more than 4 GiB of 32-bit planes)\n"
    "  STEP    name or name:key=value,key=value, applied in order; a noise step also takes\n"
    "          random_state=N, the random generator state it starts from; result=N keeps\n"
    "          only the N-th of a step's results (color-histogram:kind=channel gives three:\n"
    "          red, green, blue or hue, saturation, value; without it all three are written)\n"
    "  OUTPUT  .npy (exact values) or .png/.ppm/.pgm/.xpm (the picture as displayed); {stem}\n"
    "          (the input's name without extension) and {dir} (its folder) name one output\n"
    "          per input, and with several inputs {stem} is required\n"
    "  --regions      the region table of a segmentation result as CSV\n"
    "  --borders      the source picture with the region borders painted (default colour 255,255,0)\n"
    "  --recipe RECIPE  run the steps of a recipe file (no steps on the command line)\n"
    "  --print-recipe   print the recipe of the steps and do nothing else\n"
    "  --jobs N         process N inputs at once (default: as many as fit the cores)\n"
    "  --threads N    run the steps on N threads (default: all cores; the results are the same)\n";

// The N of --threads: a whole number of at least 1.
int threadsValue(const std::string& text)
{
    std::size_t used = 0;
    int n = 0;
    try {
        n = std::stoi(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || n < 1)
        throw CliError("option --threads needs a whole number of at least 1, not '" + text + "'");
    return n;
}

// "R,G,B", each 0..255.
RGB24 parseColor(const std::string& text)
{
    int rgb[3];
    std::size_t start = 0;
    for (int k = 0; k < 3; ++k) {
        const std::size_t end = k < 2 ? text.find(',', start) : text.size();
        const std::string part = end == std::string::npos ? "" : text.substr(start, end - start);
        const bool digits = !part.empty() && part.size() <= 3 &&
                            part.find_first_not_of("0123456789") == std::string::npos;
        if (!digits || std::stoi(part) > 255)
            throw CliError("--border-color '" + text + "' is not R,G,B with each value 0..255");
        rgb[k] = std::stoi(part);
        start = end + 1;
    }
    return {static_cast<std::uint8_t>(rgb[0]), static_cast<std::uint8_t>(rgb[1]), static_cast<std::uint8_t>(rgb[2])};
}

// Whether a positional argument after the first input (or with --print-recipe)
// is a step rather than an input: a step's name, with or without keys, that is no
// existing file, or a word without a dot or a slash (an unknown step, reported so).
bool namesStep(const std::string& a)
{
    if (QFileInfo::exists(QString::fromLocal8Bit(a.c_str())))
        return false;
    return findStep(a.substr(0, a.find(':'))) != nullptr || a.find_first_of("./") == std::string::npos;
}

void takeResult(StepCall& call)
{
    if (const auto it = call.values.find("result"); it != call.values.end()) {
        try {
            call.result = recipe::resultNumber(call.name, it->second);
        } catch (const recipe::RecipeError& e) {
            throw CliError(e.what());
        }
        call.values.erase(it);
    }
}

void takeRandomState(StepCall& call)
{
    const auto it = call.values.find("random_state");
    if (it == call.values.end() || !findStep(call.name)->random)
        return;
    std::uint32_t state = 0;
    const std::string& text = it->second;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), state);
    if (ec != std::errc() || ptr != text.data() + text.size())
        throw CliError("step '" + call.name + "': random_state must be an integer in 0..4294967295, not '" + text +
                       "'");
    call.randomState = state;
    call.values.erase(it);
}

StepCall parseStep(const std::string& text)
{
    const std::size_t colon = text.find(':');
    StepCall call{text.substr(0, colon), {}};
    if (!findStep(call.name)) {
        std::string known;
        for (const StepDefinition& d : allSteps())
            known += (known.empty() ? "" : ", ") + d.name;
        throw CliError("unknown step '" + call.name + "' (known steps: " + known + ")");
    }
    if (colon == std::string::npos)
        return call;
    const std::string params = text.substr(colon + 1);
    std::size_t start = 0;
    while (start <= params.size()) {
        std::size_t comma = params.find(',', start);
        if (comma == std::string::npos)
            comma = params.size();
        const std::string pair = params.substr(start, comma - start);
        const std::size_t eq = pair.find('=');
        if (eq == std::string::npos || eq == 0 || eq + 1 == pair.size())
            throw CliError("step '" + call.name + "': parameter '" + pair + "' is not key=value");
        const std::string key = pair.substr(0, eq);
        if (!call.values.emplace(key, pair.substr(eq + 1)).second)
            throw CliError("step '" + call.name + "': key '" + key + "' is given twice");
        start = comma + 1;
    }
    takeRandomState(call);
    takeResult(call);
    return call;
}

// The value of --max-pixels: a positive whole number, given once.
std::int64_t pixelCount(const char* text, std::int64_t previous)
{
    if (previous != 0)
        throw CliError("option --max-pixels is given twice");
    const std::string value = text ? text : "";
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), n);
    if (value.empty() || error != std::errc() || end != value.data() + value.size() || n < 1)
        throw CliError("option --max-pixels needs a positive whole number, not '" + value + "'");
    return n;
}

int jobsValue(const std::string& text)
{
    int jobs = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), jobs);
    if (ec != std::errc() || ptr != text.data() + text.size() || jobs < 1 || jobs > 1024)
        throw CliError("option --jobs needs a number of jobs in 1..1024, not '" + text + "'");
    return jobs;
}

void checkCombination(Options& o)
{
    if (!o.recipe.empty() && !o.steps.empty())
        throw CliError("no step may be given with --recipe (found '" + o.steps[0] + "')");
    if (o.printRecipe)
        return;
    if (o.inputs.empty() || o.inputs[0].empty())
        throw CliError("no input file given");
    if (o.output.empty())
        throw CliError("no output file given (-o OUTPUT)");
    o.input = o.inputs[0];
}

} // namespace

Options parseArguments(int argc, char** argv)
{
    Options o;
    std::vector<std::string> positionals;
    std::string color;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc)
                throw CliError("option " + a + (a == "--border-color" ? " needs R,G,B" : " needs a file name"));
            if (!target.empty())
                throw CliError("option " + a + " is given twice");
            target = argv[++i];
            if (target.empty())
                throw CliError("option " + a + " needs a file name");
        };
        if (a == "-o")
            value(o.output);
        else if (a == "--labels")
            value(o.labels);
        else if (a == "--threads") {
            if (i + 1 >= argc)
                throw CliError("option --threads needs a number");
            if (o.threads != 0)
                throw CliError("option --threads is given twice");
            o.threads = threadsValue(argv[++i]);
        } else if (a == "--regions")
            value(o.regions);
        else if (a == "--borders")
            value(o.borders);
        else if (a == "--border-color")
            value(color);
        else if (a == "--json")
            o.json = true;
        else if (a == "--hsv-input")
            o.hsvInput = true;
        else if (a == "--max-pixels")
            o.maxPixels = pixelCount(i + 1 < argc ? argv[++i] : nullptr, o.maxPixels);
        else if (a == "--recipe")
            value(o.recipe);
        else if (a == "--print-recipe")
            o.printRecipe = true;
        else if (a == "--jobs")
            o.jobs = jobsValue(i + 1 < argc ? argv[++i] : "");
        else if (a.size() > 1 && a[0] == '-')
            throw CliError("unknown option '" + a + "'");
        else
            positionals.push_back(a);
    }
    for (const std::string& a : positionals)
        if (!o.steps.empty() || ((!o.inputs.empty() || o.printRecipe) && namesStep(a)))
            o.steps.push_back(a);
        else
            o.inputs.push_back(a);
    checkCombination(o);
    if (!color.empty()) {
        if (o.borders.empty())
            throw CliError("--border-color needs --borders");
        o.borderColor = parseColor(color);
    }
    return o;
}

std::vector<StepCall> parseSteps(const std::vector<std::string>& steps)
{
    std::vector<StepCall> calls;
    for (const std::string& s : steps)
        calls.push_back(parseStep(s));
    return calls;
}

std::string helpText()
{
    std::string text = usage;
    text += "\nSteps (keys with their ranges and defaults; keys left out take the default):\n";
    for (const StepDefinition& d : allSteps()) {
        const std::vector<std::string> lines = d.help();
        bool same = true;
        bool keys = false;
        for (const std::string& line : lines) {
            same = same && line.substr(line.find(':')) == lines[0].substr(lines[0].find(':'));
            keys = keys || line.substr(line.find(':') + 2) != "";
        }
        std::string name = "  " + d.name;
        name.resize(20, ' ');
        if (same) {
            std::string types;
            for (const int type : d.accepts)
                types += (types.empty() ? "" : " or ") + typeName(type);
            text += name + "on " + types + (keys ? ": " + lines[0].substr(lines[0].find(':') + 2) : "") + "\n";
        } else {
            for (std::size_t i = 0; i < lines.size(); ++i)
                text += (i == 0 ? name : std::string(20, ' ')) + lines[i] + "\n";
        }
    }
    return text;
}

std::string versionText()
{
    return std::string("ivra-cli ") + IVRA_VERSION + "\n";
}

} // namespace ivra::cli
