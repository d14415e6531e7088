#pragma once

#include "UIColorTransform.h"

namespace ivra {

// Color Transform: RGB -> HSV (result "HSV"), HSV -> RGB and Gray -> RGB (result
// "RGB"). The selected picture's type enables exactly one of the three transforms.
class DIColorTransform : public UIColorTransform {
    Q_OBJECT

public:
    explicit DIColorTransform(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;
};

} // namespace ivra
