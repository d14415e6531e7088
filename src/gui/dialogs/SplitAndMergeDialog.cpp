#include "SplitAndMergeDialog.h"

#include "LabelledSpinBox.h"
#include "app/DataEntry.h"
#include "app/RunCounters.h"

#include "segment/OPSplitAndMerge.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QSpinBox>

#include <exception>
#include <memory>
#include <optional>

namespace ivra {

namespace {

const QString counter = QStringLiteral("SMG");

} // namespace

SplitAndMergeDialog::SplitAndMergeDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Split-And-Merge"), tr("Ok"), {TypeImageRGB})
{
    auto* parameterGroup = new QGroupBox(tr("Parameters"), this);
    auto* grid = new QGridLayout(parameterGroup);
    const SplitAndMergeParams defaults;
    const int min = SplitAndMergeParams::minThreshold;
    const int max = SplitAndMergeParams::maxThreshold;
    splitSpin_ = addLabelledSpinBox(grid, 0, tr("Threshold (Split) [Default=10]:"), QStringLiteral("splitSpin"), min,
                                    max, defaults.split);
    mergeSpin_ = addLabelledSpinBox(grid, 1, tr("Threshold (Merge) [Default=10]:"), QStringLiteral("mergeSpin"), min,
                                    max, defaults.merge);
    groupSpin_ = addLabelledSpinBox(grid, 2, tr("Threshold (Grouping) [Default=20]:"), QStringLiteral("groupSpin"),
                                    min, max, defaults.group);
    parameterLayout()->addWidget(parameterGroup, 0, 0);
}

void SplitAndMergeDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    SplitAndMergeParams params;
    params.split = splitSpin_->value();
    params.merge = mergeSpin_->value();
    params.group = groupSpin_->value();
    const Image& image = static_cast<const Image&>(*source->data());

    // A refusal or exhausted memory throws on to runExecute(): the Error box, nothing added.
    auto result = runOperator(
        [&](const Progress& progress) { return OPSplitAndMerge().execute(image, params, progress); });
    if (!result)
        return; // cancelled: nothing added, the counter stays

    const int run = runCounters().next(counter);
    addResult(*source, std::move(*result), QString::fromStdString(OPSplitAndMerge::resultName(run, params)), "smg", params);
    runCounters().count(counter);
    finish();
}

QString SplitAndMergeDialog::helpText() const
{
    return tr(
        "<b><i>Split-And-Merge (incl. Group)</i></b><br><br><b>1.</b> First choose a image from the listbox by "
        "selecting it with the left mouse button (just click on the image name)<br><b>2.</b> Enter the threshold "
        "for <i>split</i>. A high threshold results in less splitting operations Therefore less regions are "
        "generated<br><b>3.</b> Enter the threshold for <i>merge</i>. A high threshold results in more merging "
        "operations.  Therefore less regions are generated.<br><b>4.</b> Enter the threshold for <i>group</i>. A "
        "high threshold results in more group operations. Therefore less regions are generated.<br><b>5.</b> Press "
        "the OK button to execute the Split-And-Merge");
}

} // namespace ivra
