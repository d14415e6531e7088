#include "OutputWriter.h"

#include "CliError.h"
#include "InputLoader.h"

#include "HistogramPainter.h"
#include "IoError.h"
#include "Npy.h"
#include "OutputTarget.h"
#include "PictureWriter.h"
#include "DisplayConversion.h"

#include "image/Histogram.h"
#include "image/ImageSegmented.h"

#include <QFileInfo>
#include <QSaveFile>

#include <optional>

namespace ivra::cli {

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
    if (!o.labels.empty()) {
        if (suffixOf(o.labels) != "npy")
            throw CliError(o.labels + ": labels are written as .npy");
        if (sameOutputFile(qPath(o.labels), qPath(o.output)))
            throw CliError("the output and the labels file must differ");
    }
    checkOutputTarget(qPath(o.output));
    if (!o.labels.empty())
        checkOutputTarget(qPath(o.labels));
}

OutputFiles::OutputFiles(const Options& o) : options_(o), out_(std::make_unique<PendingFile>(o.output))
{
    if (!o.labels.empty())
        labels_ = std::make_unique<PendingFile>(o.labels);
}

OutputFiles::~OutputFiles() = default;

void OutputFiles::write(const StepResult& result)
{
    const Options& o = options_;
    const ImageSegmented* segmentation = segmentationOf(*result.data);
    if (labels_ && !segmentation)
        throw CliError("--labels needs a segmentation result, but the result is a " + typeName(result.data->type()));
    try {
        writeResult(*out_, o, result);
    } catch (const IoError& e) {
        throw IoError(o.output + ": " + e.what());
    }
    if (labels_) {
        try {
            encodeNpyLabels(labels_->device(), segmentation->labels);
        } catch (const IoError& e) {
            throw IoError(o.labels + ": " + e.what());
        }
    }
    out_->commit();
    if (labels_)
        labels_->commit();
}

} // namespace ivra::cli
