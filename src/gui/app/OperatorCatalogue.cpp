#include "OperatorCatalogue.h"

#include "IvraApp.h"
#include "OperatorDialog.h"

#include "dialogs/DIColorTransform.h"
#include "dialogs/DISplit.h"
#include "dialogs/QCSCDialog.h"
#include "dialogs/QRHSDialog.h"

#include <QCoreApplication>

#include <algorithm>
#include <vector>

namespace {

// One row of the Operator menu. position is the row's place in the menu (1 = first);
// rows are registered in that order whatever their order in the table below, so
// a new row cannot end up in the wrong place. A submenu (category) is created
// when its first row is registered and goes after what the menu already holds.
struct OperatorRow {
    int position;
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
    // position, category, menu entry, status tip, dialog
    {1, "", TR("Split"), TR("Splits an Image to its channels"), make<DISplit>},
    {2, "", TR("Color &Transform"), TR("Transforms the colorspace of image in an other"), make<DIColorTransform>},

    // Statistics: 3 Histogram (DIHistogram), 4 Color Histogram (DIColorHistogram)

    // Segmentation: 5 Region Growing (DIRegionGrowing), 7 Split-And-Merge (QSMGDialog)
    {6, TR("Segmentation"), TR("Color Structure Code"), TR("Color Structure Code"), make<QCSCDialog>},
    {8, TR("Segmentation"), TR("Recursive Histogram Splitting"), TR("Recursive Histogram Splitting"),
     make<QRHSDialog>},

    // Filter: 9 SNN (QSNNDialog), 10 Kuwahara-Nagao (QKuwaNagaDialog)

    // Noise: 11 Gauss (DIGauss), 12 Salt-and-Pepper (DISaltAndPepper)
};

#undef TR

QString translated(const char* text)
{
    return QCoreApplication::translate("IvraApp", text);
}

} // namespace

void registerOperators(IvraApp& app)
{
    std::vector<const OperatorRow*> rows;
    for (const OperatorRow& row : operatorTable)
        rows.push_back(&row);
    std::stable_sort(rows.begin(), rows.end(),
                     [](const OperatorRow* a, const OperatorRow* b) { return a->position < b->position; });
    for (const OperatorRow* row : rows) {
        OperatorDialog* dialog = row->create(app);
        app.registerOperator(translated(row->name), dialog, translated(row->statusTip),
                             row->category[0] ? translated(row->category) : QString());
    }
}
