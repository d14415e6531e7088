#include "DISplit.h"

#include "app/DataEntry.h"

#include "image/ImageColor.h"
#include "ops/OPSplit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>

namespace ivra {

DISplit::DISplit(QWidget* parent) : UISplit(parent)
{
    updateView();
}

void DISplit::updateView()
{
    DataEntry* entry = selectedEntry();
    okButton()->setEnabled(entry != nullptr);
    GroupBoxView->setEnabled(entry != nullptr);
    if (!entry)
        return;
    if (entry->type() == TypeImageHSV) {
        checkBox1->setText(tr("Hue-Channel"));
        checkBox2->setText(tr("Saturation-Channel"));
        checkBox3->setText(tr("Value-Channel"));
    } else {
        checkBox1->setText(tr("Red-Channel"));
        checkBox2->setText(tr("Green-Channel"));
        checkBox3->setText(tr("Blue-Channel"));
    }
}

void DISplit::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const auto* image = dynamic_cast<const ImageColor*>(source->data());
    const int type = source->type();
    if (image && (type == TypeImageRGB || type == TypeImageHSV)) {
        static const char* const rgbNames[3] = {"Red", "Green", "Blue"};
        static const char* const hsvNames[3] = {"Hue", "Saturation", "Value"};
        const char* const* names = type == TypeImageHSV ? hsvNames : rgbNames;
        const QCheckBox* boxes[3] = {checkBox1, checkBox2, checkBox3};
        bool wanted[3];
        for (int c = 0; c < 3; ++c)
            wanted[c] = boxes[c]->isChecked() && !source->hasChildNamed(QLatin1String(names[c]));
        for (int c = 0; c < 3; ++c)
            if (wanted[c])
                addResult(*source, OPSplit::channel(*image, c), QLatin1String(names[c]));
    }
    finish();
}

QString DISplit::helpText() const
{
    return QStringLiteral(
        "<b><i>Split</i></b><br><br><table><tr><td>1.</td><td>First choose an image from the listbox by selecting "
        "with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>Depending on the "
        "color space of the selected image, a check-box for each color-channel appear, e.g.if the selected image is "
        "a hsv-image three check-boxes for hue, saturation, and value appear.</td></tr><tr><td>3.</td><td>Activate "
        "one or more color-channels by mouseclick in the check-box.</td></tr><tr><td>4.</td><td>Press OK to "
        "execute the Split.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>color-image (RGB or "
        "HSV)</td></tr><tr><td>Result:</td><td>a gray-image for each selected color-channel</td></tr></table><hr><br>");
}

} // namespace ivra
