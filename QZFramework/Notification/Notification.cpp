#include "QZFramework/Notification/Notification.h"

#include "QZFramework/Notification/NotificationID.h"

#include <utility>
#include <vector>

namespace QZ
{
namespace
{

std::atomic<bool> gPoolingEnabled{false};

// Used as a stack; guarded by the notification lock. Never destroyed, so notifications released
// while static objects are torn down still find it.
std::vector<RCPtr<LNotification>>& GetPool()
{
    static auto* pool = new std::vector<RCPtr<LNotification>>();
    return *pool;
}

} // namespace

LNotification::LNotification(const char16_t* identifier, const RCPtr<LRefCountedObject>& payload)
    : mID(identifier), mPayload(payload)
{
}

LNotification::~LNotification() = default;

RCPtr<LNotification>& LNotification::Create(RCPtr<LNotification>& out, const char16_t* identifier,
                                            const RCPtr<LRefCountedObject>& payload)
{
    out = nullptr;
    if (!gPoolingEnabled.load())
    {
        const char16_t* interned = GetNotificationID(identifier);
        if (interned != nullptr)
        {
            out = new LNotification(interned, payload);
        }
        return out;
    }
    Mutex::ScopedLock lock(GetNotificationLock());
    const char16_t* interned = GetNotificationID(identifier);
    if (interned == nullptr)
    {
        return out;
    }
    std::vector<RCPtr<LNotification>>& pool = GetPool();
    if (pool.empty())
    {
        out = new LNotification(interned, payload);
        return out;
    }
    out = std::move(pool.back());
    pool.pop_back();
    out->mID = interned;
    out->mPayload = payload;
    return out;
}

void LNotification::EnablePooling(bool enable)
{
    gPoolingEnabled = enable;
    if (enable)
    {
        return;
    }
    std::vector<RCPtr<LNotification>> pooled;
    {
        Mutex::ScopedLock lock(GetNotificationLock());
        pooled.swap(GetPool());
    }
}

bool LNotification::IsPoolingEnabled()
{
    return gPoolingEnabled.load();
}

std::size_t LNotification::GetPoolSize()
{
    Mutex::ScopedLock lock(GetNotificationLock());
    return GetPool().size();
}

std::int32_t LNotification::Release()
{
    if (!mRecycling && GetRefCount() == 1)
    {
        mRecycling = true;
        Recycle();
        mRecycling = false;
    }
    return LRefCountedObject::Release();
}

void LNotification::Recycle()
{
    // The payload goes before the lock is taken: its destructor may do anything.
    if (!mPosted.load() && mPayload)
    {
        mPayload = nullptr;
    }
    if (!gPoolingEnabled.load())
    {
        return;
    }
    Mutex::ScopedLock lock(GetNotificationLock());
    if (gPoolingEnabled.load())
    {
        GetPool().emplace_back(this);
    }
}

bool LNotification::MarkPosted()
{
    bool expected = false;
    return mPosted.compare_exchange_strong(expected, true);
}

} // namespace QZ
