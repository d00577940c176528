// A point in control coordinates; the base of the mouse payloads. It has no pool of its own.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <cstdint>

namespace QZ
{

class LPointParam : public virtual LRefCountedObject
{
public:
    LPointParam(std::int32_t x, std::int32_t y) : mX(x), mY(y) {}

    static RCPtr<LPointParam> Create(std::int32_t x, std::int32_t y)
    {
        return RCPtr<LPointParam>(new LPointParam(x, y));
    }

    [[nodiscard]] std::int32_t GetX() const { return mX; }
    [[nodiscard]] std::int32_t GetY() const { return mY; }

private:
    std::int32_t mX;
    std::int32_t mY;
};

} // namespace QZ
