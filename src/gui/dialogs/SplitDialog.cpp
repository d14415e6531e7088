#include "SplitDialog.h"

#include "app/DataEntry.h"

#include "ops/OPSplit.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ivra {

SplitDialog::SplitDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Split"), tr("OK"), {TypeImageRGB, TypeImageHSV})
{
    setObjectName(QStringLiteral("Split"));
    channelGroup_ = new QGroupBox(tr("Open View"), this);
    channelGroup_->setObjectName(QStringLiteral("GroupBoxView"));
    auto* box = new QVBoxLayout(channelGroup_);
    const QString texts[3] = {tr("Red-Channel"), tr("Green-Channel"), tr("Blue-Channel")};
    for (int c = 0; c < 3; ++c) {
        channelBoxes_[c] = new QCheckBox(texts[c], channelGroup_);
        channelBoxes_[c]->setObjectName(QStringLiteral("checkBox%1").arg(c + 1));
        box->addWidget(channelBoxes_[c]);
    }
    parameterLayout()->addWidget(channelGroup_, 0, 0);
    updateView();
}

void SplitDialog::updateView()
{
    DataEntry* entry = selectedEntry();
    okButton()->setEnabled(entry != nullptr);
    channelGroup_->setEnabled(entry != nullptr);
    if (!entry)
        return;
    const bool hsv = entry->type() == TypeImageHSV;
    channelBoxes_[0]->setText(hsv ? tr("Hue-Channel") : tr("Red-Channel"));
    channelBoxes_[1]->setText(hsv ? tr("Saturation-Channel") : tr("Green-Channel"));
    channelBoxes_[2]->setText(hsv ? tr("Value-Channel") : tr("Blue-Channel"));
}

void SplitDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    if (std::none_of(channelBoxes_.begin(), channelBoxes_.end(), [](const QCheckBox* b) { return b->isChecked(); })) {
        QMessageBox::critical(this, tr("Error !"), tr("Please tick at least one channel to split."));
        return;
    }
    const Image& image = static_cast<const Image&>(*source->data());
    for (int c = 0; c < 3; ++c) {
        SplitParams params;
        params.plane = c;
        const QString name = QString::fromStdString(OPSplit::resultName(source->type(), params));
        if (channelBoxes_[c]->isChecked() && !source->hasChildNamed(name))
            addResult(*source, OPSplit().execute(image, params), name, "split", params);
    }
    finish();
}

QString SplitDialog::helpText() const
{
    return tr(
        "<b><i>Split</i></b><br><br><table><tr><td>1.</td><td>First choose an image from the listbox by selecting "
        "with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>Depending on the "
        "color space of the selected image, a check-box for each color-channel appear, e.g.if the selected image is "
        "a hsv-image three check-boxes for hue, saturation, and value appear.</td></tr><tr><td>3.</td><td>Activate "
        "one or more color-channels by mouseclick in the check-box.</td></tr><tr><td>4.</td><td>Press OK to "
        "execute the Split.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>color-image (RGB or "
        "HSV)</td></tr><tr><td>Result:</td><td>a gray-image for each selected color-channel</td></tr></table><hr><br>");
}

} // namespace ivra
