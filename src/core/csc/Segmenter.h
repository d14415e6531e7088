#pragma once

#include "ElementStore.h"
#include "IslandHierarchy.h"
#include "LinkingEngine.h"
#include "SimilarityHSV.h"
#include "SimilarityRGB.h"
#include "color/ColorConversion.h"
#include "util/Progress.h"

#include <cstdint>
#include <memory>

namespace ivra::csc {

// One Colour Structure Code run: owns the predicate, the hierarchy, the element store
// and the engine. resize() builds the pyramid for a picture size, run() fills the
// store; the regions are then read from store() (RegionPainter.h).
class Segmenter {
public:
    virtual ~Segmenter() = default;
    Segmenter(const Segmenter&) = delete;
    Segmenter& operator=(const Segmenter&) = delete;

    // Builds hierarchy, store and engine for the size; keeps them when the level count
    // does not change; releases them for a side below 1. Throws std::length_error for a
    // picture whose store would be too large.
    void resize(int width, int height);

    const IslandHierarchy* hierarchy() const { return hierarchy_.get(); }
    ElementStore* store() { return store_.get(); }
    const ElementStore* store() const { return store_.get(); }
    LinkingEngine* engine() { return engine_.get(); }

    double elementsPerIsland = 4.0;
    int splitMode = 1;

protected:
    Segmenter() = default;
    // The window is clipped to the picture and the covered square; throws
    // ElementStoreOverrun when the store fills up.
    void runPixels(int width, int height, const void* pixels, int x0, int y0, int w, int h,
                   const ivra::Progress& progress);
    virtual std::unique_ptr<LinkingEngine> createEngine() = 0;

private:
    void release();

    // Declared so that the engine goes first, then the store, then the hierarchy.
    std::unique_ptr<IslandHierarchy> hierarchy_;
    std::unique_ptr<ElementStore> store_;
    std::unique_ptr<LinkingEngine> engine_;
};

// RGB variant: pixels are 3 bytes R, G, B; the threshold lives in the predicate.
class SegmenterRGB : public Segmenter {
public:
    SegmenterRGB() = default;
    void run(int width, int height, const std::uint8_t* rgb, int x0, int y0, int w, int h,
             const ivra::Progress& progress = {})
    {
        runPixels(width, height, rgb, x0, y0, w, h, progress);
    }

    SimilarityRGB similarity;

protected:
    std::unique_ptr<LinkingEngine> createEngine() override;
};

// HSV variant: pixels are HSVPixel words with hues 0..359.
class SegmenterHSV : public Segmenter {
public:
    SegmenterHSV() = default;
    void run(int width, int height, const HSVPixel* hsv, int x0, int y0, int w, int h,
             const ivra::Progress& progress = {})
    {
        runPixels(width, height, hsv, x0, y0, w, h, progress);
    }

    SimilarityHSV similarity;

protected:
    std::unique_ptr<LinkingEngine> createEngine() override;
};

} // namespace ivra::csc
