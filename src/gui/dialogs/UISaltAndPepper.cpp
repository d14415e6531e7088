#include "UISaltAndPepper.h"

#include "image/DataObject.h"
#include "ops/OPSaltAndPepper.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace ivra {

UISaltAndPepper::UISaltAndPepper(QWidget* parent)
    : OperatorDialog(parent, tr("Salt-and-Pepper-Noise"), {TypeImageGray, TypeImageRGB})
{
    ButtonGroupMode = new QGroupBox(tr("Mode of Noise"), this);
    ButtonGroupMode->setObjectName(QStringLiteral("ButtonGroupMode"));
    auto* modes = new QVBoxLayout(ButtonGroupMode);
    RadioButtonSalt = new QRadioButton(tr("Salt"), ButtonGroupMode);
    RadioButtonSalt->setObjectName(QStringLiteral("RadioButtonSalt"));
    RadioButtonPepper = new QRadioButton(tr("Pepper"), ButtonGroupMode);
    RadioButtonPepper->setObjectName(QStringLiteral("RadioButtonPepper"));
    RadioButtonSaltAndPepper = new QRadioButton(tr("Salt and Pepper"), ButtonGroupMode);
    RadioButtonSaltAndPepper->setObjectName(QStringLiteral("RadioButtonSaltAndPepper"));
    RadioButtonSaltAndPepper->setChecked(true);
    modes->addWidget(RadioButtonSalt);
    modes->addWidget(RadioButtonPepper);
    modes->addWidget(RadioButtonSaltAndPepper);

    GroupBoxView = new QGroupBox(tr("Noise Level"), this);
    GroupBoxView->setObjectName(QStringLiteral("GroupBoxView"));
    auto* level = new QHBoxLayout(GroupBoxView);
    TextLabelMin = new QLabel(tr("0%"), GroupBoxView);
    TextLabelMin->setObjectName(QStringLiteral("TextLabelMin"));
    SliderNoiseLevel = new QSlider(Qt::Horizontal, GroupBoxView);
    SliderNoiseLevel->setObjectName(QStringLiteral("SliderNoiseLevel"));
    SliderNoiseLevel->setAccessibleName(tr("Noise Level"));
    SliderNoiseLevel->setRange(OPSaltAndPepper::minPercent, OPSaltAndPepper::maxPercent);
    SliderNoiseLevel->setPageStep(10);
    SliderNoiseLevel->setValue(OPSaltAndPepper::defaultPercent);
    TextLabelMax = new QLabel(tr("50%"), GroupBoxView);
    TextLabelMax->setObjectName(QStringLiteral("TextLabelMax"));
    level->addWidget(TextLabelMin);
    level->addWidget(SliderNoiseLevel, 1);
    level->addWidget(TextLabelMax);

    parameterLayout()->addWidget(ButtonGroupMode, 0, 0);
    parameterLayout()->addWidget(GroupBoxView, 1, 0);
}

} // namespace ivra
