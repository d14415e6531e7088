#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QLabel;
class QSpinBox;

namespace ivra {

// The Gauss noise dialog's form: the image list, the group "Parameter" with the
// mean and the variance, and the buttons.
class UIGauss : public OperatorDialog {
    Q_OBJECT

public:
    explicit UIGauss(QWidget* parent);

    QGroupBox* GroupBoxView;
    QLabel* TextLabelMue;
    QSpinBox* SpinBoxMue;
    QLabel* TextLabelSigma;
    QSpinBox* SpinBoxSigma;
};

} // namespace ivra
