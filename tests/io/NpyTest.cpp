#include "IoError.h"
#include "Npy.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>

using namespace ivra;

using ivra::IoError;
using ivra::NpyArray;
using ivra::NpyType;

namespace {

QByteArray encode(const DataObject& object)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ivra::encodeNpy(buffer, object);
    return bytes;
}

NpyArray decode(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    return ivra::readNpy(buffer, "test.npy");
}

// A hand-made file: version 1.0 (or 2.0), the given header text and data.
QByteArray rawNpy(const std::string& header, const QByteArray& data, int major = 1)
{
    QByteArray out("\x93NUMPY", 6);
    out.append(char(major)).append(char(0));
    const std::string padded = header + "\n";
    if (major == 1) {
        out.append(char(padded.size() & 0xff)).append(char(padded.size() >> 8));
    } else {
        for (int i = 0; i < 4; ++i)
            out.append(char((padded.size() >> (8 * i)) & 0xff));
    }
    out.append(padded.data(), static_cast<qsizetype>(padded.size()));
    return out + data;
}

template <typename T>
QByteArray values(std::initializer_list<T> list)
{
    QByteArray out;
    for (T v : list)
        out.append(reinterpret_cast<const char*>(&v), sizeof v);
    return out;
}

std::unique_ptr<Image> image(const QByteArray& bytes, ivra::NpyColour colour = ivra::NpyColour::Rgb)
{
    return ivra::imageFromNpy(decode(bytes), colour, "test.npy");
}

} // namespace

TEST(NpyWrite, HeaderIsVersionOneAlignedToSixtyFourBytes)
{
    ImageGray gray(3, 2);
    for (int i = 0; i < 6; ++i)
        gray.data()[i] = i - 2;
    const QByteArray bytes = encode(gray);
    ASSERT_TRUE(bytes.startsWith(QByteArray("\x93NUMPY\x01\x00", 8)));
    const int headerLength = static_cast<unsigned char>(bytes[8]) | (static_cast<unsigned char>(bytes[9]) << 8);
    EXPECT_EQ((10 + headerLength) % 64, 0);
    const QByteArray header = bytes.mid(10, headerLength);
    EXPECT_TRUE(header.contains("'descr': '<i4'"));
    EXPECT_TRUE(header.contains("'fortran_order': False"));
    EXPECT_TRUE(header.contains("'shape': (2, 3)"));
    EXPECT_TRUE(header.endsWith('\n'));
    EXPECT_EQ(bytes.size(), 10 + headerLength + 6 * 4);
    std::int32_t last;
    std::memcpy(&last, bytes.constData() + bytes.size() - 4, 4);
    EXPECT_EQ(last, 3);
}

TEST(NpyWrite, ImagesRoundTripInPlaneOrder)
{
    ImageHSV hsv(2, 3);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 6; ++i)
            hsv.plane(c)[i] = c == 0 && i == 0 ? -1 : 100 * c + i;
    const NpyArray array = decode(encode(hsv));
    EXPECT_EQ(array.type, NpyType::Int32);
    EXPECT_EQ(array.shape, (std::vector<std::int64_t>{3, 3, 2}));
    EXPECT_EQ(array.integerAt(0), -1);
    EXPECT_EQ(array.integerAt(6 + 5), 105); // plane 1, pixel (1, 2)

    const auto back = ivra::imageFromNpy(array, ivra::NpyColour::Hsv, "x");
    ASSERT_EQ(back->type(), 4);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 6; ++i)
            EXPECT_EQ(static_cast<const ImageHSV&>(*back).plane(c)[i], hsv.plane(c)[i]);
    EXPECT_EQ(ivra::imageFromNpy(array, ivra::NpyColour::Rgb, "x")->type(), 3);

    ImageGray gray(4, 1);
    for (int i = 0; i < 4; ++i)
        gray.data()[i] = i * 1000000;
    const auto g = image(encode(gray));
    ASSERT_EQ(g->type(), 2);
    EXPECT_EQ(g->width(), 4);
    EXPECT_EQ(static_cast<const ImageGray&>(*g).data()[3], 3000000);
}

TEST(NpyWrite, HistogramsKeepTheirCountType)
{
    HistogramGray g(4);
    g.counts()[2] = 17;
    NpyArray a = decode(encode(g));
    EXPECT_EQ(a.type, NpyType::Int32);
    EXPECT_EQ(a.shape, (std::vector<std::int64_t>{4}));
    EXPECT_EQ(a.integerAt(2), 17);

    HistogramRGB r(8);
    r.counts()[7] = 0.25f;
    a = decode(encode(r));
    EXPECT_EQ(a.type, NpyType::Float32);
    EXPECT_EQ(a.realAt(7), 0.25);

    HistogramHSV h(std::make_shared<HSVBinLayout>(6, 2, 4, 15));
    h.counts()[15] = 1.0 / 3.0;
    a = decode(encode(h));
    EXPECT_EQ(a.type, NpyType::Float64);
    EXPECT_EQ(a.shape, (std::vector<std::int64_t>{16}));
    EXPECT_EQ(a.realAt(15), 1.0 / 3.0);
}

TEST(NpyWrite, ThreeHistogramsStackAndLabelsAreUnsigned)
{
    HistogramGray a(3), b(3), c(3);
    a.counts()[0] = 1;
    b.counts()[1] = 2;
    c.counts()[2] = 3;
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    ivra::encodeNpy(buffer, std::vector<const Histogram*>{&a, &b, &c});
    const NpyArray stacked = decode(bytes);
    EXPECT_EQ(stacked.shape, (std::vector<std::int64_t>{3, 3}));
    EXPECT_EQ(stacked.integerAt(0), 1);
    EXPECT_EQ(stacked.integerAt(4), 2);
    EXPECT_EQ(stacked.integerAt(8), 3);

    HistogramGray other(4);
    buffer.seek(0);
    EXPECT_THROW(ivra::encodeNpy(buffer, std::vector<const Histogram*>{&a, &other, &c}), IoError);

    Array2D<std::uint32_t> labels(2, 1);
    labels.at(0, 0) = 4000000000u;
    labels.at(1, 0) = 7;
    QByteArray lb;
    QBuffer lbuf(&lb);
    lbuf.open(QIODevice::WriteOnly);
    ivra::encodeNpyLabels(lbuf, labels);
    const NpyArray l = decode(lb);
    EXPECT_EQ(l.type, NpyType::UInt32);
    EXPECT_EQ(l.shape, (std::vector<std::int64_t>{1, 2}));
    EXPECT_EQ(l.integerAt(0), 4000000000);
}

TEST(NpyRead, OtherIntegerTypesAndVersionTwo)
{
    const auto u8 = image(rawNpy("{'descr': '|u1', 'fortran_order': False, 'shape': (1, 3), }", values<std::uint8_t>({0, 128, 255})));
    ASSERT_EQ(u8->type(), 2);
    EXPECT_EQ(static_cast<const ImageGray&>(*u8).data()[2], 255);

    const auto i64 = image(rawNpy("{\"descr\": \"<i8\", \"fortran_order\": False, \"shape\": (1, 2)}",
                                  values<std::int64_t>({-5, 2147483647}), 2));
    EXPECT_EQ(static_cast<const ImageGray&>(*i64).data()[0], -5);

    EXPECT_THROW(image(rawNpy("{'descr': '<i8', 'fortran_order': False, 'shape': (1, 1), }",
                              values<std::int64_t>({std::int64_t{1} << 40}))),
                 IoError);
    EXPECT_THROW(image(rawNpy("{'descr': '<u4', 'fortran_order': False, 'shape': (1, 1), }",
                              values<std::uint32_t>({4000000000u}))),
                 IoError);
    EXPECT_THROW(image(rawNpy("{'descr': '<f4', 'fortran_order': False, 'shape': (1, 1), }", values<float>({1.f}))),
                 IoError);
}

TEST(NpyRead, RefusesWhatItCannotRepresent)
{
    const QByteArray four = values<std::int32_t>({1, 2, 3, 4});
    // Big-endian, Fortran order, wrong shapes, empty, too large a side.
    EXPECT_THROW(decode(rawNpy("{'descr': '>i4', 'fortran_order': False, 'shape': (2, 2), }", four)), IoError);
    EXPECT_THROW(decode(rawNpy("{'descr': '<i4', 'fortran_order': True, 'shape': (2, 2), }", four)), IoError);
    EXPECT_THROW(decode(rawNpy("{'descr': '<c8', 'fortran_order': False, 'shape': (2,), }", four)), IoError);
    EXPECT_THROW(image(rawNpy("{'descr': '<i4', 'fortran_order': False, 'shape': (4,), }", four)), IoError);
    EXPECT_THROW(image(rawNpy("{'descr': '<i4', 'fortran_order': False, 'shape': (1, 2, 2), }", four)), IoError);
    EXPECT_THROW(image(rawNpy("{'descr': '<i4', 'fortran_order': False, 'shape': (0, 4), }", {})), IoError);
    EXPECT_THROW(image(rawNpy("{'descr': '|u1', 'fortran_order': False, 'shape': (1, 40000), }",
                              QByteArray(40000, 'a'))),
                 IoError);
}

TEST(NpyRead, CorruptTruncatedAndHugeFilesAreErrors)
{
    const std::string header = "{'descr': '<i4', 'fortran_order': False, 'shape': (2, 2), }";
    const QByteArray good = rawNpy(header, values<std::int32_t>({1, 2, 3, 4}));
    EXPECT_NO_THROW(decode(good));
    EXPECT_THROW(decode(QByteArray()), IoError);
    EXPECT_THROW(decode(QByteArray("NUMPY not really")), IoError);
    for (int cut : {5, 9, 20, static_cast<int>(good.size()) - 1})
        EXPECT_THROW(decode(good.left(cut)), IoError) << "cut at " << cut;
    EXPECT_THROW(decode(good + "x"), IoError); // longer than announced
    // Broken dictionaries.
    for (const char* broken : {"{'descr': '<i4', 'fortran_order': False, 'shape': (2, 2), ",
                               "{'descr': '<i4', 'shape': (2, 2)}", "{'descr': <i4, 'fortran_order': False, 'shape': (2, 2)}",
                               "{'descr': '<i4', 'fortran_order': Maybe, 'shape': (2, 2)}",
                               "{'descr': '<i4', 'fortran_order': False, 'shape': (2, x)}", "[]"})
        EXPECT_THROW(decode(rawNpy(broken, values<std::int32_t>({1, 2, 3, 4}))), IoError) << broken;
    // A shape announcing far more data than the file holds is refused before allocating.
    EXPECT_THROW(decode(rawNpy("{'descr': '<i4', 'fortran_order': False, 'shape': (30000, 30000), }", {})), IoError);
    EXPECT_THROW(decode(rawNpy("{'descr': '<i8', 'fortran_order': False, 'shape': (99999999999999, 99999999999999), }", {})),
                 IoError);
    // A header length field announcing megabytes.
    QByteArray huge("\x93NUMPY\x02\x00", 8);
    huge.append(QByteArray("\x00\x00\x00\x40", 4));
    EXPECT_THROW(decode(huge), IoError);
    QByteArray version9 = good;
    version9[6] = 9;
    EXPECT_THROW(decode(version9), IoError);
}

TEST(NpyFile, WritesAtomicallyAndReadsBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("gray.npy");
    ImageGray gray(2, 2);
    for (int i = 0; i < 4; ++i)
        gray.data()[i] = 9 * i;
    ivra::writeNpy(gray, path);
    const auto back = ivra::readNpyImage(path, ivra::NpyColour::Rgb);
    ASSERT_EQ(back->type(), 2);
    EXPECT_EQ(static_cast<const ImageGray&>(*back).data()[3], 27);

    EXPECT_THROW(ivra::writeNpy(gray, dir.filePath("missing/dir/x.npy")), IoError);
    EXPECT_THROW(ivra::readNpyImage(dir.filePath("nothing.npy"), ivra::NpyColour::Rgb), IoError);
}
