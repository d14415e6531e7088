#include "InputLoader.h"

#include "CliError.h"

#include "Npy.h"
#include "PictureReader.h"

#include <QFileInfo>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace ivra::cli {

namespace {

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

} // namespace

QString qPath(const std::string& path) { return QString::fromLocal8Bit(path.data(), static_cast<qsizetype>(path.size())); }

std::string suffixOf(const std::string& path) { return QFileInfo(qPath(path)).suffix().toLower().toStdString(); }

std::unique_ptr<DataObject> loadInput(const Options& o)
{
    const QString path = qPath(o.input);
    if (suffixOf(o.input) == "npy") {
        auto image = readNpyImage(path, o.hsvInput ? NpyColor::Hsv : NpyColor::Rgb);
        if (o.hsvInput && image->type() != TypeImageHSV)
            throw CliError("--hsv-input needs a (3, H, W) array");
        return image;
    }
    if (o.hsvInput)
        throw CliError("--hsv-input applies to .npy input only");
    if (!isOpenedType(pictureTypeOfName(path)))
        throw CliError(o.input + ": not a PNG, JPEG, BMP, TIFF, PBM, PGM, PPM, XPM or .npy file");
    const SilencedStandardError quiet;
    return readPicture(path, PictureLimits{o.maxPixels});
}

} // namespace ivra::cli
