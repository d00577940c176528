// Payload of "NID_VALUE_CHANGE": a control's value as a position 0.0 to 1.0 and the value that
// position maps to through the control's value range.
#pragma once

#include "QZFramework/Notification/PayloadAllocator.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstddef>

namespace QZ
{

class LValueParam : public virtual LRefCountedObject
{
public:
    LValueParam(double position, double scaledValue)
        : mPosition(position), mScaledValue(scaledValue)
    {
    }

    static RCPtr<LValueParam> Create(double position, double scaledValue)
    {
        return RCPtr<LValueParam>(new LValueParam(position, scaledValue));
    }

    static void* operator new(std::size_t size)
    {
        return GetPayloadAllocator<LValueParam>().Allocate(size);
    }
    static void operator delete(void* address) noexcept
    {
        GetPayloadAllocator<LValueParam>().Free(address);
    }

    [[nodiscard]] double GetPosition() const { return mPosition; }
    [[nodiscard]] double GetScaledValue() const { return mScaledValue; }

private:
    double mPosition;
    double mScaledValue;
};

} // namespace QZ
