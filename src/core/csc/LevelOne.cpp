#include "Levels.h"

#include "LevelOneIsland.h"
#include "LevelPiece.h"
#include "SpaceHSV.h"
#include "SpaceRGB.h"
#include "util/Threads.h"

#include <algorithm>
#include <type_traits>

namespace ivra::csc::detail {

namespace {

// An island of total >= 2 child elements.
template <class Context>
void linkIsland(Context& c, const ChildRange* r, std::uint32_t total)
{
    using V = std::remove_const_t<decltype(c.space)>;
    if (total == 7 && linkWholeIsland<V>(c, r))
        return;
    LevelOneIsland<V, Context>(c, r).link();
}

template <class V>
void linkOnOneThread(LinkingContext<V>& c)
{
    c.forEachIsland(1, [&c](const ChildRange* r, std::uint32_t total) {
        if (total < 2)
            return;
        // An element takes at least two of the children's elements, each once.
        c.reserve(total);
        linkIsland(c, r, total);
    });
}

} // namespace

template <class V>
void linkLevelOne(LinkingContext<V>& c)
{
    const int threads = std::min(threadCount(), c.hierarchy.rowLength(1));
    const auto linker = [](LevelPiece<V>& piece) {
        return [&piece](const ChildRange* r, std::uint32_t total) {
            if (total < 2)
                return;
            piece.reserve(total);
            linkIsland(piece, r, total);
        };
    };
    if (threads < 2 || !linkOnThreads(c, 1, threads, linker))
        linkOnOneThread(c);
}

template void linkLevelOne(LinkingContext<SpaceRGB>&);
template void linkLevelOne(LinkingContext<SpaceHSV>&);

} // namespace ivra::csc::detail
