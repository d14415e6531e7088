#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QRadioButton;
class QSlider;

namespace ivra {

// Salt-and-pepper noise on a gray or RGB picture: the button group "Mode of
// Noise" and the group "Noise Level" with its slider. The result is named
// "(%1) Salt [Percent=%2%]", "(%1) Pepper [Percent=%2%]" or
// "(%1) Salt and Pepper [Percent=%2%]" with the operator's run number.
class SaltAndPepperDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit SaltAndPepperDialog(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    void buildModeGroup();
    void buildLevelGroup();

    QGroupBox* modeGroup_ = nullptr;
    QRadioButton* saltButton_ = nullptr;
    QRadioButton* pepperButton_ = nullptr;
    QRadioButton* saltAndPepperButton_ = nullptr;
    QGroupBox* levelGroup_ = nullptr;
    QSlider* levelSlider_ = nullptr;
};

} // namespace ivra
