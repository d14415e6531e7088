#include "ColorHistogramDialog.h"

#include "app/DataEntry.h"

#include "ops/OPColorHistogram.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <optional>
#include <string>
#include <vector>

namespace ivra {

namespace {

const QStringList cubes = {QStringLiteral("2x2x2"), QStringLiteral("4x4x4"), QStringLiteral("8x8x8")};
const QStringList layouts = {QStringLiteral("6x2+4"), QStringLiteral("6x2+8")};
const QStringList channelBins = {QStringLiteral("256"), QStringLiteral("128"), QStringLiteral("64"),
                                 QStringLiteral("32"),  QStringLiteral("16"),  QStringLiteral("8"),
                                 QStringLiteral("4"),   QStringLiteral("2")};

// One row of a group: the radio button and, beside it, the chooser it enables.
QRadioButton* addRow(QGridLayout* grid, int row, const QString& text, const QString& name, QWidget* chooser)
{
    auto* button = new QRadioButton(text, grid->parentWidget());
    button->setObjectName(name);
    grid->addWidget(button, row, 0);
    grid->addWidget(chooser, row, 1);
    chooser->setAccessibleName(text);
    chooser->setEnabled(false);
    QObject::connect(button, &QRadioButton::toggled, chooser, &QWidget::setEnabled);
    return button;
}

QComboBox* comboBox(QWidget* parent, const QString& name, const QStringList& entries)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->addItems(entries);
    box->setCurrentIndex(0);
    return box;
}

} // namespace

ColorHistogramDialog::ColorHistogramDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Color Histogram"), tr("OK"), {TypeImageRGB, TypeImageHSV})
{
    rgb_ = buildGroup(tr("RGB Histogram"), QStringLiteral("RGB"), cubes);
    checkDefaultKind(rgb_, TypeImageRGB);
    hsv_ = buildGroup(tr("HSV Histogram"), QStringLiteral("HSV"), layouts);
    checkDefaultKind(hsv_, TypeImageHSV);
    parameterLayout()->addWidget(rgb_.group, 0, 0);
    parameterLayout()->addWidget(hsv_.group, 0, 1);
    updateView();
}

ColorHistogramDialog::KindGroup ColorHistogramDialog::buildGroup(const QString& title, const QString& space,
                                                                 const QStringList& binChoices)
{
    KindGroup g;
    g.group = new QGroupBox(title, this);
    g.group->setObjectName(QStringLiteral("ButtonGroup") + space);
    auto* grid = new QGridLayout(g.group);
    g.dynamicSpin = new QSpinBox(g.group);
    g.dynamicSpin->setObjectName(QStringLiteral("SpinBoxDynamic") + space);
    g.dynamicSpin->setMinimum(1);
    // Only the RGB count goes past the spin box's usual 99.
    if (space == QLatin1String("RGB"))
        g.dynamicSpin->setMaximum(256);
    g.dynamicSpin->setValue(8);
    g.dynamicButton = addRow(grid, 0, tr("Dynamic"), QStringLiteral("RadioButtonDynamic") + space, g.dynamicSpin);
    g.staticCombo = comboBox(g.group, QStringLiteral("ComboBoxStatic") + space, binChoices);
    g.staticButton = addRow(grid, 1, tr("Static"), QStringLiteral("RadioButtonStatic") + space, g.staticCombo);
    g.fuzzyCombo = comboBox(g.group, QStringLiteral("ComboBoxFuzzy") + space, binChoices);
    g.fuzzyButton = addRow(grid, 2, tr("Static Fuzzy"), QStringLiteral("RadioButtonFuzzy") + space, g.fuzzyCombo);
    g.channelCombo = comboBox(g.group, QStringLiteral("ComboBoxChannel") + space, channelBins);
    g.channelButton = addRow(grid, 3, tr("3-Channel"), QStringLiteral("RadioButtonChannel") + space, g.channelCombo);
    return g;
}

void ColorHistogramDialog::checkDefaultKind(KindGroup& g, int inputType)
{
    using Kind = ColorHistogramParams::Kind;
    const Kind kind = ColorHistogramParams::defaultsFor(inputType).kind;
    (kind == Kind::Channel ? g.channelButton : kind == Kind::Fuzzy ? g.fuzzyButton : g.staticButton)->setChecked(true);
}

void ColorHistogramDialog::updateView()
{
    DataEntry* entry = selectedEntry();
    const int type = entry ? entry->type() : -1;
    rgb_.group->setEnabled(type == TypeImageRGB);
    hsv_.group->setEnabled(type == TypeImageHSV);
    okButton()->setEnabled(entry != nullptr);
    if (type == TypeImageRGB)
        rgb_.dynamicButton->setEnabled(false);
    if (type == TypeImageHSV) {
        hsv_.dynamicButton->setEnabled(false);
        hsv_.dynamicSpin->setEnabled(false);
    }
}

std::optional<ColorHistogramParams> ColorHistogramDialog::chosenParams(int inputType) const
{
    using Kind = ColorHistogramParams::Kind;
    const KindGroup& g = inputType == TypeImageRGB ? rgb_ : hsv_;
    ColorHistogramParams params = ColorHistogramParams::defaultsFor(inputType);
    if (g.channelButton->isChecked()) {
        params.kind = Kind::Channel;
        params.bins = g.channelCombo->currentText().toInt();
    } else if (g.staticButton->isChecked() || g.fuzzyButton->isChecked()) {
        params.kind = g.fuzzyButton->isChecked() ? Kind::Fuzzy : Kind::Static;
        const QString choice = (params.kind == Kind::Fuzzy ? g.fuzzyCombo : g.staticCombo)->currentText();
        if (inputType == TypeImageRGB)
            params.cube = choice.section('x', 0, 0).toInt(); // "4x4x4"
        else
            params.grays = choice.section('+', 1).toInt(); // "6x2+8"
    } else {
        return std::nullopt; // Dynamic
    }
    return params;
}

void ColorHistogramDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const int type = source->type();
    const std::optional<ColorHistogramParams> params = chosenParams(type);
    if (!params) {
        OPColorHistogram::dynamic(); // says that it is not there
        finish();
        return;
    }
    const Image& image = static_cast<const Image&>(*source->data());
    auto results =
        runOperator([&](const Progress& progress) { return OPColorHistogram::execute(image, *params, progress); });
    if (!results)
        return; // cancelled: nothing added, the dialog stays open
    const std::vector<std::string> names = OPColorHistogram::resultNames(type, *params);
    const std::size_t count = results->size();
    for (std::size_t i = 0; i < count; ++i) {
        DataEntry* entry =
            addResult(*source, std::move((*results)[i]), QString::fromStdString(names[i]), "color-histogram", *params);
        if (count > 1)
            entry->setRecipe(entry->recipe().keeping(static_cast<int>(i) + 1));
    }
    finish();
}

QString ColorHistogramDialog::helpText() const
{
    return tr(
        "<b><i>Color Histogram</i></b><br><br><table><tr><td>1.</td><td>First choose a color image from the listbox "
        "by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>"
        "Depending of the selected image you can choose RGB- or HSV-histogram, namely you can choose between "
        "3-channel-, static-, dynamic- or static fuzzy-histograms.</td></tr><tr><td>3.</td><td>Next select the number "
        "of bins.</td></tr><tr><td>4.</td><td>Press OK to calculate the histogram.</td></tr></table><br><hr><br><table>"
        "<tr><td>Input:</td><td>color-image</td></tr><tr><td>Result:</td><td>a color histogram of the input image</td>"
        "</tr></table><hr><br>");
}

} // namespace ivra
