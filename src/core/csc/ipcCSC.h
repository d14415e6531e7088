#pragma once

#include "colour/ColourConversion.h"
#include "ipcCSCEngine.h"
#include "ipcCodeelementBase.h"
#include "ipcIslandHierarchy.h"
#include "ipcSimilarityHSV.h"
#include "ipcSimilarityRGB.h"
#include "util/Progress.h"

#include <cstdint>
#include <memory>

namespace ivra {

// One Colour Structure Code run: owns the predicate, the hierarchy, the element store
// and the engine. resize() builds the pyramid for a picture size, run() fills the
// store; the regions are then read from store() (CSCRegionOutput.h).
class ipcCSC {
public:
    virtual ~ipcCSC() = default;
    ipcCSC(const ipcCSC&) = delete;
    ipcCSC& operator=(const ipcCSC&) = delete;

    // Builds hierarchy, store and engine for the size; keeps them when the level count
    // does not change; releases them for a side below 1. Throws std::length_error for a
    // picture whose store would be too large.
    void resize(int width, int height);

    const ipcIslandHierarchy* hierarchy() const { return hierarchy_.get(); }
    ipcCodeelementBase* store() { return store_.get(); }
    const ipcCodeelementBase* store() const { return store_.get(); }
    ipcCSCEngine* engine() { return engine_.get(); }

    double elementsPerIsland = 4.0;
    int splitMode = 1;

protected:
    ipcCSC() = default;
    // The window is clipped to the picture and the covered square; throws
    // ipcCodeelementBaseOverrun when the store fills up.
    void runPixels(int width, int height, const void* pixels, int x0, int y0, int w, int h,
                   const ivra::Progress& progress);
    virtual std::unique_ptr<ipcCSCEngine> createEngine() = 0;

private:
    void release();

    // Declared so that the engine goes first, then the store, then the hierarchy.
    std::unique_ptr<ipcIslandHierarchy> hierarchy_;
    std::unique_ptr<ipcCodeelementBase> store_;
    std::unique_ptr<ipcCSCEngine> engine_;
};

// RGB variant: pixels are 3 bytes R, G, B; the threshold lives in the predicate.
class ipcCSCRGB : public ipcCSC {
public:
    ipcCSCRGB() = default;
    void run(int width, int height, const std::uint8_t* rgb, int x0, int y0, int w, int h,
             const ivra::Progress& progress = {})
    {
        runPixels(width, height, rgb, x0, y0, w, h, progress);
    }

    ipcSimilarityRGB similarity;

protected:
    std::unique_ptr<ipcCSCEngine> createEngine() override;
};

// HSV variant: pixels are HSVPixel words with hues 0..359.
class ipcCSCHSV : public ipcCSC {
public:
    ipcCSCHSV() = default;
    void run(int width, int height, const HSVPixel* hsv, int x0, int y0, int w, int h,
             const ivra::Progress& progress = {})
    {
        runPixels(width, height, hsv, x0, y0, w, h, progress);
    }

    ipcSimilarityHSV similarity;

protected:
    std::unique_ptr<ipcCSCEngine> createEngine() override;
};

} // namespace ivra
