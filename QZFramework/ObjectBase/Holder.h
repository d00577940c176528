// A shareable holder of one value.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

template <class T>
class LHolder : public virtual LRefCountedObject
{
public:
    explicit LHolder(const T& value) : mValue(value) {}

    const T& GetValue() const { return mValue; }
    void SetValue(const T& value) { mValue = value; }

private:
    T mValue;
};

} // namespace QZ
