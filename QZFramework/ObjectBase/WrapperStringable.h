// Makes a value shareable under a given base, with its text made by the given function.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

template <class T, StringT<char16_t, char> (*ToStringFn)(const T&), class Base>
class LWrapperStringable : public T, public Base
{
public:
    explicit LWrapperStringable(const T& value) : T(value) {}

    StringT<char16_t, char> ToString() const override
    {
        return ToStringFn(static_cast<const T&>(*this));
    }
};

} // namespace QZ
