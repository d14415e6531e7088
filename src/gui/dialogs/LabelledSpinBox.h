#pragma once

#include <QString>

class QGridLayout;
class QSpinBox;

namespace ivra {

// Adds a row to a grid of a group box: the label, and beside it a spin box of the
// given object name, range and value whose buddy the label is (so the label's
// text names it for keyboard users and screen readers).
QSpinBox* addLabelledSpinBox(QGridLayout* grid, int row, const QString& label, const QString& objectName,
                             int minimum, int maximum, int value);

} // namespace ivra
