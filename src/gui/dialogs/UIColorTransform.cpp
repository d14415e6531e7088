#include "UIColorTransform.h"

#include "image/DataObject.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ivra {

UIColorTransform::UIColorTransform(QWidget* parent)
    : OperatorDialog(parent, tr("Color Transform"), {TypeImageRGB, TypeImageHSV, TypeImageGray})
{
    ButtonGroup = new QGroupBox(tr("Transform"), this);
    ButtonGroup->setObjectName(QStringLiteral("ButtonGroup"));
    auto* box = new QVBoxLayout(ButtonGroup);
    RadioButton1 = new QRadioButton(tr("RGB -> HSV"), ButtonGroup);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(tr("HSV -> RGB"), ButtonGroup);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    RadioButton3 = new QRadioButton(tr("Gray -> RGB"), ButtonGroup);
    RadioButton3->setObjectName(QStringLiteral("RadioButton3"));
    box->addWidget(RadioButton1);
    box->addWidget(RadioButton2);
    box->addWidget(RadioButton3);
    parameterLayout()->addWidget(ButtonGroup, 0, 0);
}

} // namespace ivra
