// An indexed-data payload that also carries a value for the entry.
#pragma once

#include "QZFramework/ControlBase/IndexedDataParam.h"

namespace QZ
{

class LIndexedDataWithValueParam : public LIndexedDataParam
{
public:
    LIndexedDataWithValueParam(const RCPtr<LRefCountedObject>& data, std::int32_t index,
                               double value)
        : LIndexedDataParam(data, index), mValue(value)
    {
    }

    static RCPtr<LIndexedDataWithValueParam> Create(const RCPtr<LRefCountedObject>& data,
                                                    std::int32_t index, double value)
    {
        return RCPtr<LIndexedDataWithValueParam>(
            new LIndexedDataWithValueParam(data, index, value));
    }

    [[nodiscard]] double GetValue() const { return mValue; }

private:
    double mValue;
};

} // namespace QZ
