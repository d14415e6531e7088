#pragma once

#include "app/OperatorDialog.h"

class QCheckBox;
class QGroupBox;

namespace ivra {

// The Split dialog's form: the image list, the group "Open View" with one check
// box per channel, and the buttons.
class UISplit : public OperatorDialog {
    Q_OBJECT

public:
    explicit UISplit(QWidget* parent);

    QGroupBox* GroupBoxView;
    QCheckBox* checkBox1;
    QCheckBox* checkBox2;
    QCheckBox* checkBox3;
};

} // namespace ivra
