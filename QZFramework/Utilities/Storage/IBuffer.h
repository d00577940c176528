// Interface of a growable byte block.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"

#include <cstdint>

namespace QZ
{

class IBuffer
{
public:
    virtual ~IBuffer() = default;
    // The used size in bytes.
    virtual std::uint32_t GetSize() const = 0;
    // Sets an exact capacity and used size without keeping the content; returns the used size.
    virtual std::uint32_t SetLength(std::uint32_t bytes) = 0;
    // Changes the used size keeping the content; returns the used size.
    virtual std::uint32_t Resize(std::uint32_t bytes) = 0;
    // A negative count means up to the end; a range outside the used size is E_INVALIDARG.
    virtual QZRESULT FillUInt8(std::uint8_t value, std::uint32_t start, std::int32_t count) = 0;
    virtual QZRESULT FillUInt16(std::uint16_t value, std::uint32_t start, std::int32_t count) = 0;
    virtual std::uint32_t GetCapacity() const = 0;
    virtual void* GetData() const = 0;

    // The data pointer plus the offset, or null when the offset is not inside the used size.
    void* GetDataAt(std::uint32_t offset) const
    {
        if (static_cast<std::uint64_t>(offset) + 1 > GetSize())
        {
            return nullptr;
        }
        return static_cast<std::uint8_t*>(GetData()) + offset;
    }
};

} // namespace QZ
