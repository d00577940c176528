// A receiver for the device-communication tests: records every list handed to it, with the
// thread that handed it, and can hold the delivery thread inside a call until it is let go.
#pragma once

#include "Engine/RededoVuvuvaCommon/DeviceCommunicationReceiver.h"
#include "QZFramework/Utilities/Storage/ParamValues.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

namespace EngineTestSupport
{

class RecordingReceiver : public DeviceCommunicationReceiver
{
public:
    void ReceiveParamValues(const QZ::ParamValues& values) override
    {
        std::unique_lock lock(mMutex);
        mLists.push_back(values);
        mThreads.push_back(std::this_thread::get_id());
        mChanged.notify_all();
        mChanged.wait(lock, [this] { return !mHolding; });
    }

    // The next call waits inside until Release.
    void Hold()
    {
        std::lock_guard lock(mMutex);
        mHolding = true;
    }
    void Release()
    {
        std::lock_guard lock(mMutex);
        mHolding = false;
        mChanged.notify_all();
    }
    // Waits until count lists have arrived; false after timeoutMs.
    bool WaitForLists(std::size_t count, std::uint32_t timeoutMs = 10000)
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                 [&] { return mLists.size() >= count; });
    }
    std::vector<QZ::ParamValues> GetLists()
    {
        std::lock_guard lock(mMutex);
        return mLists;
    }
    std::vector<std::thread::id> GetThreads()
    {
        std::lock_guard lock(mMutex);
        return mThreads;
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    bool mHolding = false;
    std::vector<QZ::ParamValues> mLists;
    std::vector<std::thread::id> mThreads;
};

} // namespace EngineTestSupport
