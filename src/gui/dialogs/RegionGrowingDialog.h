#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QSpinBox;

namespace ivra {

// Region Growing on a gray or RGB picture: the group "Parameter" with the span.
// The result, a segmentation, is named "Region Growing". Unlike the other
// dialogs, its Info button is named PushButtonInfo and Cancel accepts the dialog.
class RegionGrowingDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit RegionGrowingDialog(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    QGroupBox* parameterGroup_;
    QSpinBox* spanSpin_;
};

} // namespace ivra
