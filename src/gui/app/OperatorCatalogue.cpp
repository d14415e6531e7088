#include "OperatorCatalogue.h"

#include "MainWindow.h"
#include "OperatorDialog.h"

#include "dialogs/ColorHistogramDialog.h"
#include "dialogs/ColorTransformDialog.h"
#include "dialogs/CscDialog.h"
#include "dialogs/GaussDialog.h"
#include "dialogs/HistogramDialog.h"
#include "dialogs/KuwaharaNagaoDialog.h"
#include "dialogs/RecursiveHistogramSplittingDialog.h"
#include "dialogs/RegionGrowingDialog.h"
#include "dialogs/SaltAndPepperDialog.h"
#include "dialogs/SnnDialog.h"
#include "dialogs/SplitAndMergeDialog.h"
#include "dialogs/SplitDialog.h"

#include <QCoreApplication>

namespace ivra {

namespace {

// One row of the Operator menu, registered in table order. A submenu (category) is
// created when its first row is registered and goes after what the menu already holds.
struct OperatorRow {
    const char* category; // "" puts the entry straight into the Operator menu
    const char* name;
    const char* statusTip;
    OperatorDialog* (*create)(MainWindow& app);
};

// The dialogs are children of the main window and live as long as it does.
template <class Dialog>
OperatorDialog* make(MainWindow& app)
{
    return new Dialog(&app);
}

#define TR(text) QT_TRANSLATE_NOOP("ivra::MainWindow", text)

const OperatorRow operatorTable[] = {
    // category, menu entry, status tip, dialog — in the Operator menu's order
    {"", TR("Split"), TR("Splits an Image to its channels"), make<SplitDialog>},
    {"", TR("Color &Transform"), TR("Transforms the colorspace of image in an other"), make<ColorTransformDialog>},

    {TR("Statistics"), TR("Histogram"), TR("Calculates a 1-channel histogram of a gray image"), make<HistogramDialog>},
    {TR("Statistics"), TR("Color &Histogram"), TR("Computes a color histogram"), make<ColorHistogramDialog>},

    {TR("Segmentation"), TR("Region Growing"), TR("Region Growing"), make<RegionGrowingDialog>},
    {TR("Segmentation"), TR("Color Structure Code"), TR("Color Structure Code"), make<CscDialog>},
    {TR("Segmentation"), TR("Split-And-Merge"), TR("Split-And-Merge"), make<SplitAndMergeDialog>},
    {TR("Segmentation"), TR("Recursive Histogram Splitting"), TR("Recursive Histogram Splitting"),
     make<RecursiveHistogramSplittingDialog>},

    {TR("Filter"), TR("SNN"), TR("Symmetric-Nearest-Neighbor-Filter"), make<SnnDialog>},
    {TR("Filter"), TR("Kuwahara-Nagao"), TR("Kuwahara-Nagao-Filer"), make<KuwaharaNagaoDialog>},

    {TR("Noise"), TR("Gauss"), TR("Gauss-Noise"), make<GaussDialog>},
    {TR("Noise"), TR("Salt-and-Pepper"), TR("Salt-and-Pepper-Noise"), make<SaltAndPepperDialog>},
};

#undef TR

QString translated(const char* text)
{
    return QCoreApplication::translate("ivra::MainWindow", text);
}

} // namespace

void registerOperators(MainWindow& app)
{
    for (const OperatorRow& row : operatorTable) {
        OperatorDialog* dialog = row.create(app);
        app.registerOperator(translated(row.name), dialog, translated(row.statusTip),
                             row.category[0] ? translated(row.category) : QString());
    }
}

} // namespace ivra
