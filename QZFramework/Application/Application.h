// LApplication: the program's application object, one for the whole run.
//
// This part of it holds the root-module engine: start-up creates the engine and initialises it
// with the first parameter identifier 0, and the engine is kept until shutdown. Anything may ask
// for it through GetRootModuleEngine (RootModuleEngine.h), from any thread.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/System/Mutex.h"

class LRootModuleEngine;

class LApplication
{
public:
    // Becomes the process's application object; a second one while this one lives throws a
    // logic error.
    LApplication();
    LApplication(const LApplication&) = delete;
    LApplication& operator=(const LApplication&) = delete;
    // Releases the engine and stops being the application object.
    virtual ~LApplication();

    // The application object, or null when there is none.
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
