// The segmentation viewer's region table, selection both ways, border style, exports.
#include "gui/GuiTestSupport.h"

#include "view/RegionHighlight.h"
#include "view/RegionTableModel.h"
#include "view/RegionTablePanel.h"
#include "view/SegmentationExport.h"
#include "view/SegmentationViewer.h"

#include "Npy.h"
#include "segment/RegionTableCsv.h"

#include <QItemSelectionModel>
#include <QMenu>
#include <QRadioButton>
#include <QTableView>

using namespace guitest;

namespace {

// Labels 1..4 of 1, 2, 3 and 5 pixels; label 0 in the corner.
const char* const grid = "4441 4433 2230";

std::unique_ptr<DataEntry> segmentationEntry()
{
    auto s = std::make_unique<ImageSegmented>(4, 3);
    for (std::size_t i = 0; i < 12; ++i) {
        const int l = grid[i + i / 4] - '0';
        s->labels[i] = static_cast<std::uint32_t>(l);
        s->sourcePixels[i] = {static_cast<std::uint8_t>(i * 20), 7, 9};
        s->setPixel(i, static_cast<std::int16_t>(l * 50), 1, 2);
    }
    return std::make_unique<DataEntry>(std::move(s), "seg");
}

const ImageSegmented& segmentationOf(const DataEntry& e) { return static_cast<const ImageSegmented&>(*e.data()); }

// The pixels a highlight tints, as '#' and '.' per pixel, rows separated by spaces.
QString tinted(const RegionHighlight* h)
{
    QString text;
    for (int y = 0; !h->isHidden() && y < 3; ++y, text += ' ')
        for (int x = 0; x < 4; ++x)
            text += qAlpha(h->marks().pixel(x, y)) ? '#' : '.';
    return text;
}

std::vector<std::uint32_t> rowLabels(const RegionTablePanel* t)
{
    std::vector<std::uint32_t> labels;
    for (int row = 0; row < t->model()->rowCount(); ++row)
        labels.push_back(t->model()->index(row, 0).data(RegionTableModel::sortRole).toUInt());
    return labels;
}

} // namespace

TEST(RegionTable, SortsAndSelectsRowsAndRegionsBothWays)
{
    const auto entry = segmentationEntry();
    SegmentationViewer view(nullptr, entry.get());
    EXPECT_FALSE(view.hasPixelIndex()); // opening does not build it
    RegionTablePanel* const table = view.regionTable();
    EXPECT_EQ(rowLabels(table), (std::vector<std::uint32_t>{1, 2, 3, 4}));
    table->model()->sort(RegionTableModel::RegionGreen, Qt::DescendingOrder); // all tie: no move
    EXPECT_EQ(rowLabels(table), (std::vector<std::uint32_t>{1, 2, 3, 4}));
    table->tableView()->sortByColumn(RegionTableModel::Pixels, Qt::DescendingOrder);
    EXPECT_EQ(rowLabels(table), (std::vector<std::uint32_t>{4, 3, 2, 1}));
    table->tableView()->sortByColumn(RegionTableModel::CentroidX, Qt::AscendingOrder);
    EXPECT_EQ(rowLabels(table), (std::vector<std::uint32_t>{2, 4, 3, 1}));

    // Rows tint their regions over both pictures; the pictures stay as they are.
    const QImage before = view.picture();
    auto* selection = table->tableView()->selectionModel();
    for (const int row : {0, 2})
        selection->select(table->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    EXPECT_EQ(table->selectedLabels(), (std::vector<std::uint32_t>{2, 3}));
    EXPECT_EQ(tinted(view.sourceHighlight()), ".... ..## ###. ");
    EXPECT_EQ(tinted(view.regionHighlight()), ".... ..## ###. ");
    EXPECT_EQ(view.picture(), before);
    table->tableView()->sortByColumn(RegionTableModel::Pixels, Qt::DescendingOrder); // the rows move along
    EXPECT_EQ(table->selectedLabels(), (std::vector<std::uint32_t>{2, 3}));

    // A click on a region selects its row alone (and still toggles it); label 0 selects none.
    view.onDisplayMousePressEvent(3, 0, Qt::LeftButton, {});
    EXPECT_EQ(table->selectedLabels(), std::vector<std::uint32_t>{1});
    EXPECT_EQ(tinted(view.regionHighlight()), "...# .... .... ");
    EXPECT_FALSE(view.isSelected(1));
    view.onDisplayMousePressEvent(3, 2, Qt::LeftButton, {});
    EXPECT_TRUE(table->selectedLabels().empty());
    EXPECT_EQ(tinted(view.regionHighlight()), "");
    view.onAskForInfoText(0, 2);
    EXPECT_TRUE(view.regionView()->infoText().endsWith("Label=2  Pixels=2"));
}

TEST(RegionTable, BorderStyleRepaintsShownRegionsInTheChosenColour)
{
    const auto entry = segmentationEntry();
    const ImageSegmented& s = segmentationOf(*entry);
    SegmentationViewer view(nullptr, entry.get());
    const auto expectCanvas = [&](RGB24 color, std::uint32_t hidden) {
        const Array2D<RGB24> want = paintBorders(s.labels, s.sourcePixels, color);
        for (std::size_t i = 0; i < 12; ++i)
            EXPECT_EQ(view.canvas()[i], (s.labels[i] == hidden ? RGB24{0, 0, 0} : want[i])) << i;
    };
    view.borderRadio()->click();
    expectCanvas(defaultBorderColor, 99);
    view.setBorderColor({1, 2, 3});
    expectCanvas({1, 2, 3}, 99);
    view.onDisplayMousePressEvent(0, 2, Qt::LeftButton, {}); // hides label 2
    expectCanvas({1, 2, 3}, 2);
    view.onDisplayMousePressEvent(0, 2, Qt::LeftButton, {});
    expectCanvas({1, 2, 3}, 99);
}

TEST(RegionTable, ExportsWriteEachKindAndTheMenuAsksForAName)
{
    const auto entry = segmentationEntry();
    const ImageSegmented& s = segmentationOf(*entry);
    QTemporaryDir dir;
    exportSegmentation(s, SegmentationExport::LabelsNpy, dir.filePath("l.npy"), {});
    exportSegmentation(s, SegmentationExport::LabelsPng16, dir.filePath("l.png"), {});
    exportSegmentation(s, SegmentationExport::Borders, dir.filePath("b.png"), {1, 2, 3});
    EXPECT_EQ(readNpy(dir.filePath("l.npy")).integerAt(3), 1);
    EXPECT_EQ(QImage(dir.filePath("l.png")).format(), QImage::Format_Grayscale16);
    EXPECT_EQ(QImage(dir.filePath("b.png")).pixel(3, 0), qRgb(1, 2, 3));

    // The viewer's menu: a name without extension gets ".csv".
    SegmentationViewer view(nullptr, entry.get());
    QAction* csv = view.regionTable()->exportButton()->menu()->actions().at(2);
    driveModal([&] { csv->trigger(); }, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(dir.filePath("table"));
        static_cast<QDialog*>(dialog)->accept();
    });
    QFile table(dir.filePath("table.csv"));
    ASSERT_TRUE(table.open(QIODevice::ReadOnly));
    EXPECT_EQ(table.readAll().toStdString(), regionTableCsv(measureRegions(s)));
}
