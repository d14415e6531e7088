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

const OperatorRow operatorTable[] = {
    // category, menu entry, status tip, dialog — in the Operator menu's order
    {"", QT_TRANSLATE_NOOP("Operators", "Split"),
     QT_TRANSLATE_NOOP("Operators", "Splits an Image to its channels"), make<SplitDialog>},
    {"", QT_TRANSLATE_NOOP("Operators", "Color &Transform"),
     QT_TRANSLATE_NOOP("Operators", "Transforms the colorspace of image in an other"), make<ColorTransformDialog>},

    {QT_TRANSLATE_NOOP("Operators", "Statistics"), QT_TRANSLATE_NOOP("Operators", "Histogram"),
     QT_TRANSLATE_NOOP("Operators", "Calculates a 1-channel histogram of a gray image"), make<HistogramDialog>},
    {QT_TRANSLATE_NOOP("Operators", "Statistics"), QT_TRANSLATE_NOOP("Operators", "Color &Histogram"),
     QT_TRANSLATE_NOOP("Operators", "Computes a color histogram"), make<ColorHistogramDialog>},

    {QT_TRANSLATE_NOOP("Operators", "Segmentation"), QT_TRANSLATE_NOOP("Operators", "Region Growing"),
     QT_TRANSLATE_NOOP("Operators", "Region Growing"), make<RegionGrowingDialog>},
    {QT_TRANSLATE_NOOP("Operators", "Segmentation"), QT_TRANSLATE_NOOP("Operators", "Color Structure Code"),
     QT_TRANSLATE_NOOP("Operators", "Color Structure Code"), make<CscDialog>},
    {QT_TRANSLATE_NOOP("Operators", "Segmentation"), QT_TRANSLATE_NOOP("Operators", "Split-And-Merge"),
     QT_TRANSLATE_NOOP("Operators", "Split-And-Merge"), make<SplitAndMergeDialog>},
    {QT_TRANSLATE_NOOP("Operators", "Segmentation"), QT_TRANSLATE_NOOP("Operators", "Recursive Histogram Splitting"),
     QT_TRANSLATE_NOOP("Operators", "Recursive Histogram Splitting"),
     make<RecursiveHistogramSplittingDialog>},

    {QT_TRANSLATE_NOOP("Operators", "Filter"), QT_TRANSLATE_NOOP("Operators", "SNN"),
     QT_TRANSLATE_NOOP("Operators", "Symmetric-Nearest-Neighbor-Filter"), make<SnnDialog>},
    {QT_TRANSLATE_NOOP("Operators", "Filter"), QT_TRANSLATE_NOOP("Operators", "Kuwahara-Nagao"),
     QT_TRANSLATE_NOOP("Operators", "Kuwahara-Nagao-Filer"), make<KuwaharaNagaoDialog>},

    {QT_TRANSLATE_NOOP("Operators", "Noise"), QT_TRANSLATE_NOOP("Operators", "Gauss"),
     QT_TRANSLATE_NOOP("Operators", "Gauss-Noise"), make<GaussDialog>},
    {QT_TRANSLATE_NOOP("Operators", "Noise"), QT_TRANSLATE_NOOP("Operators", "Salt-and-Pepper"),
     QT_TRANSLATE_NOOP("Operators", "Salt-and-Pepper-Noise"), make<SaltAndPepperDialog>},
};

QString translated(const char* text)
{
    return QCoreApplication::translate("Operators", text);
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
