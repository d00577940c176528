// The recycling pool of region rectangle nodes.
//
// The paint path makes and drops region rectangles on every mouse move and every frame, so nodes
// are recycled instead of going to the heap each time. Nodes come in blocks of 512; when every
// node is taken the pool grows by another block, and blocks live for the whole process (they are
// never handed back, so a node stays valid wherever it is freed). Each thread keeps its own list
// of free nodes and its own counters, so the pool needs no lock; a node freed on another thread
// than the one that took it simply joins the freeing thread's list.
#pragma once

#include "QZFramework/Utilities/Graphics/RegionRect.h"

#include <cstdint>

namespace QZ
{

struct RegionNode
{
    RegionRect rect;
    RegionNode* next = nullptr;
};

class RegionNodePool
{
public:
    static constexpr std::int32_t kBlockSlots = 512;

    // A node holding the rectangle and no successor, or null when no memory is left.
    [[nodiscard]] static RegionNode* Allocate(const RegionRect& rect);
    // Takes back a node from Allocate; null is ignored.
    static void Free(RegionNode* node);

    // Counters of the calling thread: nodes taken and not yet freed, the highest such number
    // seen, and the blocks this thread has added.
    static std::int32_t GetLiveCount();
    static std::int32_t GetHighWaterCount();
    static std::int32_t GetBlockCount();
};

} // namespace QZ
