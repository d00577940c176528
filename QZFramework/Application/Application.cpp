#include "QZFramework/Application/Application.h"

#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"

#include <atomic>
#include <utility>

namespace
{

std::atomic<LApplication*> gApplication{nullptr};

} // namespace

LApplication::LApplication()
{
    LApplication* none = nullptr;
    if (!gApplication.compare_exchange_strong(none, this))
    {
        QZ_THROW_LOGIC("LApplication::LApplication", "Application object exists already");
    }
}

LApplication::~LApplication()
{
    ReleaseRootModuleEngine();
    gApplication = nullptr;
}

LApplication* LApplication::GetApplication()
{
    return gApplication.load();
}

void LApplication::CreateRootModuleEngine()
{
    QZ::RCPtr<LRootModuleEngine> engine(new LRootModuleEngine());
    engine->Initialize(0);
    QZ::Mutex::ScopedLock lock(mLock);
    mRootModuleEngine = engine;
}

QZ::RCPtr<LRootModuleEngine> LApplication::GetRootModuleEngine() const
{
    QZ::Mutex::ScopedLock lock(mLock);
    return mRootModuleEngine;
}

void LApplication::ReleaseRootModuleEngine()
{
    QZ::RCPtr<LRootModuleEngine> engine;
    {
        QZ::Mutex::ScopedLock lock(mLock);
        engine = std::move(mRootModuleEngine);
    }
}

QZ::RCPtr<LRootModuleEngine> GetRootModuleEngine()
{
    const LApplication* application = LApplication::GetApplication();
    return application != nullptr ? application->GetRootModuleEngine() : nullptr;
}
