#include "QZFramework/System/EventPool.h"

namespace QZ
{

EventPool::EventPool(std::int32_t count)
{
    for (std::int32_t i = 0; i < count; ++i)
    {
        mEvents.emplace_back(new LEvent());
        mHandles.push_back(mEvents.back()->GetHandle());
    }
}

EventPool::~EventPool() = default;

std::int32_t EventPool::WaitForAny(std::uint32_t timeoutMs)
{
    mWaiters.fetch_add(1);
    const std::int32_t index = EventHandle::WaitForAny(mHandles.data(), mHandles.size(), timeoutMs);
    mWaiters.fetch_sub(1);
    return index;
}

} // namespace QZ
