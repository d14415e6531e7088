#include "DIHistogram.h"

#include "app/DataEntry.h"

#include "ops/OPHistogram.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace ivra {

DIHistogram::DIHistogram(QWidget* parent) : UIHistogram(parent)
{
    updateView();
}

void DIHistogram::updateView()
{
    DataEntry* entry = selectedEntry();
    if (!entry) {
        ButtonGroupLevels->setEnabled(false);
        okButton()->setEnabled(false);
    } else if (entry->type() == TypeImageGray) {
        ButtonGroupLevels->setEnabled(true);
        okButton()->setEnabled(true);
    }
}

int DIHistogram::bins() const
{
    int bins = 256;
    const std::pair<QRadioButton*, int> buttons[] = {
        {RadioButton16, 16}, {RadioButton32, 32}, {RadioButton64, 64}, {RadioButton128, 128}, {RadioButton256, 256}};
    for (const auto& [button, count] : buttons)
        if (button->isChecked())
            bins = count;
    return bins;
}

void DIHistogram::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const int levels = bins();
    const auto* image = dynamic_cast<const ImageGray*>(source->data());
    if (!image)
        return;
    auto result = runOperator([&](const ivra::Progress& progress) { return OPHistogram::execute(*image, levels, progress); });
    if (!result)
        return;
    addResult(*source, std::move(*result), QStringLiteral("Histogram"));
    finish();
}

QString DIHistogram::helpText() const
{
    return QStringLiteral(
        "<b><i>Histogram</i></b><br><br><table><tr><td>1.</td><td>First choose a gray image from the listbox by "
        "selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>Choose the "
        "number of bins of the (reduced) histogram.</td></tr><tr><td>3.</td><td>Press OK to calculate the "
        "histogram</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>gray-image</td></tr><tr><td>Result:"
        "</td><td>a (reduced) static histogram of the input image</td></tr></table><hr><br>");
}

} // namespace ivra
