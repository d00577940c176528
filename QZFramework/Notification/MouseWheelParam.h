// One wheel step: point and modifiers, then the direction: 0 vertical towards the user, 1
// vertical away from the user, 2 horizontal left, 3 horizontal right.
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
    LMouseWheelParam(std::int32_t x, std::int32_t y, std::uint32_t modifiers,
                     std::uint32_t direction)
        : LPointWithModifiersParam(x, y, modifiers), mDirection(direction)
    {
    }

    static RCPtr<LMouseWheelParam> Create(std::int32_t x, std::int32_t y, std::uint32_t modifiers,
                                          std::uint32_t direction)
    {
        return RCPtr<LMouseWheelParam>(new LMouseWheelParam(x, y, modifiers, direction));
    }

    static void* operator new(std::size_t size)
    {
        return GetPayloadAllocator<LMouseWheelParam>().Allocate(size);
    }
    static void operator delete(void* address) noexcept
    {
        GetPayloadAllocator<LMouseWheelParam>().Free(address);
    }

    [[nodiscard]] std::uint32_t GetDirection() const { return mDirection; }

private:
    std::uint32_t mDirection;
};

} // namespace QZ
