#pragma once

#include "UIColorHistogram.h"

namespace ivra {

// Color Histogram: per-channel, static or fuzzy RGB histograms of an RGB
// picture, per-channel or fuzzy HSV histograms of an HSV picture. The selected
// picture's type enables its group; "Dynamic" is never offered.
class DIColorHistogram : public UIColorHistogram {
    Q_OBJECT

public:
    explicit DIColorHistogram(QWidget* parent);

public slots:
    void execute() override;
    void updateView() override;

protected:
    QString helpText() const override;

private:
    // Each returns false when the user cancelled (nothing was added).
    bool addChannelHistograms(DataEntry& source, const QString& binsText, const QStringList& names);
    bool addRGBHistogram(DataEntry& source, bool fuzzy, const QString& cubeText);
    bool addHSVHistogram(DataEntry& source, bool fuzzy, const QString& layoutText);
};

} // namespace ivra
