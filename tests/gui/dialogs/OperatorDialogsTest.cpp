// What every one of the twelve operator dialogs shares, checked over all of them:
// caption and OK text, the menu entry that opens it, which entries it lists and
// how it numbers them, the "Error !" box without a selection, and its help window.
// Each dialog's own widgets and results are tested in its own file.

#include "gui/GuiTestSupport.h"

#include "app/DataEntry.h"
#include "app/IvraApp.h"
#include "dialogs/DIColorHistogram.h"
#include "dialogs/DIColorTransform.h"
#include "dialogs/DIGauss.h"
#include "dialogs/DIHistogram.h"
#include "dialogs/DIRegionGrowing.h"
#include "dialogs/DISaltAndPepper.h"
#include "dialogs/DISplit.h"
#include "dialogs/QCSCDialog.h"
#include "dialogs/QKuwaNagaDialog.h"
#include "dialogs/QRHSDialog.h"
#include "dialogs/QSMGDialog.h"
#include "dialogs/QSNNDialog.h"
#include "image/ImageSegmented.h"

#include <QAction>
#include <QMenu>
#include <QPushButton>
#include <QTextDocument>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <string>

using namespace ivra;

using namespace guitest;

namespace {

struct DialogCase {
    const char* id;
    OperatorDialog* (*find)(IvraApp&);
    QString caption;
    QString okText;
    QString category; // empty: straight in the Operator menu
    QString menuText;
    QString statusTip;
    QStringList listed; // of the tree gray, rgb (seg below it), hsv
    QString helpFirst;  // the help's heading
    QString helpPhrase; // words from its body
    const int* counter; // the run counter, where the dialog names results with one
    bool okWithoutSelection; // OK is enabled before an entry is chosen
};

void PrintTo(const DialogCase& c, std::ostream* os)
{
    *os << c.id;
}

template <class Dialog>
OperatorDialog* find(IvraApp& app)
{
    return findDialog<Dialog>(app);
}

const QStringList colour = {"rgb", "seg"};

// In the Operator menu's order.
const DialogCase dialogCases[] = {
    {"Split", find<DISplit>, "Split", "OK", "", "Split", "Splits an Image to its channels",
     {"rgb", "seg", "hsv"}, "Split", "a gray-image for each selected color-channel", nullptr, false},
    {"ColorTransform", find<DIColorTransform>, "Color Transform", "OK", "", "Color &Transform",
     "Transforms the colorspace of image in an other", {"gray", "rgb", "seg", "hsv"}, "Color Transform",
     "Press OK to execute the transform", nullptr, false},
    {"Histogram", find<DIHistogram>, "Histogram", "OK", "Statistics", "Histogram",
     "Calculates a 1-channel histogram of a gray image", {"gray"}, "Histogram",
     "a (reduced) static histogram of the input image", nullptr, false},
    {"ColorHistogram", find<DIColorHistogram>, "Color Histogram", "OK", "Statistics", "Color &Histogram",
     "Computes a color histogram", {"rgb", "seg", "hsv"}, "Color Histogram",
     "a color histogram of the input image", nullptr, false},
    {"RegionGrowing", find<DIRegionGrowing>, "Region Growing", "OK", "Segmentation", "Region Growing",
     "Region Growing", {"gray", "rgb", "seg"}, "Region-Growing", "The parameter 'span' is the maximum euclidean distance",
     nullptr, false},
    {"CSC", find<QCSCDialog>, "CSC", "Ok", "Segmentation", "Color Structure Code", "Color Structure Code", colour,
     "Color Structure Code", "Press the OK button to execute the CSC", nullptr, false},
    {"SMG", find<QSMGDialog>, "Split-And-Merge", "Ok", "Segmentation", "Split-And-Merge", "Split-And-Merge", colour,
     "Split-And-Merge (incl. Group)", "A high threshold results in more merging operations.", nullptr, true},
    {"RHS", find<QRHSDialog>, "Recursive Histogram Splitting (RHS)", "Ok", "Segmentation",
     "Recursive Histogram Splitting", "Recursive Histogram Splitting", colour, "Recursive Histogram Splitting (RHS)",
     "Press the OK button to execute the RHS", nullptr, true},
    {"SNN", find<QSNNDialog>, "SNN", "Ok", "Filter", "SNN", "Symmetric-Nearest-Neighbor-Filter", colour,
     "Symmetric Nearest Neighbor (SNN)", "Press the OK button to execute the SNN", &QSNNDialog::runCounter, true},
    {"KuwaharaNagao", find<QKuwaNagaDialog>, "Kuwahara-Nagao-Filter", "Ok", "Filter", "Kuwahara-Nagao",
     "Kuwahara-Nagao-Filer", colour, "Kuwahara-Nagao-Filter", "Press the OK button to execute the Kuwahara-Nagao-Filter",
     &QKuwaNagaDialog::runCounter, true},
    {"Gauss", find<DIGauss>, "Gauss-Noise", "OK", "Noise", "Gauss", "Gauss-Noise", {"gray", "rgb", "seg"},
     "Gauss-Noise", "noisy image (RGB or Gray)", nullptr, false},
    {"SaltAndPepper", find<DISaltAndPepper>, "Salt-and-Pepper-Noise", "OK", "Noise", "Salt-and-Pepper",
     "Salt-and-Pepper-Noise", {"gray", "rgb", "seg"}, "Salt-and-Pepper-Noise",
     "noisy image (RGB or Gray)", &DISaltAndPepper::runCounter, false},
};

class OperatorDialogs : public ::testing::TestWithParam<DialogCase> {
protected:
    void SetUp() override
    {
        gray = addTopLevel(app, grayImage(2, 2, 5), "gray");
        rgb = addTopLevel(app, rgbImage(2, 2, 1, 2, 3), "rgb");
        seg = rgb->addChild(std::make_unique<ImageSegmented>(2, 2), "seg");
        hsv = addTopLevel(app, hsvImage(2, 2, 0, 0, 0), "hsv");
        dialog = GetParam().find(app);
        ASSERT_NE(dialog, nullptr);
    }

    IvraApp app;
    DataEntry* gray = nullptr;
    DataEntry* rgb = nullptr;
    DataEntry* seg = nullptr;
    DataEntry* hsv = nullptr;
    OperatorDialog* dialog = nullptr;
};

TEST_P(OperatorDialogs, CaptionButtonsAndTheMenuEntryThatOpensIt)
{
    const DialogCase& c = GetParam();
    EXPECT_EQ(dialog->windowTitle(), c.caption);
    EXPECT_EQ(dialog->okButton()->text(), c.okText);
    EXPECT_EQ(dialog->cancelButton()->text(), "Cancel");
    EXPECT_EQ(dialog->infoButton()->text(), "Info");
    EXPECT_EQ(dialog->listView()->objectName(), "listView");
    EXPECT_TRUE(dialog->listView()->isColumnHidden(1));
    EXPECT_EQ(dialog->listView()->headerItem()->text(1), "Nr");

    QAction* entry = operatorAction(app, c.category, c.menuText);
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->statusTip(), c.statusTip);
    bool opened = false;
    driveModal([entry] { entry->trigger(); },
               [this, &opened] {
                   opened = dialog->isVisible();
                   dialog->reject();
               });
    EXPECT_TRUE(opened);
}

TEST_P(OperatorDialogs, ListsWhatItAcceptsInTreeOrderNumberedByItself)
{
    const DialogCase& c = GetParam();
    EXPECT_EQ(listed(dialog), c.listed);
    ASSERT_EQ(static_cast<int>(dialog->entries().size()), c.listed.size());
    for (int i = 0; i < c.listed.size(); ++i) {
        EXPECT_EQ(dialog->listView()->topLevelItem(i)->text(1), QString::number(i));
        EXPECT_EQ(dialog->entries()[static_cast<std::size_t>(i)]->name(), c.listed[i]);
    }
    EXPECT_EQ(dialog->selectedEntry(), nullptr);
    EXPECT_EQ(dialog->okButton()->isEnabled(), c.okWithoutSelection);
    EXPECT_EQ(dialog->selectEntry(gray), c.listed.contains("gray"));
    EXPECT_EQ(dialog->selectEntry(hsv), c.listed.contains("hsv"));
    ASSERT_TRUE(dialog->selectEntry(rgb) || dialog->selectEntry(gray));
    EXPECT_TRUE(dialog->okButton()->isEnabled());
}

TEST_P(OperatorDialogs, OkWithoutSelectionShowsTheErrorAndStaysOpen)
{
    const int* counter = GetParam().counter;
    const int before = counter ? *counter : 0;
    MessageBoxCatcher boxes;
    bool stillOpen = false;
    driveModal([this] { dialog->showDialog(); },
               [this, &stillOpen] {
                   dialog->execute();
                   stillOpen = dialog->isVisible();
                   dialog->cancelButton()->click();
               });
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.title(), "Error !");
    EXPECT_EQ(boxes.text(), "Please select an Image for the Operator !");
    EXPECT_TRUE(stillOpen);
    EXPECT_FALSE(dialog->isVisible());
    for (DataEntry* e : {gray, seg, hsv})
        EXPECT_TRUE(e->children().empty());
    EXPECT_EQ(rgb->children().size(), 1u);
    if (counter) {
        EXPECT_EQ(*counter, before);
    }
}

TEST_P(OperatorDialogs, TabRunsFromTheListThroughTheParametersToInfoOkCancel)
{
    QList<QWidget*> order;
    driveModal([this] { dialog->showDialog(); },
               [this, &order] {
                   EXPECT_TRUE(dialog->selectEntry(rgb) || dialog->selectEntry(gray));
                   order = tabOrder(*dialog);
                   dialog->reject();
               });
    ASSERT_GE(order.size(), 5); // at least one parameter
    EXPECT_EQ(order.first(), dialog->listView());
    EXPECT_EQ(order.mid(order.size() - 3),
              (QList<QWidget*>{dialog->infoButton(), dialog->okButton(), dialog->cancelButton()}));
    for (QWidget* w : order)
        EXPECT_TRUE(dialog->isAncestorOf(w));
}

// Reaches the dialog's own help text, which only the help window is meant to show.
struct HelpOf : OperatorDialog {
    using OperatorDialog::helpText;
};

TEST_P(OperatorDialogs, InfoShowsItsOwnHelpInTheHelpWindow)
{
    const DialogCase& c = GetParam();
    const HelpShown shown = pressInfo(dialog);
    EXPECT_EQ(shown.size, QSize(400, 300));
    EXPECT_TRUE(shown.modal);
    EXPECT_TRUE(shown.closedByClose);
    QTextDocument help;
    help.setHtml((dialog->*(&HelpOf::helpText))());
    EXPECT_EQ(shown.text, help.toPlainText());
    EXPECT_TRUE(shown.text.startsWith(c.helpFirst + "\n")) << shown.text.toStdString();
    EXPECT_TRUE(shown.text.contains(c.helpPhrase)) << shown.text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(All, OperatorDialogs, ::testing::ValuesIn(dialogCases),
                         [](const ::testing::TestParamInfo<DialogCase>& info) { return info.param.id; });

} // namespace

TEST(OperatorMenu, HoldsTheTwelveDialogsInOrder)
{
    IvraApp app;
    QStringList top;
    for (QAction* a : app.operatorMenu()->actions())
        top << a->text();
    EXPECT_EQ(top, QStringList({"Split", "Color &Transform", "Statistics", "Segmentation", "Filter", "Noise"}));
    QStringList rows;
    for (const DialogCase& c : dialogCases)
        rows << (c.category.isEmpty() ? c.menuText : c.category + " > " + c.menuText);
    QStringList shown;
    for (QAction* a : app.operatorMenu()->actions()) {
        if (!a->menu())
            shown << a->text();
        else
            for (QAction* b : a->menu()->actions())
                shown << a->text() + " > " + b->text();
    }
    EXPECT_EQ(shown, rows);
}
