#pragma once

#include "image/Array2D.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace ivra {

// The pixels of a label image grouped by label, so that a viewer can repaint one
// region by touching only that region's pixels instead of scanning the picture.
// Each distinct label gets a dense slot 0, 1, ... in ascending label order; the
// slot of every pixel is kept too, for whole-picture repaints that look up a
// per-slot flag.
class LabelPixelIndex {
public:
    explicit LabelPixelIndex(const Array2D<std::uint32_t>& labels);

    // The distinct labels present, ascending; label(slot) == labels()[slot].
    const std::vector<std::uint32_t>& labels() const { return labels_; }
    std::size_t regionCount() const { return labels_.size(); }

    // Slot of a label, or npos when no pixel carries it.
    static constexpr std::size_t npos = static_cast<std::size_t>(-1);
    std::size_t slotOf(std::uint32_t label) const;

    // Pixel indices (y * width + x) of the region in a slot, ascending.
    std::span<const std::uint32_t> pixels(std::size_t slot) const
    {
        return {pixels_.data() + offsets_[slot], pixels_.data() + offsets_[slot + 1]};
    }
    // Slot of every pixel, by pixel index.
    const std::vector<std::uint32_t>& pixelSlots() const { return pixelSlots_; }

private:
    std::vector<std::uint32_t> labels_;     // slot -> label
    std::vector<std::uint32_t> offsets_;    // slot -> first entry in pixels_; one extra at the end
    std::vector<std::uint32_t> pixels_;     // pixel indices grouped by slot
    std::vector<std::uint32_t> pixelSlots_; // pixel index -> slot
    std::vector<std::uint32_t> denseSlots_; // label -> slot when labels are small numbers; empty otherwise
};

} // namespace ivra
