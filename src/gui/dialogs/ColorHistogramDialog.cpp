#include "ColorHistogramDialog.h"

#include "app/DataEntry.h"

#include "ops/OPColorHistogram.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
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
    rgb_.channelButton->setChecked(true);
    hsv_ = buildGroup(tr("HSV Histogram"), QStringLiteral("HSV"), layouts);
    hsv_.fuzzyButton->setChecked(true);
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

bool ColorHistogramDialog::addChannelHistograms(DataEntry& source, const QString& binsText, const QStringList& names)
{
    const auto& image = static_cast<const ImageColor&>(*source.data());
    const int bins = binsText.toInt();
    auto result =
        runOperator([&](const Progress& progress) { return OPColorHistogram::channels(image, bins, progress); });
    if (!result)
        return false;
    for (int c = 0; c < 3; ++c)
        addResult(source, std::move((*result)[static_cast<std::size_t>(c)]), names[c] + binsText);
    return true;
}

bool ColorHistogramDialog::addRGBHistogram(DataEntry& source, bool fuzzy, const QString& cubeText)
{
    int n = 0;
    if (cubeText == QLatin1String("2x2x2"))
        n = 2;
    else if (cubeText == QLatin1String("4x4x4"))
        n = 4;
    else if (cubeText == QLatin1String("8x8x8"))
        n = 8;
    if (n == 0)
        return true;
    const auto& image = static_cast<const ImageRGB&>(*source.data());
    auto result = runOperator([&](const Progress& progress) {
        return fuzzy ? OPColorHistogram::fuzzyRGB(image, n, progress)
                     : OPColorHistogram::staticRGB(image, n, n, n, progress);
    });
    if (!result)
        return false;
    addResult(source, std::move(*result),
              (fuzzy ? QStringLiteral("Fuzzy RGB-Histogram ") : QStringLiteral("Static RGB-Histogram ")) + cubeText);
    return true;
}

bool ColorHistogramDialog::addHSVHistogram(DataEntry& source, bool fuzzy, const QString& layoutText)
{
    int grays = 0;
    if (layoutText == QLatin1String("6x2+4"))
        grays = 4;
    else if (layoutText == QLatin1String("6x2+8"))
        grays = 8;
    if (grays == 0)
        return true;
    const auto& image = static_cast<const ImageHSV&>(*source.data());
    auto result = runOperator([&](const Progress& progress) {
        return fuzzy ? OPColorHistogram::fuzzyHSV(image, 6, 2, grays, progress)
                     : OPColorHistogram::staticHSV(image, 6, 2, grays, progress);
    });
    if (!result)
        return false;
    addResult(source, std::move(*result),
              (fuzzy ? QStringLiteral("Fuzzy HSV-Histogram ") : QStringLiteral("Static HSV-Histogram ")) + layoutText);
    return true;
}

// Only one button of a group is checked; each is looked at on its own.
bool ColorHistogramDialog::addRGBResults(DataEntry& source)
{
    bool done = true;
    if (rgb_.channelButton->isChecked())
        done = addChannelHistograms(source, rgb_.channelCombo->currentText(),
                                    {QStringLiteral("Histogram Red "), QStringLiteral("Histogram Green "),
                                     QStringLiteral("Histogram Blue ")});
    if (rgb_.staticButton->isChecked())
        done = addRGBHistogram(source, false, rgb_.staticCombo->currentText());
    if (rgb_.dynamicButton->isChecked())
        OPColorHistogram::dynamic();
    if (rgb_.fuzzyButton->isChecked())
        done = addRGBHistogram(source, true, rgb_.fuzzyCombo->currentText());
    return done;
}

bool ColorHistogramDialog::addHSVResults(DataEntry& source)
{
    bool done = true;
    if (hsv_.channelButton->isChecked())
        done = addChannelHistograms(source, hsv_.channelCombo->currentText(),
                                    {QStringLiteral("Histogram Hue "), QStringLiteral("Histogram Saturation "),
                                     QStringLiteral("Histogram Value ")});
    if (hsv_.staticButton->isChecked())
        done = addHSVHistogram(source, false, hsv_.staticCombo->currentText());
    if (hsv_.dynamicButton->isChecked())
        OPColorHistogram::dynamic();
    if (hsv_.fuzzyButton->isChecked())
        done = addHSVHistogram(source, true, hsv_.fuzzyCombo->currentText());
    return done;
}

void ColorHistogramDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    bool done = true;
    if (source->type() == TypeImageRGB)
        done = addRGBResults(*source);
    else if (source->type() == TypeImageHSV)
        done = addHSVResults(*source);
    if (!done)
        return; // cancelled: nothing added, the dialog stays open
    finish();
}

QString ColorHistogramDialog::helpText() const
{
    return QStringLiteral(
        "<b><i>Color Histogram</i></b><br><br><table><tr><td>1.</td><td>First choose a color image from the listbox "
        "by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>"
        "Depending of the selected image you can choose RGB- or HSV-histogram, namely you can choose between "
        "3-channel-, static-, dynamic- or static fuzzy-histograms.</td></tr><tr><td>3.</td><td>Next select the number "
        "of bins.</td></tr><tr><td>4.</td><td>Press OK to calculate the histogram.</td></tr></table><br><hr><br><table>"
        "<tr><td>Input:</td><td>color-image</td></tr><tr><td>Result:</td><td>a color histogram of the input image</td>"
        "</tr></table><hr><br>");
}

} // namespace ivra
