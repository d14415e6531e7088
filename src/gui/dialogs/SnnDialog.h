#pragma once

#include "app/OperatorDialog.h"

class QSpinBox;

namespace ivra {

// The symmetric nearest neighbour filter on an RGB picture, applied a chosen
// number of times. The result is named "(%1) SNN [Iterations=%2]" with the
// operator's run number.
class SnnDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit SnnDialog(QWidget* parent);

public slots:
    void execute() override;

protected:
    QString helpText() const override;

private:
    QSpinBox* iterationSpin_;
};

} // namespace ivra
