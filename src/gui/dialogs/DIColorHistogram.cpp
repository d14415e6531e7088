#include "DIColorHistogram.h"

#include "app/DataEntry.h"

#include "ops/OPColorHistogram.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

namespace ivra {

DIColorHistogram::DIColorHistogram(QWidget* parent) : UIColorHistogram(parent)
{
    updateView();
}

void DIColorHistogram::updateView()
{
    DataEntry* entry = selectedEntry();
    const int type = entry ? entry->type() : -1;
    ButtonGroupRGB->setEnabled(type == TypeImageRGB);
    ButtonGroupHSV->setEnabled(type == TypeImageHSV);
    okButton()->setEnabled(entry != nullptr);
    if (type == TypeImageRGB)
        RadioButtonDynamicRGB->setEnabled(false);
    if (type == TypeImageHSV) {
        RadioButtonDynamicHSV->setEnabled(false);
        SpinBoxDynamicHSV->setEnabled(false);
    }
}

bool DIColorHistogram::addChannelHistograms(DataEntry& source, const QString& binsText, const QStringList& names)
{
    const auto& image = static_cast<const ImageColor&>(*source.data());
    const int bins = binsText.toInt();
    auto result = runOperator([&](const ivra::Progress& progress) { return OPColorHistogram::channels(image, bins, progress); });
    if (!result)
        return false;
    for (int c = 0; c < 3; ++c)
        addResult(source, std::move((*result)[static_cast<std::size_t>(c)]), names[c] + binsText);
    return true;
}

bool DIColorHistogram::addRGBHistogram(DataEntry& source, bool fuzzy, const QString& cubeText)
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
    auto result = runOperator([&](const ivra::Progress& progress) {
        return fuzzy ? OPColorHistogram::fuzzyRGB(image, n, progress)
                     : OPColorHistogram::staticRGB(image, n, n, n, progress);
    });
    if (!result)
        return false;
    addResult(source, std::move(*result),
              (fuzzy ? QStringLiteral("Fuzzy RGB-Histogram ") : QStringLiteral("Static RGB-Histogram ")) + cubeText);
    return true;
}

bool DIColorHistogram::addHSVHistogram(DataEntry& source, bool fuzzy, const QString& layoutText)
{
    int grays = 0;
    if (layoutText == QLatin1String("6x2+4"))
        grays = 4;
    else if (layoutText == QLatin1String("6x2+8"))
        grays = 8;
    if (grays == 0)
        return true;
    const auto& image = static_cast<const ImageHSV&>(*source.data());
    auto result = runOperator([&](const ivra::Progress& progress) {
        return fuzzy ? OPColorHistogram::fuzzyHSV(image, 6, 2, grays, progress)
                     : OPColorHistogram::staticHSV(image, 6, 2, grays, progress);
    });
    if (!result)
        return false;
    addResult(source, std::move(*result),
              (fuzzy ? QStringLiteral("Fuzzy HSV-Histogram ") : QStringLiteral("Static HSV-Histogram ")) + layoutText);
    return true;
}

void DIColorHistogram::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    // Only one button of a group is checked; each is looked at on its own.
    bool done = true;
    if (source->type() == TypeImageRGB) {
        if (RadioButtonChannelRGB->isChecked())
            done = addChannelHistograms(*source, ComboBoxChannelRGB->currentText(),
                                        {QStringLiteral("Histogram Red "), QStringLiteral("Histogram Green "),
                                         QStringLiteral("Histogram Blue ")});
        if (RadioButtonStaticRGB->isChecked())
            done = addRGBHistogram(*source, false, ComboBoxStaticRGB->currentText());
        if (RadioButtonDynamicRGB->isChecked())
            OPColorHistogram::dynamic();
        if (RadioButtonFuzzyRGB->isChecked())
            done = addRGBHistogram(*source, true, ComboBoxFuzzyRGB->currentText());
    } else if (source->type() == TypeImageHSV) {
        if (RadioButtonChannelHSV->isChecked())
            done = addChannelHistograms(*source, ComboBoxChannelHSV->currentText(),
                                        {QStringLiteral("Histogram Hue "), QStringLiteral("Histogram Saturation "),
                                         QStringLiteral("Histogram Value ")});
        if (RadioButtonStaticHSV->isChecked())
            done = addHSVHistogram(*source, false, ComboBoxStaticHSV->currentText());
        if (RadioButtonDynamicHSV->isChecked())
            OPColorHistogram::dynamic();
        if (RadioButtonFuzzyHSV->isChecked())
            done = addHSVHistogram(*source, true, ComboBoxFuzzyHSV->currentText());
    }
    if (!done)
        return; // cancelled: nothing added, the dialog stays open
    finish();
}

QString DIColorHistogram::helpText() const
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
