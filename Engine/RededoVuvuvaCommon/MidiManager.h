// LMidiManager: the one object through which the editor exchanges presets and global settings
// with the keyboard over MIDI.
//
// Every request is a synchronous transaction on the caller's thread (the user-interface thread,
// one transaction at a time). It opens the keyboard's ports "MIDIIN4 (Tarn 61)" and
// "MIDIOUT4 (Tarn 61)" on a new MIDI service (OpenPorts); tests the firmware with the universal
// Identity Request unless told to skip it; sends its System Exclusive message, preamble first;
// and, where a reply is due, sends up to ten times, waiting at most 500 ms after each for the
// reply's traffic light to turn green.
//
// Replies arrive as "NID_MIDI_DATA_CAPTURED" on the service's worker thread, where the capture
// handler takes a reply only for the request it answers, while that request's transaction waits
// (see MidiTransaction): a preset dump of the slot being fetched, the reply for the setting being
// asked, an Identity Reply during the firmware test. Everything else, late duplicates of re-sent
// requests included, is dropped and logged on the debug stream.
// - A preset dump is cut into the 131 values by the device model's fixed value sizes and handed
//   to the engine whole or not at all: when the engine refuses a value, the values taken before
//   it are put back and the fetch reports -1; when the fetch ends (times out) while the dump is
//   being taken over, the values are put back too, before the fetch returns.
// - A global-parameter reply is announced, on that worker thread, to the manager's own
//   subscribers as "NID_MIDIMANAGER_PARAMETER_RECIEVED" with an LMidiParameterNotification,
//   before the request returns 0; subscribers must be safe there.
// - An Identity Reply whose firmware is 1.0.2.7 or newer lets the firmware test pass.
// The lights are green ("not waiting") except while a transaction waits on them.
//
// Results of the transfer operations: 0 (or another non-negative value) success; -1 the ports
// cannot be opened, a port or a send failed (the keyboard's port went away during it), or the
// preset is refused; -2 an Identity Reply carried firmware older than 1.0.2.7; -3 no reply after
// all tries, the firmware test's Identity Reply included (a keyboard gone before it answered);
// -4 cancelled (CancelExchanges).
// The dialogs rely on these: every failure of a send is -1, never a value they would show as
// success.
//
// The service is the one member that both threads touch besides the transaction: the
// user-interface thread replaces it while the worker compares senders with it, so a lock guards
// it. Subscribing or unsubscribing the capture handler cannot fail while a service is held; if it
// does, a FailedResultException leaves the operation.
#pragma once

#include "Engine/RededoVuvuvaCommon/MidiPacing.h"
#include "Engine/RededoVuvuvaCommon/MidiParameterNotification.h"
#include "Engine/RededoVuvuvaCommon/MidiTransaction.h"
#include "QZFramework/Midi/MidiCommInterface.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/System/Mutex.h"
#include "QZFramework/System/TrafficLight.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/IArray.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>

namespace QZ
{

class LMidiManager : public LNotificationClient, public LNotificationDistributor
{
public:
    static constexpr std::int32_t kMidiError = -1;
    static constexpr std::int32_t kFirmwareNotUseable = -2;
    static constexpr std::int32_t kNoReply = -3;
    static constexpr std::int32_t kCancelled = -4;
    static constexpr std::int32_t kTries = 10;
    static constexpr std::uint32_t kReplyWaitMs = 500;
    static constexpr const char16_t* kInputPortName = u"MIDIIN4 (Tarn 61)";
    static constexpr const char16_t* kOutputPortName = u"MIDIOUT4 (Tarn 61)";

    // Makes the manager with its handler and a first service from CreateMidiComm (on the
    // process's MIDI driver). The application calls it once at start-up and keeps the manager;
    // tests shorten the wait after each try, and a fuzzer that plays the keyboard passes a pacing
    // of its own, which must outlive the manager.
    static void Create(RCPtr<LMidiManager>& out, std::uint32_t replyWaitMs = kReplyWaitMs,
                       MidiPacing& pacing = MidiPacing::Real());
    ~LMidiManager() override;
    LMidiManager(const LMidiManager&) = delete;
    LMidiManager& operator=(const LMidiManager&) = delete;

    // Writes the engine's current preset into slot (0 "RAM", 1 to 12). The 131 values must be
    // exactly the device model's fixed sizes, else nothing is sent and the result is -1. No reply
    // is awaited; on success the byte count of the last piece sent.
    virtual std::int32_t SendPresetToMidiDevice(std::uint8_t slot);
    // Fetches slot into the engine: 0, -1 (also when the engine refused the preset, which then
    // leaves it as it was), -2 or -3.
    virtual std::int32_t GetPresetFromMidiDevice(std::uint8_t slot);
    // Sets one global setting. A value the table refuses sends nothing and gives E_FAIL; -1, -2
    // as above; on success the sender's non-negative result.
    virtual std::int32_t SendGlobalParameter(const WideString& name, std::int32_t value,
                                             bool skipFirmwareCheck);
    // Asks the keyboard for one global setting; its value comes only through
    // "NID_MIDIMANAGER_PARAMETER_RECIEVED", delivered before this returns 0. E_FAIL when the
    // ports cannot be opened or the name is not a global setting; -1, -2, -3 as above.
    virtual std::int32_t RequestNonPresetParameterFromDevice(const WideString& name,
                                                             bool skipFirmwareCheck);
    // True when both keyboard ports are listed by the MIDI service; opens nothing.
    virtual bool ArePortsAvailable();
    // Asks for the keyboard's identity up to ten times; true once a reply carries firmware
    // 1.0.2.7 or newer. False when the ports cannot be opened or no such reply came.
    virtual bool IsDeviceFirmwareVersionUseable();
    // Sends the Identity Request (preamble first) on outputPort; E_FAIL for a null port.
    virtual std::int32_t SendIdentityRequest(const RCPtr<LRefCountedObject>& outputPort);
    // Replaces the service by a new one with the capture handler subscribed, and tells whether
    // both named ports can be opened on it (they are released again before returning).
    virtual bool OpenPorts(const WideString& inputName, const WideString& outputName);

    // For a program that is ending, from any thread: a request waiting for a reply stops waiting
    // at once and every request ends at its next step with kCancelled, later ones at their first;
    // a System Exclusive message being sent is sent whole, so the keyboard never gets half of
    // one.
    void CancelExchanges();

    // Sends message on port through the current service (see SendSysExMessage of SysExSender).
    std::int32_t SendSysExMessage(IArray<signed char>& message,
                                  const RCPtr<LRefCountedObject>& port, bool noPreamble);
    // The current service; null only when it could not be made.
    [[nodiscard]] RCPtr<LMidiCommInterface> GetMidiComm() const;

    // For tests: called on the worker thread before each value of a preset take-over is written,
    // with the number of values written so far, so that a test can stall a take-over.
    void SetTakeOverHook(std::function<void(std::int32_t written)> hook);

    // Passes notifications to the handler, which calls the method mapped to the sender.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    // Drops the handler's mapping for the pair, then the registration.
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

private:
    LMidiManager(std::uint32_t replyWaitMs, MidiPacing& pacing);

    // The capture handler, on the service's worker thread; always 1.
    QZRESULT OnMidiDataCaptured(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>& notification);
    [[nodiscard]] bool IsCurrentService(const LNotificationDistributor* sender) const;
    // Takes a claimed preset dump over into the engine, whole or not at all, and settles the
    // fetch with 0 or -1; puts every value back when the fetch has ended meanwhile.
    void TakeOverPreset(const IArray<signed char>& dump);
    void AnnounceGlobalParameter(const IArray<signed char>& reply);

    // The firmware test on a new service: 0, -1 (ports, send), -2 or -3.
    std::int32_t TestFirmware();
    // One transaction waiting for replies of key: sends (send) until light turns green, at most
    // kTries times, then ends. The settled outcome; else -2 when an Identity Reply with old
    // firmware came; else kMidiError when the last try could not be sent (the first such try
    // ends the loop when stopOnFailure); else kNoReply. method names the operation in the
    // exception of a failed subscription.
    std::int32_t RunTransaction(const RCPtr<LMidiCommInterface>& service, const MidiReplyKey& key,
                                TrafficLight& light, const std::function<std::int32_t()>& send,
                                bool stopOnFailure, const char* method);

    // The capture handler's registration at the current service.
    QZRESULT SubscribeCapture(const RCPtr<LMidiCommInterface>& service);
    QZRESULT UnsubscribeCapture(const RCPtr<LMidiCommInterface>& service);

    const std::uint32_t mReplyWaitMs;
    MidiPacing& mPacing;
    RCPtr<LNotificationHandler<LMidiManager>> mHandler;
    mutable Mutex mServiceLock;
    RCPtr<LMidiCommInterface> mService;
    TrafficLight mPresetLight;
    TrafficLight mGlobalLight;
    TrafficLight mIdentityLight;
    MidiTransaction mTransaction;
    std::atomic<bool> mCancelled{false};
    std::mutex mHookLock;
    std::function<void(std::int32_t)> mTakeOverHook;
};

} // namespace QZ
