#include "RegionGrowingDialog.h"

#include "app/DataEntry.h"

#include "image/ImageSegmented.h"
#include "segment/OPRegionGrowing.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>


namespace ivra {

RegionGrowingDialog::RegionGrowingDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Region Growing"), tr("OK"), {TypeImageGray, TypeImageRGB})
{
    resize(288, 324);
    infoButton()->setObjectName(QStringLiteral("PushButtonInfo"));
    disconnect(cancelButton(), nullptr, this, nullptr);
    connect(cancelButton(), &QPushButton::clicked, this, &QDialog::accept);

    parameterGroup_ = new QGroupBox(tr("Parameter"), this);
    parameterGroup_->setObjectName(QStringLiteral("GroupBoxParameter"));
    auto* row = new QHBoxLayout(parameterGroup_);
    auto* spanLabel = new QLabel(tr("Span"), parameterGroup_);
    spanLabel->setObjectName(QStringLiteral("TextLabelSpan"));
    spanSpin_ = new QSpinBox(parameterGroup_);
    spanSpin_->setObjectName(QStringLiteral("SpinBoxSpan"));
    spanSpin_->setRange(RegionGrowingParams::minSpan, RegionGrowingParams::maxSpan);
    spanSpin_->setValue(RegionGrowingParams{}.span);
    spanLabel->setBuddy(spanSpin_);
    row->addWidget(spanLabel);
    row->addWidget(spanSpin_, 1);
    parameterLayout()->addWidget(parameterGroup_, 0, 0);
    updateView();
}

void RegionGrowingDialog::updateView()
{
    const bool chosen = selectedEntry() != nullptr;
    parameterGroup_->setEnabled(chosen);
    okButton()->setEnabled(chosen);
}

void RegionGrowingDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    RegionGrowingParams params;
    params.span = spanSpin_->value();
    const Image& image = static_cast<const Image&>(*source->data());
    auto result =
        runOperator([&](const Progress& progress) { return OPRegionGrowing().execute(image, params, progress); });
    if (!result)
        return; // cancelled: nothing added
    // Not numbered: the name takes no run number.
    addResult(*source, std::move(*result), QString::fromStdString(OPRegionGrowing::resultName(0, params)), "region-growing", params);
    finish();
}

QString RegionGrowingDialog::helpText() const
{
    return tr(
        "<b><i>Region-Growing</i></b><br><br><table><tr><td>1.</td><td>First choose an image (RGB or Gray) from the "
        "listbox by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td>"
        "<td>The parameter 'span' is the maximum euclidean distance of colors/gray-values which decides wether the "
        "actual pixel is matched to which growing region.</td></tr><tr><td>3.</td><td>Press OK to execute the Region "
        "Growing.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image (RGB or Gray)</td></tr><tr><td>"
        "Result:</td><td>segmented image (RGB)</td></tr></table><hr><br>");
}

} // namespace ivra
