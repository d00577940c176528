// A thread that runs worker->DoWork(context) each time its wake event is set, until it is
// destroyed. Several signals that arrive during one run cause one more run, not several, so the
// worker drains whatever queue feeds it on each run.
//
// As with RetriggerableThreader, the thread holds its state (event, worker, context, stop flag)
// through a shared reference, so destruction is safe from any thread, its own included;
// destruction stops the loop and waits for the thread. A worker that throws is logged.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/LEvent.h"
#include "QZFramework/System/Thread.h"
#include "QZFramework/System/ThreadWorker.h"

#include <cstdint>

namespace QZ
{

class LEventGatedThreader : public virtual LRefCountedObject
{
public:
    // Starts the thread at the given priority with the priority boost off.
    LEventGatedThreader(const RCPtr<LEvent>& wakeEvent, const RCPtr<LThreadWorker>& worker,
                        const RCPtr<LRefCountedObject>& context, std::int32_t priority);
    ~LEventGatedThreader() override;

private:
    struct State;

    static std::uint32_t Loop(void* context);

    RCPtr<State> mState;
    Thread mThread;
};

} // namespace QZ
