#pragma once

#include "app/OperatorDialog.h"

class QGroupBox;
class QLabel;
class QRadioButton;
class QSpinBox;

namespace ivra {

// The Kuwahara-Nagao filter on an RGB picture: the number of iterations and the
// colour space in which the mean colour is formed. The result is named
// "(%1) Kuwahara-Nagao [Iterations=%2]" with the dialog's run counter.
class QKuwaNagaDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit QKuwaNagaDialog(QWidget* parent);

    // Process-wide, starts at 1, never reset; raised by every run that adds a result.
    static inline int runCounter = 1;

    QLabel* iterationLabel;
    QSpinBox* iterationSpin;
    QGroupBox* colorspaceGroup;
    QRadioButton* rgbButton;
    QRadioButton* hsvButton;

public slots:
    void execute() override;

protected:
    QString helpText() const override;
};

} // namespace ivra
