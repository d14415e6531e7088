#include "SnnDialog.h"

#include "app/DataEntry.h"
#include "app/RunCounters.h"

#include "image/ImageRGB.h"
#include "ops/OPSNN.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace ivra {

namespace {

const QString counter = QStringLiteral("SNN");

} // namespace

SnnDialog::SnnDialog(QWidget* parent) : OperatorDialog(parent, tr("SNN"), tr("Ok"), {TypeImageRGB})
{
    auto* parametersGroup = new QGroupBox(tr("Parameters"), this);
    parametersGroup->setObjectName(QStringLiteral("parametersGroup"));
    auto* row = new QHBoxLayout(parametersGroup);
    auto* iterationLabel = new QLabel(tr("Iteration:"), parametersGroup);
    iterationLabel->setObjectName(QStringLiteral("iterationLabel"));
    iterationSpin_ = new QSpinBox(parametersGroup);
    iterationSpin_->setObjectName(QStringLiteral("iterationSpin"));
    iterationSpin_->setRange(SnnParams::minIterations, SnnParams::maxIterations);
    iterationSpin_->setSingleStep(1);
    iterationSpin_->setValue(SnnParams{}.iterations);
    iterationLabel->setBuddy(iterationSpin_);
    row->addWidget(iterationLabel);
    row->addWidget(iterationSpin_, 1);
    parameterLayout()->addWidget(parametersGroup, 0, 0);
}

void SnnDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const Image& image = static_cast<const Image&>(*source->data());
    SnnParams params;
    params.iterations = iterationSpin_->value();
    auto result = runOperator([&](const Progress& progress) { return OPSNN().execute(image, params, progress); },
                              params.iterations);
    if (!result)
        return; // cancelled: nothing added, the counter stays
    const int run = runCounters().next(counter);
    addResult(*source, std::move(*result), QString::fromStdString(OPSNN::resultName(run, params)), "snn", params);
    runCounters().count(counter);
    finish();
}

QString SnnDialog::helpText() const
{
    return tr(
        "<b><i>Symmetric Nearest Neighbor (SNN)</i></b><br><br><b>1.</b> First choose a image from the listbox by "
        "selecting it with the left mouse button (just click on the image name)<br><b>2.</b> Choose how often the "
        "SNN should applied on the image (Iteration)<br><b>3.</b> Press the OK button to execute the SNN<br><br>");
}

} // namespace ivra
