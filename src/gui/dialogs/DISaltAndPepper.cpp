#include "DISaltAndPepper.h"

#include "app/DataEntry.h"

#include "image/ImageGray.h"
#include "image/ImageRGB.h"
#include "ops/OPSaltAndPepper.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace ivra {

DISaltAndPepper::DISaltAndPepper(QWidget* parent) : UISaltAndPepper(parent)
{
    updateView();
}

void DISaltAndPepper::updateView()
{
    const bool selected = selectedEntry() != nullptr;
    ButtonGroupMode->setEnabled(selected);
    GroupBoxView->setEnabled(selected);
    okButton()->setEnabled(selected);
}

void DISaltAndPepper::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const int mode = RadioButtonPepper->isChecked()          ? OPSaltAndPepper::Pepper
                     : RadioButtonSaltAndPepper->isChecked() ? OPSaltAndPepper::SaltAndPepper
                                                             : OPSaltAndPepper::Salt;
    const int value = SliderNoiseLevel->value();
    const OPSaltAndPepper op;
    std::optional<std::unique_ptr<DataObject>> result;
    if (const auto* rgb = source->type() == TypeImageRGB ? dynamic_cast<const ImageRGB*>(source->data()) : nullptr) {
        result = runOperator([&](const ivra::Progress& progress) -> std::unique_ptr<DataObject> {
            return op.execute(*rgb, mode, value, progress);
        });
    } else if (const auto* gray = dynamic_cast<const ImageGray*>(source->data())) {
        result = runOperator([&](const ivra::Progress& progress) -> std::unique_ptr<DataObject> {
            return op.execute(*gray, mode, value, progress);
        });
    } else {
        // Not a type this dialog lists: nothing is added, but the run still counts.
        ++runCounter;
        finish();
        return;
    }
    if (!result)
        return; // cancelled: nothing added, the counter stays
    addResult(*source, std::move(*result), QString::fromStdString(OPSaltAndPepper::resultName(runCounter, mode, value)));
    ++runCounter;
    finish();
}

QString DISaltAndPepper::helpText() const
{
    return QStringLiteral(
        "<b><i>Salt-and-Pepper-Noise</i></b><br><br><table><tr><td>1.</td><td>First choose an image (RGB or Gray) "
        "from the listbox by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2."
        "</td><td>Choose Salt- and/or Pepper-Noise and a noise level.<br></td></tr><tr><td>3.</td><td>Press OK to "
        "execute the Operator.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image (RGB or Gray)</td>"
        "</tr><tr><td>Result:</td><td>noisy image (RGB or Gray)</td></tr></table><hr><br>");
}

} // namespace ivra
