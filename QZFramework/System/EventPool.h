// A fixed set of shared auto-reset events waited on together; the thread pool's dispatcher waits
// here for any worker to finish.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/System/LEvent.h"

#include <atomic>
#include <cstdint>
#include <vector>

namespace QZ
{

class EventPool
{
public:
    // count events, not signalled.
    explicit EventPool(std::int32_t count);
    EventPool(const EventPool&) = delete;
    EventPool& operator=(const EventPool&) = delete;
    virtual ~EventPool();

    // No bounds check: callers pass an index below the count.
    [[nodiscard]] RCPtr<LEvent>* GetAt(std::int32_t index) { return &mEvents[index]; }
    [[nodiscard]] std::int32_t GetCount() const
    {
        return static_cast<std::int32_t>(mEvents.size());
    }
    // The index of a signalled event (its signal consumed; the lowest index when several are
    // set), or -1 on time-out.
    [[nodiscard]] std::int32_t WaitForAny(std::uint32_t timeoutMs);
    [[nodiscard]] std::int32_t GetWaiterCount() const { return mWaiters.load(); }

private:
    std::vector<RCPtr<LEvent>> mEvents;
    std::atomic<std::int32_t> mWaiters{0};
    std::vector<EventHandle*> mHandles;
};

} // namespace QZ
