// An event owned by value. Created not signalled; auto-reset when asked for, manual-reset
// otherwise. Every operation may be called from any thread.
#pragma once

#include "QZFramework/System/EventHandle.h"

#include <cstdint>
#include <memory>

namespace QZ
{

class Event
{
public:
    explicit Event(bool autoReset);
    Event(const Event&) = delete;
    Event& operator=(const Event&) = delete;
    virtual ~Event();

    [[nodiscard]] EventHandle* GetHandle() const { return mHandle.get(); }
    // True on success.
    bool Set();
    bool Reset();
    // kWaitSignaled or kWaitTimeout.
    [[nodiscard]] std::uint32_t Wait(std::uint32_t timeoutMs);
    // A zero-time wait: true unless it timed out. Consumes the signal of an auto-reset event.
    [[nodiscard]] bool IsSignaled();
    [[nodiscard]] std::int32_t GetWaiterCount() const;

private:
    std::unique_ptr<EventHandle> mHandle;
};

} // namespace QZ
