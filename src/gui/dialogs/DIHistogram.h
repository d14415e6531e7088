#pragma once

#include "UIHistogram.h"

namespace ivra {

// Histogram: the gray-level histogram of a gray picture in 16..256 bins, added
// as "Histogram". Levels and OK are enabled while a gray picture is selected.
class DIHistogram : public UIHistogram {
    Q_OBJECT

public:
    explicit DIHistogram(QWidget* parent);

    // The bin count of the checked button (the last checked in the order 16..256);
    // 256 when none is.
    int bins() const;

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;
};

} // namespace ivra
