#include "JsonSummary.h"

#include "recipe/Recipe.h"

#include "image/Histogram.h"
#include "image/ImageSegmented.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ivra::cli {

namespace {

struct LabelCounts {
    std::size_t labels;  // distinct labels
    std::size_t regions; // distinct labels other than 0
};

// One pass over the labels. Regions are numbered from 1 and their pixels come in long
// runs, so only a label that differs from the one before is marked, in a bitmap that
// grows to the largest label seen (not to the pixel count: fresh memory costs page
// faults). Labels of at least the pixel count cannot number regions and are counted
// apart.
LabelCounts countLabels(const Array2D<std::uint32_t>& labels)
{
    const std::uint32_t* l = labels.data();
    const std::size_t n = labels.size();
    if (n == 0)
        return {0, 0};
    std::vector<std::uint64_t> seen;
    std::vector<std::uint32_t> large;
    const auto mark = [&](std::uint32_t v) {
        if (v >= n) {
            large.push_back(v);
            return;
        }
        const std::size_t word = v >> 6;
        if (word >= seen.size())
            seen.resize(std::max(word + 1, 2 * seen.size()), 0);
        seen[word] |= std::uint64_t{1} << (v & 63);
    };
    std::uint32_t previous = l[0];
    mark(previous);
    std::size_t i = 1;
    for (; i + 8 <= n; i += 8) {
        std::uint32_t differ = 0; // eight labels at once, vectorised
        for (std::size_t k = 0; k < 8; ++k)
            differ |= l[i + k] ^ previous;
        if (differ == 0)
            continue;
        for (std::size_t k = 0; k < 8; ++k)
            if (l[i + k] != previous)
                mark(previous = l[i + k]);
    }
    for (; i < n; ++i)
        if (l[i] != previous)
            mark(previous = l[i]);
    std::size_t count = 0;
    for (const std::uint64_t word : seen)
        count += static_cast<std::size_t>(std::popcount(word));
    std::sort(large.begin(), large.end());
    count += static_cast<std::size_t>(std::unique(large.begin(), large.end()) - large.begin());
    const bool zero = !seen.empty() && (seen[0] & 1) != 0;
    return {count, count - (zero ? 1 : 0)};
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
