// Writes the colour conversion tables (color/HsvTables.h) as C++ source, computed with
// the same functions the library uses, so that they hold exactly what those give.
//   HsvTableGenerator OUTPUT.cpp
#include "color/HsvTables.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: HsvTableGenerator OUTPUT.cpp\n");
        return 2;
    }
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    std::fprintf(out, "// Written by HsvTableGenerator when the project is built.\n"
                      "#include \"color/HsvTables.h\"\n\nnamespace ivra {\n\n"
                      "alignas(64) const HSVPixel kHsvFromRgbTable[64 * 64 * 64] = {\n");
    for (int r6 = 0; r6 < 64; ++r6)
        for (int g6 = 0; g6 < 64; ++g6) {
            for (int b6 = 0; b6 < 64; ++b6) {
                const ivra::HSVPixel p = ivra::hsvFromRgbEntry(r6, g6, b6);
                std::fprintf(out, "{%d,%d,%d},", p.hue, p.sat, p.val);
            }
            std::fputc('\n', out);
        }
    std::fprintf(out, "};\n\nalignas(64) const std::uint8_t kHueSatTable[361][256][3] = {\n");
    for (int row = 0; row <= 360; ++row) {
        std::fputc('{', out);
        for (int sat = 0; sat < 256; ++sat) {
            std::uint8_t rgb[3];
            ivra::hueSatEntry(row, sat, rgb);
            std::fprintf(out, "{%d,%d,%d},", rgb[0], rgb[1], rgb[2]);
        }
        std::fprintf(out, "},\n");
    }
    std::fprintf(out, "};\n\nalignas(64) const std::uint8_t kScaleTable[256][256] = {\n");
    for (int a = 0; a < 256; ++a) {
        std::fputc('{', out);
        for (int b = 0; b < 256; ++b)
            std::fprintf(out, "%d,", ivra::scaleEntry(a, b));
        std::fprintf(out, "},\n");
    }
    std::fprintf(out, "};\n\n} // namespace ivra\n");
    return std::fclose(out) == 0 ? 0 : 1;
}
