#include "JsonSummary.h"

#include "image/Histogram.h"
#include "image/ImageSegmented.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstdio>

namespace ivra::cli {

namespace {

std::string jsonString(const std::string& s)
{
    std::string out = "\"";
    for (const unsigned char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

struct LabelCounts {
    std::size_t labels;  // distinct labels
    std::size_t regions; // distinct labels other than 0
};

// One pass over the labels marking each in a bitmap of one bit per pixel (labels
// of a segmentation number its regions, so they stay below the pixel count);
// any larger label is counted apart.
LabelCounts countLabels(const Array2D<std::uint32_t>& labels)
{
    const std::uint32_t* l = labels.data();
    const std::size_t n = labels.size();
    std::vector<std::uint64_t> seen(n / 64 + 1, 0);
    const std::uint64_t limit = seen.size() * 64;
    std::vector<std::uint32_t> large;
    for (std::size_t i = 0; i < n; ++i) {
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

std::string jsonSummary(const StepResult& result, const std::vector<StepTiming>& timings, int threads)
{
    const DataObject& data = *result.data;
    std::string j = "{\"type\": " + std::to_string(data.type());
    if (const auto* histogram = dynamic_cast<const Histogram*>(&data)) {
        j += ", \"bins\": " + std::to_string(histogram->binCount());
    } else {
        const auto& image = static_cast<const Image&>(data);
        j += ", \"width\": " + std::to_string(image.width()) + ", \"height\": " + std::to_string(image.height());
    }
    j += ", \"name\": " + jsonString(result.name);
    if (!result.more.empty()) {
        j += ", \"names\": [" + jsonString(result.name);
        for (const StepResult& r : result.more)
            j += ", " + jsonString(r.name);
        j += "]";
    }
    if (const ImageSegmented* segmentation = segmentationOf(data)) {
        const LabelCounts counts = countLabels(segmentation->labels);
        j += ", \"labels\": " + std::to_string(counts.labels) + ", \"regions\": " + std::to_string(counts.regions);
    }
    j += ", \"threads\": " + std::to_string(threads);
    j += ", \"steps\": [";
    for (std::size_t i = 0; i < timings.size(); ++i) {
        char ms[64];
        std::snprintf(ms, sizeof ms, "%.3f", timings[i].ms);
        j += (i ? ", " : "") + std::string("{\"name\": ") + jsonString(timings[i].name) + ", \"ms\": " + ms + "}";
    }
    return j + "]}";
}

} // namespace ivra::cli
