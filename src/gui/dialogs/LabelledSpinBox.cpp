#include "LabelledSpinBox.h"

#include <QGridLayout>
#include <QLabel>
#include <QSpinBox>

namespace ivra {

QSpinBox* addLabelledSpinBox(QGridLayout* grid, int row, const QString& label, const QString& objectName,
                             int minimum, int maximum, int value)
{
    QWidget* group = grid->parentWidget();
    auto* text = new QLabel(label, group);
    auto* spin = new QSpinBox(group);
    spin->setObjectName(objectName);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    text->setBuddy(spin);
    grid->addWidget(text, row, 0);
    grid->addWidget(spin, row, 1);
    return spin;
}

} // namespace ivra
