#include "DIRegionGrowing.h"

#include "app/DataEntry.h"

#include "image/ImageSegmented.h"
#include "segment/OPRegionGrowing.h"

#include <QGroupBox>
#include <QPushButton>
#include <QSpinBox>

#include <optional>

namespace ivra {

DIRegionGrowing::DIRegionGrowing(QWidget* parent) : UIRegionGrowing(parent)
{
    updateView();
}

void DIRegionGrowing::updateView()
{
    const bool chosen = selectedEntry() != nullptr;
    GroupBoxParameter->setEnabled(chosen);
    okButton()->setEnabled(chosen);
}

void DIRegionGrowing::execute()
{
    DataEntry* source = sourceOrComplain();
    if (!source)
        return;
    const int span = SpinBoxSpan->value();
    const DataObject* data = source->data();
    std::optional<std::unique_ptr<ImageSegmented>> result;
    if (const auto* gray = dynamic_cast<const ImageGray*>(data))
        result = runOperator([&](const ivra::Progress& p) { return OPRegionGrowing().execute(*gray, span, p); });
    else if (const auto* rgb = dynamic_cast<const ImageRGB*>(data))
        result = runOperator([&](const ivra::Progress& p) { return OPRegionGrowing().execute(*rgb, span, p); });
    else {
        finish(); // nothing to compute for another type
        return;
    }
    if (!result)
        return; // cancelled: nothing added
    addResult(*source, std::move(*result), QStringLiteral("Region Growing"));
    finish();
}

QString DIRegionGrowing::helpText() const
{
    return QStringLiteral(
        "<b><i>Region-Growing</i></b><br><br><table><tr><td>1.</td><td>First choose an image (RGB or Gray) from the "
        "listbox by selecting with the left mouse button (just click on the image name).</td></tr><tr><td>2.</td>"
        "<td>The parameter 'span' is the maximum euclidean distance of colors/gray-values which decides wether the "
        "actual pixel is matched to which growing region.</td></tr><tr><td>3.</td><td>Press OK to execute the Region "
        "Growing.</td></tr></table><br><hr><br><table><tr><td>Input:</td><td>image (RGB or Gray)</td></tr><tr><td>"
        "Result:</td><td>segmented image (RGB)</td></tr></table><hr><br>");
}

} // namespace ivra
