#include "UIRegionGrowing.h"

#include "image/DataObject.h"
#include "segment/OPRegionGrowing.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>

namespace ivra {

UIRegionGrowing::UIRegionGrowing(QWidget* parent)
    : OperatorDialog(parent, tr("Region Growing"), {TypeImageGray, TypeImageRGB})
{
    resize(288, 324);
    infoButton()->setObjectName(QStringLiteral("PushButtonInfo"));
    disconnect(cancelButton(), nullptr, this, nullptr);
    connect(cancelButton(), &QPushButton::clicked, this, &QDialog::accept);

    GroupBoxParameter = new QGroupBox(tr("Parameter"), this);
    GroupBoxParameter->setObjectName(QStringLiteral("GroupBoxParameter"));
    auto* row = new QHBoxLayout(GroupBoxParameter);
    TextLabelSpan = new QLabel(tr("Span"), GroupBoxParameter);
    TextLabelSpan->setObjectName(QStringLiteral("TextLabelSpan"));
    SpinBoxSpan = new QSpinBox(GroupBoxParameter);
    SpinBoxSpan->setObjectName(QStringLiteral("SpinBoxSpan"));
    SpinBoxSpan->setRange(OPRegionGrowing::minSpan, OPRegionGrowing::maxSpan);
    SpinBoxSpan->setValue(OPRegionGrowing::defaultSpan);
    TextLabelSpan->setBuddy(SpinBoxSpan);
    row->addWidget(TextLabelSpan);
    row->addWidget(SpinBoxSpan, 1);
    parameterLayout()->addWidget(GroupBoxParameter, 0, 0);
}

} // namespace ivra
