#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QRadioButton;
class QSpinBox;

namespace ivra {

// Color Structure Code: segments a colour picture with the RGB (Euclidean
// distance below a threshold) or the HSV (tabular) similarity; the result is
// named "(n) CSC RGB [Threshold=t]" or "(n) CSC HSV". When the element store
// overflows the result is still added (black, every label 0) and the user is
// told that the segmentation is incomplete.
class CscDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit CscDialog(QWidget* parent);

    // The element store's capacity factor (4 elements per island); tests lower it to
    // provoke an overflow.
    void setElementsPerIsland(double elementsPerIsland) { elementsPerIsland_ = elementsPerIsland; }

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    QGroupBox* similarityGroup_;
    QRadioButton* rgbButton_;
    QRadioButton* hsvButton_;
    QSpinBox* thresholdSpin_;
    double elementsPerIsland_ = 4.0;
};

} // namespace ivra
