#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class QSlider;

namespace ivra {

// The salt-and-pepper noise dialog's form: the image list, the button group
// "Mode of Noise", the group "Noise Level" with its slider, and the buttons.
class UISaltAndPepper : public OperatorDialog {
    Q_OBJECT

public:
    explicit UISaltAndPepper(QWidget* parent);

    QGroupBox* ButtonGroupMode;
    QRadioButton* RadioButtonSalt;
    QRadioButton* RadioButtonPepper;
    QRadioButton* RadioButtonSaltAndPepper;
    QGroupBox* GroupBoxView;
    QLabel* TextLabelMin;
    QSlider* SliderNoiseLevel;
    QLabel* TextLabelMax;
};

} // namespace ivra
