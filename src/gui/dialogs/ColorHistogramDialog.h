#pragma once

#include "app/OperatorDialog.h"

#include "ops/OPColorHistogram.h"

#include <QStringList>

#include <optional>

class QComboBox;
class QGroupBox;
class QRadioButton;
class QSpinBox;

namespace ivra {

// Color Histogram: per-channel, static or fuzzy RGB histograms of an RGB
// picture, per-channel, static or fuzzy HSV histograms of an HSV picture. One
// group of histogram kinds for each (each kind a radio button with its bins
// chooser beside it, enabled while the button is checked); the selected picture's
// type enables its group. "Dynamic" is never offered.
class ColorHistogramDialog : public OperatorDialog {
    Q_OBJECT

public:
    explicit ColorHistogramDialog(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    // One group: the kinds Dynamic, Static, Static Fuzzy and 3-Channel.
    struct KindGroup {
        QGroupBox* group = nullptr;
        QRadioButton* dynamicButton = nullptr;
        QSpinBox* dynamicSpin = nullptr;
        QRadioButton* staticButton = nullptr;
        QComboBox* staticCombo = nullptr;
        QRadioButton* fuzzyButton = nullptr;
        QComboBox* fuzzyCombo = nullptr;
        QRadioButton* channelButton = nullptr;
        QComboBox* channelCombo = nullptr;
    };
    // space: "RGB" or "HSV", the end of the widgets' object names; binChoices: the
    // static and fuzzy kinds' choices.
    KindGroup buildGroup(const QString& title, const QString& space, const QStringList& binChoices);

    // Checks the kind the operator starts with for pictures of this type.
    static void checkDefaultKind(KindGroup& g, int inputType);
    // The parameters of the checked kind in the group of the picture's type; none
    // for Dynamic.
    std::optional<ColorHistogramParams> chosenParams(int inputType) const;

    KindGroup rgb_;
    KindGroup hsv_;
};

} // namespace ivra
