#include "UIGauss.h"

#include "image/DataObject.h"
#include "ops/OPGauss.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

namespace ivra {

UIGauss::UIGauss(QWidget* parent) : OperatorDialog(parent, tr("Gauss-Noise"), {TypeImageGray, TypeImageRGB})
{
    GroupBoxView = new QGroupBox(tr("Parameter"), this);
    GroupBoxView->setObjectName(QStringLiteral("GroupBoxView"));
    auto* grid = new QGridLayout(GroupBoxView);

    TextLabelMue = new QLabel(tr("mean (µ)"), GroupBoxView);
    TextLabelMue->setObjectName(QStringLiteral("TextLabelMue"));
    SpinBoxMue = new QSpinBox(GroupBoxView);
    SpinBoxMue->setObjectName(QStringLiteral("SpinBoxMue"));
    SpinBoxMue->setRange(OPGauss::minMean, OPGauss::maxMean);
    SpinBoxMue->setValue(OPGauss::defaultMean);
    TextLabelMue->setBuddy(SpinBoxMue);

    TextLabelSigma = new QLabel(tr("variance (sigma^2)"), GroupBoxView);
    TextLabelSigma->setObjectName(QStringLiteral("TextLabelSigma"));
    SpinBoxSigma = new QSpinBox(GroupBoxView);
    SpinBoxSigma->setObjectName(QStringLiteral("SpinBoxSigma"));
    SpinBoxSigma->setRange(OPGauss::minVariance, OPGauss::maxVariance);
    SpinBoxSigma->setValue(OPGauss::defaultVariance);
    TextLabelSigma->setBuddy(SpinBoxSigma);

    grid->addWidget(TextLabelMue, 0, 0);
    grid->addWidget(SpinBoxMue, 0, 1);
    grid->addWidget(TextLabelSigma, 1, 0);
    grid->addWidget(SpinBoxSigma, 1, 1);
    parameterLayout()->addWidget(GroupBoxView, 0, 0);
}

} // namespace ivra
