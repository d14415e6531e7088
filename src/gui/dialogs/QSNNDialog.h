#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QLabel;
class QSpinBox;

namespace ivra {

// The symmetric nearest neighbour filter on an RGB picture, applied a chosen
// number of times. The result is named "(%1) SNN [Iterations=%2]" with the
// dialog's run counter.
class QSNNDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit QSNNDialog(QWidget* parent);

    // Process-wide, starts at 1, never reset; raised by every run that adds a result.
    static inline int runCounter = 1;

    QGroupBox* parametersGroup;
    QLabel* iterationLabel;
    QSpinBox* iterationSpin;

public slots:
    void execute() override;

protected:
    QString helpText() const override;
};

} // namespace ivra
