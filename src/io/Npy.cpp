#include "Npy.h"

#include "IoError.h"

#include "image/HistogramGray.h"
#include "image/HistogramHSV.h"
#include "image/HistogramRGB.h"
#include "image/ImageGray.h"
#include "image/ImageHSV.h"
#include "image/ImageRGB.h"

#include <QFile>
#include <QSaveFile>

#include <bit>
#include <cctype>
#include <cstring>
#include <limits>

// Data are copied to and from memory as they are: this code runs on little-endian machines.
static_assert(std::endian::native == std::endian::little, "the .npy code assumes a little-endian machine");

namespace ivra {

namespace {

constexpr char kMagic[] = "\x93NUMPY";
constexpr int kMagicLength = 6;

struct TypeInfo {
    NpyType type;
    const char* descr;
    int size;
};

constexpr TypeInfo kTypes[] = {
    {NpyType::Bool, "|b1", 1},    {NpyType::Int8, "|i1", 1},    {NpyType::UInt8, "|u1", 1},
    {NpyType::Int16, "<i2", 2},   {NpyType::UInt16, "<u2", 2},  {NpyType::Int32, "<i4", 4},
    {NpyType::UInt32, "<u4", 4},  {NpyType::Int64, "<i8", 8},   {NpyType::UInt64, "<u8", 8},
    {NpyType::Float32, "<f4", 4}, {NpyType::Float64, "<f8", 8},
};

const TypeInfo& info(NpyType type)
{
    for (const TypeInfo& t : kTypes)
        if (t.type == type)
            return t;
    return kTypes[0];
}

[[noreturn]] void fail(const std::string& name, const std::string& problem)
{
    throw IoError(name + ": " + problem);
}

// Parser of the header, a Python dict literal such as
// {'descr': '<i4', 'fortran_order': False, 'shape': (3, 4, 5), }
class HeaderParser {
public:
    HeaderParser(const std::string& text, const std::string& name) : s_(text), name_(name) {}

    void parse(std::string& descr, bool& fortran, std::vector<std::int64_t>& shape)
    {
        bool haveDescr = false, haveFortran = false, haveShape = false;
        expect('{');
        while (true) {
            skipSpace();
            if (peek() == '}') {
                ++pos_;
                break;
            }
            const std::string key = string();
            expect(':');
            if (key == "descr") {
                descr = string();
                haveDescr = true;
            } else if (key == "fortran_order") {
                fortran = boolean();
                haveFortran = true;
            } else if (key == "shape") {
                shape = tuple();
                haveShape = true;
            } else {
                corrupt("unknown header key '" + key + "'");
            }
            skipSpace();
            if (peek() == ',')
                ++pos_;
            else if (peek() != '}')
                corrupt("expected ',' or '}'");
        }
        if (!haveDescr || !haveFortran || !haveShape)
            corrupt("the header lacks 'descr', 'fortran_order' or 'shape'");
    }

private:
    [[noreturn]] void corrupt(const std::string& what) { fail(name_, "corrupt .npy header: " + what); }
    void skipSpace()
    {
        while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_])))
            ++pos_;
    }
    char peek()
    {
        if (pos_ >= s_.size())
            corrupt("it ends too early");
        return s_[pos_];
    }
    void expect(char c)
    {
        skipSpace();
        if (peek() != c)
            corrupt(std::string("expected '") + c + "'");
        ++pos_;
    }
    std::string string()
    {
        skipSpace();
        const char quote = peek();
        if (quote != '\'' && quote != '"')
            corrupt("expected a quoted string");
        const std::size_t end = s_.find(quote, pos_ + 1);
        if (end == std::string::npos)
            corrupt("unterminated string");
        std::string out = s_.substr(pos_ + 1, end - pos_ - 1);
        pos_ = end + 1;
        return out;
    }
    bool boolean()
    {
        skipSpace();
        if (s_.compare(pos_, 4, "True") == 0) {
            pos_ += 4;
            return true;
        }
        if (s_.compare(pos_, 5, "False") == 0) {
            pos_ += 5;
            return false;
        }
        corrupt("expected True or False");
    }
    std::vector<std::int64_t> tuple()
    {
        std::vector<std::int64_t> dims;
        expect('(');
        while (true) {
            skipSpace();
            if (peek() == ')') {
                ++pos_;
                return dims;
            }
            if (!std::isdigit(static_cast<unsigned char>(peek())))
                corrupt("expected a dimension");
            std::int64_t d = 0;
            while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
                d = d * 10 + (s_[pos_] - '0');
                if (d > (std::int64_t{1} << 48))
                    fail(name_, "the .npy shape announces an enormous array");
                ++pos_;
            }
            // NumPy writes 3L on some old versions.
            if (pos_ < s_.size() && (s_[pos_] == 'L' || s_[pos_] == 'l'))
                ++pos_;
            dims.push_back(d);
            if (dims.size() > 32)
                corrupt("too many dimensions");
            skipSpace();
            if (peek() == ',')
                ++pos_;
            else if (peek() != ')')
                corrupt("expected ',' or ')' in the shape");
        }
    }

    const std::string& s_;
    const std::string& name_;
    std::size_t pos_ = 0;
};

NpyType typeFromDescr(const std::string& descr, const std::string& name)
{
    if (descr.size() < 3)
        fail(name, "unsupported .npy element type '" + descr + "'");
    const char order = descr[0];
    const std::string code = descr.substr(1);
    if (order == '>' && code != "i1" && code != "u1" && code != "b1")
        fail(name, "big-endian .npy arrays are not supported; save the array as little-endian");
    if (order != '<' && order != '|' && order != '=' && order != '>')
        fail(name, "unsupported .npy element type '" + descr + "'");
    for (const TypeInfo& t : kTypes)
        if (code == t.descr + 1)
            return t.type;
    fail(name, "unsupported .npy element type '" + descr + "' (integers, floats and bool are accepted)");
}

std::string headerText(NpyType type, const std::vector<std::int64_t>& shape)
{
    std::string dims;
    for (std::int64_t d : shape)
        dims += std::to_string(d) + ", ";
    if (shape.size() > 1)
        dims.resize(dims.size() - 2); // "(3, 4)"; a single dimension keeps its comma: "(4,)"
    else if (shape.size() == 1)
        dims.resize(dims.size() - 1);
    return std::string("{'descr': '") + npyDescr(type) + "', 'fortran_order': False, 'shape': (" + dims + "), }";
}

void writeAll(QIODevice& device, const void* data, std::size_t bytes)
{
    const char* p = static_cast<const char*>(data);
    while (bytes > 0) {
        const qint64 n = device.write(p, static_cast<qint64>(std::min<std::size_t>(bytes, 1u << 30)));
        if (n <= 0)
            throw IoError("cannot write: " + device.errorString().toStdString());
        p += n;
        bytes -= static_cast<std::size_t>(n);
    }
}

// The counts of a histogram: type, pointer to the first count, bytes per count.
struct Counts {
    NpyType type;
    const void* data;
    int itemSize;
};

Counts countsOf(const Histogram& h)
{
    switch (h.type()) {
    case TypeHistogramGray: return {NpyType::Int32, static_cast<const HistogramGray&>(h).counts(), 4};
    case TypeHistogramRGB: return {NpyType::Float32, static_cast<const HistogramRGB&>(h).counts(), 4};
    case TypeHistogramHSV: return {NpyType::Float64, static_cast<const HistogramHSV&>(h).counts(), 8};
    default: throw IoError("unknown histogram type " + std::to_string(h.type()));
    }
}

} // namespace

int npyItemSize(NpyType type) { return info(type).size; }
const char* npyDescr(NpyType type) { return info(type).descr; }

std::int64_t NpyArray::elementCount() const
{
    std::int64_t n = 1;
    for (std::int64_t d : shape)
        n *= d;
    return n;
}

std::int64_t NpyArray::integerAt(std::int64_t i) const
{
    const char* p = data.constData() + i * npyItemSize(type);
    auto get = [p](auto zero) {
        decltype(zero) v;
        std::memcpy(&v, p, sizeof v);
        return v;
    };
    switch (type) {
    case NpyType::Bool: return get(std::uint8_t{}) != 0;
    case NpyType::Int8: return get(std::int8_t{});
    case NpyType::UInt8: return get(std::uint8_t{});
    case NpyType::Int16: return get(std::int16_t{});
    case NpyType::UInt16: return get(std::uint16_t{});
    case NpyType::Int32: return get(std::int32_t{});
    case NpyType::UInt32: return get(std::uint32_t{});
    case NpyType::Int64: return get(std::int64_t{});
    case NpyType::UInt64: {
        const std::uint64_t v = get(std::uint64_t{});
        return v > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                   ? std::numeric_limits<std::int64_t>::max()
                   : static_cast<std::int64_t>(v);
    }
    case NpyType::Float32:
    case NpyType::Float64: break;
    }
    throw IoError("not an integer array");
}

double NpyArray::realAt(std::int64_t i) const
{
    const char* p = data.constData() + i * npyItemSize(type);
    if (type == NpyType::Float32) {
        float v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    if (type == NpyType::Float64) {
        double v;
        std::memcpy(&v, p, sizeof v);
        return v;
    }
    return static_cast<double>(integerAt(i));
}

NpyArray readNpy(QIODevice& device, const std::string& name)
{
    char preamble[kMagicLength + 2];
    if (device.read(preamble, sizeof preamble) != static_cast<qint64>(sizeof preamble) ||
        std::memcmp(preamble, kMagic, kMagicLength) != 0)
        fail(name, "not a .npy file");
    const int major = static_cast<unsigned char>(preamble[6]);
    std::uint32_t headerLength = 0;
    if (major == 1) {
        unsigned char len[2];
        if (device.read(reinterpret_cast<char*>(len), 2) != 2)
            fail(name, "truncated .npy header");
        headerLength = len[0] | (len[1] << 8);
    } else if (major == 2 || major == 3) {
        unsigned char len[4];
        if (device.read(reinterpret_cast<char*>(len), 4) != 4)
            fail(name, "truncated .npy header");
        headerLength = len[0] | (len[1] << 8) | (len[2] << 16) | (static_cast<std::uint32_t>(len[3]) << 24);
    } else {
        fail(name, "unsupported .npy format version " + std::to_string(major));
    }
    if (headerLength > npyMaxHeaderLength)
        fail(name, "the .npy header announces " + std::to_string(headerLength) + " bytes; at most " +
                       std::to_string(npyMaxHeaderLength) + " are accepted");
    const QByteArray headerBytes = device.read(headerLength);
    if (headerBytes.size() != static_cast<qsizetype>(headerLength))
        fail(name, "truncated .npy header");

    std::string descr;
    bool fortran = false;
    NpyArray array;
    HeaderParser(headerBytes.toStdString(), name).parse(descr, fortran, array.shape);
    array.type = typeFromDescr(descr, name);
    if (fortran)
        fail(name, "Fortran-ordered .npy arrays are not supported; save the array in C order");

    // Element count and data size, checked for overflow and against the file before allocating.
    const std::int64_t itemSize = npyItemSize(array.type);
    std::int64_t count = 1;
    for (std::int64_t d : array.shape) {
        if (d != 0 && count > std::numeric_limits<std::int64_t>::max() / itemSize / d)
            fail(name, "the .npy shape announces an enormous array");
        count *= d;
    }
    const std::int64_t bytes = count * itemSize;
    if (!device.isSequential() && device.size() - device.pos() < bytes)
        fail(name, "truncated .npy data: the header announces " + std::to_string(bytes) + " bytes, the file holds " +
                       std::to_string(device.size() - device.pos()));
    if (bytes > std::numeric_limits<qsizetype>::max() / 2)
        fail(name, "the .npy array is too large");
    array.data = device.read(bytes);
    if (array.data.size() != bytes)
        fail(name, "truncated .npy data");
    if (!device.atEnd())
        fail(name, "the .npy file is longer than its header announces");
    return array;
}

NpyArray readNpy(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        fail(path.toStdString(), "cannot open: " + file.errorString().toStdString());
    return readNpy(file, path.toStdString());
}

std::unique_ptr<Image> imageFromNpy(const NpyArray& array, NpyColour colour, const std::string& name)
{
    if (array.type == NpyType::Bool || array.type == NpyType::Float32 || array.type == NpyType::Float64)
        fail(name, std::string("a .npy image must hold integers, not ") + npyDescr(array.type) +
                       " (convert it to int32)");
    const auto& s = array.shape;
    const bool gray = s.size() == 2;
    if (!gray && !(s.size() == 3 && s[0] == 3)) {
        std::string dims;
        for (std::int64_t d : s)
            dims += (dims.empty() ? "" : ", ") + std::to_string(d);
        fail(name, "a .npy image has the shape (H, W) or (3, H, W), not (" + dims + ")");
    }
    const std::int64_t h = s[s.size() - 2], w = s[s.size() - 1];
    if (h == 0 || w == 0)
        fail(name, "the .npy image is empty");
    if (h > Image::maxSide || w > Image::maxSide)
        fail(name, "the .npy image is " + std::to_string(w) + " x " + std::to_string(h) + " pixels; at most " +
                       std::to_string(Image::maxSide) + " per side are supported");

    std::unique_ptr<Image> image;
    std::int32_t* planes[3] = {};
    if (gray) {
        auto g = std::make_unique<ImageGray>(static_cast<int>(w), static_cast<int>(h));
        planes[0] = g->data();
        image = std::move(g);
    } else {
        std::unique_ptr<ImageColor> c;
        if (colour == NpyColour::Hsv)
            c = std::make_unique<ImageHSV>(static_cast<int>(w), static_cast<int>(h));
        else
            c = std::make_unique<ImageRGB>(static_cast<int>(w), static_cast<int>(h));
        for (int i = 0; i < 3; ++i)
            planes[i] = c->plane(i);
        image = std::move(c);
    }
    const std::int64_t perPlane = w * h;
    const std::int64_t total = array.elementCount();
    if (array.type == NpyType::Int32) {
        for (std::int64_t p = 0; p * perPlane < total; ++p)
            std::memcpy(planes[p], array.data.constData() + p * perPlane * 4, static_cast<std::size_t>(perPlane) * 4);
        return image;
    }
    for (std::int64_t i = 0; i < total; ++i) {
        const std::int64_t v = array.integerAt(i);
        if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
            fail(name, "value " + std::to_string(v) + " at element " + std::to_string(i) +
                           " does not fit in a 32-bit pixel");
        planes[i / perPlane][i % perPlane] = static_cast<std::int32_t>(v);
    }
    return image;
}

std::unique_ptr<Image> readNpyImage(const QString& path, NpyColour colour)
{
    return imageFromNpy(readNpy(path), colour, path.toStdString());
}

void encodeNpy(QIODevice& device, NpyType type, const std::vector<std::int64_t>& shape, const void* data,
               std::size_t bytes)
{
    std::string header = headerText(type, shape);
    // Magic, version, length field and header together fill a multiple of 64 bytes;
    // the header ends with a line feed.
    auto padded = [&](int lengthField) {
        const std::size_t used = kMagicLength + 2 + lengthField + header.size() + 1;
        return header + std::string((64 - used % 64) % 64, ' ') + '\n';
    };
    std::string text = padded(2);
    QByteArray out(kMagic, kMagicLength);
    if (text.size() <= 0xffff) {
        out.append(char(1)).append(char(0));
        out.append(char(text.size() & 0xff)).append(char(text.size() >> 8));
    } else {
        text = padded(4);
        out.append(char(2)).append(char(0));
        for (int i = 0; i < 4; ++i)
            out.append(char((text.size() >> (8 * i)) & 0xff));
    }
    out.append(text.data(), static_cast<qsizetype>(text.size()));
    writeAll(device, out.constData(), static_cast<std::size_t>(out.size()));
    writeAll(device, data, bytes);
}

void encodeNpy(QIODevice& device, const DataObject& object)
{
    switch (object.type()) {
    case TypeImageGray: {
        const auto& g = static_cast<const ImageGray&>(object);
        encodeNpy(device, NpyType::Int32, {g.height(), g.width()}, g.data(), g.pixelCount() * 4);
        return;
    }
    case TypeImageRGB:
    case TypeImageHSV: {
        const auto& c = static_cast<const ImageColor&>(object);
        const std::size_t planeBytes = c.pixelCount() * 4;
        // Header for the whole array, then the three planes one after another.
        QByteArray none;
        std::vector<std::int64_t> shape{3, c.height(), c.width()};
        encodeNpy(device, NpyType::Int32, shape, none.constData(), 0);
        for (int p = 0; p < 3; ++p)
            writeAll(device, c.plane(p), planeBytes);
        return;
    }
    case TypeHistogramGray:
    case TypeHistogramRGB:
    case TypeHistogramHSV: {
        const auto& h = static_cast<const Histogram&>(object);
        const Counts counts = countsOf(h);
        encodeNpy(device, counts.type, {h.binCount()}, counts.data,
                  static_cast<std::size_t>(h.binCount()) * counts.itemSize);
        return;
    }
    default: throw IoError("cannot store an object of type " + std::to_string(object.type()) + " as .npy");
    }
}

void encodeNpy(QIODevice& device, const std::vector<const Histogram*>& histograms)
{
    if (histograms.empty())
        throw IoError("no histograms to store");
    const Histogram& first = *histograms.front();
    for (const Histogram* h : histograms)
        if (h->type() != first.type() || h->binCount() != first.binCount())
            throw IoError("histograms of different kinds or bin counts cannot be stacked");
    const Counts counts = countsOf(first);
    encodeNpy(device, counts.type, {static_cast<std::int64_t>(histograms.size()), first.binCount()}, nullptr, 0);
    for (const Histogram* h : histograms)
        writeAll(device, countsOf(*h).data, static_cast<std::size_t>(h->binCount()) * counts.itemSize);
}

void encodeNpyLabels(QIODevice& device, const Array2D<std::uint32_t>& labels)
{
    encodeNpy(device, NpyType::UInt32, {labels.height(), labels.width()}, labels.data(), labels.size() * 4);
}

void writeNpy(const DataObject& object, const QString& path)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        fail(path.toStdString(), "cannot write: " + file.errorString().toStdString());
    try {
        encodeNpy(file, object);
    } catch (const IoError& e) {
        file.cancelWriting();
        fail(path.toStdString(), e.what());
    }
    if (!file.commit())
        fail(path.toStdString(), "cannot write: " + file.errorString().toStdString());
}

} // namespace ivra
