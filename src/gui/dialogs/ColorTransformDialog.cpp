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
    const OPColorTransform op;
    // The selected transform matches the picture's type (updateView() sees to
    // that); the casts check it once more so a mismatch adds nothing.
    if (transformButtons_[0]->isChecked())
        if (const auto* rgb = dynamic_cast<const ImageRGB*>(source->data()))
            addResult(*source, op.RGB2HSV(*rgb), QStringLiteral("HSV"));
    if (transformButtons_[1]->isChecked())
        if (const auto* hsv = dynamic_cast<const ImageHSV*>(source->data()))
            addResult(*source, op.HSV2RGB(*hsv), QStringLiteral("RGB"));
    if (transformButtons_[2]->isChecked())
        if (const auto* gray = dynamic_cast<const ImageGray*>(source->data()))
            addResult(*source, op.Gray2RGB(*gray), QStringLiteral("RGB"));
    finish();
}

QString ColorTransformDialog::helpText() const
{
    return QStringLiteral(
        "<b><i>Color Transform</i></b><br><br><table><tr><td>1.</td><td>First choose an image from the listbox by "
        "selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>Depending "
        "of the selected image you can a transform in an other color space.</td></tr><tr><td>3.</td><td>Press OK to "
        "execute the transform</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image</td></tr><tr><td>"
        "Result:</td><td>color image</td></tr></table><hr><br>");
}

} // namespace ivra
