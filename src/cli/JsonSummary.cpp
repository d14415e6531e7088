#include "JsonSummary.h"

#include "recipe/Recipe.h"

#include "image/Histogram.h"
#include "image/ImageSegmented.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace ivra::cli {

namespace {

struct LabelCounts {
    std::size_t labels;  // distinct labels
    std::size_t regions; // distinct labels other than 0
};

// One pass over the labels marking each in a bitmap of one bit per pixel (labels
// of a segmentation number its regions, so they stay below the pixel count);
// any larger label is counted apart. Regions run along rows, so a label like the
// one before it is skipped at the cost of a comparison.
LabelCounts countLabels(const Array2D<std::uint32_t>& labels)
{
    const std::uint32_t* l = labels.data();
    const std::size_t n = labels.size();
    std::vector<std::uint64_t> seen(n / 64 + 1, 0);
    const std::uint64_t limit = seen.size() * 64;
    std::vector<std::uint32_t> large;
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && l[i] == l[i - 1])
            continue;
        if (l[i] < limit)
            seen[l[i] >> 6] |= std::uint64_t{1} << (l[i] & 63);
        else
            large.push_back(l[i]);
    }
    std::size_t count = 0;
    for (const std::uint64_t word : seen)
        count += static_cast<std::size_t>(std::popcount(word));
    std::sort(large.begin(), large.end());
    count += static_cast<std::size_t>(std::unique(large.begin(), large.end()) - large.begin());
    return {count, count - static_cast<std::size_t>(seen[0] & 1)};
}

} // namespace

std::string jsonFailure(const std::string& input, const std::string& reason)
{
    return recipe::oneLineJson({{"input", input}, {"error", reason}});
}

double roundedMs(double ms) { return std::round(ms * 1000.0) / 1000.0; }

std::string jsonSummary(const StepResult& result, const std::vector<StepTiming>& timings, int threads,
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
        const LabelCounts counts = countLabels(segmentation->labels);
        j["labels"] = counts.labels;
        j["regions"] = counts.regions;
    }
    j["threads"] = threads;
    j["steps"] = nlohmann::ordered_json::array();
    for (const StepTiming& t : timings)
        j["steps"].push_back({{"name", t.name}, {"ms", roundedMs(t.ms)}});
    j.update(after);
    return recipe::oneLineJson(j);
}

} // namespace ivra::cli
