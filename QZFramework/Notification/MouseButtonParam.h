// A mouse-button event: point and modifiers, the button, a flag and a value whose meanings belong
// to the control that sends it.
#pragma once

#include "QZFramework/Notification/PayloadAllocator.h"
#include "QZFramework/Notification/PointWithModifiersParam.h"

#include <cstddef>
#include <cstdint>

namespace QZ
{

class LMouseButtonParam : public LPointWithModifiersParam
{
public:
    LMouseButtonParam(std::int32_t x, std::int32_t y, std::uint32_t modifiers, std::int32_t button,
                      bool flag, std::int32_t value)
        : LPointWithModifiersParam(x, y, modifiers), mButton(button), mFlag(flag), mValue(value)
    {
    }

    static RCPtr<LMouseButtonParam> Create(std::int32_t x, std::int32_t y, std::uint32_t modifiers,
                                           std::int32_t button, bool flag, std::int32_t value)
    {
        return RCPtr<LMouseButtonParam>(
            new LMouseButtonParam(x, y, modifiers, button, flag, value));
    }

    static void* operator new(std::size_t size)
    {
        return GetPayloadAllocator<LMouseButtonParam>().Allocate(size);
    }
    static void operator delete(void* address) noexcept
    {
        GetPayloadAllocator<LMouseButtonParam>().Free(address);
    }

    [[nodiscard]] std::int32_t GetButton() const { return mButton; }
    [[nodiscard]] bool GetFlag() const { return mFlag; }
    [[nodiscard]] std::int32_t GetValue() const { return mValue; }

private:
    std::int32_t mButton;
    bool mFlag;
    std::int32_t mValue;
};

} // namespace QZ
