#include "IoTestSupport.h"
#include "Npy.h"

#include <QtEndian>

#include <numeric>

#include <unistd.h>

namespace {

using Dims = std::vector<std::int64_t>;

QByteArray encoded(const std::function<void(QIODevice&)>& encode)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    encode(buffer);
    return bytes;
}
QByteArray encode(const DataObject& object) { return encoded([&](QIODevice& d) { encodeNpy(d, object); }); }

// Reads from a buffer, or from a pipe whose size is not known ahead.
NpyArray decode(QByteArray bytes, bool pipe = false)
{
    int ends[2] = {-1, -1};
    QFile stream;
    if (pipe && ::pipe(ends) == 0 && ::write(ends[1], bytes.constData(), bytes.size()) == bytes.size() &&
        ::close(ends[1]) == 0 && stream.open(ends[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle))
        return readNpy(stream, "test.npy");
    EXPECT_FALSE(pipe) << "no pipe";
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return readNpy(buffer, "test.npy");
}

std::vector<int> imageValues(const QByteArray& bytes) { return valuesOf(*imageFromNpy(decode(bytes), NpyColor::Rgb, "x")); }
std::string dict(const std::string& descr, const std::string& shape, const char* fortran = "False")
{
    return "{'descr': '" + descr + "', 'fortran_order': " + fortran + ", 'shape': " + shape + ", }";
}

// Magic, version and a length field, without the header itself.
QByteArray preamble(int major, std::uint32_t length)
{
    QByteArray out = QByteArray("\x93NUMPY", 6) + char(major) + char(0);
    for (int i = 0; i < (major == 1 ? 2 : 4); ++i)
        out.append(char((length >> (8 * i)) & 0xff));
    return out;
}

QByteArray npy(const std::string& header, const QByteArray& data = {}, int major = 1)
{
    return preamble(major, static_cast<std::uint32_t>(header.size() + 1)) + QByteArray::fromStdString(header + "\n") + data;
}

template <typename T>
QByteArray values(std::initializer_list<T> list)
{
    return QByteArray(reinterpret_cast<const char*>(std::data(list)), static_cast<qsizetype>(list.size() * sizeof(T)));
}

struct OddHistogram : Histogram { // an object the .npy writer does not know
    OddHistogram() : Histogram(2) {}
    int type() const override { return 5; }
};

} // namespace

TEST(NpyWrite, HeaderIsVersionOneAlignedToSixtyFourBytesOrVersionTwoWhenLong)
{
    ImageGray gray(3, 2);
    std::iota(gray.data(), gray.data() + 6, -2);
    const auto padded = [](const std::string& h, const QByteArray& data) { return npy(h + std::string(117 - h.size(), ' '), data); };
    EXPECT_EQ(encode(gray), padded(dict("<i4", "(2, 3)"), values<std::int32_t>({-2, -1, 0, 1, 2, 3})));
    EXPECT_EQ(encoded([](QIODevice& d) { encodeNpy(d, NpyType::UInt8, {4}, "abcd", 4); }), padded(dict("|u1", "(4,)"), "abcd"));
    const QByteArray v2 = encoded([&](QIODevice& d) { encodeNpy(d, NpyType::Int8, Dims(22000, 1), "x", 1); });
    const auto length = qFromLittleEndian<std::uint32_t>(v2.constData() + 8);
    EXPECT_EQ(v2.left(12), preamble(2, length));
    EXPECT_EQ((12 + length) % 64, 0u);
    const std::string bytes(100, 'x');
    for (std::size_t dims = 1; dims <= 32; ++dims) // header lengths in steps of 1: every remainder mod 64
        for (const std::int64_t first : {1, 10, 100}) {
            Dims shape(dims, 1);
            shape[0] = first;
            const QByteArray a = encoded([&](QIODevice& d) { encodeNpy(d, NpyType::Int8, shape, bytes.data(), first); });
            EXPECT_LT(a.lastIndexOf('\n') - a.lastIndexOf('}') - 1, 64) << dims; // the least padding that aligns
        }
    EXPECT_EQ(v2.right(2), "\nx");
}

TEST(NpyWrite, ImagesHistogramsAndLabelsRoundTrip)
{
    ImageHSV hsv(2, 3);
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < 6; ++i)
            hsv.plane(c)[i] = c == 0 && i == 0 ? -1 : 100 * c + i;
    for (NpyColor color : {NpyColor::Hsv, NpyColor::Rgb}) {
        const auto back = imageFromNpy(decode(encode(hsv)), color, "x");
        EXPECT_EQ(back->type(), color == NpyColor::Hsv ? TypeImageHSV : TypeImageRGB);
        EXPECT_EQ(valuesOf(*back), valuesOf(hsv));
    }
    HistogramGray a(3), b(3);
    HistogramRGB rgb(8);
    HistogramHSV hsvCounts(std::make_shared<HSVBinLayout>(6, 2, 4, 15));
    Array2D<std::uint32_t> labels(2, 1);
    a.counts()[2] = 17, b.counts()[0] = 3, rgb.counts()[7] = 0.25f, hsvCounts.counts()[15] = 1.0 / 3.0;
    labels.at(1, 0) = 4000000000u;
    const struct { QByteArray bytes; NpyType type; Dims shape; std::int64_t at; double value; } rows[] = {
        {encode(hsv), NpyType::Int32, {3, 3, 2}, 6 + 5, 105}, // plane 1, pixel (1, 2)
        {encode(a), NpyType::Int32, {3}, 2, 17},
        {encode(rgb), NpyType::Float32, {8}, 7, 0.25},
        {encode(hsvCounts), NpyType::Float64, {16}, 15, 1.0 / 3.0},
        {encoded([&](QIODevice& d) { encodeNpy(d, {&a, &b, &a}); }), NpyType::Int32, {3, 3}, 3, 3},
        {encoded([&](QIODevice& d) { encodeNpyLabels(d, labels); }), NpyType::UInt32, {1, 2}, 1, 4000000000.0},
    };
    for (const auto& [bytes, type, shape, at, value] : rows) {
        const NpyArray back = decode(bytes);
        EXPECT_TRUE(back.type == type && back.shape == shape && back.realAt(at) == value) << at;
    }
}

TEST(NpyWrite, FailuresThrowAndLeaveNoFile)
{
    HistogramGray three(3), four(4);
    HistogramRGB rgb(3);
    OddHistogram odd;
    const std::pair<std::vector<const Histogram*>, const char*> rows[] = {{{&three, &four}, "cannot be stacked"},
        {{&three, &rgb}, "cannot be stacked"}, {{}, "no histograms"}, {{&odd, &odd}, "unknown histogram type 5"}};
    for (const auto& [stack, problem] : rows)
        EXPECT_TRUE(refusedWith([&] { encoded([&](QIODevice& d) { encodeNpy(d, stack); }); }, problem));
    EXPECT_TRUE(refusedWith([&] { encode(odd); }, "object of type 5"));
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_TRUE(refusedWith([&] { encodeNpy(readOnly, three); }, "cannot write"));

    QTemporaryDir dir;
    EXPECT_TRUE(refusedWith([&] { writeNpy(odd, dir.filePath("odd.npy")); }, "odd.npy: cannot store"));
    EXPECT_TRUE(refusedWith([&] { writeNpy(three, dir.filePath("no/dir/x.npy")); }, "x.npy: cannot write"));
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST(NpyRead, AcceptsEveryIntegerTypeVersionAndSpelling)
{
    const std::int32_t lowest = std::numeric_limits<std::int32_t>::min(), highest = 2147483647;
    const struct { std::string header; QByteArray data; int major; std::vector<int> expected; } rows[] = {
        {dict("|u1", "(1, 3)"), values<std::uint8_t>({0, 128, 255}), 1, {0, 128, 255}},
        {dict(">u1", "(1, 1)"), values<std::uint8_t>({200}), 1, {200}}, // one byte has no byte order
        {dict("|i1", "(1, 2)"), values<std::int8_t>({-128, 127}), 1, {-128, 127}},
        {dict("<i2", "(1, 2)"), values<std::int16_t>({-32768, 32767}), 3, {-32768, 32767}},
        {dict("<u2", "(1L, 1L)"), values<std::uint16_t>({65535}), 1, {65535}},
        {dict("=i4", "(1, 2)"), values<std::int32_t>({lowest, highest}), 1, {lowest, highest}},
        {dict("<u4", "(1, 1)"), values<std::uint32_t>({2147483647u}), 2, {highest}},
        {"{\"descr\": \"<i8\", \"fortran_order\": False, \"shape\": (1, 2)}",
         values<std::int64_t>({lowest, highest}), 2, {lowest, highest}},
        {dict("<u8", "(1, 1)"), values<std::uint64_t>({7}), 1, {7}},
        {" { 'shape' : (1 , 1 ) , 'fortran_order':False,'descr':'<i4' } ", values<std::int32_t>({-9}), 1, {-9}},
    };
    for (const auto& row : rows)
        EXPECT_EQ(imageValues(npy(row.header, row.data, row.major)), row.expected) << row.header;

    // Headers up to 64 KiB are read; a pipe gives the same array.
    const std::string longest = dict("<i4", "(1, 1)") + std::string(65535 - dict("<i4", "(1, 1)").size(), ' ');
    EXPECT_EQ(decode(npy(longest, values<std::int32_t>({5}), 2)).integerAt(0), 5);
    EXPECT_EQ(decode(npy(dict("<i2", "(2,)"), values<std::int16_t>({4, -4})), true).integerAt(1), -4);

    const NpyArray big = decode(npy(dict("<u8", "(2,)"), values<std::uint64_t>({~0ull, 3})));
    EXPECT_EQ(big.integerAt(0), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(decode(npy(dict("|b1", "(2,)"), values<std::uint8_t>({0, 7}))).integerAt(1), 1);
    const NpyArray reals = decode(npy(dict("<f4", "(1,)"), values<float>({-0.5f})));
    EXPECT_EQ(reals.realAt(0), -0.5);
    EXPECT_THROW(reals.integerAt(0), IoError);
}

// Every refused file, with the part of the message that tells which check refused it.
TEST(NpyRead, RefusedFilesTable)
{
    enum Via { File, Pipe, Image };
    const QByteArray four = values<std::int32_t>({1, 2, 3, 4});
    const QByteArray good = npy(dict("<i4", "(2, 2)"), four);
    const std::int64_t two31 = std::int64_t{1} << 31;
    const std::string dims33 = "(" + QByteArray("1, ").repeated(33).toStdString() + ")";
    const struct { QByteArray bytes; std::string problem; Via via = File; } rows[] = {
        {{}, "test.npy: not a .npy file"},
        {good.left(5), "not a .npy file"},
        {preamble(4, 0), "unsupported .npy format version 4"},
        {preamble(0, 0), "unsupported .npy format version 0"},
        {good.left(9), "truncated .npy header"},
        {preamble(2, 100).left(10), "truncated .npy header"},
        {preamble(2, 65537) + QByteArray(65537, ' '), "announces 65537 bytes; at most 65536"},
        {preamble(3, 0x40000000), "announces 1073741824 bytes"},
        {good.left(20), "truncated .npy header"},
        {npy("[]"), "expected '{'"},
        {npy("{'descr': '<i4', 'fortran_order': False, 'shape': (2, 2), "), "it ends too early"},
        {npy("{'descr': '<i4', 'shape': (2, 2)}"), "lacks 'descr', 'fortran_order' or 'shape'"},
        {npy("{'descr': <i4, 'fortran_order': False, 'shape': (2, 2)}"), "expected a quoted string"},
        {npy("{'descr: '<i4', 'fortran_order': False, 'shape': (2, 2)}"), "expected ':'"},
        {npy("{'descr': '<i4', 'fortran_order': False, 'shape': (2, 2), 'order"), "unterminated string"},
        {npy("{'descr': '<i4', 'order': 'C', 'shape': (2, 2)}"), "unknown header key 'order'"},
        {npy("{'descr': '<i4' 'fortran_order': False, 'shape': (2, 2)}"), "expected ',' or '}'"},
        {npy("{'descr': '<i4', 'fortran_order': Maybe, 'shape': (2, 2)}"), "expected True or False"},
        {npy(dict("<i4", "(2, x)")), "expected a dimension"},
        {npy(dict("<i4", "(2 2)")), "expected ',' or ')' in the shape"},
        {npy(dict("<i4", dims33)), "too many dimensions"},
        {npy(dict("<i4", "(281474976710657,)")), "enormous array"},
        {npy(dict("<i8", "(99999999999999, 99999999999999)")), "enormous array"},
        {npy(dict("<c8", "(2,)"), four), "unsupported .npy element type '<c8' (integers"},
        {npy(dict("i4", "(2, 2)"), four), "unsupported .npy element type 'i4'"},
        {npy(dict("!i4", "(2, 2)"), four), "unsupported .npy element type '!i4'"},
        {npy(dict(">i4", "(2, 2)"), four), "big-endian"},
        {npy(dict(">b1", "(2, 2)", "True"), four), "Fortran-ordered"},
        {good.left(good.size() - 4), "the header announces 16 bytes, the file holds 12"},
        {npy(dict("<i4", "(30000, 30000)")), "the header announces 3600000000 bytes"},
        {good.left(good.size() - 4), "truncated .npy data", Pipe},
        {npy(dict("<u8", "(1073741824, 536870912)")), "the .npy array is too large", Pipe},
        {good + "x", "longer than its header announces"},
        // Arrays that are no image.
        {npy(dict("|b1", "(1, 1)"), values<std::uint8_t>({1})), "not |b1", Image},
        {npy(dict("<f4", "(1, 1)"), values<float>({1.f})), "not <f4", Image},
        {npy(dict("<f8", "(1, 1)"), values<double>({1.0})), "not <f8", Image},
        {npy(dict("<i4", "(4,)"), four), "not (4)", Image},
        {npy(dict("<i4", "(1, 2, 2)"), four), "not (1, 2, 2)", Image},
        {npy(dict("<i4", "(0, 4)")), "is empty", Image},
        {npy(dict("<i4", "(3, 2, 0)")), "is empty", Image},
        {npy(dict("|u1", "(1, 32768)"), QByteArray(32768, 'a')), "is 32768 x 1 pixels; at most 32767", Image},
        {npy(dict("|u1", "(32768, 1)"), QByteArray(32768, 'a')), "is 1 x 32768 pixels", Image},
        {npy(dict("<i8", "(1, 2)"), values<std::int64_t>({0, two31})), "value 2147483648 at element 1", Image},
        {npy(dict("<i8", "(1, 1)"), values<std::int64_t>({-two31 - 1})), "value -2147483649", Image},
        {npy(dict("<u4", "(1, 1)"), values<std::uint32_t>({2147483648u})), "value 2147483648", Image},
        {npy(dict("<u8", "(1, 1)"), values<std::uint64_t>({~0ull})), "value 9223372036854775807", Image},
    };
    for (const auto& [bytes, problem, via] : rows)
        EXPECT_TRUE(refusedWith([&] { via == Image ? void(imageValues(bytes)) : void(decode(bytes, via == Pipe)); }, problem));
    EXPECT_THROW(readNpy(QDir::temp().filePath("ivra-no-such-file.npy")), IoError);

    // The largest sides are accepted, from a file too.
    EXPECT_EQ(imageValues(npy(dict("|u1", "(1, 32767)"), QByteArray(32767, 'a'))).size(), 32767u);
    QTemporaryDir dir;
    writeNpy(ImageGray(1, 32767), dir.filePath("tall.npy"));
    EXPECT_EQ(readNpyImage(dir.filePath("tall.npy"), NpyColor::Hsv)->height(), 32767);
}
