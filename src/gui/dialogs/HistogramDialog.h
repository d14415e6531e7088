#pragma once

#include "app/OperatorDialog.h"

#include <array>

class QGroupBox;
class QRadioButton;

namespace ivra {

// Histogram: the gray-level histogram of a gray picture in 16..256 bins (one
// radio button per bin count), added as "Histogram". The levels and OK are
// enabled while a gray picture is selected.
class HistogramDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit HistogramDialog(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    // The bin count of the checked button (the last checked in the order 16..256);
    // the default when none is.
    int bins() const;

    QGroupBox* levelGroup_;
    // 16, 32, 64, 128 and 256 levels.
    std::array<QRadioButton*, 5> levelButtons_;
};

} // namespace ivra
