#include "InputLoader.h"

#include "CliError.h"

#include "Npy.h"
#include "PictureReader.h"

#include <QFileInfo>

#include <cstdio>
#include <mutex>
#include <fcntl.h>
#include <unistd.h>

namespace ivra::cli {

namespace {

// Keeps standard error shut while a picture is decoded: a decoder library may
// print its own complaint there, and a failure must be reported as one line.
// Jobs decoding at once share one shut stretch: the first opens it, the last closes it.
class SilencedStandardError {
public:
    SilencedStandardError()
    {
        const std::lock_guard<std::mutex> lock(mutex());
        if (users()++ > 0)
            return;
        std::fflush(stderr);
        saved() = ::dup(STDERR_FILENO);
        const int null = ::open("/dev/null", O_WRONLY);
        if (saved() >= 0 && null >= 0)
            ::dup2(null, STDERR_FILENO);
        if (null >= 0)
            ::close(null);
    }
    ~SilencedStandardError()
    {
        const std::lock_guard<std::mutex> lock(mutex());
        if (--users() > 0)
            return;
        std::fflush(stderr);
        if (saved() >= 0) {
            ::dup2(saved(), STDERR_FILENO);
            ::close(saved());
        }
    }
    SilencedStandardError(const SilencedStandardError&) = delete;
    SilencedStandardError& operator=(const SilencedStandardError&) = delete;

private:
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }
    static int& users()
    {
        static int n = 0;
        return n;
    }
    static int& saved()
    {
        static int fd = -1;
        return fd;
    }
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
