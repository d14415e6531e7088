#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QSpinBox;

namespace ivra {

// Recursive Histogram Splitting: segments a colour picture with the GT window,
// Min.Region and Min.Peak thresholds; the result is named
// "(n) RHS [GT=.., MinSplitPeak=.., MinRegionSize=..]".
class QRHSDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit QRHSDialog(QWidget* parent);

    QGroupBox* parameterGroup() const { return parameterGroup_; }
    QSpinBox* gtWindowSpin() const { return gtWindowSpin_; }
    QSpinBox* minRegionSizeSpin() const { return minRegionSizeSpin_; }
    QSpinBox* minSplitPeakSpin() const { return minSplitPeakSpin_; }

public slots:
    void execute() override;

protected:
    QString helpText() const override;

private:
    QGroupBox* parameterGroup_;
    QSpinBox* gtWindowSpin_;
    QSpinBox* minRegionSizeSpin_;
    QSpinBox* minSplitPeakSpin_;
};

} // namespace ivra
