#include "QZFramework/System/Event.h"

namespace QZ
{

Event::Event(bool autoReset) : mHandle(std::make_unique<EventHandle>(autoReset)) {}

Event::~Event() = default;

bool Event::Set()
{
    mHandle->Set();
    return true;
}

bool Event::Reset()
{
    mHandle->Reset();
    return true;
}

std::uint32_t Event::Wait(std::uint32_t timeoutMs)
{
    return mHandle->Wait(timeoutMs);
}

bool Event::IsSignaled()
{
    return mHandle->Wait(0) != kWaitTimeout;
}

std::int32_t Event::GetWaiterCount() const
{
    return mHandle->GetWaiterCount();
}

} // namespace QZ
