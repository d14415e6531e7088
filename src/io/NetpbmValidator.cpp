#include "NetpbmValidator.h"

#include "IoError.h"

#include <algorithm>
#include <cctype>

namespace ivra {

namespace {

constexpr qint64 kChunk = 64 * 1024;

// The device one byte at a time, read in chunks.
class ByteSource {
public:
    explicit ByteSource(QIODevice& device) : device_(device) {}
    // The next byte without taking it; -1 at the end.
    int peek() { return fill() ? static_cast<unsigned char>(buffer_[pos_]) : -1; }
    int get()
    {
        const int c = peek();
        pos_ += c >= 0;
        return c;
    }
    // Takes up to `max` bytes at once (at most one chunk); none at the end.
    QByteArrayView take(qint64 max)
    {
        if (!fill())
            return {};
        const qsizetype n = static_cast<qsizetype>(std::min<qint64>(max, buffer_.size() - pos_));
        const QByteArrayView bytes(buffer_.constData() + pos_, n);
        pos_ += n;
        return bytes;
    }

private:
    bool fill()
    {
        if (pos_ < buffer_.size())
            return true;
        buffer_ = device_.read(kChunk);
        pos_ = 0;
        return !buffer_.isEmpty();
    }
    QIODevice& device_;
    QByteArray buffer_;
    qsizetype pos_ = 0;
};

bool isSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r'; }

class Validator {
public:
    Validator(QIODevice& device, const std::string& name) : in_(device), name_(name) {}

    [[noreturn]] void refuse(const std::string& problem) const { throw IoError(name_, problem); }

    NetpbmHeader header()
    {
        if (in_.get() != 'P')
            refuse("not a netpbm file");
        const int kind = in_.get() - '0';
        if (kind < 1 || kind > 6)
            refuse("not a netpbm file");
        NetpbmHeader h;
        h.type = kind % 3 == 1 ? PictureType::Pbm : kind % 3 == 2 ? PictureType::Pgm : PictureType::Ppm;
        h.plain = kind <= 3;
        h.width = static_cast<int>(std::min<qint64>(headerField("width"), 1 << 30));
        h.height = static_cast<int>(std::min<qint64>(headerField("height"), 1 << 30));
        if (h.type != PictureType::Pbm) {
            const qint64 maxval = headerField("maxval");
            if (maxval < 1 || maxval > 65535)
                refuse("the maxval " + std::to_string(maxval) + " is outside 1..65535");
            h.maxval = static_cast<int>(maxval);
        }
        if (const std::string problem = pictureSizeProblem(h.width, h.height); !problem.empty())
            refuse(problem);
        // Binary data start after exactly one whitespace character.
        if (!isSpace(in_.get()))
            refuse("the header does not end with whitespace");
        return h;
    }

    void plainBits(const NetpbmHeader& h, QByteArray* bitmap)
    {
        const qint64 rowBytes = (h.width + 7) / 8;
        if (bitmap)
            *bitmap = QByteArray(rowBytes * h.height, '\0');
        const qint64 count = static_cast<qint64>(h.width) * h.height;
        for (qint64 i = 0; i < count;) {
            const int c = in_.get();
            if (isSpace(c))
                continue;
            if (c != '0' && c != '1')
                refuse(c < 0 ? shortData(i, count) : "P1 data may hold only the digits 0 and 1");
            if (c == '1' && bitmap)
                (*bitmap)[(i / h.width) * rowBytes + (i % h.width) / 8] |= static_cast<char>(0x80 >> (i % h.width % 8));
            ++i;
        }
        trailingSpaceOnly();
    }

    void plainSamples(const NetpbmHeader& h)
    {
        const qint64 count = sampleCount(h);
        for (qint64 i = 0; i < count; ++i) {
            if (i > 0 && !isSpace(in_.peek()) && in_.peek() >= 0)
                refuse("junk in the data after sample " + std::to_string(i));
            while (isSpace(in_.peek()))
                in_.get();
            if (in_.peek() < 0)
                refuse(shortData(i, count));
            const qint64 v = number();
            if (v < 0)
                refuse("junk in the data at sample " + std::to_string(i + 1));
            checkSample(v, h.maxval, i);
        }
        trailingSpaceOnly();
    }

    void binaryData(const NetpbmHeader& h)
    {
        const int sampleBytes = h.type == PictureType::Pbm ? 1 : h.maxval < 256 ? 1 : 2;
        const qint64 total = h.type == PictureType::Pbm ? (h.width + 7) / 8 * qint64(h.height)
                                                        : sampleCount(h) * sampleBytes;
        const bool check = h.type != PictureType::Pbm && h.maxval != 255 && h.maxval != 65535;
        qint64 done = 0;
        int high = -1; // the first byte of a two-byte sample split between chunks
        while (done < total) {
            const QByteArrayView bytes = in_.take(total - done);
            if (bytes.isEmpty())
                refuse("the data end early: " + std::to_string(total) + " bytes announced, " +
                       std::to_string(done) + " present");
            for (qsizetype k = 0; check && k < bytes.size(); ++k) {
                const int b = static_cast<unsigned char>(bytes[k]);
                if (sampleBytes == 2 && high < 0) {
                    high = b;
                    continue;
                }
                const qint64 index = (done + k) / sampleBytes;
                checkSample(sampleBytes == 2 ? high * 256 + b : b, h.maxval, index);
                high = -1;
            }
            done += bytes.size();
        }
        if (in_.peek() >= 0)
            refuse("the file holds more data than the " + std::to_string(total) + " bytes announced");
    }

private:
    // Whitespace and comments, at least one character, then a decimal number.
    qint64 headerField(const char* what)
    {
        bool separated = false;
        for (;;) {
            const int c = in_.peek();
            if (isSpace(c)) {
                in_.get();
            } else if (c == '#') {
                while (in_.peek() >= 0 && in_.peek() != '\n' && in_.peek() != '\r')
                    in_.get();
            } else {
                break;
            }
            separated = true;
        }
        const qint64 v = separated ? number() : -1;
        if (v < 0)
            refuse(std::string("the header's ") + what + " is not a number after whitespace");
        if (in_.peek() >= 0 && !isSpace(in_.peek()) && in_.peek() != '#')
            refuse(std::string("junk after the header's ") + what);
        return v;
    }

    // A run of decimal digits (saturating well above any valid field); -1 when none.
    qint64 number()
    {
        if (!std::isdigit(in_.peek()))
            return -1;
        qint64 v = 0;
        while (std::isdigit(in_.peek()))
            v = std::min<qint64>(v * 10 + (in_.get() - '0'), qint64(1) << 40);
        return v;
    }

    void checkSample(qint64 v, int maxval, qint64 index) const
    {
        if (v > maxval)
            refuse("sample " + std::to_string(index + 1) + " is " + std::to_string(v) + ", above the maxval " +
                   std::to_string(maxval));
    }

    void trailingSpaceOnly()
    {
        for (int c = in_.get(); c >= 0; c = in_.get())
            if (!isSpace(c))
                refuse("the file holds more data than the picture");
    }

    static qint64 sampleCount(const NetpbmHeader& h)
    {
        return qint64(h.width) * h.height * (h.type == PictureType::Ppm ? 3 : 1);
    }
    static std::string shortData(qint64 got, qint64 count)
    {
        return "the data end early: " + std::to_string(count) + " samples announced, " + std::to_string(got) +
               " present";
    }

    ByteSource in_;
    std::string name_;
};

} // namespace

NetpbmHeader validateNetpbm(QIODevice& device, const std::string& name,
                            const std::function<void(const NetpbmHeader&)>& checkHeader, QByteArray* bitmap)
{
    Validator v(device, name);
    const NetpbmHeader h = v.header();
    if (checkHeader)
        checkHeader(h);
    if (h.plain && h.type == PictureType::Pbm)
        v.plainBits(h, bitmap);
    else if (h.plain)
        v.plainSamples(h);
    else
        v.binaryData(h);
    return h;
}

} // namespace ivra
