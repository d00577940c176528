// A mouse-wheel event: point and modifiers, then the wheel data (the rotation delta).
#pragma once

#include "QZFramework/Notification/PayloadAllocator.h"
#include "QZFramework/Notification/PointWithModifiersParam.h"

#include <cstddef>
#include <cstdint>

namespace QZ
{

class LMouseWheelParam : public LPointWithModifiersParam
{
public:
    LMouseWheelParam(std::int32_t x, std::int32_t y, std::uint32_t modifiers, std::int32_t delta)
        : LPointWithModifiersParam(x, y, modifiers), mDelta(delta)
    {
    }

    static RCPtr<LMouseWheelParam> Create(std::int32_t x, std::int32_t y, std::uint32_t modifiers,
                                          std::int32_t delta)
    {
        return RCPtr<LMouseWheelParam>(new LMouseWheelParam(x, y, modifiers, delta));
    }

    static void* operator new(std::size_t size)
    {
        return GetPayloadAllocator<LMouseWheelParam>().Allocate(size);
    }
    static void operator delete(void* address) noexcept
    {
        GetPayloadAllocator<LMouseWheelParam>().Free(address);
    }

    [[nodiscard]] std::int32_t GetDelta() const { return mDelta; }

private:
    std::int32_t mDelta;
};

} // namespace QZ
