// Split-And-Merge through its dialog: widgets, menu entry, listing, the error
// box, result names with the run counter, nesting and chaining, refusal, help.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "app/QInfoDialog.h"
#include "dialogs/QSMGDialog.h"
#include "image/ImageSegmented.h"
#include "util/CMessageHandler.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSpinBox>
#include <QTextBrowser>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace guitest;

namespace {

QSMGDialog* smgDialog(IvraApp& app)
{
    auto* d = app.findChild<QSMGDialog*>();
    EXPECT_NE(d, nullptr);
    return d;
}

void setThresholds(QSMGDialog* d, int split, int merge, int group)
{
    d->splitSpin()->setValue(split);
    d->mergeSpin()->setValue(merge);
    d->groupSpin()->setValue(group);
}

// Opens the dialog as the menu does, picks the entry, sets the widgets and presses
// Ok. Returns whether the dialog was still open after Ok.
bool runDialog(QSMGDialog* d, DataEntry* source, const std::function<void()>& setWidgets)
{
    bool stillOpen = false;
    driveModal([d] { d->showDialog(); },
               [d, source, setWidgets, &stillOpen] {
                   EXPECT_TRUE(d->selectEntry(source));
                   setWidgets();
                   d->okButton()->click();
                   stillOpen = d->isVisible();
                   if (stillOpen)
                       d->reject();
               });
    return stillOpen;
}

// 8 x 8: left half red, right half blue.
std::unique_ptr<ImageRGB> redAndBlue()
{
    auto image = rgbImage(8, 8, 200, 0, 0);
    for (int y = 0; y < 8; ++y)
        for (int x = 4; x < 8; ++x)
            image->setPixel(static_cast<std::size_t>(y) * 8 + x, 0, 0, 200);
    return image;
}

std::size_t regionCount(const ImageSegmented& s)
{
    return std::set<std::uint32_t>(s.labels.data(), s.labels.data() + s.labels.size()).size();
}

// Keeps the operator's progress lines for the test to look at.
class Lines : public tools::CMessageHandler {
public:
    explicit Lines(std::vector<std::string>& lines) : lines_(lines) {}
    void message(const std::string& text) override { lines_.push_back(text); }

private:
    std::vector<std::string>& lines_;
};

} // namespace

TEST(SMGDialog, OffersTheThreeThresholdsWithTheirDefaultsAndRanges)
{
    IvraApp app;
    QSMGDialog* d = smgDialog(app);
    EXPECT_EQ(d->windowTitle(), "Split-And-Merge");
    EXPECT_EQ(d->okButton()->text(), "Ok");
    EXPECT_EQ(d->parameterGroup()->title(), "Parameters");

    const QString labels[] = {"Threshold (Split) [Default=10]:", "Threshold (Merge) [Default=10]:",
                              "Threshold (Grouping) [Default=20]:"};
    QSpinBox* spins[] = {d->splitSpin(), d->mergeSpin(), d->groupSpin()};
    const int defaults[] = {10, 10, 20};
    for (int k = 0; k < 3; ++k) {
        QLabel* label = nullptr;
        for (QLabel* l : d->parameterGroup()->findChildren<QLabel*>())
            if (l->buddy() == spins[k])
                label = l;
        ASSERT_NE(label, nullptr) << k;
        EXPECT_EQ(label->text(), labels[k]);
        EXPECT_EQ(spins[k]->value(), defaults[k]);
        EXPECT_EQ(spins[k]->minimum(), 0);
        EXPECT_EQ(spins[k]->maximum(), 255);
        EXPECT_EQ(spins[k]->singleStep(), 1);
    }

    // Operator > Segmentation > Split-And-Merge opens it; it comes before
    // Recursive Histogram Splitting.
    QStringList segmentation;
    QAction* entry = nullptr;
    for (QAction* a : app.operatorMenu()->actions())
        if (a->menu() && a->text() == "Segmentation")
            for (QAction* b : a->menu()->actions()) {
                segmentation << b->text();
                if (b->text() == "Split-And-Merge")
                    entry = b;
            }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->statusTip(), "Split-And-Merge");
    ASSERT_TRUE(segmentation.contains("Recursive Histogram Splitting"));
    EXPECT_LT(segmentation.indexOf("Split-And-Merge"), segmentation.indexOf("Recursive Histogram Splitting"));
    bool opened = false;
    driveModal([entry] { entry->trigger(); },
               [d, &opened] {
                   opened = d->isVisible();
                   d->reject();
               });
    EXPECT_TRUE(opened);

}

TEST(SMGDialog, ListsColourPicturesOnlyAndComplainsWithoutSelection)
{
    IvraApp app;
    addTopLevel(app, grayImage(2, 2, 5), "gray");
    DataEntry* rgb = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "rgb");
    addTopLevel(app, hsvImage(2, 2, 0, 0, 0), "hsv");
    DataEntry* segmented = rgb->addChild(std::make_unique<ImageSegmented>(2, 2), "seg");
    QSMGDialog* d = smgDialog(app);
    d->fillList();
    ASSERT_EQ(d->listView()->topLevelItemCount(), 2);
    EXPECT_EQ(d->listView()->topLevelItem(0)->text(0), "rgb");
    EXPECT_EQ(d->listView()->topLevelItem(1)->text(0), "seg");
    EXPECT_EQ(d->listView()->topLevelItem(1)->text(1), "1");
    EXPECT_EQ(d->entries(), (std::vector<DataEntry*>{rgb, segmented}));

    MessageBoxCatcher boxes;
    bool stillOpen = false;
    driveModal([d] { d->showDialog(); },
               [d, &stillOpen] {
                   d->okButton()->click();
                   stillOpen = d->isVisible();
                   d->reject();
               });
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "Error !");
    EXPECT_EQ(boxes.text(), "Please select an Image for the Operator !");
    EXPECT_TRUE(stillOpen);
    EXPECT_EQ(rgb->children().size(), 1u);
}

// The only test that runs the operator to the end, so the counter starts at 1 here.
TEST(SMGDialog, NamesResultsWithTheCounterNestsThemAndRefusesWithoutCounting)
{
    std::vector<std::string> lines;
    auto previous = tools::CMessageHandler::install(std::make_unique<Lines>(lines));
    IvraApp app;
    DataEntry* source = addTopLevel(app, redAndBlue(), "rb.ppm");
    QSMGDialog* d = smgDialog(app);

    EXPECT_FALSE(runDialog(d, source, [] {}));
    ASSERT_EQ(source->children().size(), 1u);
    DataEntry* first = source->children()[0].get();
    EXPECT_EQ(first->name(), "(1) SMG [Split=10, Merge=10, Group=20]");
    const auto* segmented = dynamic_cast<const ImageSegmented*>(first->data());
    ASSERT_NE(segmented, nullptr);
    EXPECT_EQ(regionCount(*segmented), 2u);
    EXPECT_EQ(segmented->pixel(7, 7), (ImageColor::Triple{0, 0, 200}));
    EXPECT_EQ(lines, (std::vector<std::string>{"split...", "merge...", "Leaving quadtree...",
                                               "QuadTree.GetMaxLevel() 3", "Grouping..."}));

    // The dialog keeps its values; the result is listed and segmented in turn.
    d->fillList();
    EXPECT_EQ(d->groupSpin()->value(), 20);
    ASSERT_EQ(d->entries().size(), 2u);
    EXPECT_FALSE(runDialog(d, first, [d] { setThresholds(d, 0, 5, 255); }));
    ASSERT_EQ(first->children().size(), 1u);
    DataEntry* second = first->children()[0].get();
    EXPECT_EQ(second->name(), "(2) SMG [Split=0, Merge=5, Group=255]");
    // The halves differ by 400 > 255, so they stay apart.
    EXPECT_EQ(regionCount(*static_cast<const ImageSegmented*>(second->data())), 2u);

    // The main list shows the chain.
    QTreeWidgetItem* top = app.dataList()->topLevelItem(0);
    ASSERT_EQ(top->childCount(), 1);
    ASSERT_EQ(top->child(0)->childCount(), 1);
    EXPECT_EQ(top->child(0)->child(0)->text(0), "(2) SMG [Split=0, Merge=5, Group=255]");

    // A picture too elongated for the quadtree adds nothing, keeps the dialog
    // open and leaves the counter alone.
    DataEntry* strip = addTopLevel(app, rgbImage(3000, 1, 1, 2, 3), "strip");
    EXPECT_TRUE(runDialog(d, strip, [] {}));
    EXPECT_TRUE(strip->children().empty());
    EXPECT_FALSE(runDialog(d, source, [d] { setThresholds(d, 10, 10, 20); }));
    ASSERT_EQ(source->children().size(), 2u);
    EXPECT_EQ(source->children()[1]->name(), "(3) SMG [Split=10, Merge=10, Group=20]");

    tools::CMessageHandler::install(std::move(previous));
}

TEST(SMGDialog, InfoShowsItsHelp)
{
    IvraApp app;
    QSMGDialog* d = smgDialog(app);
    QString shown;
    driveModal([d] { d->infoButton()->click(); },
               [&shown] {
                   for (QWidget* w : QApplication::topLevelWidgets())
                       if (auto* i = qobject_cast<QInfoDialog*>(w); i && i->isVisible()) {
                           shown = i->textView()->toPlainText();
                           i->findChild<QPushButton*>()->click();
                       }
               });
    EXPECT_TRUE(shown.startsWith("Split-And-Merge (incl. Group)")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("A high threshold results in more merging operations.")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("Press the OK button to execute the Split-And-Merge")) << shown.toStdString();
}
