#pragma once

#include "IoError.h"
#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

using namespace ivra;

// Success when `action` throws an IoError whose message contains `problem`: the
// part of the message that tells which check refused.
inline ::testing::AssertionResult refusedWith(const std::function<void()>& action, const std::string& problem)
{
    try {
        action();
    } catch (const IoError& e) {
        if (std::string(e.what()).find(problem) != std::string::npos)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "refused with \"" << e.what() << "\", not \"" << problem << "\"";
    }
    return ::testing::AssertionFailure() << "accepted; expected \"" << problem << "\"";
}

inline QByteArray contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// The values of an image in row order: gray levels, or red, green, blue per pixel.
inline std::vector<int> valuesOf(const Image& image)
{
    if (const auto* gray = dynamic_cast<const ImageGray*>(&image))
        return {gray->data(), gray->data() + gray->pixelCount()};
    std::vector<int> out;
    const auto& color = dynamic_cast<const ImageColor&>(image);
    for (std::size_t i = 0; i < color.pixelCount(); ++i)
        for (int c = 0; c < 3; ++c)
            out.push_back(color.plane(c)[i]);
    return out;
}
