// A shareable byte buffer: the text of strings and the results of conversions live in one.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/IBuffer.h"

#include <cstdint>

namespace QZ
{

class LIBuffer : public virtual IBuffer, public virtual LRefCountedObject
{
public:
    // A new zero-filled buffer of newSize bytes that starts with the bytes of this one from
    // offset on (as many as fit).
    virtual void CreateSizedCopy(RCPtr<LIBuffer>& copy, std::uint32_t newSize,
                                 std::uint32_t offset) const = 0;
};

// A new text buffer (LBufferT<1,128,8,char*>) of that size and reserve, zero-filled on request.
RCPtr<LIBuffer> CreateBuffer(std::uint32_t size, std::uint32_t reserve = 0, bool zeroFill = false);

} // namespace QZ
