// A payload naming an entry of a collection: the data object it belongs to and its index.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstdint>

namespace QZ
{

class LIndexedDataParam : public virtual LRefCountedObject
{
public:
    LIndexedDataParam(const RCPtr<LRefCountedObject>& data, std::int32_t index)
        : mData(data), mIndex(index)
    {
    }

    static RCPtr<LIndexedDataParam> Create(const RCPtr<LRefCountedObject>& data, std::int32_t index)
    {
        return RCPtr<LIndexedDataParam>(new LIndexedDataParam(data, index));
    }

    [[nodiscard]] const RCPtr<LRefCountedObject>& GetData() const { return mData; }
    [[nodiscard]] std::int32_t GetIndex() const { return mIndex; }

private:
    RCPtr<LRefCountedObject> mData;
    std::int32_t mIndex;
};

} // namespace QZ
