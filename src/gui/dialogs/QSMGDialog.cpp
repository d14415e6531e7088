#include "QSMGDialog.h"

#include "app/DataEntry.h"

#include "image/ImageRGB.h"
#include "segment/OPSplitAndMerge.h"

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
    spin->setRange(0, OPSplitAndMerge::maxThreshold);
    spin->setSingleStep(1);
    spin->setValue(value);
    text->setBuddy(spin);
    grid->addWidget(text, row, 0);
    grid->addWidget(spin, row, 1);
    return spin;
}

} // namespace

QSMGDialog::QSMGDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Split-And-Merge"), {TypeImageRGB}, Family::HandWritten)
{
    parameterGroup_ = new QGroupBox(tr("Parameters"), this);
    auto* grid = new QGridLayout(parameterGroup_);
    splitSpin_ = addThreshold(parameterGroup_, grid, 0, tr("Threshold (Split) [Default=10]:"),
                              QStringLiteral("splitSpin"), OPSplitAndMerge::defaultSplitThreshold);
    mergeSpin_ = addThreshold(parameterGroup_, grid, 1, tr("Threshold (Merge) [Default=10]:"),
                              QStringLiteral("mergeSpin"), OPSplitAndMerge::defaultMergeThreshold);
    groupSpin_ = addThreshold(parameterGroup_, grid, 2, tr("Threshold (Grouping) [Default=20]:"),
                              QStringLiteral("groupSpin"), OPSplitAndMerge::defaultGroupThreshold);
    parameterLayout()->addWidget(parameterGroup_, 0, 0);
}

void QSMGDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const int split = splitSpin_->value();
    const int merge = mergeSpin_->value();
    const int group = groupSpin_->value();
    const auto& image = static_cast<const ImageRGB&>(*source->data());

    std::optional<std::unique_ptr<ImageSegmented>> result;
    try {
        result = runOperator([&](const ivra::Progress& progress) {
            return OPSplitAndMerge().execute(image, split, merge, group, progress);
        });
    } catch (const std::exception& e) {
        // Refused (an empty or extremely elongated picture) or out of memory:
        // nothing is added, the dialog stays open.
        std::cerr << e.what() << std::endl;
        return;
    }
    if (!result)
        return; // cancelled: nothing added, the counter stays

    addResult(*source, std::move(*result),
              QStringLiteral("(%1) SMG [Split=%2, Merge=%3, Group=%4]").arg(runCounter).arg(split).arg(merge).arg(group));
    ++runCounter;
    finish();
}

QString QSMGDialog::helpText() const
{
    return QStringLiteral(
        "<b><i>Split-And-Merge (incl. Group)</i></b><br><br><b>1.</b> First choose a image from the listbox by "
        "selecting it with the left mouse button (just click on the image name)<br><b>2.</b> Enter the threshold "
        "for <i>split</i>. A high threshold results in less splitting operations Therefore less regions are "
        "generated<br><b>3.</b> Enter the threshold for <i>merge</i>. A high threshold results in more merging "
        "operations.  Therefore less regions are generated.<br><b>4.</b> Enter the threshold for <i>group</i>. A "
        "high threshold results in more group operations. Therefore less regions are generated.<br><b>5.</b> Press "
        "the OK button to execute the Split-And-Merge");
}

} // namespace ivra
