#include "RecursiveHistogramSplittingDialog.h"

#include "LabelledSpinBox.h"
#include "app/DataEntry.h"
#include "app/RunCounters.h"

#include "segment/OPRecursiveHistogramSplitting.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QSpinBox>

#include <exception>
#include <memory>
#include <optional>

namespace ivra {

namespace {

const QString counter = QStringLiteral("RHS");

} // namespace

RecursiveHistogramSplittingDialog::RecursiveHistogramSplittingDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Recursive Histogram Splitting (RHS)"), tr("Ok"), {TypeImageRGB})
{
    const RhsParams defaults;
    const int min = RhsParams::minValue;
    const int max = RhsParams::maxValue;
    auto* parameterGroup = new QGroupBox(tr("Parameters"), this);
    auto* grid = new QGridLayout(parameterGroup);
    gtWindowSpin_ = addLabelledSpinBox(grid, 0, tr("Threshold (GT-Clustering) [Default=3]:"),
                                       QStringLiteral("gtWindowSpin"), min, max, defaults.gtWindow);
    minRegionSizeSpin_ = addLabelledSpinBox(grid, 1, tr("Threshold (Min.Region) [Default=300]:"),
                                            QStringLiteral("minRegionSizeSpin"), min, max, defaults.minRegionSize);
    minSplitPeakSpin_ = addLabelledSpinBox(grid, 2, tr("Threshold (Min.Peak) [Default=200]:"),
                                           QStringLiteral("minSplitPeakSpin"), min, max, defaults.minSplitPeak);
    parameterLayout()->addWidget(parameterGroup, 0, 0);
}

void RecursiveHistogramSplittingDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    RhsParams params;
    params.gtWindow = gtWindowSpin_->value();
    params.minSplitPeak = minSplitPeakSpin_->value();
    params.minRegionSize = minRegionSizeSpin_->value();
    const Image& image = static_cast<const Image&>(*source->data());

    // A refusal or exhausted memory throws on to runExecute(): the Error box, nothing added.
    auto result = runOperator(
        [&](const Progress& progress) { return OPRecursiveHistogramSplitting().execute(image, params, progress); });
    if (!result)
        return; // cancelled: nothing added, the counter stays

    const int run = runCounters().next(counter);
    addResult(*source, std::move(*result),
              QString::fromStdString(OPRecursiveHistogramSplitting::resultName(run, params)), "rhs", params);
    runCounters().count(counter);
    finish();
}

QString RecursiveHistogramSplittingDialog::helpText() const
{
    return tr(
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
