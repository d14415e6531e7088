#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QSpinBox;

namespace ivra {

// Gauss noise on a gray or RGB picture: the group "Parameter" with the mean and
// the variance. The result is named "Gauss Noise [mean=%1, variance=%2]" (this
// dialog keeps no run counter).
class GaussDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit GaussDialog(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    QGroupBox* parameterGroup_;
    QSpinBox* meanSpin_;
    QSpinBox* varianceSpin_;
};

} // namespace ivra
