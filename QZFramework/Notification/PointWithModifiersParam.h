// A point with the modifier-key state at the time of the event.
#pragma once

#include "QZFramework/Notification/PayloadAllocator.h"
#include "QZFramework/Notification/PointParam.h"

#include <cstddef>
#include <cstdint>

namespace QZ
{

class LPointWithModifiersParam : public LPointParam
{
public:
    LPointWithModifiersParam(std::int32_t x, std::int32_t y, std::uint32_t modifiers)
        : LPointParam(x, y), mModifiers(modifiers)
    {
    }

    static RCPtr<LPointWithModifiersParam> Create(std::int32_t x, std::int32_t y,
                                                  std::uint32_t modifiers)
    {
        return RCPtr<LPointWithModifiersParam>(new LPointWithModifiersParam(x, y, modifiers));
    }

    static void* operator new(std::size_t size)
    {
        return GetPayloadAllocator<LPointWithModifiersParam>().Allocate(size);
    }
    static void operator delete(void* address) noexcept
    {
        GetPayloadAllocator<LPointWithModifiersParam>().Free(address);
    }

    [[nodiscard]] std::uint32_t GetModifiers() const { return mModifiers; }

private:
    std::uint32_t mModifiers;
};

} // namespace QZ
