#include "UIHistogram.h"

#include "image/DataObject.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ivra {

UIHistogram::UIHistogram(QWidget* parent) : OperatorDialog(parent, tr("Histogram"), {TypeImageGray})
{
    ButtonGroupLevels = new QGroupBox(QString(), this);
    ButtonGroupLevels->setObjectName(QStringLiteral("ButtonGroupLevels"));
    ButtonGroupLevels->setAccessibleName(tr("Levels"));
    auto* box = new QVBoxLayout(ButtonGroupLevels);
    const auto add = [&](const QString& text, const char* name) {
        auto* b = new QRadioButton(text, ButtonGroupLevels);
        b->setObjectName(QLatin1String(name));
        box->addWidget(b);
        return b;
    };
    RadioButton16 = add(tr("  16 Levels"), "RadioButton16");
    RadioButton32 = add(tr("  32 Levels"), "RadioButton32");
    RadioButton64 = add(tr("  64 Levels"), "RadioButton64");
    RadioButton128 = add(tr("128 Levels"), "RadioButton128");
    RadioButton256 = add(tr("256 Levels"), "RadioButton256");
    RadioButton256->setChecked(true);
    parameterLayout()->addWidget(ButtonGroupLevels, 0, 0);
}

} // namespace ivra
