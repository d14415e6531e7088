#include "SaltAndPepperDialog.h"

#include "app/DataEntry.h"
#include "app/RunCounters.h"

#include "ops/OPSaltAndPepper.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

namespace ivra {

namespace {

const QString counter = QStringLiteral("Salt-and-Pepper");
using Mode = SaltAndPepperParams::Mode;

} // namespace

SaltAndPepperDialog::SaltAndPepperDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Salt-and-Pepper-Noise"), tr("OK"), {TypeImageGray, TypeImageRGB})
{
    buildModeGroup();
    buildLevelGroup();
    parameterLayout()->addWidget(modeGroup_, 0, 0);
    parameterLayout()->addWidget(levelGroup_, 1, 0);
    updateView();
}

void SaltAndPepperDialog::buildModeGroup()
{
    modeGroup_ = new QGroupBox(tr("Mode of Noise"), this);
    modeGroup_->setObjectName(QStringLiteral("ButtonGroupMode"));
    auto* modes = new QVBoxLayout(modeGroup_);
    saltButton_ = new QRadioButton(tr("Salt"), modeGroup_);
    saltButton_->setObjectName(QStringLiteral("RadioButtonSalt"));
    pepperButton_ = new QRadioButton(tr("Pepper"), modeGroup_);
    pepperButton_->setObjectName(QStringLiteral("RadioButtonPepper"));
    saltAndPepperButton_ = new QRadioButton(tr("Salt and Pepper"), modeGroup_);
    saltAndPepperButton_->setObjectName(QStringLiteral("RadioButtonSaltAndPepper"));
    const auto mode = SaltAndPepperParams{}.mode;
    (mode == Mode::Salt ? saltButton_ : mode == Mode::Pepper ? pepperButton_ : saltAndPepperButton_)->setChecked(true);
    modes->addWidget(saltButton_);
    modes->addWidget(pepperButton_);
    modes->addWidget(saltAndPepperButton_);
}

void SaltAndPepperDialog::buildLevelGroup()
{
    levelGroup_ = new QGroupBox(tr("Noise Level"), this);
    levelGroup_->setObjectName(QStringLiteral("GroupBoxView"));
    auto* level = new QHBoxLayout(levelGroup_);
    auto* minLabel = new QLabel(tr("0%"), levelGroup_);
    minLabel->setObjectName(QStringLiteral("TextLabelMin"));
    levelSlider_ = new QSlider(Qt::Horizontal, levelGroup_);
    levelSlider_->setObjectName(QStringLiteral("SliderNoiseLevel"));
    levelSlider_->setAccessibleName(tr("Noise Level"));
    levelSlider_->setRange(SaltAndPepperParams::minPercent, SaltAndPepperParams::maxPercent);
    levelSlider_->setPageStep(10);
    levelSlider_->setValue(SaltAndPepperParams{}.percent);
    auto* maxLabel = new QLabel(tr("50%"), levelGroup_);
    maxLabel->setObjectName(QStringLiteral("TextLabelMax"));
    level->addWidget(minLabel);
    level->addWidget(levelSlider_, 1);
    level->addWidget(maxLabel);
}

void SaltAndPepperDialog::updateView()
{
    const bool selected = selectedEntry() != nullptr;
    modeGroup_->setEnabled(selected);
    levelGroup_->setEnabled(selected);
    okButton()->setEnabled(selected);
}

void SaltAndPepperDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    SaltAndPepperParams params;
    params.mode = pepperButton_->isChecked()          ? Mode::Pepper
                  : saltAndPepperButton_->isChecked() ? Mode::SaltAndPepper
                                                      : Mode::Salt;
    params.percent = levelSlider_->value();
    const Image& image = static_cast<const Image&>(*source->data());
    auto result =
        runOperator([&](const Progress& progress) { return OPSaltAndPepper().execute(image, params, progress); });
    if (!result)
        return; // cancelled: nothing added, the counter stays
    const int run = runCounters().next(counter);
    addResult(*source, std::move(*result), QString::fromStdString(OPSaltAndPepper::resultName(run, params)), "salt-pepper", params);
    runCounters().count(counter);
    finish();
}

QString SaltAndPepperDialog::helpText() const
{
    return tr(
        "<b><i>Salt-and-Pepper-Noise</i></b><br><br><table><tr><td>1.</td><td>First choose an image (RGB or Gray) "
        "from the listbox by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2."
        "</td><td>Choose Salt- and/or Pepper-Noise and a noise level.<br></td></tr><tr><td>3.</td><td>Press OK to "
        "execute the Operator.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image (RGB or Gray)</td>"
        "</tr><tr><td>Result:</td><td>noisy image (RGB or Gray)</td></tr></table><hr><br>");
}

} // namespace ivra
