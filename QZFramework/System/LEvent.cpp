#include "QZFramework/System/LEvent.h"

namespace QZ
{

bool LEvent::Set()
{
    mHandle.Set();
    return true;
}

bool LEvent::Reset()
{
    mHandle.Reset();
    return true;
}

std::uint32_t LEvent::Wait(std::uint32_t timeoutMs)
{
    return mHandle.Wait(timeoutMs);
}

bool LEvent::IsSignaled()
{
    return mHandle.Wait(0) != kWaitTimeout;
}

} // namespace QZ
