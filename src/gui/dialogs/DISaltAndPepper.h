#pragma once

#include "UISaltAndPepper.h"

namespace ivra {

// Salt-and-pepper noise on a gray or RGB picture; the result is named
// "(%1) Salt [Percent=%2%]", "(%1) Pepper [Percent=%2%]" or
// "(%1) Salt and Pepper [Percent=%2%]" with the dialog's run counter.
class DISaltAndPepper : public UISaltAndPepper {
    Q_OBJECT

public:
    explicit DISaltAndPepper(QWidget* parent);

    // Process-wide, starts at 1, never reset; raised by every run past the image
    // selection that was not cancelled.
    static inline int runCounter = 1;

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;
};

} // namespace ivra
