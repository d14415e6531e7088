#include "segment/RegionBorders.h"
#include "segment/RegionMeasurements.h"
#include "segment/RegionTableCsv.h"

#include "image/ImageSegmented.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <random>
#include <string>
#include <vector>

using namespace ivra;

namespace {

// A segmentation from rows of digits (the labels; 'z' is a label far above the
// pixel count); source and result colours depend on position and label.
std::unique_ptr<ImageSegmented> fromRows(const std::vector<std::string>& rows)
{
    const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
    auto s = std::make_unique<ImageSegmented>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * w + x;
            const std::uint32_t label = rows[y][x] == 'z' ? 4000000000u : static_cast<std::uint32_t>(rows[y][x] - '0');
            s->labels[i] = label;
            s->sourcePixels[i] = {static_cast<std::uint8_t>(x * 10 + y), static_cast<std::uint8_t>(x * y),
                                  static_cast<std::uint8_t>(200 - y)};
            s->setPixel(i, static_cast<std::int16_t>(label % 20 * 10), static_cast<std::int16_t>(label % 7),
                        static_cast<std::int16_t>(label % 13 + 1));
        }
    return s;
}

// Edges of pixel (x, y) to other labels (first) and to the picture's border (second).
std::pair<int, int> edges(const Array2D<std::uint32_t>& l, int x, int y)
{
    std::pair<int, int> n{0, 0};
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const int nx = x + dx, ny = y + dy;
        const bool outside = nx < 0 || ny < 0 || nx >= l.width() || ny >= l.height();
        (outside ? n.second : n.first) += outside || l.at(nx, ny) != l.at(x, y);
    }
    return n;
}

// The plain definition, label by label and pixel by pixel.
std::vector<RegionMeasurement> oracle(const ImageSegmented& s)
{
    std::map<std::uint32_t, RegionMeasurement> regions;
    for (int y = 0; y < s.height(); ++y)
        for (int x = 0; x < s.width(); ++x) {
            const std::uint32_t label = s.labels.at(x, y);
            const std::size_t i = static_cast<std::size_t>(y) * s.width() + x;
            RegionMeasurement& m = regions[label];
            if (m.pixels++ == 0)
                m = {label, 1, x, y, x, y, 0, 0, 0, 0, 0, s.red()[i], s.green()[i], s.blue()[i], 0};
            m.xMin = std::min(m.xMin, x), m.xMax = std::max(m.xMax, x), m.yMax = y;
            const RGB24 c = s.sourcePixels[i];
            m.centroidX += x, m.centroidY += y, m.meanRed += c.r, m.meanGreen += c.g, m.meanBlue += c.b;
            m.perimeter += edges(s.labels, x, y).first + edges(s.labels, x, y).second;
        }
    regions.erase(0);
    std::vector<RegionMeasurement> out;
    for (auto& [label, m] : regions) {
        const double n = static_cast<double>(m.pixels);
        m.centroidX /= n, m.centroidY /= n, m.meanRed /= n, m.meanGreen /= n, m.meanBlue /= n;
        out.push_back(m);
    }
    return out;
}

void expectSame(const std::vector<RegionMeasurement>& got, const std::vector<RegionMeasurement>& want)
{
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
        const RegionMeasurement &g = got[k], &e = want[k];
        EXPECT_EQ(std::tie(g.label, g.pixels, g.xMin, g.yMin, g.xMax, g.yMax, g.regionRed, g.regionGreen,
                           g.regionBlue, g.perimeter),
                  std::tie(e.label, e.pixels, e.xMin, e.yMin, e.xMax, e.yMax, e.regionRed, e.regionGreen,
                           e.regionBlue, e.perimeter))
            << "label " << e.label;
        for (const auto& [a, b] : {std::pair{g.centroidX, e.centroidX}, {g.centroidY, e.centroidY},
                                  {g.meanRed, e.meanRed}, {g.meanGreen, e.meanGreen}, {g.meanBlue, e.meanBlue}})
            EXPECT_DOUBLE_EQ(a, b) << "label " << e.label;
    }
}

const std::vector<std::vector<std::string>> pictures = {
    {"7"},                               // one pixel
    {"00000", "01100", "01100", "01100"}, // a 2 x 3 block in label 0
    {"11111", "12221", "12021", "12221", "11111"}, // holes: 2 inside 1, 0 inside 2
    {"3003", "0330", "3003"},           // one label in several parts
    {"1122", "1122", "3344"},           // touching every edge
    {"z10", "1z2"},                     // labels far above the pixel count
    {"012345678", "876543210"},
};

} // namespace

TEST(RegionMeasurements, AgreeWithTheDefinitionOnConstructedAndRandomLabels)
{
    for (const auto& rows : pictures) {
        SCOPED_TRACE(rows[0]);
        const auto s = fromRows(rows);
        const auto want = oracle(*s);
        expectSame(measureRegions(*s), want);
        EXPECT_EQ(countRegions(s->labels), want.size());
    }
    std::mt19937 random(5);
    std::vector<std::string> rows(23, std::string(31, '0'));
    for (auto& row : rows)
        for (char& c : row)
            c = static_cast<char>('0' + random() % (random() % 2 ? 3 : 10));
    const auto s = fromRows(rows);
    expectSame(measureRegions(*s), oracle(*s));
}

TEST(RegionMeasurements, KnownValuesAndSizeMismatch)
{
    // A single pixel has 4 edges, a 2 x 3 block 10; label 0 has no row.
    const auto one = measureRegions(*fromRows({"7"})), block = measureRegions(*fromRows(pictures[1]));
    ASSERT_EQ(one.size() + block.size(), 2u);
    EXPECT_EQ(std::tie(one[0].perimeter, block[0].perimeter, block[0].pixels), std::tuple(4u, 10u, 6u));
    EXPECT_EQ(std::pair(block[0].centroidX, block[0].centroidY), std::pair(1.5, 2.0));
    ImageSegmented wrong(2, 1);
    EXPECT_THROW(measureRegions(wrong.labels, fromRows({"1"})->sourcePixels, wrong), std::invalid_argument);
}

TEST(RegionBorders, MarkPixelsWithADifferentNeighbourInside)
{
    const RGB24 color{1, 2, 3};
    for (const auto& rows : pictures) {
        SCOPED_TRACE(rows[0]);
        const auto s = fromRows(rows);
        const auto mask = borderMask(s->labels);
        const auto painted = paintBorders(s->labels, s->sourcePixels, color);
        for (int y = 0; y < s->height(); ++y)
            for (int x = 0; x < s->width(); ++x) {
                const bool border = edges(s->labels, x, y).first > 0;
                EXPECT_EQ(mask.at(x, y), border) << x << "," << y;
                EXPECT_EQ(painted.at(x, y), border ? color : s->sourcePixels.at(x, y)) << x << "," << y;
            }
    }
}

TEST(RegionTableCsv, WritesTheHeaderAndOneRowPerRegion)
{
    const auto s = fromRows({"022", "011"});
    EXPECT_EQ(regionTableCsv(measureRegions(*s)),
              "label,pixels,x_min,y_min,x_max,y_max,centroid_x,centroid_y,mean_red,mean_green,mean_blue,"
              "region_red,region_green,region_blue,perimeter\n"
              "1,2,1,1,2,1,1.500000,1.000000,16.000000,1.500000,199.000000,10,1,2,6\n"
              "2,2,1,0,2,0,1.500000,0.000000,15.000000,0.000000,200.000000,20,2,3,6\n");
}
