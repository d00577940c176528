// A change of a control's conditions (hover, focus, enabled, ...): the new and the previous
// condition words and two values whose meanings belong to the control that sends it. Derived
// classes of another size still allocate through this class's pool, which hands them heap memory.
#pragma once

#include "QZFramework/Notification/PayloadAllocator.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstddef>
#include <cstdint>

namespace QZ
{

class LConditionsParam : public virtual LRefCountedObject
{
public:
    LConditionsParam(std::uint32_t conditions, std::uint32_t previousConditions, double firstValue,
                     double secondValue)
        : mConditions(conditions), mPreviousConditions(previousConditions), mFirstValue(firstValue),
          mSecondValue(secondValue)
    {
    }

    static RCPtr<LConditionsParam> Create(std::uint32_t conditions,
                                          std::uint32_t previousConditions, double firstValue,
                                          double secondValue)
    {
        return RCPtr<LConditionsParam>(
            new LConditionsParam(conditions, previousConditions, firstValue, secondValue));
    }

    static void* operator new(std::size_t size)
    {
        return GetPayloadAllocator<LConditionsParam>().Allocate(size);
    }
    static void operator delete(void* address) noexcept
    {
        GetPayloadAllocator<LConditionsParam>().Free(address);
    }

    [[nodiscard]] std::uint32_t GetConditions() const { return mConditions; }
    [[nodiscard]] std::uint32_t GetPreviousConditions() const { return mPreviousConditions; }
    [[nodiscard]] double GetFirstValue() const { return mFirstValue; }
    [[nodiscard]] double GetSecondValue() const { return mSecondValue; }

private:
    std::uint32_t mConditions;
    std::uint32_t mPreviousConditions;
    double mFirstValue;
    double mSecondValue;
};

} // namespace QZ
