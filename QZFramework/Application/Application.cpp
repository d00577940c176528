#include "QZFramework/Application/Application.h"

#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"

#include <utility>

LApplication::~LApplication()
{
    ReleaseRootModuleEngine();
}

LApplication* LApplication::GetApplication()
{
    return dynamic_cast<LApplication*>(QZ::LApplicationBase::GetApplication());
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
