#include "ColorTransformDialog.h"

#include "app/DataEntry.h"

#include "ops/OPColorTransform.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ivra {

ColorTransformDialog::ColorTransformDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Color Transform"), tr("OK"), {TypeImageRGB, TypeImageHSV, TypeImageGray})
{
    transformGroup_ = new QGroupBox(tr("Transform"), this);
    transformGroup_->setObjectName(QStringLiteral("ButtonGroup"));
    auto* box = new QVBoxLayout(transformGroup_);
    const QString texts[3] = {tr("RGB -> HSV"), tr("HSV -> RGB"), tr("Gray -> RGB")};
    for (int i = 0; i < 3; ++i) {
        transformButtons_[i] = new QRadioButton(texts[i], transformGroup_);
        transformButtons_[i]->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        box->addWidget(transformButtons_[i]);
    }
    transformButtons_[0]->setChecked(true);
    parameterLayout()->addWidget(transformGroup_, 0, 0);
    updateView();
}

void ColorTransformDialog::updateView()
{
    DataEntry* entry = selectedEntry();
    okButton()->setEnabled(entry != nullptr);
    transformGroup_->setEnabled(entry != nullptr);
    if (!entry) {
        for (QRadioButton* b : transformButtons_)
            b->setEnabled(false);
        return;
    }
    QRadioButton* chosen = entry->type() == TypeImageHSV    ? transformButtons_[1]
                           : entry->type() == TypeImageGray ? transformButtons_[2]
                                                            : transformButtons_[0];
    for (QRadioButton* b : transformButtons_)
        b->setEnabled(b == chosen);
    chosen->setChecked(true);
}

void ColorTransformDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    // The checked transform matches the picture's type (updateView() sees to
    // that); a mismatch adds nothing.
    static const int sourceTypes[3] = {TypeImageRGB, TypeImageHSV, TypeImageGray};
    for (int i = 0; i < 3; ++i) {
        if (!transformButtons_[i]->isChecked() || source->type() != sourceTypes[i])
            continue;
        ColorTransformParams params;
        params.target = i == 0 ? ColorTransformParams::Target::HSV : ColorTransformParams::Target::RGB;
        const Image& image = static_cast<const Image&>(*source->data());
        addResult(*source, OPColorTransform().execute(image, params),
                  QString::fromStdString(OPColorTransform::resultName(params)), i == 0 ? "hsv" : "rgb", params);
    }
    finish();
}

QString ColorTransformDialog::helpText() const
{
    return tr(
        "<b><i>Color Transform</i></b><br><br><table><tr><td>1.</td><td>First choose an image from the listbox by "
        "selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>Depending "
        "of the selected image you can a transform in an other color space.</td></tr><tr><td>3.</td><td>Press OK to "
        "execute the transform</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image</td></tr><tr><td>"
        "Result:</td><td>color image</td></tr></table><hr><br>");
}

} // namespace ivra
