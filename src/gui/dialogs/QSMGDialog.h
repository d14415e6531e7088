#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QSpinBox;

namespace ivra {

// Split-And-Merge: segments a colour picture with the split, merge and grouping
// thresholds; the result is named "(n) SMG [Split=.., Merge=.., Group=..]".
class QSMGDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit QSMGDialog(QWidget* parent);

    QGroupBox* parameterGroup() const { return parameterGroup_; }
    QSpinBox* splitSpin() const { return splitSpin_; }
    QSpinBox* mergeSpin() const { return mergeSpin_; }
    QSpinBox* groupSpin() const { return groupSpin_; }

public slots:
    void execute() override;

protected:
    QString helpText() const override;

private:
    QGroupBox* parameterGroup_;
    QSpinBox* splitSpin_;
    QSpinBox* mergeSpin_;
    QSpinBox* groupSpin_;
};

} // namespace ivra
