#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QLabel;
class QSpinBox;

namespace ivra {

// The Region Growing dialog's form: the image list, the group "Parameter" with
// the span, and the buttons. Unlike the other forms, its Info button is named
// PushButtonInfo and Cancel accepts the dialog.
class UIRegionGrowing : public OperatorDialog {
    Q_OBJECT

public:
    explicit UIRegionGrowing(QWidget* parent);

    QGroupBox* GroupBoxParameter;
    QLabel* TextLabelSpan;
    QSpinBox* SpinBoxSpan;
};

} // namespace ivra
