#pragma once

#include "ipcCodeelementBase.h"
#include "ipcConflict.h"
#include "ipcIslandHierarchy.h"
#include "ipcSimilarityHSV.h"
#include "ipcSimilarityRGB.h"
#include "util/Progress.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ivra {

// The bottom-up phase of the Colour Structure Code. Level 0 groups the pixels of each
// level-0 island into connected sets of similar colour; every higher level links
// similar elements of the seven child islands that share an overlap into elements of
// the parent island. After each level >= 2 the overlap conflicts it recorded are
// resolved top-down. Elements that never get a parent remain region roots.
class ipcCSCEngine {
public:
    ipcCSCEngine(const ipcIslandHierarchy& hierarchy, ipcCodeelementBase& store, int splitMode);
    virtual ~ipcCSCEngine() = default;
    ipcCSCEngine(const ipcCSCEngine&) = delete;
    ipcCSCEngine& operator=(const ipcCSCEngine&) = delete;

    // Pixel window: columns x0 <= x < x1, rows y0 <= y < y1.
    void setWindow(int x0, int y0, int x1, int y1);
    int x0() const { return x0_; }
    int y0() const { return y0_; }
    int x1() const { return x1_; }
    int y1() const { return y1_; }

    // Resets the store and builds all levels. Pixels are row-major with `stride` pixels
    // per row: 3 bytes R, G, B per pixel (RGB) or one HSVPixel (HSV). Throws
    // ipcCodeelementBaseOverrun when the store fills up and ivra::Cancelled on cancel.
    virtual void run(const void* pixels, int stride, const ivra::Progress& progress) = 0;

    // Lends the engine a buffer that the caller does not need during run(): the level-0
    // phase keeps its pixel-pair plane there when it fits, instead of faulting in fresh
    // memory. Its contents are overwritten. Null (the default) means none.
    void lendScratch(void* data, std::size_t bytes)
    {
        scratch_ = static_cast<std::uint8_t*>(data);
        scratchBytes_ = data ? bytes : 0;
    }

protected:
    const ipcIslandHierarchy& hierarchy_;
    ipcCodeelementBase& store_;
    int splitMode_;
    int x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
    std::vector<ipcConflict> conflicts_; // first in, first out; empty between levels
    std::uint8_t* scratch_ = nullptr;
    std::size_t scratchBytes_ = 0;
};

class ipcCSCEngineRGB : public ipcCSCEngine {
public:
    ipcCSCEngineRGB(const ipcIslandHierarchy& hierarchy, ipcCodeelementBase& store,
                    const ipcSimilarityRGB& similarity, int splitMode);
    void run(const void* pixels, int stride, const ivra::Progress& progress) override;

private:
    const ipcSimilarityRGB& similarity_;
};

class ipcCSCEngineHSV : public ipcCSCEngine {
public:
    ipcCSCEngineHSV(const ipcIslandHierarchy& hierarchy, ipcCodeelementBase& store,
                    const ipcSimilarityHSV& similarity, int splitMode);
    void run(const void* pixels, int stride, const ivra::Progress& progress) override;

private:
    const ipcSimilarityHSV& similarity_;
};

} // namespace ivra
