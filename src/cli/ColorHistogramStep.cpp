#include "Step.h"
#include "Steps.h"

#include "ops/OPColorHistogram.h"

namespace ivra::cli {

// color-histogram:kind=channel|static|fuzzy,bins=..,cube=2|4|8,layout=6x2+4|6x2+8
//
// The colour histogram dialog, one radio button per kind:
//  - RGB pictures (a segmentation result included): "3-Channel" is selected at
//    first, so kind defaults to channel; bins is ComboBoxChannelRGB (256 first),
//    cube picks "2x2x2", "4x4x4" or "8x8x8" of the Static or Static Fuzzy box
//    (2 first). layout is not offered.
//  - HSV pictures: "Static Fuzzy" is selected at first, so kind defaults to
//    fuzzy; bins is ComboBoxChannelHSV, layout picks "6x2+4" or "6x2+8" (the
//    first by default). static and fuzzy compute the same histogram under
//    different names. cube is not offered.
// bins is read only for kind=channel, cube and layout only for static and fuzzy;
// a key the chosen kind does not read is reported as unknown. "Dynamic" is
// disabled in the dialog for both picture types and has no kind here.
// The channel kind yields three histograms: red (hue) in data, then green and
// blue (saturation and value) in more.
StepResult stepColorHistogram(const DataObject& input, StepArgs& args)
{
    const int type = input.type();
    if (type != TypeImageRGB && type != TypeImageHSV)
        refuseInput(args.step(), input);
    const bool rgb = type == TypeImageRGB;
    const std::string kind = args.choice("kind", rgb ? "channel" : "fuzzy", {"channel", "static", "fuzzy"});

    if (kind == "channel") {
        const std::string bins =
            args.choice("bins", "256", {"256", "128", "64", "32", "16", "8", "4", "2"});
        args.finish();
        auto histograms = OPColorHistogram::channels(static_cast<const ImageColor&>(input), std::stoi(bins));
        const char* names[3] = {"Histogram Red ", "Histogram Green ", "Histogram Blue "};
        if (!rgb) {
            names[0] = "Histogram Hue ";
            names[1] = "Histogram Saturation ";
            names[2] = "Histogram Value ";
        }
        StepResult result{std::move(histograms[0]), names[0] + bins, {}};
        for (int c = 1; c < 3; ++c)
            result.more.push_back({std::move(histograms[static_cast<std::size_t>(c)]), names[c] + bins, {}});
        return result;
    }

    const bool fuzzy = kind == "fuzzy";
    if (rgb) {
        const std::string cube = args.choice("cube", "2", {"2", "4", "8"});
        args.finish();
        const int n = std::stoi(cube);
        const auto& image = static_cast<const ImageRGB&>(input);
        const std::string cells = cube + "x" + cube + "x" + cube;
        if (fuzzy)
            return {OPColorHistogram::fuzzyRGB(image, n), "Fuzzy RGB-Histogram " + cells, {}};
        return {OPColorHistogram::staticRGB(image, n, n, n), "Static RGB-Histogram " + cells, {}};
    }

    const std::string layout = args.choice("layout", "6x2+4", {"6x2+4", "6x2+8"});
    args.finish();
    const int grays = layout == "6x2+4" ? 4 : 8;
    const auto& image = static_cast<const ImageHSV&>(input);
    if (fuzzy)
        return {OPColorHistogram::fuzzyHSV(image, 6, 2, grays), "Fuzzy HSV-Histogram " + layout, {}};
    return {OPColorHistogram::staticHSV(image, 6, 2, grays), "Static HSV-Histogram " + layout, {}};
}

} // namespace ivra::cli
