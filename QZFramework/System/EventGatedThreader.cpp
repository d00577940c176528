#include "QZFramework/System/EventGatedThreader.h"

#include "QZFramework/System/FaultLog.h"

#include <atomic>
#include <exception>

namespace QZ
{

struct LEventGatedThreader::State : public LRefCountedObject
{
    State(const RCPtr<LEvent>& event, const RCPtr<LThreadWorker>& work,
          const RCPtr<LRefCountedObject>& workContext)
        : wakeEvent(event), worker(work), context(workContext)
    {
    }

    // Set once by the destructor; the other fields never change after construction.
    std::atomic<bool> stop{false};
    const RCPtr<LEvent> wakeEvent;
    const RCPtr<LThreadWorker> worker;
    const RCPtr<LRefCountedObject> context;
};

LEventGatedThreader::LEventGatedThreader(const RCPtr<LEvent>& wakeEvent,
                                         const RCPtr<LThreadWorker>& worker,
                                         const RCPtr<LRefCountedObject>& context,
                                         std::int32_t priority)
    : mState(new State(wakeEvent, worker, context)), mThread(&Loop, mState.Get())
{
    // The loop owns one reference, taken over by Loop.
    mState->AddRef();
    mThread.SetPriority(priority);
    mThread.SetPriorityBoost(false);
    mThread.Resume();
}

LEventGatedThreader::~LEventGatedThreader()
{
    mState->stop = true;
    if (mState->wakeEvent)
    {
        mState->wakeEvent->Set();
    }
}

std::uint32_t LEventGatedThreader::Loop(void* context)
{
    RCPtr<State> state(static_cast<State*>(context));
    state->Release();
    if (!state->wakeEvent)
    {
        return 0;
    }
    while (!state->stop)
    {
        (void)state->wakeEvent->Wait(kInfinite);
        if (state->stop || !state->worker)
        {
            continue;
        }
        try
        {
            state->worker->DoWork(state->context);
        }
        catch (const std::exception& error)
        {
            LogFault("QZ::LEventGatedThreader::Loop", error.what());
        }
        catch (...)
        {
            LogFault("QZ::LEventGatedThreader::Loop", "unknown exception");
        }
    }
    return 0;
}

} // namespace QZ
