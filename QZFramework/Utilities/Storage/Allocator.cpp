#include "QZFramework/Utilities/Storage/Allocator.h"

#include <cstdlib>

namespace QZ
{

void* SystemAllocator::Allocate(std::size_t bytes)
{
    return std::malloc(bytes);
}

void* SystemAllocator::AllocateZeroed(std::size_t count, std::size_t elementSize)
{
    return std::calloc(count, elementSize);
}

void* SystemAllocator::Reallocate(void* block, std::size_t bytes)
{
    return std::realloc(block, bytes);
}

void SystemAllocator::Free(void* block)
{
    std::free(block);
}

IAllocator& GetSystemAllocator()
{
    static SystemAllocator allocator;
    return allocator;
}

} // namespace QZ
