#include "CscDialog.h"

#include "app/DataEntry.h"
#include "app/RunCounters.h"

#include "csc/OPCSC.h"
#include "image/ImageRGB.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <exception>
#include <optional>

namespace ivra {

namespace {

const QString counter = QStringLiteral("CSC");

} // namespace

CscDialog::CscDialog(QWidget* parent) : OperatorDialog(parent, tr("CSC"), tr("Ok"), {TypeImageRGB})
{
    similarityGroup_ = new QGroupBox(tr("Similarity Function"), this);
    similarityGroup_->setObjectName(QStringLiteral("similarityGroup"));
    auto* grid = new QGridLayout(similarityGroup_);
    rgbButton_ = new QRadioButton(tr("RGB (Euclidian Distance)  "), similarityGroup_);
    rgbButton_->setObjectName(QStringLiteral("rgbButton"));
    hsvButton_ = new QRadioButton(tr("HSV (Tabular Based)"), similarityGroup_);
    hsvButton_->setObjectName(QStringLiteral("hsvButton"));
    thresholdSpin_ = new QSpinBox(similarityGroup_);
    thresholdSpin_->setObjectName(QStringLiteral("thresholdSpin"));
    thresholdSpin_->setRange(CscParams::minThreshold, CscParams::maxThreshold);
    thresholdSpin_->setSingleStep(1);
    thresholdSpin_->setValue(CscParams{}.threshold);
    thresholdSpin_->setAccessibleName(tr("Threshold"));
    auto* similarityButtons = new QButtonGroup(this);
    similarityButtons->setExclusive(true);
    similarityButtons->addButton(rgbButton_);
    similarityButtons->addButton(hsvButton_);
    (CscParams{}.space == CscParams::Space::HSV ? hsvButton_ : rgbButton_)->setChecked(true);
    grid->addWidget(rgbButton_, 0, 0);
    grid->addWidget(thresholdSpin_, 0, 1);
    grid->addWidget(hsvButton_, 1, 0);
    parameterLayout()->addWidget(similarityGroup_, 0, 0);

    connect(rgbButton_, &QRadioButton::toggled, this, &CscDialog::updateView);
    connect(hsvButton_, &QRadioButton::toggled, this, &CscDialog::updateView);
    updateView();
}

void CscDialog::updateView()
{
    okButton()->setEnabled(selectedEntry() != nullptr);
    thresholdSpin_->setEnabled(rgbButton_->isChecked());
}

void CscDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    CscParams params;
    params.space = rgbButton_->isChecked() ? CscParams::Space::RGB : CscParams::Space::HSV;
    params.threshold = thresholdSpin_->value();
    const auto& image = static_cast<const ImageRGB&>(*source->data());
    const double elementsPerIsland = elementsPerIsland_;

    // The entry point with the store's capacity, which tests lower to provoke an overrun.
    // A refusal or exhausted memory throws on to runExecute(): the Error box, nothing added.
    auto result = runOperator([&](const Progress& progress) {
        return OPCSC().execute(image, params.space, params.threshold, progress, elementsPerIsland);
    });
    if (!result)
        return; // cancelled: nothing added, the counter stays

    if (!result->complete) {
        QMessageBox::critical(this, tr("Error !"),
                              tr("%1\nThe segmentation is incomplete: the code element store is full. "
                                 "The result is black and no pixel belongs to a region.")
                                  .arg(QString::fromStdString(result->message)));
    }
    const int run = runCounters().next(counter);
    addResult(*source, std::move(result->image), QString::fromStdString(OPCSC::resultName(run, params)), "csc", params);
    runCounters().count(counter);
    finish();
}

QString CscDialog::helpText() const
{
    return tr(
        "<b><i>Color Structure Code</i></b><br><br><b>1.</b> First choose a image from the listbox by selecting it "
        "with the left mouse button (just click on the image name)<br><b>2.</b> Choose the color space (rgb or hsv) "
        "of the color similarity predicate.<br><b>3.</b> If you choose the rgb color space you have to select a "
        "threshold that defines which rgb colors are similar. If the euclidian distance between to rgb vectors is "
        "less than the threshold both vector are considered as similar.<br><b>4.</b> Press the OK button to "
        "execute the CSC");
}

} // namespace ivra
