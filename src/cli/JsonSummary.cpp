#include "JsonSummary.h"

#include "recipe/Recipe.h"

#include "image/Histogram.h"
#include "image/ImageSegmented.h"
#include "segment/RegionMeasurements.h"

#include <algorithm>
#include <cmath>

namespace ivra::cli {

namespace {

std::size_t distinctLabels(const Array2D<std::uint32_t>& labels)
{
    std::vector<std::uint32_t> values(labels.data(), labels.data() + labels.size());
    std::sort(values.begin(), values.end());
    return static_cast<std::size_t>(std::unique(values.begin(), values.end()) - values.begin());
}

} // namespace

std::string jsonFailure(const std::string& input, const std::string& reason)
{
    return recipe::oneLineJson({{"input", input}, {"error", reason}});
}

double roundedMs(double ms) { return std::round(ms * 1000.0) / 1000.0; }

std::string jsonSummary(const StepResult& result, const std::vector<StepTiming>& timings,
                        const nlohmann::ordered_json& before, const nlohmann::ordered_json& after)
{
    const DataObject& data = *result.data;
    nlohmann::ordered_json j = before;
    j["type"] = data.type();
    if (const auto* histogram = dynamic_cast<const Histogram*>(&data)) {
        j["bins"] = histogram->binCount();
    } else {
        const auto& image = static_cast<const Image&>(data);
        j["width"] = image.width();
        j["height"] = image.height();
    }
    j["name"] = result.name;
    if (!result.more.empty()) {
        j["names"] = nlohmann::ordered_json::array({result.name});
        for (const StepResult& r : result.more)
            j["names"].push_back(r.name);
    }
    if (const ImageSegmented* segmentation = segmentationOf(data)) {
        j["labels"] = distinctLabels(segmentation->labels);
        j["regions"] = countRegions(segmentation->labels);
    }
    j["steps"] = nlohmann::ordered_json::array();
    for (const StepTiming& t : timings)
        j["steps"].push_back({{"name", t.name}, {"ms", roundedMs(t.ms)}});
    j.update(after);
    return recipe::oneLineJson(j);
}

} // namespace ivra::cli
