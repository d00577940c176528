// The shareable form of BufferT, held through RCPtr<LIBuffer>.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/BufferT.h"
#include "QZFramework/Utilities/Storage/LIBuffer.h"

#include <algorithm>
#include <cstring>

namespace QZ
{

template <std::uint32_t ElemSize, std::uint32_t Grow, std::uint32_t Align, class Ptr,
          IAllocator& (*Alloc)()>
class LBufferT : public BufferT<ElemSize, Grow, Align, Ptr, Alloc>, public LIBuffer
{
    using Base = BufferT<ElemSize, Grow, Align, Ptr, Alloc>;

public:
    LBufferT(std::uint32_t size, std::uint32_t reserve, bool zeroFill) : Base(size, reserve, zeroFill)
    {
    }

    static RCPtr<LIBuffer> Create(std::uint32_t size)
    {
        return RCPtr<LIBuffer>(new LBufferT(size, 0, false));
    }

    RCPtr<LRefCountedObject> CreateCopy() const override
    {
        return RCPtr<LRefCountedObject>(new LBufferT(*this));
    }

    void CreateSizedCopy(RCPtr<LIBuffer>& copy, std::uint32_t newSize,
                         std::uint32_t offset) const override
    {
        RCPtr<LIBuffer> sized(new LBufferT(newSize, 0, true));
        const std::uint32_t size = this->GetSize();
        if (offset < size && newSize != 0)
        {
            std::memcpy(sized->GetData(), static_cast<const char*>(this->GetData()) + offset,
                        std::min(newSize, size - offset));
        }
        copy = std::move(sized);
    }

private:
    LBufferT(const LBufferT& other) : IBuffer(), LRefCountedObject(), Base(other), LIBuffer() {}
};

using LTextBuffer = LBufferT<1, 128, 8, char*, GetSystemAllocator>;
using LByteBuffer = LBufferT<1, 0, 8, char*, GetSystemAllocator>;

} // namespace QZ
