#pragma once

#include "app/OperatorDialog.h"

class QComboBox;
class QGroupBox;
class QRadioButton;
class QSpinBox;

namespace ivra {

// The colour histogram dialog's form: the image list, one group of histogram
// kinds for RGB and one for HSV pictures (each kind a radio button with its bins
// chooser beside it), and the buttons. A radio button enables its own chooser
// while it is checked.
class UIColorHistogram : public OperatorDialog {
    Q_OBJECT

public:
    explicit UIColorHistogram(QWidget* parent);

    QGroupBox* ButtonGroupRGB;
    QRadioButton* RadioButtonDynamicRGB;
    QSpinBox* SpinBoxDynamicRGB;
    QRadioButton* RadioButtonStaticRGB;
    QComboBox* ComboBoxStaticRGB;
    QRadioButton* RadioButtonFuzzyRGB;
    QComboBox* ComboBoxFuzzyRGB;
    QRadioButton* RadioButtonChannelRGB;
    QComboBox* ComboBoxChannelRGB;

    QGroupBox* ButtonGroupHSV;
    QRadioButton* RadioButtonDynamicHSV;
    QSpinBox* SpinBoxDynamicHSV;
    QRadioButton* RadioButtonStaticHSV;
    QComboBox* ComboBoxStaticHSV;
    QRadioButton* RadioButtonFuzzyHSV;
    QComboBox* ComboBoxFuzzyHSV;
    QRadioButton* RadioButtonChannelHSV;
    QComboBox* ComboBoxChannelHSV;
};

} // namespace ivra
