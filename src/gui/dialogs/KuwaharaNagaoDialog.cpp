#include "KuwaharaNagaoDialog.h"

#include "app/DataEntry.h"
#include "app/RunCounters.h"

#include "image/ImageRGB.h"
#include "ops/OPKuwaharaNagao.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ivra {

namespace {

const QString counter = QStringLiteral("Kuwahara-Nagao");

} // namespace

KuwaharaNagaoDialog::KuwaharaNagaoDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Kuwahara-Nagao-Filter"), tr("Ok"), {TypeImageRGB})
{
    auto* iterationLabel = new QLabel(tr("Iteration"), this);
    iterationLabel->setObjectName(QStringLiteral("iterationLabel"));
    iterationSpin_ = new QSpinBox(this);
    iterationSpin_->setObjectName(QStringLiteral("iterationSpin"));
    iterationSpin_->setRange(KuwaharaNagaoParams::minIterations, KuwaharaNagaoParams::maxIterations);
    iterationSpin_->setSingleStep(1);
    iterationSpin_->setValue(KuwaharaNagaoParams{}.iterations);
    iterationLabel->setBuddy(iterationSpin_);

    auto* colorspaceGroup = new QGroupBox(tr("Colorspace"), this);
    colorspaceGroup->setObjectName(QStringLiteral("colorspaceGroup"));
    auto* spaces = new QVBoxLayout(colorspaceGroup);
    auto* rgbButton = new QRadioButton(tr("RGB"), colorspaceGroup);
    rgbButton->setObjectName(QStringLiteral("rgbButton"));
    hsvButton_ = new QRadioButton(tr("HSV"), colorspaceGroup);
    hsvButton_->setObjectName(QStringLiteral("hsvButton"));
    (KuwaharaNagaoParams{}.space == KuwaharaNagaoParams::Space::HSV ? hsvButton_ : rgbButton)->setChecked(true);
    spaces->addWidget(rgbButton);
    spaces->addWidget(hsvButton_);

    parameterLayout()->addWidget(iterationLabel, 0, 0);
    parameterLayout()->addWidget(iterationSpin_, 0, 1);
    parameterLayout()->addWidget(colorspaceGroup, 1, 0, 1, 2);
}

void KuwaharaNagaoDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const Image& image = static_cast<const Image&>(*source->data());
    KuwaharaNagaoParams params;
    params.iterations = iterationSpin_->value();
    params.space = hsvButton_->isChecked() ? KuwaharaNagaoParams::Space::HSV : KuwaharaNagaoParams::Space::RGB;
    auto result = runOperator(
        [&](const Progress& progress) { return OPKuwaharaNagao().execute(image, params, progress); }, params.iterations);
    if (!result)
        return; // cancelled: nothing added, the counter stays
    const int run = runCounters().next(counter);
    addResult(*source, std::move(*result), QString::fromStdString(OPKuwaharaNagao::resultName(run, params)), "kuwahara", params);
    runCounters().count(counter);
    finish();
}

QString KuwaharaNagaoDialog::helpText() const
{
    return tr(
        "<b><i>Kuwahara-Nagao-Filter</i></b><br><br><b>1.</b> First choose a image from the listbox by selecting it "
        "with the left mouse button (just click on the image name)<br><b>2.</b> Choose how often the "
        "Kuwahara-Nagao-Filter should applied on the image (Iteration)<br><b>3.</b> Choose the color space that "
        "should be used for filtering.<br<b>4.</b> Press the OK button to execute the Kuwahara-Nagao-Filter<br><br>");
}

} // namespace ivra
