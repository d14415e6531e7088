#include "HistogramDialog.h"

#include "app/DataEntry.h"

#include "ops/OPHistogram.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace ivra {

namespace {

// Each level choice: its text, its button's object name and its bin count.
struct LevelChoice {
    const char* text;
    const char* name;
    int bins;
};

const LevelChoice levelChoices[5] = {
    {QT_TRANSLATE_NOOP("ivra::HistogramDialog", "  16 Levels"), "RadioButton16", 16},
    {QT_TRANSLATE_NOOP("ivra::HistogramDialog", "  32 Levels"), "RadioButton32", 32},
    {QT_TRANSLATE_NOOP("ivra::HistogramDialog", "  64 Levels"), "RadioButton64", 64},
    {QT_TRANSLATE_NOOP("ivra::HistogramDialog", "128 Levels"), "RadioButton128", 128},
    {QT_TRANSLATE_NOOP("ivra::HistogramDialog", "256 Levels"), "RadioButton256", 256},
};

} // namespace

HistogramDialog::HistogramDialog(QWidget* parent)
    : OperatorDialog(parent, tr("Histogram"), tr("OK"), {TypeImageGray})
{
    levelGroup_ = new QGroupBox(QString(), this);
    levelGroup_->setObjectName(QStringLiteral("ButtonGroupLevels"));
    levelGroup_->setAccessibleName(tr("Levels"));
    auto* box = new QVBoxLayout(levelGroup_);
    for (std::size_t i = 0; i < levelButtons_.size(); ++i) {
        levelButtons_[i] = new QRadioButton(tr(levelChoices[i].text), levelGroup_);
        levelButtons_[i]->setObjectName(QLatin1String(levelChoices[i].name));
        box->addWidget(levelButtons_[i]);
    }
    for (std::size_t i = 0; i < levelButtons_.size(); ++i)
        levelButtons_[i]->setChecked(levelChoices[i].bins == HistogramParams{}.bins);
    parameterLayout()->addWidget(levelGroup_, 0, 0);
    updateView();
}

void HistogramDialog::updateView()
{
    DataEntry* entry = selectedEntry();
    if (!entry) {
        levelGroup_->setEnabled(false);
        okButton()->setEnabled(false);
    } else if (entry->type() == TypeImageGray) {
        levelGroup_->setEnabled(true);
        okButton()->setEnabled(true);
    }
}

int HistogramDialog::bins() const
{
    int bins = HistogramParams{}.bins;
    for (std::size_t i = 0; i < levelButtons_.size(); ++i)
        if (levelButtons_[i]->isChecked())
            bins = levelChoices[i].bins;
    return bins;
}

void HistogramDialog::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    HistogramParams params;
    params.bins = bins();
    const Image& image = static_cast<const Image&>(*source->data());
    auto result = runOperator([&](const Progress& progress) { return OPHistogram::execute(image, params, progress); });
    if (!result)
        return;
    addResult(*source, std::move(*result), QString::fromStdString(OPHistogram::resultName(params)), "histogram", params);
    finish();
}

QString HistogramDialog::helpText() const
{
    return tr(
        "<b><i>Histogram</i></b><br><br><table><tr><td>1.</td><td>First choose a gray image from the listbox by "
        "selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td><td>Choose the "
        "number of bins of the (reduced) histogram.</td></tr><tr><td>3.</td><td>Press OK to calculate the "
        "histogram</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>gray-image</td></tr><tr><td>Result:"
        "</td><td>a (reduced) static histogram of the input image</td></tr></table><hr><br>");
}

} // namespace ivra
