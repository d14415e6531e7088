#pragma once

#include "app/OperatorDialog.h"

class QRadioButton;
class QSpinBox;

namespace ivra {

// The Kuwahara-Nagao filter on an RGB picture: the number of iterations and the
// colour space in which the mean colour is formed. The result is named
// "(%1) Kuwahara-Nagao [Iterations=%2]" with the operator's run number.
class KuwaharaNagaoDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit KuwaharaNagaoDialog(QWidget* parent);

public slots:
    void execute() override;

protected:
    QString helpText() const override;

private:
    QSpinBox* iterationSpin_;
    QRadioButton* hsvButton_;
};

} // namespace ivra
