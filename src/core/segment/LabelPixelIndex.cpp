#include "LabelPixelIndex.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace ivra {

namespace {
constexpr std::uint32_t noSlot = std::numeric_limits<std::uint32_t>::max();
}

LabelPixelIndex::LabelPixelIndex(const Array2D<std::uint32_t>& labels)
{
    const std::size_t n = labels.size();
    if (n >= noSlot)
        throw std::length_error("label image too large to index");
    const std::uint32_t* l = labels.data();
    pixelSlots_.resize(n);

    std::uint32_t maxLabel = 0;
    for (std::size_t i = 0; i < n; ++i)
        maxLabel = std::max(maxLabel, l[i]);

    if (n > 0 && maxLabel <= n) {
        // Labels are region numbers up to the pixel count (every producer's case):
        // a table indexed by label maps each to its slot.
        denseSlots_.assign(static_cast<std::size_t>(maxLabel) + 1, 0);
        for (std::size_t i = 0; i < n; ++i)
            denseSlots_[l[i]] = 1;
        for (std::size_t label = 0; label <= maxLabel; ++label) {
            if (denseSlots_[label]) {
                denseSlots_[label] = static_cast<std::uint32_t>(labels_.size());
                labels_.push_back(static_cast<std::uint32_t>(label));
            } else {
                denseSlots_[label] = noSlot;
            }
        }
        for (std::size_t i = 0; i < n; ++i)
            pixelSlots_[i] = denseSlots_[l[i]];
    } else if (n > 0) {
        // Arbitrary 32-bit labels: distinct labels by sorting, slots by search.
        labels_.assign(l, l + n);
        std::sort(labels_.begin(), labels_.end());
        labels_.erase(std::unique(labels_.begin(), labels_.end()), labels_.end());
        for (std::size_t i = 0; i < n; ++i)
            pixelSlots_[i] = static_cast<std::uint32_t>(
                std::lower_bound(labels_.begin(), labels_.end(), l[i]) - labels_.begin());
    }

    // Counting sort of the pixel indices by slot keeps each region's pixels ascending.
    offsets_.assign(labels_.size() + 1, 0);
    for (std::size_t i = 0; i < n; ++i)
        ++offsets_[pixelSlots_[i] + 1];
    for (std::size_t s = 1; s < offsets_.size(); ++s)
        offsets_[s] += offsets_[s - 1];
    pixels_.resize(n);
    std::vector<std::uint32_t> next(offsets_.begin(), offsets_.end() - 1);
    for (std::size_t i = 0; i < n; ++i)
        pixels_[next[pixelSlots_[i]]++] = static_cast<std::uint32_t>(i);
}

std::size_t LabelPixelIndex::slotOf(std::uint32_t label) const
{
    if (!denseSlots_.empty()) {
        if (label >= denseSlots_.size() || denseSlots_[label] == noSlot)
            return npos;
        return denseSlots_[label];
    }
    const auto it = std::lower_bound(labels_.begin(), labels_.end(), label);
    return it != labels_.end() && *it == label ? static_cast<std::size_t>(it - labels_.begin()) : npos;
}

} // namespace ivra
