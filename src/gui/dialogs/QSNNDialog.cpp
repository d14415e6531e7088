#include "QSNNDialog.h"

#include "app/DataEntry.h"

#include "image/ImageRGB.h"
#include "ops/OPSNN.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QSpinBox>

namespace ivra {

QSNNDialog::QSNNDialog(QWidget* parent) : OperatorDialog(parent, tr("SNN"), {TypeImageRGB}, Family::HandWritten)
{
    parametersGroup = new QGroupBox(tr("Parameters"), this);
    parametersGroup->setObjectName(QStringLiteral("parametersGroup"));
    auto* row = new QHBoxLayout(parametersGroup);
    iterationLabel = new QLabel(tr("Iteration:"), parametersGroup);
    iterationLabel->setObjectName(QStringLiteral("iterationLabel"));
    iterationSpin = new QSpinBox(parametersGroup);
    iterationSpin->setObjectName(QStringLiteral("iterationSpin"));
    iterationSpin->setRange(OPSNN::minIterations, OPSNN::maxIterations);
    iterationSpin->setSingleStep(1);
    iterationSpin->setValue(OPSNN::defaultIterations);
    iterationLabel->setBuddy(iterationSpin);
    row->addWidget(iterationLabel);
    row->addWidget(iterationSpin, 1);
    parameterLayout()->addWidget(parametersGroup, 0, 0);
}

void QSNNDialog::execute()
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
    auto result = runOperator(
        [&](const ivra::Progress& progress) { return OPSNN().execute(*image, iterations, progress); });
    if (!result)
        return; // cancelled: nothing added, the counter stays
    addResult(*source, std::move(*result), QString::fromStdString(OPSNN::resultName(runCounter, iterations)));
    ++runCounter;
    finish();
}

QString QSNNDialog::helpText() const
{
    return QStringLiteral(
        "<b><i>Symmetric Nearest Neighbor (SNN)</i></b><br><br><b>1.</b> First choose a image from the listbox by "
        "selecting it with the left mouse button (just click on the image name)<br><b>2.</b> Choose how often the "
        "SNN should applied on the image (Iteration)<br><b>3.</b> Press the OK button to execute the SNN<br><br>");
}

} // namespace ivra
