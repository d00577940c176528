// A subscriber to "NID_MIDI_DATA_CAPTURED" for tests: keeps a copy of every message it is given,
// on whatever thread the service delivers it, and lets the test wait for them.
#pragma once

#include "QZFramework/Midi/MidiCaptureNotificationData.h"
#include "QZFramework/Midi/MidiCommInterface.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace QZ::Testing
{

struct CapturedMessage
{
    std::vector<std::uint8_t> bytes;
    std::string portName;
    std::uint32_t timestamp = 0;
    std::thread::id thread;
};

class CaptureRecorder : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        const auto data =
            RCPtr<LMidiCaptureNotificationData>::DynamicCastFrom(notification->GetPayload());
        if (data.IsNull())
        {
            return;
        }
        CapturedMessage message;
        message.bytes.assign(data->GetData().Begin(), data->GetData().End());
        message.portName = data->GetPortName().ToNarrowString().GetString();
        message.timestamp = data->GetTimestamp();
        message.thread = std::this_thread::get_id();
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mMessages.push_back(std::move(message));
        }
        mChanged.notify_all();
    }

    // Waits until count messages are in, at most timeout; returns what is in.
    std::vector<CapturedMessage>
    WaitFor(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(3))
    {
        std::unique_lock<std::mutex> lock(mMutex);
        mChanged.wait_for(lock, timeout, [&] { return mMessages.size() >= count; });
        return mMessages;
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<CapturedMessage> mMessages;
};

// Subscribes a new recorder to the service's captured data.
inline RCPtr<CaptureRecorder> Subscribe(const RCPtr<LMidiCommInterface>& comm)
{
    RCPtr<CaptureRecorder> recorder(new CaptureRecorder());
    recorder->Subscribe(RCPtr<LNotificationDistributor>(comm), NID_MIDI_DATA_CAPTURED, 0);
    return recorder;
}

} // namespace QZ::Testing
