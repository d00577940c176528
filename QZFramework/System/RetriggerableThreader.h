// One long-lived thread that runs one piece of work each time it is triggered. A trigger that
// arrives while a run is under way is refused with E_FAIL; it is not remembered. Callers that
// need every piece of work done use LThreadPool, which queues.
//
// The thread's loop keeps its state (the start event, the flags, the current work) alive through
// a shared reference, so the threader may be destroyed anywhere, even by its own run dropping the
// last reference to the threader's owner. Destruction stops the loop and waits for the thread.
// A worker that throws out of DoWork is logged; the loop goes on.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/System/LEvent.h"
#include "QZFramework/System/Thread.h"
#include "QZFramework/System/ThreadWorker.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class RetriggerableThreader : public IStringable
{
public:
    explicit RetriggerableThreader(const StringT<char16_t, char>& name);
    RetriggerableThreader(const RetriggerableThreader&) = delete;
    RetriggerableThreader& operator=(const RetriggerableThreader&) = delete;
    ~RetriggerableThreader() override;

    // Starts one run of worker->DoWork(params) at the given thread priority. 0, or E_FAIL when
    // the threader is stopping or still busy.
    QZRESULT Trigger(const RCPtr<LThreadWorker>& worker, const RCPtr<LRefCountedObject>& params,
                     std::int32_t priority);
    // The same; doneEvent is reset now and set when the run has ended (after the busy flag is
    // cleared, so a waiter woken by it finds the threader free).
    QZRESULT TriggerWithDoneEvent(const RCPtr<LThreadWorker>& worker,
                                  const RCPtr<LRefCountedObject>& params,
                                  const RCPtr<LEvent>& doneEvent, std::int32_t priority);
    // True while a run is in progress on a live thread.
    [[nodiscard]] bool IsBusy();
    // True when called from the threader's own thread, that is from within a run.
    [[nodiscard]] bool IsCurrentThread() const { return mThread.IsCurrentThread(); }

    StringT<char16_t, char> ToString() const override;
    void SetName(const StringT<char16_t, char>& name);

private:
    struct State;

    static std::uint32_t Loop(void* context);
    QZRESULT Start(const RCPtr<LThreadWorker>& worker, const RCPtr<LRefCountedObject>& params,
                   const RCPtr<LEvent>& doneEvent, std::int32_t priority);

    RCPtr<State> mState;
    Thread mThread;
};

} // namespace QZ
