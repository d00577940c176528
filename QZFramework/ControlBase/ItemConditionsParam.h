// The condition change of one item of a list box: the conditions payload plus the item's index.
// It is larger than LConditionsParam, so the conditions pool hands it general heap memory.
#pragma once

#include "QZFramework/Notification/ConditionsParam.h"

#include <cstdint>

namespace QZ
{

class LItemConditionsParam : public LConditionsParam
{
public:
    LItemConditionsParam(std::uint32_t conditions, std::uint32_t previousConditions,
                         double firstValue, double secondValue, std::int32_t itemIndex)
        : LConditionsParam(conditions, previousConditions, firstValue, secondValue),
          mItemIndex(itemIndex)
    {
    }

    static RCPtr<LItemConditionsParam> Create(std::uint32_t conditions,
                                              std::uint32_t previousConditions, double firstValue,
                                              double secondValue, std::int32_t itemIndex)
    {
        return RCPtr<LItemConditionsParam>(new LItemConditionsParam(
            conditions, previousConditions, firstValue, secondValue, itemIndex));
    }

    [[nodiscard]] std::int32_t GetItemIndex() const { return mItemIndex; }

private:
    std::int32_t mItemIndex;
};

} // namespace QZ
