#include "UISplit.h"

#include "image/DataObject.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace ivra {

UISplit::UISplit(QWidget* parent) : OperatorDialog(parent, tr("Split"), {TypeImageRGB, TypeImageHSV})
{
    setObjectName(QStringLiteral("Split"));
    GroupBoxView = new QGroupBox(tr("Open View"), this);
    GroupBoxView->setObjectName(QStringLiteral("GroupBoxView"));
    auto* box = new QVBoxLayout(GroupBoxView);
    checkBox1 = new QCheckBox(tr("Red-Channel"), GroupBoxView);
    checkBox1->setObjectName(QStringLiteral("checkBox1"));
    checkBox2 = new QCheckBox(tr("Green-Channel"), GroupBoxView);
    checkBox2->setObjectName(QStringLiteral("checkBox2"));
    checkBox3 = new QCheckBox(tr("Blue-Channel"), GroupBoxView);
    checkBox3->setObjectName(QStringLiteral("checkBox3"));
    box->addWidget(checkBox1);
    box->addWidget(checkBox2);
    box->addWidget(checkBox3);
    parameterLayout()->addWidget(GroupBoxView, 0, 0);
}

} // namespace ivra
