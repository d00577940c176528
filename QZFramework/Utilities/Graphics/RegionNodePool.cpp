#include "QZFramework/Utilities/Graphics/RegionNodePool.h"

#include <algorithm>
#include <atomic>
#include <new>

namespace QZ
{
namespace
{

struct Block
{
    Block* nextBlock = nullptr;
    RegionNode slots[RegionNodePool::kBlockSlots];
};

// Every block ever made, so that the blocks stay reachable for the life of the process.
std::atomic<Block*> gBlocks{nullptr};

struct ThreadPoolState
{
    RegionNode* freeList;
    std::int32_t live;
    std::int32_t highWater;
    std::int32_t blocks;
};

thread_local ThreadPoolState tPool{};

bool Grow(ThreadPoolState& pool)
{
    Block* block = new (std::nothrow) Block;
    if (block == nullptr)
    {
        return false;
    }
    block->nextBlock = gBlocks.load(std::memory_order_relaxed);
    while (!gBlocks.compare_exchange_weak(block->nextBlock, block, std::memory_order_release,
                                          std::memory_order_relaxed))
    {
    }
    for (std::int32_t i = RegionNodePool::kBlockSlots - 1; i >= 0; --i)
    {
        block->slots[i].next = pool.freeList;
        pool.freeList = &block->slots[i];
    }
    ++pool.blocks;
    return true;
}

} // namespace

RegionNode* RegionNodePool::Allocate(const RegionRect& rect)
{
    ThreadPoolState& pool = tPool;
    if (pool.freeList == nullptr && !Grow(pool))
    {
        return nullptr;
    }
    RegionNode* node = pool.freeList;
    pool.freeList = node->next;
    node->rect = rect;
    node->next = nullptr;
    ++pool.live;
    pool.highWater = std::max(pool.highWater, pool.live);
    return node;
}

void RegionNodePool::Free(RegionNode* node)
{
    if (node == nullptr)
    {
        return;
    }
    ThreadPoolState& pool = tPool;
    node->next = pool.freeList;
    pool.freeList = node;
    --pool.live;
}

std::int32_t RegionNodePool::GetLiveCount()
{
    return tPool.live;
}

std::int32_t RegionNodePool::GetHighWaterCount()
{
    return tPool.highWater;
}

std::int32_t RegionNodePool::GetBlockCount()
{
    return tPool.blocks;
}

} // namespace QZ
