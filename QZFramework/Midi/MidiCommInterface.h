// The MIDI port service: named access to the machine's MIDI ports.
//
// A user subscribes to "NID_MIDI_DATA_CAPTURED" at the service (it is a distributor), asks for the
// input and the output port by name, sends with SendData, and releases both port pointers to close
// the ports. Every message that arrives on an open input port is delivered as
// "NID_MIDI_DATA_CAPTURED" carrying an LMidiCaptureNotificationData, in arrival order, on the
// service's own worker thread (never on the driver's thread or the user-interface thread), so
// subscribers take their own locks.
//
// Ports are handed out as opaque counted objects: keep them, give them back to SendData, release
// them. Failures are reported by result; nothing here throws.
#pragma once

#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/IArray.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

class LMidiCommInterface : public LNotificationDistributor
{
public:
    // Sets port to the open input port whose device name contains name, ignoring case (an empty
    // name matches every device), opening and starting it when it is not open yet. 0, or E_FAIL
    // with port cleared.
    [[nodiscard]] virtual QZRESULT GetCapturePort(const WideString& name,
                                                  RCPtr<LRefCountedObject>& port) = 0;
    // The same for output ports.
    [[nodiscard]] virtual QZRESULT GetRenderPort(const WideString& name,
                                                 RCPtr<LRefCountedObject>& port) = 0;
    // True when GetCapturePort would find a device for name (an open port or a listed device);
    // opens nothing, so it is cheap enough to ask on every menu update.
    [[nodiscard]] virtual bool IsCapturePortAvailable(const WideString& name) = 0;
    // The same for output ports.
    [[nodiscard]] virtual bool IsRenderPortAvailable(const WideString& name) = 0;
    // Sends one MIDI message on an output port: bytes beginning with F0, F7 or a data byte as a
    // long message, anything else as a short message of its first bytes. Non-negative on success;
    // E_INVALIDARG when port is not an output port or bytes is empty; E_FAIL when the driver
    // refuses or the long message does not complete within 10 seconds.
    [[nodiscard]] virtual QZRESULT SendData(const RCPtr<LRefCountedObject>& port,
                                            const IArray<signed char>& bytes) = 0;
};

// A new service on the process's MIDI driver; each call makes a new one with no port open.
RCPtr<LMidiCommInterface> CreateMidiComm();

} // namespace QZ
