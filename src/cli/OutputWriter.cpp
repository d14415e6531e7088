#include "OutputWriter.h"

#include "CliError.h"
#include "InputLoader.h"

#include "HistogramPainter.h"
#include "IoError.h"
#include "Npy.h"
#include "OutputTarget.h"
#include "PictureWriter.h"
#include "DisplayConversion.h"
#include "RegionExport.h"

#include "image/Histogram.h"
#include "image/ImageSegmented.h"
#include "segment/RegionBorders.h"
#include "segment/RegionMeasurements.h"
#include "segment/RegionTableCsv.h"

#include <QFileInfo>

#include <optional>

namespace ivra::cli {

namespace {

// The histograms of a result: the three per-channel ones, or the one it is.
std::vector<const Histogram*> histogramsOf(const StepResult& result)
{
    std::vector<const Histogram*> histograms{&static_cast<const Histogram&>(*result.data)};
    for (const StepResult& r : result.more)
        histograms.push_back(&static_cast<const Histogram&>(*r.data));
    return histograms;
}

void writeResult(PendingFile& out, const Options& o, const StepResult& result)
{
    const DataObject& data = *result.data;
    const bool isHistogram = dynamic_cast<const Histogram*>(&data) != nullptr;
    if (suffixOf(o.output) == "npy") {
        if (!result.more.empty())
            encodeNpy(out.device(), histogramsOf(result));
        else
            encodeNpy(out.device(), data);
        return;
    }
    // A histogram becomes the histogram window's drawing, three of them one below
    // the other; the drawing renders no text, so it needs no application object.
    const QImage picture =
        isHistogram ? drawHistograms(histogramsOf(result)) : toDisplayImage(static_cast<const Image&>(data));
    encodePicture(picture, pictureFormatFor(qPath(o.output)), out.device());
}

} // namespace

void checkOutputNames(const Options& o)
{
    if (suffixOf(o.output) != "npy")
        try {
            pictureFormatFor(qPath(o.output));
        } catch (const IoError&) {
            throw CliError(o.output + ": unknown output format (use .npy, .png, .ppm, .pgm or .xpm)");
        }
    if (!o.labels.empty() && suffixOf(o.labels) != "npy")
        throw CliError(o.labels + ": labels are written as .npy");
    if (!o.regions.empty() && suffixOf(o.regions) != "csv")
        throw CliError(o.regions + ": the region table is written as .csv");
    if (!o.borders.empty())
        try {
            pictureFormatFor(qPath(o.borders));
        } catch (const IoError&) {
            throw CliError(o.borders + ": unknown border picture format (use .png, .ppm, .pgm or .xpm)");
        }
    // Every output a different file: two temporaries renamed onto one name would
    // leave only the last.
    const std::string* const files[] = {&o.output, &o.labels, &o.regions, &o.borders};
    for (std::size_t a = 0; a < std::size(files); ++a)
        for (std::size_t b = a + 1; b < std::size(files); ++b)
            if (!files[a]->empty() && !files[b]->empty() && sameOutputFile(qPath(*files[a]), qPath(*files[b])))
                throw CliError(a == 0 && b == 1 ? "the output and the labels file must differ"
                                                : *files[b] + ": the same file is given for two outputs");
    for (const std::string* file : files)
        if (!file->empty())
            checkOutputTarget(qPath(*file));
}

OutputFiles::OutputFiles(const Options& o) : options_(o), out_(std::make_unique<PendingFile>(o.output))
{
    if (!o.labels.empty())
        labels_ = std::make_unique<PendingFile>(o.labels);
    if (!o.regions.empty())
        regions_ = std::make_unique<PendingFile>(o.regions);
    if (!o.borders.empty())
        borders_ = std::make_unique<PendingFile>(o.borders);
}

OutputFiles::~OutputFiles() = default;

void OutputFiles::write(const StepResult& result)
{
    const Options& o = options_;
    if (!segmentationOf(*result.data)) {
        const char* option = labels_ ? "--labels" : regions_ ? "--regions" : borders_ ? "--borders" : nullptr;
        if (option)
            throw CliError(std::string(option) + " needs a segmentation result, but the result is a " +
                           typeName(result.data->type()));
    }
    try {
        writeResult(*out_, o, result);
    } catch (const IoError& e) {
        throw IoError(o.output + ": " + e.what());
    }
    writeSegmentationOutputs(result);
    out_->commit();
    for (PendingFile* file : {labels_.get(), regions_.get(), borders_.get()})
        if (file)
            file->commit();
}

void OutputFiles::writeSegmentationOutputs(const StepResult& result)
{
    const Options& o = options_;
    const ImageSegmented* segmentation = segmentationOf(*result.data);
    auto encode = [](PendingFile* file, const std::string& name, const auto& encoder) {
        if (!file)
            return;
        try {
            encoder(file->device());
        } catch (const IoError& e) {
            throw IoError(name + ": " + e.what());
        }
    };
    encode(labels_.get(), o.labels, [&](QIODevice& d) { encodeNpyLabels(d, segmentation->labels); });
    encode(regions_.get(), o.regions, [&](QIODevice& d) {
        const std::string csv = regionTableCsv(measureRegions(*segmentation));
        if (d.write(csv.data(), static_cast<qint64>(csv.size())) != static_cast<qint64>(csv.size()))
            throw IoError("cannot write: " + d.errorString().toStdString());
    });
    encode(borders_.get(), o.borders, [&](QIODevice& d) {
        const QImage picture = pictureOf(paintBorders(segmentation->labels, segmentation->sourcePixels, o.borderColor));
        encodePicture(picture, pictureFormatFor(qPath(o.borders)), d);
    });
}

} // namespace ivra::cli
