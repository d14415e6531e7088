#pragma once

// Runs the built ivra-cli in a temporary directory of small pictures the test writes.

#include "Npy.h"

#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace ivra {

namespace clitest {

struct CliRun {
    int status = -1; // -1: crashed or hung
    QByteArray out;
    QByteArray err;
    // The --json summary on standard output.
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

class CliFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QString path(const QString& name) const { return dir.filePath(name); }
    CliRun run(const QStringList& args) const
    {
        QProcess p;
        p.start(QStringLiteral(IVRA_CLI_PATH), args);
        if (!p.waitForFinished(60000))
            return {};
        return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
                p.readAllStandardError()};
    }

    // Writes a picture of w x h whose pixel (x, y) is colour(x, y).
    void writeRgb(const QString& name, int w, int h, const std::function<QRgb(int, int)>& color) const
    {
        QImage picture(w, h, QImage::Format_RGB32);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                picture.setPixel(x, y, color(x, y));
        ASSERT_TRUE(picture.save(path(name)));
    }
    void writeGray(const QString& name, int w, int h, const std::function<int(int, int)>& value) const
    {
        QImage picture(w, h, QImage::Format_Grayscale8);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                picture.scanLine(y)[x] = static_cast<uchar>(value(x, y));
        ASSERT_TRUE(picture.save(path(name)));
    }

    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray fileBytes(const QString& name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    ivra::NpyArray npy(const QString& name) const { return ivra::readNpy(path(name)); }

    // Expects a refusal: status 2, one line on standard error that mentions
    // `mention`, nothing on standard output.
    void expectRefused(const QStringList& args, const char* mention = "") const
    {
        const CliRun r = run(args);
        const std::string call = args.join(' ').toStdString();
        EXPECT_EQ(r.status, 2) << call;
        EXPECT_EQ(r.err.count('\n'), 1) << call << ": " << r.err.toStdString();
        EXPECT_TRUE(r.err.endsWith('\n')) << call;
        EXPECT_TRUE(r.err.contains(mention)) << call << ": " << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << call << ": " << r.out.toStdString();
    }

    QTemporaryDir dir;
};

} // namespace clitest

} // namespace ivra
