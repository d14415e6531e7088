#include "IoTestSupport.h"
#include "NetpbmValidator.h"

namespace {

NetpbmHeader validated(const QByteArray& bytes, QByteArray* bitmap = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return validateNetpbm(buffer, "n", {}, bitmap);
}

} // namespace

// Every lax reading refused, with the reason; the valid forms beside them accepted.
TEST(NetpbmValidator, RefusesEveryLaxFormAndAcceptsTheStrictOnes)
{
    const std::pair<QByteArray, const char*> rows[] = {
        {"P2\n2 1\n255\n300 1\n", "sample 1 is 300, above the maxval 255"},
        {"P2 2 1 7 7 8", "sample 2 is 8, above the maxval 7"},
        {QByteArray("P5 2 1 7\n\x07\x08", 11), "sample 2 is 8"},
        {QByteArray("P5 1 1 1\n\x02", 10), "sample 1 is 2"},
        {QByteArray("P6 1 1 1000\n\x03\xe8\x03\xe8\x03\xe9", 18), "sample 3 is 1001, above the maxval 1000"},
        {"P2\n2 x1\n255\n1 2\n", "height is not a number"},
        {"P2\n2,1\n255\n1 2\n", "junk after the header's width"},
        {"P22 1 255 1 2\n", "width is not a number after whitespace"},
        {"P2\n2 1 255 1,2\n", "junk in the data after sample 1"},
        {"P2\n2 1 255 1 2 x\n", "more data than the picture"},
        {"P1\n3 1\n0 2 1\n", "only the digits 0 and 1"},
        {"P1\n3 1\n0 1\n", "2 present"},
        {"P2 1 1 0 0\n", "maxval 0 is outside 1..65535"},
        {"P2 1 1 65536 0\n", "maxval 65536"},
        {"P4 9 2\n\x01\x02\x03", "4 bytes announced, 3 present"},
        {"P4 9 2\n\x01\x02\x03\x04\x05", "more data than the 4 bytes announced"},
        {QByteArray("P5 2 1 255\n\x01", 12), "2 bytes announced, 1 present"},
        {"P5 2 1 255#\nab", "does not end with whitespace"},
        {"P5 0 1 255\n", "the picture is empty"},
        {"P5 32768 1 255\n", "32768 x 1 pixels; at most 32767"},
        {"P7 1 1 255\n", "not a netpbm file"},
        // accepted
        {"P1\n# bits\n3 2\n010110\n", nullptr},
        {"P1 3 2 0 1 0\n1 1 0", nullptr},
        {"P2 # c\n#\n2 1 65535 65535 0 \n\n", nullptr},
        {QByteArray("P5 2 1 7\r\x07\x00", 11), nullptr},
        {QByteArray("P6 1 1 65535\n\xff\xff\x00\x00\x12\x34", 19), nullptr},
        {"P4 9 2\n\x01\x02\x03\x04", nullptr},
    };
    for (const auto& [bytes, problem] : rows) {
        if (problem)
            EXPECT_TRUE(refusedWith([&] { validated(bytes); }, problem)) << bytes.toStdString();
        else
            EXPECT_NO_THROW(validated(bytes)) << bytes.toStdString();
    }
}

// P1 bits, spaced or not, come out as the rows of the binary form: 1 is black.
TEST(NetpbmValidator, PlainBitsArePackedAsBinaryRows)
{
    QByteArray packed;
    const NetpbmHeader h = validated("P1 10 2 1000000001\n0 1 1 0000000", &packed);
    EXPECT_EQ(h.width * 100 + h.height, 1002);
    EXPECT_EQ(packed, QByteArray("\x80\x40\x60\x00", 4));
}
