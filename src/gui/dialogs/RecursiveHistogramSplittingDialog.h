#pragma once

#include "app/OperatorDialog.h"

class QSpinBox;

namespace ivra {

// Recursive Histogram Splitting: segments a colour picture with the GT window,
// Min.Region and Min.Peak thresholds; the result is named
// "(n) RHS [GT=.., MinSplitPeak=.., MinRegionSize=..]".
class RecursiveHistogramSplittingDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit RecursiveHistogramSplittingDialog(QWidget* parent);

public slots:
    void execute() override;

protected:
    QString helpText() const override;

private:
    QSpinBox* gtWindowSpin_;
    QSpinBox* minRegionSizeSpin_;
    QSpinBox* minSplitPeakSpin_;
};

} // namespace ivra
