#include "QRHSDialog.h"

#include "app/DataEntry.h"

#include "image/ImageRGB.h"
#include "segment/OPRecursiveHistogramSplitting.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QSpinBox>

#include <exception>
#include <iostream>
#include <memory>
#include <optional>

namespace ivra {

namespace {

// The dialog's run counter: process-wide, from 1, never reset.
int runCounter = 1;

QSpinBox* addThreshold(QGroupBox* group, QGridLayout* grid, int row, const QString& label, const QString& name,
                       int value)
{
    auto* text = new QLabel(label, group);
    auto* spin = new QSpinBox(group);
    spin->setObjectName(name);
    spin->setRange(RHSParameters::minValue, RHSParameters::maxValue);
    spin->setValue(value);
    text->setBuddy(spin);
    grid->addWidget(text, row, 0);
    grid->addWidget(spin, row, 1);
    return spin;
}

} // namespace

QRHSDialog::QRHSDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Recursive Histogram Splitting (RHS)"), {TypeImageRGB}, Family::HandWritten)
{
    const RHSParameters defaults;
    parameterGroup_ = new QGroupBox(tr("Parameters"), this);
    auto* grid = new QGridLayout(parameterGroup_);
    gtWindowSpin_ = addThreshold(parameterGroup_, grid, 0, tr("Threshold (GT-Clustering) [Default=3]:"),
                                 QStringLiteral("gtWindowSpin"), defaults.gtWindow);
    minRegionSizeSpin_ = addThreshold(parameterGroup_, grid, 1, tr("Threshold (Min.Region) [Default=300]:"),
                                      QStringLiteral("minRegionSizeSpin"), defaults.minRegionSize);
    minSplitPeakSpin_ = addThreshold(parameterGroup_, grid, 2, tr("Threshold (Min.Peak) [Default=200]:"),
                                     QStringLiteral("minSplitPeakSpin"), defaults.minSplitPeak);
    parameterLayout()->addWidget(parameterGroup_, 0, 0);
}

void QRHSDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    RHSParameters parameters;
    parameters.gtWindow = gtWindowSpin_->value();
    parameters.minSplitPeak = minSplitPeakSpin_->value();
    parameters.minRegionSize = minRegionSizeSpin_->value();
    const auto& image = static_cast<const ImageRGB&>(*source->data());

    std::optional<std::unique_ptr<ImageSegmented>> result;
    try {
        result = runOperator([&](const ivra::Progress& progress) {
            return OPRecursiveHistogramSplitting().execute(image, parameters, progress);
        });
    } catch (const std::exception& e) {
        // Refused or out of memory: nothing is added, the dialog stays open.
        std::cerr << e.what() << std::endl;
        return;
    }
    if (!result)
        return; // cancelled: nothing added, the counter stays

    addResult(*source, std::move(*result),
              QStringLiteral("(%1) RHS [GT=%2, MinSplitPeak=%3, MinRegionSize=%4]")
                  .arg(runCounter)
                  .arg(parameters.gtWindow)
                  .arg(parameters.minSplitPeak)
                  .arg(parameters.minRegionSize));
    ++runCounter;
    finish();
}

QString QRHSDialog::helpText() const
{
    return QStringLiteral(
        "<b><i>Recursive Histogram Splitting (RHS)</i></b><br><br><b>1.</b> First choose a image from the listbox "
        "by selecting it with the left mouse button (just click on the image name)<br><b>2.</b> Enter the threshold "
        "for <i>gt-clustering</i>. It defines the window size for graph theoretical clustering of histograms. "
        "Threshold 1 means that local maxima are searches with a windowsize of 3.<br><b>3.</b> Enter the threshold "
        "for the the <i>min. region</i>. If the biggest peak that is found in all histograms for one region is "
        "smaller than this thresholdthe region is not splitted any more. Higher thresholds result in bigger "
        "regions.<br><b>4.</b> Enter the threshold for the <i>min. peak</i>. If a region is smaller than this "
        "threshold it will not be split. The threshold must be larger than the theshold for the <i>min. "
        "region</i> to have any effect. Higher values result in bigger regions.<br><b>5.</b> Press the OK button "
        "to execute the RHS");
}

} // namespace ivra
