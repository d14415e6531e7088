#include "OperatorCatalogue.h"

#include "IvraApp.h"
#include "OperatorDialog.h"

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

#include <QCoreApplication>

namespace ivra {


namespace {

// One row of the Operator menu, registered in table order. A submenu (category) is
// created when its first row is registered and goes after what the menu already holds.
struct OperatorRow {
    const char* category; // "" puts the entry straight into the Operator menu
    const char* name;
    const char* statusTip;
    OperatorDialog* (*create)(IvraApp& app);
};

// The dialogs are children of the main window and live as long as it does.
template <class Dialog>
OperatorDialog* make(IvraApp& app)
{
    return new Dialog(&app);
}

#define TR(text) QT_TRANSLATE_NOOP("IvraApp", text)

const OperatorRow operatorTable[] = {
    // category, menu entry, status tip, dialog — in the Operator menu's order
    {"", TR("Split"), TR("Splits an Image to its channels"), make<DISplit>},
    {"", TR("Color &Transform"), TR("Transforms the colorspace of image in an other"), make<DIColorTransform>},

    {TR("Statistics"), TR("Histogram"), TR("Calculates a 1-channel histogram of a gray image"), make<DIHistogram>},
    {TR("Statistics"), TR("Color &Histogram"), TR("Computes a color histogram"), make<DIColorHistogram>},

    {TR("Segmentation"), TR("Region Growing"), TR("Region Growing"), make<DIRegionGrowing>},
    {TR("Segmentation"), TR("Color Structure Code"), TR("Color Structure Code"), make<QCSCDialog>},
    {TR("Segmentation"), TR("Split-And-Merge"), TR("Split-And-Merge"), make<QSMGDialog>},
    {TR("Segmentation"), TR("Recursive Histogram Splitting"), TR("Recursive Histogram Splitting"),
     make<QRHSDialog>},

    {TR("Filter"), TR("SNN"), TR("Symmetric-Nearest-Neighbor-Filter"), make<QSNNDialog>},
    {TR("Filter"), TR("Kuwahara-Nagao"), TR("Kuwahara-Nagao-Filer"), make<QKuwaNagaDialog>},

    {TR("Noise"), TR("Gauss"), TR("Gauss-Noise"), make<DIGauss>},
    {TR("Noise"), TR("Salt-and-Pepper"), TR("Salt-and-Pepper-Noise"), make<DISaltAndPepper>},
};

#undef TR

QString translated(const char* text)
{
    return QCoreApplication::translate("IvraApp", text);
}

} // namespace

void registerOperators(IvraApp& app)
{
    for (const OperatorRow& row : operatorTable) {
        OperatorDialog* dialog = row.create(app);
        app.registerOperator(translated(row.name), dialog, translated(row.statusTip),
                             row.category[0] ? translated(row.category) : QString());
    }
}

} // namespace ivra
