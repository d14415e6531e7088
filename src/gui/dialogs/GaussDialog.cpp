#include "GaussDialog.h"

#include "app/DataEntry.h"

#include "ops/OPGauss.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace ivra {

GaussDialog::GaussDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Gauss-Noise"), tr("OK"), {TypeImageGray, TypeImageRGB})
{
    parameterGroup_ = new QGroupBox(tr("Parameter"), this);
    parameterGroup_->setObjectName(QStringLiteral("GroupBoxView"));
    auto* grid = new QGridLayout(parameterGroup_);

    auto* meanLabel = new QLabel(tr("mean (µ)"), parameterGroup_);
    meanLabel->setObjectName(QStringLiteral("TextLabelMue"));
    meanSpin_ = new QSpinBox(parameterGroup_);
    meanSpin_->setObjectName(QStringLiteral("SpinBoxMue"));
    meanSpin_->setRange(GaussParams::minMean, GaussParams::maxMean);
    meanSpin_->setValue(GaussParams{}.mean);
    meanLabel->setBuddy(meanSpin_);

    auto* varianceLabel = new QLabel(tr("variance (sigma^2)"), parameterGroup_);
    varianceLabel->setObjectName(QStringLiteral("TextLabelSigma"));
    varianceSpin_ = new QSpinBox(parameterGroup_);
    varianceSpin_->setObjectName(QStringLiteral("SpinBoxSigma"));
    varianceSpin_->setRange(GaussParams::minVariance, GaussParams::maxVariance);
    varianceSpin_->setValue(GaussParams{}.variance);
    varianceLabel->setBuddy(varianceSpin_);

    grid->addWidget(meanLabel, 0, 0);
    grid->addWidget(meanSpin_, 0, 1);
    grid->addWidget(varianceLabel, 1, 0);
    grid->addWidget(varianceSpin_, 1, 1);
    parameterLayout()->addWidget(parameterGroup_, 0, 0);
    updateView();
}

void GaussDialog::updateView()
{
    const bool selected = selectedEntry() != nullptr;
    parameterGroup_->setEnabled(selected);
    okButton()->setEnabled(selected);
}

void GaussDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    GaussParams params;
    params.mean = meanSpin_->value();
    params.variance = varianceSpin_->value();
    const Image& image = static_cast<const Image&>(*source->data());
    auto result = runOperator([&](const Progress& progress) { return OPGauss().execute(image, params, progress); });
    if (!result)
        return; // cancelled: nothing added
    addResult(*source, std::move(*result), QString::fromStdString(OPGauss::resultName(params)), "gauss", params);
    finish();
}

QString GaussDialog::helpText() const
{
    return tr(
        "<b><i>Gauss-Noise</i></b><br><br><table><tr><td>1.</td><td>First choose an image (RGB or Gray) from the "
        "listbox by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td>"
        "<td>Parameters are mean and variance of the noise:<br>If the mean of noise is unequal to cero the mean of "
        "the image changes.<br>The variance affects the intensity of the noise.</td></tr><tr><td>3.</td><td>Press OK "
        "to execute the Operator.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image (RGB or Gray)"
        "</td></tr><tr><td>Result:</td><td>noisy image (RGB or Gray)</td></tr></table><hr><br>");
}

} // namespace ivra
