// ivra-cli: runs the workbench's operators headless.
//   ivra-cli INPUT [STEP...] -o OUTPUT [--labels LABELS] [--json] [--hsv-input]
#include "Step.h"

#include "DisplayConversion.h"
#include "HistogramPainter.h"
#include "IoError.h"
#include "Npy.h"
#include "PictureReader.h"
#include "PictureWriter.h"

#include "image/Histogram.h"
#include "image/Image.h"
#include "image/ImageRGB.h"
#include "image/ImageSegmented.h"
#include "util/MessageSink.h"

#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <fcntl.h>
#include <unistd.h>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

namespace ivra::cli {
namespace {

const char* const usage =
    "usage: ivra-cli INPUT [STEP...] -o OUTPUT [--labels LABELS.npy] [--json] [--hsv-input]\n"
    "  INPUT   a .png, .pgm or .ppm picture, or a .npy array: int32 (H,W) gray, (3,H,W) RGB\n"
    "          (HSV with --hsv-input)\n"
    "  STEP    name or name:key=value,key=value, applied in order\n"
    "  OUTPUT  .npy (exact values) or .png/.ppm/.pgm/.xpm (the picture as displayed)\n";

struct Options {
    std::string input;
    std::vector<std::string> steps;
    std::string output;
    std::string labels;
    bool json = false;
    bool hsvInput = false;
};

Options parseArguments(int argc, char** argv)
{
    Options o;
    bool haveInput = false;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        auto value = [&](std::string& target) {
            if (i + 1 >= argc)
                throw CliError("option " + a + " needs a file name");
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
        else if (a == "--json")
            o.json = true;
        else if (a == "--hsv-input")
            o.hsvInput = true;
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
    return o;
}

QString qPath(const std::string& path) { return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())); }

std::string suffixOf(const std::string& path) { return QFileInfo(qPath(path)).suffix().toLower().toStdString(); }

// One step on the command line: its definition and its parameters.
struct StepCall {
    const StepDefinition* definition;
    std::map<std::string, std::string> values;
};

StepCall parseStep(const std::string& text)
{
    const std::size_t colon = text.find(':');
    const std::string name = text.substr(0, colon);
    StepCall call{nullptr, {}};
    for (const StepDefinition& d : allSteps())
        if (name == d.name)
            call.definition = &d;
    if (!call.definition) {
        std::string known;
        for (const StepDefinition& d : allSteps())
            known += (known.empty() ? "" : ", ") + std::string(d.name);
        throw CliError("unknown step '" + name + "' (known steps: " + known + ")");
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
            throw CliError("step '" + name + "': parameter '" + pair + "' is not key=value");
        const std::string key = pair.substr(0, eq);
        if (!call.values.emplace(key, pair.substr(eq + 1)).second)
            throw CliError("step '" + name + "': key '" + key + "' is given twice");
        start = comma + 1;
    }
    return call;
}

// Keeps standard error shut while a picture is decoded: a decoder library may
// print its own complaint there, and a failure must be reported as one line.
class SilencedStandardError {
public:
    SilencedStandardError()
    {
        std::fflush(stderr);
        saved_ = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        if (saved_ >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~SilencedStandardError()
    {
        std::fflush(stderr);
        if (saved_ >= 0) {
            ::dup2(saved_, STDERR_FILENO);
            ::close(saved_);
        }
    }
    SilencedStandardError(const SilencedStandardError&) = delete;
    SilencedStandardError& operator=(const SilencedStandardError&) = delete;

private:
    int saved_ = -1;
};

std::unique_ptr<DataObject> loadInput(const Options& o)
{
    const QString path = qPath(o.input);
    if (suffixOf(o.input) == "npy") {
        auto image = readNpyImage(path, o.hsvInput ? NpyColour::Hsv : NpyColour::Rgb);
        if (o.hsvInput && image->type() != TypeImageHSV)
            throw CliError("--hsv-input needs a (3, H, W) array");
        return image;
    }
    if (o.hsvInput)
        throw CliError("--hsv-input applies to .npy input only");
    if (!mentionsPictureExtension(path, Qt::CaseInsensitive))
        throw CliError(o.input + ": not a PNG, PGM, PPM or .npy file");
    const SilencedStandardError quiet;
    return readPicture(path);
}

// The one place where a histogram becomes a picture: the histogram window's
// drawing; three histograms (the per-channel ones) are drawn one below the other.
// The drawing renders no text, so it needs no application object.
QImage histogramPicture(const std::vector<const Histogram*>& histograms)
{
    return drawHistograms(histograms);
}

// An output file written in full before anything is renamed into place.
class PendingFile {
public:
    explicit PendingFile(const std::string& path) : path_(path), file_(qPath(path))
    {
        if (!file_.open(QIODevice::WriteOnly))
            throw IoError(path + ": cannot write: " + file_.errorString().toStdString());
    }
    QSaveFile& device() { return file_; }
    void commit()
    {
        if (!file_.commit())
            throw IoError(path_ + ": cannot write: " + file_.errorString().toStdString());
    }

private:
    std::string path_;
    QSaveFile file_;
};

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (const unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

std::size_t distinctLabels(const Array2D<std::uint32_t>& labels)
{
    std::vector<std::uint32_t> values(labels.data(), labels.data() + labels.size());
    std::sort(values.begin(), values.end());
    return static_cast<std::size_t>(std::unique(values.begin(), values.end()) - values.begin());
}

const ImageSegmented* segmentationOf(const DataObject& object)
{
    if (object.type() != TypeImageRGB || !static_cast<const ImageRGB&>(object).isSegmented())
        return nullptr;
    return static_cast<const ImageSegmented*>(&object);
}

struct Timing {
    std::string name;
    double ms;
};

int run(int argc, char** argv)
{
    const Options o = parseArguments(argc, argv);

    // Everything that can be checked before work starts.
    const std::string outSuffix = suffixOf(o.output);
    const bool npyOut = outSuffix == "npy";
    if (!npyOut)
        try {
            pictureFormatFor(qPath(o.output));
        } catch (const IoError&) {
            throw CliError(o.output + ": unknown output format (use .npy, .png, .ppm, .pgm or .xpm)");
        }
    if (!o.labels.empty()) {
        if (suffixOf(o.labels) != "npy")
            throw CliError(o.labels + ": labels are written as .npy");
        if (QFileInfo(qPath(o.labels)).absoluteFilePath() == QFileInfo(qPath(o.output)).absoluteFilePath())
            throw CliError("the output and the labels file must differ");
    }
    std::vector<StepCall> calls;
    for (const std::string& s : o.steps)
        calls.push_back(parseStep(s));

    StepResult result;
    result.data = loadInput(o);
    result.name = QFileInfo(qPath(o.input)).fileName().toStdString();

    std::vector<Timing> timings;
    for (StepCall& call : calls) {
        StepArgs args(call.definition->name, std::move(call.values));
        const auto start = std::chrono::steady_clock::now();
        StepResult next = call.definition->run(*result.data, args);
        const auto end = std::chrono::steady_clock::now();
        args.finish();
        timings.push_back({call.definition->name, std::chrono::duration<double, std::milli>(end - start).count()});
        result = std::move(next);
    }

    const DataObject& data = *result.data;
    std::vector<const Histogram*> histograms;
    if (!result.more.empty()) {
        histograms.push_back(&static_cast<const Histogram&>(data));
        for (const StepResult& r : result.more)
            histograms.push_back(&static_cast<const Histogram&>(*r.data));
    }
    const bool isHistogram = dynamic_cast<const Histogram*>(&data) != nullptr;
    const ImageSegmented* segmentation = segmentationOf(data);
    if (!o.labels.empty() && !segmentation)
        throw CliError("--labels needs a segmentation result, but the result is a " + typeName(data.type()));

    // Write every output to a temporary file first; rename them into place only
    // when all are complete.
    PendingFile out(o.output);
    std::optional<PendingFile> labels;
    try {
        if (npyOut) {
            if (!histograms.empty())
                encodeNpy(out.device(), histograms);
            else
                encodeNpy(out.device(), data);
        } else {
            const QImage picture = isHistogram
                                       ? histogramPicture(histograms.empty() ? std::vector<const Histogram*>{
                                                                                   &static_cast<const Histogram&>(data)}
                                                                             : histograms)
                                       : toDisplayImage(static_cast<const Image&>(data));
            encodePicture(picture, pictureFormatFor(qPath(o.output)), out.device());
        }
    } catch (const IoError& e) {
        throw IoError(o.output + ": " + e.what());
    }
    if (segmentation && !o.labels.empty()) {
        labels.emplace(o.labels);
        try {
            encodeNpyLabels(labels->device(), segmentation->labels);
        } catch (const IoError& e) {
            throw IoError(o.labels + ": " + e.what());
        }
    }
    out.commit();
    if (labels)
        labels->commit();

    if (o.json) {
        std::string j = "{\"type\": " + std::to_string(data.type());
        if (isHistogram) {
            j += ", \"bins\": " + std::to_string(static_cast<const Histogram&>(data).binCount());
        } else {
            const auto& image = static_cast<const Image&>(data);
            j += ", \"width\": " + std::to_string(image.width()) + ", \"height\": " + std::to_string(image.height());
        }
        j += ", \"name\": " + jsonString(result.name);
        if (!result.more.empty()) {
            j += ", \"names\": [" + jsonString(result.name);
            for (const StepResult& r : result.more)
                j += ", " + jsonString(r.name);
            j += "]";
        }
        if (segmentation)
            j += ", \"labels\": " + std::to_string(distinctLabels(segmentation->labels));
        j += ", \"steps\": [";
        for (std::size_t i = 0; i < timings.size(); ++i) {
            char ms[64];
            std::snprintf(ms, sizeof ms, "%.3f", timings[i].ms);
            j += (i ? ", " : "") + std::string("{\"name\": ") + jsonString(timings[i].name) + ", \"ms\": " + ms + "}";
        }
        j += "]}";
        std::cout << j << std::endl;
    }
    return 0;
}

void reportError(const std::string& message)
{
    std::string line = message;
    std::replace(line.begin(), line.end(), '\n', ' ');
    std::cerr << "ivra-cli: " << line << std::endl;
}

} // namespace
} // namespace ivra::cli

int main(int argc, char** argv)
{
    // Diagnostic lines of the operators go to standard error; standard output
    // carries only the JSON summary.
    ivra::MessageSink::install(std::make_unique<ivra::StreamMessageSink>(stderr));
    // The toolkit's own warnings (a decoder complaining about a broken file) are
    // dropped: a failure is reported once, as the one error line below.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "-h" || std::string(argv[i]) == "--help") {
            std::cout << ivra::cli::usage;
            return 0;
        }
    try {
        return ivra::cli::run(argc, argv);
    } catch (const std::exception& e) {
        ivra::cli::reportError(e.what());
    }
    return 2;
}
