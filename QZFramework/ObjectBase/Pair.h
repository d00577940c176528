// A shareable pair of values whose text is made from the first value by the given function.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

template <class A, class B, StringT<char16_t, char> (*ToStringFn)(const A&)>
class LPair : public virtual LRefCountedObject
{
public:
    LPair(const A& first, const B& second) : mFirst(first), mSecond(second) {}

    StringT<char16_t, char> ToString() const override { return ToStringFn(mFirst); }

    const A& GetFirst() const { return mFirst; }
    const B& GetSecond() const { return mSecond; }
    B& GetSecond() { return mSecond; }

private:
    A mFirst;
    B mSecond;
};

} // namespace QZ
