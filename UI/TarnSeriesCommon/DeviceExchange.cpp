#include "UI/TarnSeriesCommon/DeviceExchange.h"

#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "UI/TarnSeriesCommon/DeviceMessages.h"

#include <atomic>
#include <exception>
#include <mutex>
#include <thread>

namespace QZ
{
namespace
{

std::mutex gWaitLock;
LDeviceExchange::Wait gWait;
// Live scopes; the user-interface thread's alone.
int gRunning = 0;

// A worker thread that is joined however the scope is left; a wait that ended before the worker
// (the program is ending, or the wait threw) first has the worker stopped.
class WorkerScope
{
public:
    WorkerScope(const std::function<void()>& work, std::function<void()> stop)
        : mStop(std::move(stop)), mThread(work)
    {
    }
    ~WorkerScope()
    {
        mStop();
        mThread.join();
    }
    WorkerScope(const WorkerScope&) = delete;
    WorkerScope& operator=(const WorkerScope&) = delete;

private:
    std::function<void()> mStop;
    std::thread mThread;
};

LDeviceExchange::Wait GetWait()
{
    std::lock_guard<std::mutex> lock(gWaitLock);
    return gWait;
}

// Serves the windows until the exchange is done; without an open loop there is nothing to serve.
void WaitInEventLoop(const std::function<bool()>& finished)
{
    if (LWindowEventLoop* loop = LWindowEventLoop::GetCurrent())
    {
        loop->RunModal(finished);
    }
}

} // namespace

LDeviceExchange::LDeviceExchange(LControl& dialog, LMidiManager& manager)
    : mDialog(&dialog), mManager(&manager), mWasEnabled(dialog.IsEnabled(false))
{
    dialog.SetEnabled(false);
    mIndicator.emplace(GetDeviceDialogString(kDeviceExchangeStatusText));
    ++gRunning;
}

LDeviceExchange::~LDeviceExchange()
{
    mIndicator.reset();
    mDialog->SetEnabled(mWasEnabled);
    --gRunning;
}

std::int32_t LDeviceExchange::Run(const std::function<std::int32_t()>& exchange)
{
    if (mCancelled)
    {
        return LMidiManager::kCancelled;
    }
    const std::int32_t result = RunOnWorker(exchange);
    return mCancelled ? LMidiManager::kCancelled : result;
}

std::int32_t LDeviceExchange::RunOnWorker(const std::function<std::int32_t()>& exchange)
{
    LWindowEventLoop* loop = LWindowEventLoop::GetCurrent();
    std::atomic<bool> done{false};
    std::int32_t result = 0;
    std::exception_ptr failure;
    const std::function<bool()> finished = [&done] { return done.load(std::memory_order_acquire); };
    {
        const WorkerScope worker(
            [&]
            {
                try
                {
                    result = exchange();
                }
                catch (...)
                {
                    failure = std::current_exception();
                }
                done.store(true, std::memory_order_release);
                if (loop != nullptr)
                {
                    loop->Wake();
                }
            },
            [this, &finished]
            {
                if (!finished())
                {
                    mCancelled = true;
                    mManager->CancelExchanges();
                }
            });
        const Wait wait = GetWait();
        (wait ? wait : Wait(&WaitInEventLoop))(finished);
    }
    if (failure)
    {
        std::rethrow_exception(failure);
    }
    return result;
}

void LDeviceExchange::SetWait(Wait wait)
{
    std::lock_guard<std::mutex> lock(gWaitLock);
    gWait = std::move(wait);
}

bool LDeviceExchange::IsAnyRunning()
{
    return gRunning > 0;
}

} // namespace QZ
