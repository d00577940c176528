// Payload of "NID_VALUE_CHANGE": the new and the previous value of a control.
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
    LValueParam(double newValue, double previousValue)
        : mNewValue(newValue), mPreviousValue(previousValue)
    {
    }

    static RCPtr<LValueParam> Create(double newValue, double previousValue)
    {
        return RCPtr<LValueParam>(new LValueParam(newValue, previousValue));
    }

    static void* operator new(std::size_t size)
    {
        return GetPayloadAllocator<LValueParam>().Allocate(size);
    }
    static void operator delete(void* address) noexcept
    {
        GetPayloadAllocator<LValueParam>().Free(address);
    }

    [[nodiscard]] double GetNewValue() const { return mNewValue; }
    [[nodiscard]] double GetPreviousValue() const { return mPreviousValue; }

private:
    double mNewValue;
    double mPreviousValue;
};

} // namespace QZ
