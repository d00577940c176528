#include "QZFramework/System/RetriggerableThreader.h"

#include "QZFramework/System/Event.h"
#include "QZFramework/System/FaultLog.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <utility>

namespace QZ
{

struct RetriggerableThreader::State : public LRefCountedObject
{
    explicit State(const StringT<char16_t, char>& threaderName) : name(threaderName) {}

    Event start{true};
    std::atomic<bool> busy{false};
    std::atomic<bool> stopping{false};
    // Serialises triggers, so that two callers cannot both claim an idle threader.
    std::mutex triggerMutex;
    // Guards the fields below, which the loop and the triggering threads share.
    std::mutex mutex;
    RCPtr<LEvent> doneEvent;
    RCPtr<LThreadWorker> worker;
    RCPtr<LRefCountedObject> params;
    StringT<char16_t, char> name;
};

namespace
{

void RunWork(LThreadWorker& worker, const RCPtr<LRefCountedObject>& params)
{
    try
    {
        worker.DoWork(params);
    }
    catch (const std::exception& error)
    {
        LogFault("QZ::RetriggerableThreader::Loop", error.what());
    }
    catch (...)
    {
        LogFault("QZ::RetriggerableThreader::Loop", "unknown exception");
    }
}

} // namespace

RetriggerableThreader::RetriggerableThreader(const StringT<char16_t, char>& name)
    : mState(new State(name)), mThread(&Loop, mState.Get())
{
    // The loop owns one reference, taken over by Loop.
    mState->AddRef();
    mThread.SetPriorityBoost(false);
    mThread.Resume();
}

RetriggerableThreader::~RetriggerableThreader()
{
    mState->stopping = true;
    mState->start.Set();
}

std::uint32_t RetriggerableThreader::Loop(void* context)
{
    RCPtr<State> state(static_cast<State*>(context));
    state->Release();
    while (!state->stopping)
    {
        (void)state->start.Wait(kInfinite);
        RCPtr<LThreadWorker> worker;
        RCPtr<LRefCountedObject> params;
        RCPtr<LEvent> doneEvent;
        {
            // Taken out, so that the run holds the only references the threader has to them.
            std::lock_guard<std::mutex> lock(state->mutex);
            worker = std::move(state->worker);
            params = std::move(state->params);
            doneEvent = std::move(state->doneEvent);
        }
        if (!state->stopping && worker)
        {
            RunWork(*worker, params);
        }
        params = nullptr;
        worker = nullptr;
        state->busy = false;
        if (doneEvent)
        {
            doneEvent->Set();
        }
    }
    return 0;
}

bool RetriggerableThreader::IsBusy()
{
    if (!mState->busy)
    {
        return false;
    }
    if (mThread.HasFinished())
    {
        mState->busy = false;
        return false;
    }
    return true;
}

QZRESULT RetriggerableThreader::Start(const RCPtr<LThreadWorker>& worker,
                                      const RCPtr<LRefCountedObject>& params,
                                      const RCPtr<LEvent>& doneEvent, std::int32_t priority)
{
    if (mState->stopping)
    {
        return E_FAIL;
    }
    std::lock_guard<std::mutex> triggerLock(mState->triggerMutex);
    if (IsBusy())
    {
        return E_FAIL;
    }
    mThread.SetPriority(priority);
    {
        std::lock_guard<std::mutex> lock(mState->mutex);
        mState->worker = worker;
        mState->params = params;
        mState->doneEvent = doneEvent;
    }
    if (doneEvent)
    {
        doneEvent->Reset();
    }
    mState->busy = true;
    return mState->start.Set() ? S_OK : E_FAIL;
}

QZRESULT RetriggerableThreader::Trigger(const RCPtr<LThreadWorker>& worker,
                                        const RCPtr<LRefCountedObject>& params,
                                        std::int32_t priority)
{
    return Start(worker, params, nullptr, priority);
}

QZRESULT RetriggerableThreader::TriggerWithDoneEvent(const RCPtr<LThreadWorker>& worker,
                                                     const RCPtr<LRefCountedObject>& params,
                                                     const RCPtr<LEvent>& doneEvent,
                                                     std::int32_t priority)
{
    return Start(worker, params, doneEvent, priority);
}

StringT<char16_t, char> RetriggerableThreader::ToString() const
{
    std::lock_guard<std::mutex> lock(mState->mutex);
    return mState->name;
}

void RetriggerableThreader::SetName(const StringT<char16_t, char>& name)
{
    std::lock_guard<std::mutex> lock(mState->mutex);
    mState->name = name;
}

} // namespace QZ
