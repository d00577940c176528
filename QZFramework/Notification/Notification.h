// An event that one object tells others about: an interned identifier and an optional payload.
// Delivered at once through a distributor, or posted to a queue for later delivery.
//
// Notifications are recycled through a process-wide pool while pooling is switched on (the
// application switches it on at start-up and off at shutdown): the last release of a notification
// drops its payload and puts the object into the pool, and the next Create hands it out again,
// so steady-state traffic allocates nothing. Notifications may be created, posted and released
// on any thread.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"

#include <atomic>
#include <cstddef>
#include <cstdint>

namespace QZ
{

class LNotification : public virtual LRefCountedObject
{
public:
    // Sets out to a notification for the identifier (text or interned) carrying the payload, and
    // returns out; out is null when the identifier is null or empty.
    static RCPtr<LNotification>& Create(RCPtr<LNotification>& out, const char16_t* identifier,
                                        const RCPtr<LRefCountedObject>& payload = nullptr);
    // Switching off destroys every pooled notification. Changed only while no other thread
    // creates notifications (start-up and shutdown).
    static void EnablePooling(bool enable);
    [[nodiscard]] static bool IsPoolingEnabled();
    [[nodiscard]] static std::size_t GetPoolSize();

    ~LNotification() override;

    // The interned identifier, never null.
    [[nodiscard]] const char16_t* GetID() const { return mID; }
    [[nodiscard]] const RCPtr<LRefCountedObject>& GetPayload() const { return mPayload; }
    // True from its Post until the queue pass that delivers it has done so.
    [[nodiscard]] bool IsPosted() const { return mPosted.load(); }

    // Recycles the object instead of destroying it when this drops the last reference.
    std::int32_t Release() override;

private:
    friend class LNotificationQueue;

    LNotification(const char16_t* identifier, const RCPtr<LRefCountedObject>& payload);

    // False when the notification was already marked.
    bool MarkPosted();
    void ClearPosted() { mPosted = false; }
    void Recycle();

    const char16_t* mID;
    RCPtr<LRefCountedObject> mPayload;
    std::atomic<bool> mPosted{false};
    // Atomic: once pooled, the object may be taken and released by another thread while this
    // release is still clearing the guard.
    std::atomic<bool> mRecycling{false};
};

} // namespace QZ
