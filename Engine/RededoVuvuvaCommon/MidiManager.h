// LMidiManager: the one object through which the editor exchanges presets and global settings
// with the keyboard over MIDI.
//
// Every request is a synchronous transaction on the caller's thread (the user-interface thread,
// one transaction at a time). It opens the keyboard's ports "MIDIIN4 (Tarn 61)" and
// "MIDIOUT4 (Tarn 61)" on a new MIDI service (OpenPorts), so that replies to an earlier service
// are never taken; tests the firmware with the universal Identity Request unless told to skip it;
// sends its System Exclusive message, preamble first; and, where a reply is due, sends up to ten
// times, waiting at most 500 ms after each for the reply's traffic light to turn green.
//
// Replies arrive as "NID_MIDI_DATA_CAPTURED" on the service's worker thread, where the capture
// handler classifies them and turns the lights green:
// - a preset dump (while the preset light is red) is cut into the 131 values by the device
//   model's fixed value sizes and handed to the engine whole or not at all: when the engine
//   refuses a value, the values taken before it are put back and the fetch reports -1;
// - a global-parameter reply is announced at once, on that worker thread, to the manager's own
//   subscribers as "NID_MIDIMANAGER_PARAMETER_RECIEVED" with an LMidiParameterNotification, so
//   subscribers must be safe there;
// - an Identity Reply whose firmware is 1.0.2.7 or newer lets the firmware test pass.
//
// Results of the transfer operations: 0 (or another non-negative value) success; -1 the ports
// cannot be opened, a port or a send failed (the keyboard's port went away during it), or the
// preset is refused; -2 an Identity Reply carried firmware older than 1.0.2.7; -3 no reply after
// all tries, the firmware test's Identity Reply included. The dialogs rely on these: every
// failure of a send is -1, never a value they would show as success.
//
// The service is the one member that both threads touch: the user-interface thread replaces it
// while the worker compares senders with it, so a lock guards it. Subscribing or unsubscribing
// the capture handler cannot fail while a service is held; if it does, a FailedResultException
// leaves the operation.
#pragma once

#include "Engine/RededoVuvuvaCommon/MidiParameterNotification.h"
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

namespace QZ
{

class LMidiManager : public LNotificationClient, public LNotificationDistributor
{
public:
    static constexpr std::int32_t kMidiError = -1;
    static constexpr std::int32_t kFirmwareNotUseable = -2;
    static constexpr std::int32_t kNoReply = -3;
    static constexpr std::int32_t kTries = 10;
    static constexpr std::uint32_t kReplyWaitMs = 500;
    static constexpr const char16_t* kInputPortName = u"MIDIIN4 (Tarn 61)";
    static constexpr const char16_t* kOutputPortName = u"MIDIOUT4 (Tarn 61)";

    // Makes the manager with its handler and a first service from CreateMidiComm (on the
    // process's MIDI driver). The application calls it once at start-up and keeps the manager.
    static void Create(RCPtr<LMidiManager>& out);
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
    // 1.0.2.7 or newer. False when the ports cannot be opened.
    virtual bool IsDeviceFirmwareVersionUseable();
    // Sends the Identity Request (preamble first) on outputPort; E_FAIL for a null port.
    virtual std::int32_t SendIdentityRequest(const RCPtr<LRefCountedObject>& outputPort);
    // Replaces the service by a new one with the capture handler subscribed, and tells whether
    // both named ports can be opened on it (they are released again before returning).
    virtual bool OpenPorts(const WideString& inputName, const WideString& outputName);

    // Sends message on port through the current service (see SendSysExMessage of SysExSender).
    std::int32_t SendSysExMessage(IArray<signed char>& message,
                                  const RCPtr<LRefCountedObject>& port, bool noPreamble);
    // The current service; null only when it could not be made.
    [[nodiscard]] RCPtr<LMidiCommInterface> GetMidiComm() const;

    // Passes notifications to the handler, which calls the method mapped to the sender.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    // Drops the handler's mapping for the pair, then the registration.
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

private:
    LMidiManager();

    // The capture handler, on the service's worker thread; always 1.
    QZRESULT OnMidiDataCaptured(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>& notification);
    [[nodiscard]] bool IsCurrentService(const LNotificationDistributor* sender) const;
    // Takes a preset dump over into the engine, whole or not at all: 0 or -1.
    static std::int32_t TakeOverPreset(const IArray<signed char>& dump);
    void AnnounceGlobalParameter(const IArray<signed char>& reply);

    // The capture handler's registration at the current service.
    QZRESULT SubscribeCapture(const RCPtr<LMidiCommInterface>& service);
    QZRESULT UnsubscribeCapture(const RCPtr<LMidiCommInterface>& service);
    void SubscribeOrThrow(const RCPtr<LMidiCommInterface>& service, const char* method);
    void UnsubscribeOrThrow(const RCPtr<LMidiCommInterface>& service, const char* method);

    // The firmware test as the transfer operations report it: 0, -2 or -3.
    std::int32_t TestFirmware();

    // Sends the request (send) until light turns green, at most kTries times: 0 once green;
    // kNoReply; kMidiError when the last try could not be sent (the first such try ends the loop
    // when stopOnFailure).
    static std::int32_t AwaitReply(const std::function<std::int32_t()>& send, TrafficLight& light,
                                   bool stopOnFailure);

    RCPtr<LNotificationHandler<LMidiManager>> mHandler;
    mutable Mutex mServiceLock;
    RCPtr<LMidiCommInterface> mService;
    TrafficLight mPresetLight;
    TrafficLight mGlobalLight;
    TrafficLight mIdentityLight;
    // Set when an Identity Reply with too old a firmware came during the firmware test.
    std::atomic<bool> mOldFirmwareSeen{false};
    // The take-over result of the last preset dump, read once the preset light is green.
    std::atomic<std::int32_t> mPresetResult{0};
};

} // namespace QZ
