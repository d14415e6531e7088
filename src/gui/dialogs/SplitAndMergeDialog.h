#pragma once

#include "app/OperatorDialog.h"

class QSpinBox;

namespace ivra {

// Split-And-Merge: segments a colour picture with the split, merge and grouping
// thresholds; the result is named "(n) SMG [Split=.., Merge=.., Group=..]".
class SplitAndMergeDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit SplitAndMergeDialog(QWidget* parent);

public slots:
    void execute() override;

protected:
    QString helpText() const override;

private:
    QSpinBox* splitSpin_;
    QSpinBox* mergeSpin_;
    QSpinBox* groupSpin_;
};

} // namespace ivra
