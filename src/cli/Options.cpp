#include "Options.h"

#include "CliError.h"
#include "StepCatalogue.h"

#include <charconv>
#include <exception>

namespace ivra::cli {

namespace {

const char* const usage =
    "usage: ivra-cli INPUT [STEP...] -o OUTPUT [--labels LABELS.npy] [--json] [--hsv-input] [--max-pixels N]\n"
    "                [--regions TABLE.csv] [--borders PICTURE [--border-color R,G,B]]\n"
    "  INPUT   a .png, .jpg, .bmp, .tif, .pbm, .pgm, .ppm or .xpm picture, or a .npy array:\n"
    "          int32 (H,W) gray, (3,H,W) RGB (HSV with --hsv-input)\n"
    "          pictures of more than N pixels are refused before decoding (--max-pixels;\n"
    "          by default those needing more than 4 GiB of 32-bit planes)\n"
    "  STEP    name or name:key=value,key=value, applied in order\n"
    "  OUTPUT  .npy (exact values) or .png/.ppm/.pgm/.xpm (the picture as displayed)\n"
    "  --regions      the region table of a segmentation result as CSV\n"
    "  --borders      the source picture with the region borders painted (default colour 255,255,0)\n"
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

} // namespace

Options parseArguments(int argc, char** argv)
{
    Options o;
    bool haveInput = false;
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
        else if (a.size() > 1 && a[0] == '-')
            throw CliError("unknown option '" + a + "'");
        else if (!haveInput) {
            o.input = a;
            haveInput = true;
        } else
            o.steps.push_back(a);
    }
    if (!haveInput || o.input.empty())
        throw CliError("no input file given");
    if (o.output.empty())
        throw CliError("no output file given (-o OUTPUT)");
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
