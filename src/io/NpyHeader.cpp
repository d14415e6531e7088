#include "NpyHeader.h"

#include "IoError.h"

#include <cctype>
#include <cstring>

namespace ivra {

namespace {

constexpr char kMagic[] = "\x93NUMPY";
constexpr int kMagicLength = 6;

// What the header dict holds, before it is checked.
struct HeaderFields {
    std::string descr;
    bool fortranOrder = false;
    std::vector<std::int64_t> shape;
};

// Reader of the header dict; throws IoError naming the first thing it cannot read.
class HeaderDictParser {
public:
    HeaderDictParser(const std::string& text, const std::string& name) : s_(text), name_(name) {}

    HeaderFields parse()
    {
        HeaderFields fields;
        bool haveDescr = false, haveFortran = false, haveShape = false;
        expect('{');
        while (!closes('}')) {
            const std::string key = quotedString();
            expect(':');
            if (key == "descr") {
                fields.descr = quotedString();
                haveDescr = true;
            } else if (key == "fortran_order") {
                fields.fortranOrder = pythonBool();
                haveFortran = true;
            } else if (key == "shape") {
                fields.shape = shapeTuple();
                haveShape = true;
            } else {
                corrupt("unknown header key '" + key + "'");
            }
            skipSeparator('}', "expected ',' or '}'");
        }
        if (!haveDescr || !haveFortran || !haveShape)
            corrupt("the header lacks 'descr', 'fortran_order' or 'shape'");
        return fields;
    }

private:
    [[noreturn]] void corrupt(const std::string& what) const { throw IoError(name_, "corrupt .npy header: " + what); }

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
    // Consumes the closing bracket when it comes next.
    bool closes(char bracket)
    {
        skipSpace();
        if (peek() != bracket)
            return false;
        ++pos_;
        return true;
    }
    // After an item: a comma, or the closing bracket (left for closes()).
    void skipSeparator(char bracket, const char* problem)
    {
        skipSpace();
        if (peek() == ',')
            ++pos_;
        else if (peek() != bracket)
            corrupt(problem);
    }
    std::string quotedString()
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
    bool pythonBool()
    {
        skipSpace();
        for (const auto& [word, value] : {std::pair{"True", true}, {"False", false}}) {
            const std::size_t length = std::strlen(word);
            if (s_.compare(pos_, length, word) == 0) {
                pos_ += length;
                return value;
            }
        }
        corrupt("expected True or False");
    }
    std::int64_t dimension()
    {
        if (!std::isdigit(static_cast<unsigned char>(peek())))
            corrupt("expected a dimension");
        std::int64_t d = 0;
        while (pos_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[pos_]))) {
            d = d * 10 + (s_[pos_] - '0');
            if (d > (std::int64_t{1} << 48))
                throw IoError(name_, "the .npy shape announces an enormous array");
            ++pos_;
        }
        // NumPy writes 3L on some old versions.
        if (pos_ < s_.size() && (s_[pos_] == 'L' || s_[pos_] == 'l'))
            ++pos_;
        return d;
    }
    std::vector<std::int64_t> shapeTuple()
    {
        std::vector<std::int64_t> dims;
        expect('(');
        while (!closes(')')) {
            dims.push_back(dimension());
            if (dims.size() > 32)
                corrupt("too many dimensions");
            skipSeparator(')', "expected ',' or ')' in the shape");
        }
        return dims;
    }

    const std::string& s_;
    const std::string& name_;
    std::size_t pos_ = 0;
};

NpyType typeOfDescr(const std::string& descr, const std::string& name)
{
    if (descr.size() < 3)
        throw IoError(name, "unsupported .npy element type '" + descr + "'");
    const char order = descr[0];
    const std::string code = descr.substr(1);
    if (order == '>' && code != "i1" && code != "u1" && code != "b1")
        throw IoError(name, "big-endian .npy arrays are not supported; save the array as little-endian");
    if (order != '<' && order != '|' && order != '=' && order != '>')
        throw IoError(name, "unsupported .npy element type '" + descr + "'");
    if (const auto type = npyTypeOfCode(code))
        return *type;
    throw IoError(name, "unsupported .npy element type '" + descr + "' (integers, floats and bool are accepted)");
}

// Reads magic, version and length field; returns the header length.
std::uint32_t readHeaderLength(QIODevice& device, const std::string& name)
{
    char preamble[kMagicLength + 2];
    if (device.read(preamble, sizeof preamble) != static_cast<qint64>(sizeof preamble) ||
        std::memcmp(preamble, kMagic, kMagicLength) != 0)
        throw IoError(name, "not a .npy file");
    const int major = static_cast<unsigned char>(preamble[kMagicLength]);
    if (major != 1 && major != 2 && major != 3)
        throw IoError(name, "unsupported .npy format version " + std::to_string(major));
    // Version 1.0 has a 2-byte length, 2.0 and 3.0 a 4-byte one, both little-endian.
    const int fieldSize = major == 1 ? 2 : 4;
    unsigned char field[4] = {};
    if (device.read(reinterpret_cast<char*>(field), fieldSize) != fieldSize)
        throw IoError(name, "truncated .npy header");
    return field[0] | (field[1] << 8) | (field[2] << 16) | (static_cast<std::uint32_t>(field[3]) << 24);
}

std::string headerDict(NpyType type, const std::vector<std::int64_t>& shape)
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

} // namespace

NpyHeader readNpyHeader(QIODevice& device, const std::string& name)
{
    const std::uint32_t headerLength = readHeaderLength(device, name);
    if (headerLength > npyMaxHeaderLength)
        throw IoError(name, "the .npy header announces " + std::to_string(headerLength) + " bytes; at most " +
                                std::to_string(npyMaxHeaderLength) + " are accepted");
    const QByteArray headerBytes = device.read(headerLength);
    if (headerBytes.size() != static_cast<qsizetype>(headerLength))
        throw IoError(name, "truncated .npy header");

    HeaderFields fields = HeaderDictParser(headerBytes.toStdString(), name).parse();
    NpyHeader header;
    header.type = typeOfDescr(fields.descr, name);
    if (fields.fortranOrder)
        throw IoError(name, "Fortran-ordered .npy arrays are not supported; save the array in C order");
    header.shape = std::move(fields.shape);
    return header;
}

QByteArray encodeNpyHeader(NpyType type, const std::vector<std::int64_t>& shape)
{
    const std::string dict = headerDict(type, shape);
    auto padded = [&](int lengthField) {
        const std::size_t used = kMagicLength + 2 + lengthField + dict.size() + 1;
        return dict + std::string((64 - used % 64) % 64, ' ') + '\n';
    };
    std::string text = padded(2);
    const int major = text.size() <= 0xffff ? 1 : 2;
    if (major == 2)
        text = padded(4);
    QByteArray out(kMagic, kMagicLength);
    out.append(char(major)).append(char(0));
    for (int i = 0; i < (major == 1 ? 2 : 4); ++i)
        out.append(char((text.size() >> (8 * i)) & 0xff));
    out.append(text.data(), static_cast<qsizetype>(text.size()));
    return out;
}

} // namespace ivra
