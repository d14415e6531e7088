#pragma once

#include "UISplit.h"

namespace ivra {

// Split: one gray picture per ticked channel of an RGB or HSV picture, named
// after the channel. A channel already split off the same picture (a child of
// that name exists) is not added again.
class DISplit : public UISplit {
    Q_OBJECT

public:
    explicit DISplit(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;
};

} // namespace ivra
