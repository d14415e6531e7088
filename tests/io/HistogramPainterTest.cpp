#include "HistogramPainter.h"
#include "IoTestSupport.h"

#include "image/HSVBinLayout.h"

namespace {

// Each kind of histogram is drawn in a few shapes, stacked into one picture and
// compared pixel for pixel with the picture stored under tests/io/data.
void expectPicture(const std::vector<const Histogram*>& histograms, const char* expectedFile)
{
    const QImage drawn = drawHistograms(histograms);
    const QImage expected = QImage(QStringLiteral(IVRA_IO_TEST_DATA "/") + QLatin1String(expectedFile))
                                .convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(!expected.isNull() && drawn.convertToFormat(QImage::Format_RGB32) == expected) << expectedFile;
}

void fill(HistogramRGB& h, const std::function<HistogramRGB::Color(int)>& color, const std::function<double(int)>& count)
{
    for (int i = 0; i < h.binCount(); ++i) {
        h.colors()[i] = color(i);
        h.counts()[i] = static_cast<float>(count(i));
    }
}

TEST(HistogramPainter, DrawingsMatchTheStoredPictures)
{
    // Gray: 16 bins whose bar heights pass 2^31 in 32 bits; 256 empty bins (ramp
    // only); 300 bins (one pixel each, cut at the edge).
    HistogramGray sixteen(16), empty(256), many(300);
    for (const auto& [bin, count] : {std::pair{0, 20000000}, {1, 10000000}, {5, 3333333}, {15, 1}})
        sixteen.counts()[bin] = count;
    for (int i = 0; i < 300; ++i)
        many.counts()[i] = (i * 37) % 101;
    expectPicture({&sixteen, &empty, &many}, "histogram-gray.png");

    // RGB: 8 bins (one colour past 8 bits), 25 bins (gaps of exactly 2 of 10
    // columns), 27 bins (strip columns past the last bin), 512 bins (wider than
    // the ramp, one pixel each).
    HistogramRGB eight(8), tens(25), odd(27), wide(512);
    const float eightCounts[] = {4.0f, 2.0f, 0.0f, 1.0f, 3.0f, 0.5f, 0.0f, 4.0f};
    fill(eight, [](int i) { return HistogramRGB::Color{(i & 1) ? 191 : 63, (i & 2) ? 191 : 63, (i & 4) ? 191 : 63}; },
         [&](int i) { return eightCounts[i]; });
    eight.colors()[2] = {256, 257, -1};
    fill(tens, [](int i) { return HistogramRGB::Color{10 * i, 100, 250 - 10 * i}; }, [](int i) { return i % 4 + 1; });
    fill(odd, [](int i) { return HistogramRGB::Color{9 * i, 255 - 9 * i, 100}; }, [](int i) { return (i * 5) % 11; });
    fill(wide, [](int i) { return HistogramRGB::Color{i / 2, 255 - i / 2, (i * 3) % 256}; },
         [](int i) { return 1.5f * static_cast<float>(i % 7); });
    expectPicture({&eight, &tens, &odd, &wide}, "histogram-rgb.png");

    // HSV: wheel, sector boundaries, gray panel and chromatic bars of two layouts.
    HistogramHSV small(std::make_shared<const HSVBinLayout>(6, 2, 4, 15));
    HistogramHSV fine(std::make_shared<const HSVBinLayout>(12, 3, 8, 40));
    for (HistogramHSV* h : {&small, &fine})
        for (int bin = 0; bin < h->binCount(); ++bin)
            h->counts()[bin] = (bin * 7) % 5 + 0.25 * (bin % 3);
    small.counts()[0] = 10.0;
    expectPicture({&small, &fine}, "histogram-hsv.png");
    EXPECT_TRUE(drawHistograms({}).isNull());
}

} // namespace
