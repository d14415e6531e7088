#include "QKuwaNagaDialog.h"

#include "app/DataEntry.h"

#include "image/ImageRGB.h"
#include "ops/OPKuwaharaNagao.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace ivra {

QKuwaNagaDialog::QKuwaNagaDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Kuwahara-Nagao-Filter"), {TypeImageRGB}, Family::HandWritten)
{
    iterationLabel = new QLabel(tr("Iteration"), this);
    iterationLabel->setObjectName(QStringLiteral("iterationLabel"));
    iterationSpin = new QSpinBox(this);
    iterationSpin->setObjectName(QStringLiteral("iterationSpin"));
    iterationSpin->setRange(OPKuwaharaNagao::minIterations, OPKuwaharaNagao::maxIterations);
    iterationSpin->setSingleStep(1);
    iterationSpin->setValue(OPKuwaharaNagao::defaultIterations);
    iterationLabel->setBuddy(iterationSpin);

    colorspaceGroup = new QGroupBox(tr("Colorspace"), this);
    colorspaceGroup->setObjectName(QStringLiteral("colorspaceGroup"));
    auto* spaces = new QVBoxLayout(colorspaceGroup);
    rgbButton = new QRadioButton(tr("RGB"), colorspaceGroup);
    rgbButton->setObjectName(QStringLiteral("rgbButton"));
    rgbButton->setChecked(true);
    hsvButton = new QRadioButton(tr("HSV"), colorspaceGroup);
    hsvButton->setObjectName(QStringLiteral("hsvButton"));
    spaces->addWidget(rgbButton);
    spaces->addWidget(hsvButton);

    parameterLayout()->addWidget(iterationLabel, 0, 0);
    parameterLayout()->addWidget(iterationSpin, 0, 1);
    parameterLayout()->addWidget(colorspaceGroup, 1, 0, 1, 2);
}

void QKuwaNagaDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const auto* image = dynamic_cast<const ImageRGB*>(source->data());
    if (!image) {
        finish(); // not a type this dialog lists: nothing to add
        return;
    }
    const int iterations = iterationSpin->value();
    const auto space = hsvButton->isChecked() ? OPKuwaharaNagao::Space::HSV : OPKuwaharaNagao::Space::RGB;
    auto result = runOperator([&](const ivra::Progress& progress) {
        return OPKuwaharaNagao().execute(*image, iterations, space, progress);
    });
    if (!result)
        return; // cancelled: nothing added, the counter stays
    addResult(*source, std::move(*result),
              QString::fromStdString(OPKuwaharaNagao::resultName(runCounter, iterations)));
    ++runCounter;
    finish();
}

QString QKuwaNagaDialog::helpText() const
{
    return QStringLiteral(
        "<b><i>Kuwahara-Nagao-Filter</i></b><br><br><b>1.</b> First choose a image from the listbox by selecting it "
        "with the left mouse button (just click on the image name)<br><b>2.</b> Choose how often the "
        "Kuwahara-Nagao-Filter should applied on the image (Iteration)<br><b>3.</b> Choose the color space that "
        "should be used for filtering.<br<b>4.</b> Press the OK button to execute the Kuwahara-Nagao-Filter<br><br>");
}

} // namespace ivra
