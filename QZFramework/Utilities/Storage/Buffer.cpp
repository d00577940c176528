#include "QZFramework/Utilities/Storage/LBufferT.h"

namespace QZ
{

RCPtr<LIBuffer> CreateBuffer(std::uint32_t size, std::uint32_t reserve, bool zeroFill)
{
    return RCPtr<LIBuffer>(new LTextBuffer(size, reserve, zeroFill));
}

} // namespace QZ
