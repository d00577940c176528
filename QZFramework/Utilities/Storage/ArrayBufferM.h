// The byte store of a received MIDI message: an ArrayBuffer under its own name. N is part of the
// type's name only; users append items, read the count and read the items back in order.
#pragma once

#include "QZFramework/Utilities/Storage/Allocator.h"
#include "QZFramework/Utilities/Storage/ArrayBuffer.h"

#include <cstdint>

namespace QZ
{

template <class T, std::uint32_t N, std::uint32_t A, std::uint32_t B, std::uint32_t C = 1,
          std::uint32_t Align = 8, IAllocator& (*Alloc)() = GetSystemAllocator>
class ArrayBufferM : public ArrayBuffer<T, A, B, C, Align, Alloc>
{
public:
    using ArrayBuffer<T, A, B, C, Align, Alloc>::ArrayBuffer;
};

} // namespace QZ
