// LApplication: the program's application object, one for the whole run.
//
// This part of it holds the root-module engine: start-up creates the engine and initialises it
// with the first parameter identifier 0, and the engine is kept until shutdown. Anything may ask
// for it through GetRootModuleEngine (RootModuleEngine.h), from any thread.
#pragma once

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/System/Mutex.h"

class LRootModuleEngine;

class LApplication : public QZ::LApplicationBase
{
public:
    LApplication() = default;
    // Releases the engine.
    ~LApplication() override;

    // The application object when it is an LApplication, or null.
    [[nodiscard]] static LApplication* GetApplication();

    // Creates the engine and initialises it with first identifier 0. What Initialize throws
    // passes out, and no engine is kept then.
    void CreateRootModuleEngine();
    // A counted reference to the engine; null before it is created and after it is released.
    [[nodiscard]] QZ::RCPtr<LRootModuleEngine> GetRootModuleEngine() const;
    // Lets go of the engine (shutdown).
    void ReleaseRootModuleEngine();

private:
    mutable QZ::Mutex mLock;
    QZ::RCPtr<LRootModuleEngine> mRootModuleEngine;
};
