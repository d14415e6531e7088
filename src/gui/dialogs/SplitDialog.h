#pragma once

#include "app/OperatorDialog.h"

#include <array>

class QCheckBox;
class QGroupBox;

namespace ivra {

// Split: one gray picture per ticked channel of an RGB or HSV picture (the group
// "Open View" with one check box per channel), named after the channel. A channel
// already split off the same picture (a child of that name exists) is not added
// again.
class SplitDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit SplitDialog(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    QGroupBox* channelGroup_;
    std::array<QCheckBox*, 3> channelBoxes_;
};

} // namespace ivra
