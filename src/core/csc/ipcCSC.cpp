#include "ipcCSC.h"

#include <algorithm>

namespace ivra {

void ipcCSC::release()
{
    engine_.reset();
    store_.reset();
    hierarchy_.reset();
}

void ipcCSC::resize(int width, int height)
{
    if (width < 1 || height < 1) {
        release();
        return;
    }
    if (hierarchy_ && hierarchy_->levels() == ipcIslandHierarchy::levelsFor(width, height))
        return;
    release();
    hierarchy_ = std::make_unique<ipcIslandHierarchy>(width, height);
    store_ = std::make_unique<ipcCodeelementBase>(*hierarchy_, elementsPerIsland);
    engine_ = createEngine();
}

void ipcCSC::runPixels(int width, int height, const void* pixels, int x0, int y0, int w, int h,
                       const ivra::Progress& progress)
{
    resize(width, height);
    if (!engine_)
        return;
    const int size = hierarchy_->coveredSize();
    const auto end = [size](int origin, int extent, int limit) {
        return static_cast<int>(std::min<long long>({static_cast<long long>(origin) + extent, size, limit}));
    };
    engine_->setWindow(std::max(x0, 0), std::max(y0, 0), end(x0, w, width), end(y0, h, height));
    engine_->run(pixels, width, progress);
}

std::unique_ptr<ipcCSCEngine> ipcCSCRGB::createEngine()
{
    return std::make_unique<ipcCSCEngineRGB>(*hierarchy(), *store(), similarity, splitMode);
}

std::unique_ptr<ipcCSCEngine> ipcCSCHSV::createEngine()
{
    return std::make_unique<ipcCSCEngineHSV>(*hierarchy(), *store(), similarity, splitMode);
}

} // namespace ivra
