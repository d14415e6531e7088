#include "IoTestSupport.h"

#include "Npy.h"
#include "RegionExport.h"

namespace {

Array2D<std::uint32_t> labelsWith(std::uint32_t largest)
{
    Array2D<std::uint32_t> labels(3, 2);
    const std::uint32_t values[] = {0, 1, 2, 300, 65534, largest};
    std::copy(std::begin(values), std::end(values), labels.data());
    return labels;
}

} // namespace

TEST(RegionExport, LabelsRoundTripThroughNpyAnd16BitPng)
{
    QTemporaryDir dir;
    const Array2D<std::uint32_t> labels = labelsWith(maxGray16Label);
    writeLabelsNpy(labels, dir.filePath("l.npy"));
    writeLabelsPng16(labels, dir.filePath("l.png"));
    const NpyArray npy = readNpy(dir.filePath("l.npy"));
    EXPECT_EQ(npy.type, NpyType::UInt32);
    EXPECT_EQ(npy.shape, (std::vector<std::int64_t>{2, 3}));
    const QImage png(dir.filePath("l.png"));
    EXPECT_EQ(png.format(), QImage::Format_Grayscale16);
    ASSERT_EQ(png.size(), QSize(3, 2));
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(npy.integerAt(i), labels[i]);
        EXPECT_EQ(reinterpret_cast<const quint16*>(png.constScanLine(i / 3))[i % 3], labels[i]);
    }
}

TEST(RegionExport, RefusalsLeaveTheFileAlone)
{
    QTemporaryDir dir;
    const QString png = dir.filePath("l.png");
    writeFile(png, "old");
    EXPECT_TRUE(refusedWith([&] { writeLabelsPng16(labelsWith(maxGray16Label + 1), png); }, "65536"));
    EXPECT_TRUE(refusedWith([&] { writeLabelsPng16(labelsWith(7), dir.filePath("l.ppm")); }, ".png"));
    EXPECT_TRUE(refusedWith([&] { writeTextFile("a,b\n", dir.filePath("no/t.csv")); }, "t.csv"));
    EXPECT_EQ(contents(png), "old");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"l.png"});
    writeTextFile("a,b\n", dir.filePath("t.csv"));
    EXPECT_EQ(contents(dir.filePath("t.csv")), "a,b\n");
}
