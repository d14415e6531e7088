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

#include <optional>

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
    spanSpin_->setRange(OPRegionGrowing::minSpan, OPRegionGrowing::maxSpan);
    spanSpin_->setValue(OPRegionGrowing::defaultSpan);
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
    const int span = spanSpin_->value();
    std::optional<std::unique_ptr<ImageSegmented>> result;
    if (source->type() == TypeImageGray) {
        const auto& gray = static_cast<const ImageGray&>(*source->data());
        result = runOperator([&](const Progress& p) { return OPRegionGrowing().execute(gray, span, p); });
    } else {
        const auto& rgb = static_cast<const ImageRGB&>(*source->data());
        result = runOperator([&](const Progress& p) { return OPRegionGrowing().execute(rgb, span, p); });
    }
    if (!result)
        return; // cancelled: nothing added
    addResult(*source, std::move(*result), QStringLiteral("Region Growing"));
    finish();
}

QString RegionGrowingDialog::helpText() const
{
    return QStringLiteral(
        "<b><i>Region-Growing</i></b><br><br><table><tr><td>1.</td><td>First choose an image (RGB or Gray) from the "
        "listbox by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td>"
        "<td>The parameter 'span' is the maximum euclidean distance of colors/gray-values which decides wether the "
        "actual pixel is matched to which growing region.</td></tr><tr><td>3.</td><td>Press OK to execute the Region "
        "Growing.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image (RGB or Gray)</td></tr><tr><td>"
        "Result:</td><td>segmented image (RGB)</td></tr></table><hr><br>");
}

} // namespace ivra
