#pragma once

#include "app/OperatorDialog.h"

#include <array>

class QGroupBox;
class QRadioButton;

namespace ivra {

// Color Transform: RGB -> HSV (result "HSV"), HSV -> RGB and Gray -> RGB (result
// "RGB"), one radio button each. The selected picture's type enables exactly one
// of the three transforms.
class ColorTransformDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit ColorTransformDialog(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    QGroupBox* transformGroup_;
    // RGB -> HSV, HSV -> RGB, Gray -> RGB.
    std::array<QRadioButton*, 3> transformButtons_;
};

} // namespace ivra
