#include "QZFramework/Notification/NotificationCenterManager.h"

#include <algorithm>
#include <mutex>

namespace QZ
{
namespace
{

struct Instance
{
    std::mutex mutex;
    RCPtr<LNotificationCenterManager> manager;
};

// Never destroyed: the application releases the manager at shutdown (ReleaseInstance); tearing
// centres down among the static destructors would meet already destroyed allocators.
Instance& GetInstanceHolder()
{
    static auto* instance = new Instance();
    return *instance;
}

} // namespace

RCPtr<LNotificationCenterManager> LNotificationCenterManager::GetInstance()
{
    Instance& instance = GetInstanceHolder();
    std::lock_guard<std::mutex> lock(instance.mutex);
    if (!instance.manager)
    {
        instance.manager = new LNotificationCenterManager();
    }
    return instance.manager;
}

void LNotificationCenterManager::ReleaseInstance()
{
    RCPtr<LNotificationCenterManager> released;
    {
        Instance& instance = GetInstanceHolder();
        std::lock_guard<std::mutex> lock(instance.mutex);
        released = std::move(instance.manager);
    }
}

RCPtr<LNotificationCenter>
LNotificationCenterManager::GetCenter(const StringT<char16_t, char>& name)
{
    if (name.IsEmpty())
    {
        return nullptr;
    }
    Mutex::ScopedLock lock(mLock);
    for (const RCPtr<LNotificationCenter>& center : mCenters)
    {
        if (center->GetName().GetBuffer() == name.GetBuffer() || center->GetName() == name)
        {
            return center;
        }
    }
    mCenters.emplace_back(new LNotificationCenter(name));
    return mCenters.back();
}

bool LNotificationCenterManager::ProcessQueues(bool idle)
{
    std::vector<RCPtr<LNotificationCenter>> centers;
    {
        Mutex::ScopedLock lock(mLock);
        centers = mCenters;
    }
    bool remaining = false;
    for (auto center = centers.rbegin(); center != centers.rend(); ++center)
    {
        remaining = (*center)->ProcessQueue(idle) || remaining;
    }
    return remaining;
}

bool LNotificationCenterManager::HasQueuedNotifications()
{
    RCPtr<LNotificationCenterManager> manager;
    {
        Instance& instance = GetInstanceHolder();
        std::lock_guard<std::mutex> lock(instance.mutex);
        manager = instance.manager;
    }
    if (!manager)
    {
        return false;
    }
    std::vector<RCPtr<LNotificationCenter>> centers;
    {
        Mutex::ScopedLock lock(manager->mLock);
        centers = manager->mCenters;
    }
    return std::any_of(centers.begin(), centers.end(),
                       [](const RCPtr<LNotificationCenter>& center) { return center->GetCount() > 0; });
}

RCPtr<LNotificationCenter> GetApplicationNotificationCenter()
{
    // One name for every call: the centre keeps a copy sharing its buffer, so finding the centre
    // compares addresses instead of making and comparing a text on every post. Never destroyed,
    // like the manager's holder.
    static const auto* name = new StringT<char16_t, char>(u"application");
    return LNotificationCenterManager::GetInstance()->GetCenter(*name);
}

} // namespace QZ
