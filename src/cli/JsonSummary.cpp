#include "JsonSummary.h"

#include "image/Histogram.h"
#include "image/ImageSegmented.h"
#include "segment/RegionMeasurements.h"

#include <algorithm>
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

std::size_t distinctLabels(const Array2D<std::uint32_t>& labels)
{
    std::vector<std::uint32_t> values(labels.data(), labels.data() + labels.size());
    std::sort(values.begin(), values.end());
    return static_cast<std::size_t>(std::unique(values.begin(), values.end()) - values.begin());
}

} // namespace

std::string jsonSummary(const StepResult& result, const std::vector<StepTiming>& timings)
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
    if (const ImageSegmented* segmentation = segmentationOf(data))
        j += ", \"labels\": " + std::to_string(distinctLabels(segmentation->labels)) +
             ", \"regions\": " + std::to_string(countRegions(segmentation->labels));
    j += ", \"steps\": [";
    for (std::size_t i = 0; i < timings.size(); ++i) {
        char ms[64];
        std::snprintf(ms, sizeof ms, "%.3f", timings[i].ms);
        j += (i ? ", " : "") + std::string("{\"name\": ") + jsonString(timings[i].name) + ", \"ms\": " + ms + "}";
    }
    return j + "]}";
}

} // namespace ivra::cli
