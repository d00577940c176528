#include "UI/TarnSeriesCommon/DeviceExchange.h"

#include "QZFramework/ControlBase/Control.h"
#include "QZFramework/ControlBase/WindowEventLoop.h"
#include "UI/TarnSeriesCommon/DeviceMessages.h"

#include <atomic>
#include <mutex>
#include <thread>

namespace QZ
{
namespace
{

std::mutex gWaitLock;
LDeviceExchange::Wait gWait;

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

LDeviceExchange::LDeviceExchange(LControl& dialog)
    : mDialog(&dialog), mWasEnabled(dialog.IsEnabled(false))
{
    dialog.SetEnabled(false);
    mIndicator.emplace(GetDeviceDialogString(kDeviceExchangeStatusText));
}

LDeviceExchange::~LDeviceExchange()
{
    mIndicator.reset();
    mDialog->SetEnabled(mWasEnabled);
}

std::int32_t LDeviceExchange::Run(const std::function<std::int32_t()>& exchange)
{
    LWindowEventLoop* loop = LWindowEventLoop::GetCurrent();
    std::atomic<bool> done{false};
    std::int32_t result = 0;
    std::thread worker(
        [&]
        {
            result = exchange();
            done.store(true, std::memory_order_release);
            if (loop != nullptr)
            {
                loop->Wake();
            }
        });
    const Wait wait = GetWait();
    const std::function<bool()> finished = [&done] { return done.load(std::memory_order_acquire); };
    (wait ? wait : Wait(&WaitInEventLoop))(finished);
    // A wait that ended early (the program is quitting) still lets the exchange finish.
    worker.join();
    return result;
}

void LDeviceExchange::SetWait(Wait wait)
{
    std::lock_guard<std::mutex> lock(gWaitLock);
    gWait = std::move(wait);
}

} // namespace QZ
