#pragma once

#include "UIGauss.h"

namespace ivra {

// Gauss noise on a gray or RGB picture; the result is named
// "Gauss Noise [mean=%1, variance=%2]" (this dialog keeps no run counter).
class DIGauss : public UIGauss {
    Q_OBJECT

public:
    explicit DIGauss(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;
};

} // namespace ivra
