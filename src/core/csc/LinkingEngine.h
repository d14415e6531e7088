#pragma once

#include "Conflict.h"
#include "ElementStore.h"
#include "IslandHierarchy.h"
#include "SimilarityHSV.h"
#include "SimilarityRGB.h"
#include "util/Progress.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ivra::csc {

// The bottom-up phase of the Colour Structure Code. Level 0 groups the pixels of each
// level-0 island into connected sets of similar colour; every higher level links
// similar elements of the seven child islands that share an overlap into elements of
// the parent island. After each level >= 2 the overlap conflicts it recorded are
// resolved top-down. Elements that never get a parent remain region roots.
// The phases live in LevelZero.cpp, LevelOne.cpp and UpperLevels.cpp.
class LinkingEngine {
public:
    LinkingEngine(const IslandHierarchy& hierarchy, ElementStore& store, int splitMode);
    virtual ~LinkingEngine() = default;
    LinkingEngine(const LinkingEngine&) = delete;
    LinkingEngine& operator=(const LinkingEngine&) = delete;

    // Pixel window: columns x0 <= x < x1, rows y0 <= y < y1.
    void setWindow(int x0, int y0, int x1, int y1);

    // Resets the store and builds all levels. Pixels are row-major with `stride` pixels
    // per row: 3 bytes R, G, B per pixel (RGB) or one HSVPixel (HSV). Throws
    // ElementStoreOverrun when the store fills up and ivra::Cancelled on cancel.
    virtual void run(const void* pixels, int stride, const ivra::Progress& progress) = 0;

    // Lends the engine a buffer that the caller does not need during run(): the level-0
    // phase keeps its pixel-pair plane there when it fits, instead of faulting in fresh
    // memory. Its contents are overwritten. Null (the default) means none.
    void lendScratch(void* data, std::size_t bytes)
    {
        scratch_ = static_cast<std::uint8_t*>(data);
        scratchBytes_ = data ? bytes : 0;
    }
    // Lends a buffer that the caller does not need once level 0 is built (the level-0
    // scratch, or the pixels themselves): the levels above, linked on several threads,
    // keep their pieces there instead of in fresh memory. Null (the default) means none.
    void lendLaterScratch(void* data, std::size_t bytes)
    {
        laterScratch_ = static_cast<std::uint8_t*>(data);
        laterScratchBytes_ = data ? bytes : 0;
    }

protected:
    // Runs all levels with the colour space V (SpaceRGB or SpaceHSV).
    template <class V>
    void runLevels(const V& space, const void* pixels, int stride, const ivra::Progress& progress);

private:
    const IslandHierarchy& hierarchy_;
    ElementStore& store_;
    int splitMode_;
    int x0_ = 0, y0_ = 0, x1_ = 0, y1_ = 0;
    std::vector<Conflict> conflicts_; // first in, first out; empty between levels
    std::uint8_t* scratch_ = nullptr;
    std::size_t scratchBytes_ = 0;
    std::uint8_t* laterScratch_ = nullptr;
    std::size_t laterScratchBytes_ = 0;
};

class LinkingEngineRGB : public LinkingEngine {
public:
    LinkingEngineRGB(const IslandHierarchy& hierarchy, ElementStore& store, const SimilarityRGB& similarity,
                     int splitMode);
    void run(const void* pixels, int stride, const ivra::Progress& progress) override;

private:
    const SimilarityRGB& similarity_;
};

class LinkingEngineHSV : public LinkingEngine {
public:
    LinkingEngineHSV(const IslandHierarchy& hierarchy, ElementStore& store, const SimilarityHSV& similarity,
                     int splitMode);
    void run(const void* pixels, int stride, const ivra::Progress& progress) override;

private:
    const SimilarityHSV& similarity_;
};

} // namespace ivra::csc
