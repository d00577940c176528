// Makes a plain value shareable: the value and a reference count in one object.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

template <class T, class Base = LRefCountedObject>
class LWrapper : public T, public virtual Base
{
public:
    explicit LWrapper(const T& value) : T(value) {}
};

} // namespace QZ
