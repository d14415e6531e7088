#include "LinkingEngine.h"

#include "ConflictResolution.h"
#include "Levels.h"
#include "SpaceHSV.h"
#include "SpaceRGB.h"

namespace ivra::csc {

LinkingEngine::LinkingEngine(const IslandHierarchy& hierarchy, ElementStore& store, int splitMode)
    : hierarchy_(hierarchy), store_(store), splitMode_(splitMode)
{
    setWindow(0, 0, hierarchy.coveredSize(), hierarchy.coveredSize());
}

void LinkingEngine::setWindow(int x0, int y0, int x1, int y1)
{
    x0_ = x0;
    y0_ = y0;
    x1_ = x1;
    y1_ = y1;
}

template <class V>
void LinkingEngine::runLevels(const V& space, const void* pixels, int stride, const ivra::Progress& progress)
{
    detail::LinkingContext<V> c(hierarchy_, store_, space, splitMode_, conflicts_, {x0_, y0_, x1_, y1_}, progress,
                                {scratch_, scratchBytes_}, {laterScratch_, laterScratchBytes_});
    store_.reset();
    conflicts_.clear();
    detail::buildLevelZero(c, static_cast<const std::uint8_t*>(pixels), stride);
    for (int level = 1; level < hierarchy_.levels(); ++level) {
        if (level == 1)
            detail::linkLevelOne(c);
        else
            detail::linkUpperLevel(c, level);
        if (!conflicts_.empty())
            resolveConflicts(store_, conflicts_, V::closer);
    }
}

LinkingEngineRGB::LinkingEngineRGB(const IslandHierarchy& hierarchy, ElementStore& store,
                                   const SimilarityRGB& similarity, int splitMode)
    : LinkingEngine(hierarchy, store, splitMode), similarity_(similarity)
{
}

void LinkingEngineRGB::run(const void* pixels, int stride, const ivra::Progress& progress)
{
    runLevels(detail::SpaceRGB{similarity_}, pixels, stride, progress);
}

LinkingEngineHSV::LinkingEngineHSV(const IslandHierarchy& hierarchy, ElementStore& store,
                                   const SimilarityHSV& similarity, int splitMode)
    : LinkingEngine(hierarchy, store, splitMode), similarity_(similarity)
{
}

void LinkingEngineHSV::run(const void* pixels, int stride, const ivra::Progress& progress)
{
    runLevels(detail::SpaceHSV{similarity_}, pixels, stride, progress);
}

} // namespace ivra::csc
