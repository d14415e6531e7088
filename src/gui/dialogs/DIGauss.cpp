#include "DIGauss.h"

#include "app/DataEntry.h"

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "ops/OPGauss.h"

#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>

namespace ivra {

DIGauss::DIGauss(QWidget* parent) : UIGauss(parent)
{
    updateView();
}

void DIGauss::updateView()
{
    const bool selected = selectedEntry() != nullptr;
    GroupBoxView->setEnabled(selected);
    okButton()->setEnabled(selected);
}

void DIGauss::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const int mean = SpinBoxMue->value();
    const int variance = SpinBoxSigma->value();
    const OPGauss op;
    std::optional<std::unique_ptr<DataObject>> result;
    if (const auto* rgb = source->type() == TypeImageRGB ? dynamic_cast<const ImageRGB*>(source->data()) : nullptr)
        result = runOperator([&](const ivra::Progress& progress) -> std::unique_ptr<DataObject> {
            return op.execute(*rgb, mean, variance, progress);
        });
    else if (const auto* gray = dynamic_cast<const ImageGray*>(source->data()))
        result = runOperator([&](const ivra::Progress& progress) -> std::unique_ptr<DataObject> {
            return op.execute(*gray, mean, variance, progress);
        });
    else {
        finish(); // not a type this dialog lists: nothing to add
        return;
    }
    if (!result)
        return; // cancelled: nothing added
    addResult(*source, std::move(*result), QString::fromStdString(OPGauss::resultName(mean, variance)));
    finish();
}

QString DIGauss::helpText() const
{
    return QStringLiteral(
        "<b><i>Gauss-Noise</i></b><br><br><table><tr><td>1.</td><td>First choose an image (RGB or Gray) from the "
        "listbox by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td>"
        "<td>Parameters are mean and variance of the noise:<br>If the mean of noise is unequal to cero the mean of "
        "the image changes.<br>The variance affects the intensity of the noise.</td></tr><tr><td>3.</td><td>Press OK "
        "to execute the Operator.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image (RGB or Gray)"
        "</td></tr><tr><td>Result:</td><td>noisy image (RGB or Gray)</td></tr></table><hr><br>");
}

} // namespace ivra
