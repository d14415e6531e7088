#include "RegionExport.h"

#include "IoError.h"
#include "NpyWriter.h"
#include "PictureWriter.h"

#include <QSaveFile>

#include <algorithm>
#include <functional>

namespace ivra {

namespace {

void writeAtomically(const QString& path, const std::function<void(QIODevice&)>& encode)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw IoError(path.toStdString(), "cannot write: " + file.errorString().toStdString());
    try {
        encode(file);
    } catch (const IoError& e) {
        file.cancelWriting();
        throw IoError(path.toStdString(), e.what());
    }
    if (!file.commit())
        throw IoError(path.toStdString(), "cannot write: " + file.errorString().toStdString());
}

} // namespace

QImage labelsAsGray16(const Array2D<std::uint32_t>& labels)
{
    const std::uint32_t* l = labels.data();
    const std::uint32_t largest = labels.size() ? *std::max_element(l, l + labels.size()) : 0;
    if (largest > maxGray16Label)
        throw IoError("the largest label is " + std::to_string(largest) +
                      ", more than a 16-bit picture holds (65535); save the labels as .npy instead");
    QImage picture(labels.width(), labels.height(), QImage::Format_Grayscale16);
    for (int y = 0; y < labels.height(); ++y) {
        auto* row = reinterpret_cast<quint16*>(picture.scanLine(y));
        for (int x = 0; x < labels.width(); ++x)
            row[x] = static_cast<quint16>(labels.at(x, y));
    }
    return picture;
}

void writeLabelsNpy(const Array2D<std::uint32_t>& labels, const QString& path)
{
    writeAtomically(path, [&](QIODevice& device) { encodeNpyLabels(device, labels); });
}

void writeLabelsPng16(const Array2D<std::uint32_t>& labels, const QString& path)
{
    if (pictureFormatFor(path) != PictureFormat::Png)
        throw IoError(path.toStdString(), "16-bit labels are written as .png");
    QImage picture;
    try {
        picture = labelsAsGray16(labels);
    } catch (const IoError& e) {
        throw IoError(path.toStdString(), e.what());
    }
    writePicture(picture, path);
}

QImage pictureOf(const Array2D<RGB24>& pixels)
{
    QImage picture(pixels.width(), pixels.height(), QImage::Format_RGB32);
    for (int y = 0; y < pixels.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            const RGB24 p = pixels.at(x, y);
            row[x] = qRgb(p.r, p.g, p.b);
        }
    }
    return picture;
}

void writeTextFile(const std::string& text, const QString& path)
{
    writeAtomically(path, [&](QIODevice& device) {
        if (device.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
            throw IoError("cannot write: " + device.errorString().toStdString());
    });
}

} // namespace ivra
