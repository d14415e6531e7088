#include "DIColorTransform.h"

#include "app/DataEntry.h"

#include "ops/OPColorTransform.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace ivra {

DIColorTransform::DIColorTransform(QWidget* parent) : UIColorTransform(parent)
{
    updateView();
}

void DIColorTransform::updateView()
{
    DataEntry* entry = selectedEntry();
    QRadioButton* buttons[3] = {RadioButton1, RadioButton2, RadioButton3};
    okButton()->setEnabled(entry != nullptr);
    ButtonGroup->setEnabled(entry != nullptr);
    if (!entry) {
        for (QRadioButton* b : buttons)
            b->setEnabled(false);
        return;
    }
    QRadioButton* chosen = entry->type() == TypeImageHSV   ? RadioButton2
                           : entry->type() == TypeImageGray ? RadioButton3
                                                            : RadioButton1;
    for (QRadioButton* b : buttons)
        b->setEnabled(b == chosen);
    chosen->setChecked(true);
}

void DIColorTransform::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const OPColorTransform op;
    // The selected transform matches the picture's type (updateView() sees to
    // that); the casts check it once more so a mismatch adds nothing.
    if (RadioButton1->isChecked())
        if (const auto* rgb = dynamic_cast<const ImageRGB*>(source->data()))
            addResult(*source, op.RGB2HSV(*rgb), QStringLiteral("HSV"));
    if (RadioButton2->isChecked())
        if (const auto* hsv = dynamic_cast<const ImageHSV*>(source->data()))
            addResult(*source, op.HSV2RGB(*hsv), QStringLiteral("RGB"));
    if (RadioButton3->isChecked())
        if (const auto* gray = dynamic_cast<const ImageGray*>(source->data()))
            addResult(*source, op.Gray2RGB(*gray), QStringLiteral("RGB"));
    finish();
}

QString DIColorTransform::helpText() const
{
    return QStringLiteral(
        "<b><i>Color Transform</i></b><br><br><table><tr><td>1.</td><td>First choose an image from the listbox by "
        "selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>Depending "
        "of the selected image you can a transform in an other color space.</td></tr><tr><td>3.</td><td>Press OK to "
        "execute the transform</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image</td></tr><tr><td>"
        "Result:</td><td>color image</td></tr></table><hr><br>");
}

} // namespace ivra
