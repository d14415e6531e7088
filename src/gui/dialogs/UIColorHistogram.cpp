#include "UIColorHistogram.h"

#include "image/DataObject.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QSpinBox>

namespace ivra {

namespace {

const QStringList cubes = {QStringLiteral("2x2x2"), QStringLiteral("4x4x4"), QStringLiteral("8x8x8")};
const QStringList layouts = {QStringLiteral("6x2+4"), QStringLiteral("6x2+8")};
const QStringList channelBins = {QStringLiteral("256"), QStringLiteral("128"), QStringLiteral("64"),
                                 QStringLiteral("32"),  QStringLiteral("16"),  QStringLiteral("8"),
                                 QStringLiteral("4"),   QStringLiteral("2")};

// One row of a group: the radio button and, beside it, the chooser it enables.
QRadioButton* addRow(QGridLayout* grid, int row, const QString& text, const char* name, QWidget* chooser)
{
    auto* button = new QRadioButton(text, grid->parentWidget());
    button->setObjectName(QLatin1String(name));
    grid->addWidget(button, row, 0);
    grid->addWidget(chooser, row, 1);
    chooser->setAccessibleName(text);
    chooser->setEnabled(false);
    QObject::connect(button, &QRadioButton::toggled, chooser, &QWidget::setEnabled);
    return button;
}

QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& entries)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    box->addItems(entries);
    box->setCurrentIndex(0);
    return box;
}

QSpinBox* spinBox(QWidget* parent, const char* name)
{
    auto* box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setMinimum(1);
    return box;
}

} // namespace

UIColorHistogram::UIColorHistogram(QWidget* parent)
    : OperatorDialog(parent, tr("Color Histogram"), {TypeImageRGB, TypeImageHSV})
{
    ButtonGroupRGB = new QGroupBox(tr("RGB Histogram"), this);
    ButtonGroupRGB->setObjectName(QStringLiteral("ButtonGroupRGB"));
    auto* rgb = new QGridLayout(ButtonGroupRGB);
    SpinBoxDynamicRGB = spinBox(ButtonGroupRGB, "SpinBoxDynamicRGB");
    SpinBoxDynamicRGB->setMaximum(256);
    SpinBoxDynamicRGB->setValue(8);
    RadioButtonDynamicRGB = addRow(rgb, 0, tr("Dynamic"), "RadioButtonDynamicRGB", SpinBoxDynamicRGB);
    ComboBoxStaticRGB = comboBox(ButtonGroupRGB, "ComboBoxStaticRGB", cubes);
    RadioButtonStaticRGB = addRow(rgb, 1, tr("Static"), "RadioButtonStaticRGB", ComboBoxStaticRGB);
    ComboBoxFuzzyRGB = comboBox(ButtonGroupRGB, "ComboBoxFuzzyRGB", cubes);
    RadioButtonFuzzyRGB = addRow(rgb, 2, tr("Static Fuzzy"), "RadioButtonFuzzyRGB", ComboBoxFuzzyRGB);
    ComboBoxChannelRGB = comboBox(ButtonGroupRGB, "ComboBoxChannelRGB", channelBins);
    RadioButtonChannelRGB = addRow(rgb, 3, tr("3-Channel"), "RadioButtonChannelRGB", ComboBoxChannelRGB);
    RadioButtonChannelRGB->setChecked(true);

    ButtonGroupHSV = new QGroupBox(tr("HSV Histogram"), this);
    ButtonGroupHSV->setObjectName(QStringLiteral("ButtonGroupHSV"));
    auto* hsv = new QGridLayout(ButtonGroupHSV);
    SpinBoxDynamicHSV = spinBox(ButtonGroupHSV, "SpinBoxDynamicHSV");
    SpinBoxDynamicHSV->setValue(8);
    RadioButtonDynamicHSV = addRow(hsv, 0, tr("Dynamic"), "RadioButtonDynamicHSV", SpinBoxDynamicHSV);
    ComboBoxStaticHSV = comboBox(ButtonGroupHSV, "ComboBoxStaticHSV", layouts);
    RadioButtonStaticHSV = addRow(hsv, 1, tr("Static"), "RadioButtonStaticHSV", ComboBoxStaticHSV);
    ComboBoxFuzzyHSV = comboBox(ButtonGroupHSV, "ComboBoxFuzzyHSV", layouts);
    RadioButtonFuzzyHSV = addRow(hsv, 2, tr("Static Fuzzy"), "RadioButtonFuzzyHSV", ComboBoxFuzzyHSV);
    ComboBoxChannelHSV = comboBox(ButtonGroupHSV, "ComboBoxChannelHSV", channelBins);
    RadioButtonChannelHSV = addRow(hsv, 3, tr("3-Channel"), "RadioButtonChannelHSV", ComboBoxChannelHSV);
    RadioButtonFuzzyHSV->setChecked(true);

    parameterLayout()->addWidget(ButtonGroupRGB, 0, 0);
    parameterLayout()->addWidget(ButtonGroupHSV, 0, 1);
}

} // namespace ivra
