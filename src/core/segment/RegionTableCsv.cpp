#include "RegionTableCsv.h"

#include <charconv>

namespace ivra {

namespace {

template <class T>
void append(std::string& out, T value)
{
    char buf[64];
    std::to_chars_result r;
    if constexpr (std::is_floating_point_v<T>)
        r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 6);
    else
        r = std::to_chars(buf, buf + sizeof buf, value);
    out.append(buf, r.ptr);
}

} // namespace

std::string regionTableCsv(const std::vector<RegionMeasurement>& regions)
{
    std::string out = "label,pixels,x_min,y_min,x_max,y_max,centroid_x,centroid_y,mean_red,mean_green,mean_blue,"
                      "region_red,region_green,region_blue,perimeter\n";
    out.reserve(out.size() + regions.size() * 96);
    for (const RegionMeasurement& m : regions) {
        auto field = [&out](auto value, char end) {
            append(out, value);
            out += end;
        };
        field(m.label, ',');
        field(m.pixels, ',');
        field(m.xMin, ',');
        field(m.yMin, ',');
        field(m.xMax, ',');
        field(m.yMax, ',');
        field(m.centroidX, ',');
        field(m.centroidY, ',');
        field(m.meanRed, ',');
        field(m.meanGreen, ',');
        field(m.meanBlue, ',');
        field(m.regionRed, ',');
        field(m.regionGreen, ',');
        field(m.regionBlue, ',');
        field(m.perimeter, '\n');
    }
    return out;
}

} // namespace ivra
