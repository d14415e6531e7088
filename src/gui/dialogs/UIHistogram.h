#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QRadioButton;

namespace ivra {

// The gray-level histogram dialog's form: the image list, the group of bin
// counts and the buttons.
class UIHistogram : public OperatorDialog {
    Q_OBJECT

public:
    explicit UIHistogram(QWidget* parent);

    QGroupBox* ButtonGroupLevels;
    QRadioButton* RadioButton16;
    QRadioButton* RadioButton32;
    QRadioButton* RadioButton64;
    QRadioButton* RadioButton128;
    QRadioButton* RadioButton256;
};

} // namespace ivra
