// The one allocation interface every buffer goes through, and its heap implementation.
#pragma once

#include <cstddef>

namespace QZ
{

class IAllocator
{
public:
    virtual ~IAllocator() = default;
    virtual void* Allocate(std::size_t bytes) = 0;
    virtual void* AllocateZeroed(std::size_t count, std::size_t elementSize) = 0;
    // Keeps the content up to the smaller of the old and new sizes.
    virtual void* Reallocate(void* block, std::size_t bytes) = 0;
    virtual void Free(void* block) = 0;
};

// Over the C runtime heap. Returns null on failure, like the heap; the buffers turn that into
// an exception.
class SystemAllocator : public IAllocator
{
public:
    void* Allocate(std::size_t bytes) override;
    void* AllocateZeroed(std::size_t count, std::size_t elementSize) override;
    void* Reallocate(void* block, std::size_t bytes) override;
    void Free(void* block) override;
};

IAllocator& GetSystemAllocator();

} // namespace QZ
