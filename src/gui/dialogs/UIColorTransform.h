#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QRadioButton;

namespace ivra {

// The Color Transform dialog's form: the image list, the button group with one
// radio button per transform, and the buttons.
class UIColorTransform : public OperatorDialog {
    Q_OBJECT

public:
    explicit UIColorTransform(QWidget* parent);

    QGroupBox* ButtonGroup;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
};

} // namespace ivra
