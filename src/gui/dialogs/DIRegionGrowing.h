#pragma once

#include "UIRegionGrowing.h"

namespace ivra {

// Region Growing on a gray or RGB picture; the result, a segmentation, is named
// "Region Growing".
class DIRegionGrowing : public UIRegionGrowing {
    Q_OBJECT

public:
    explicit DIRegionGrowing(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;
};

} // namespace ivra
