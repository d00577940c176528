#include "QZFramework/Midi/MidiComm.h"

#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationID.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <string>
#include <string_view>

namespace QZ
{
namespace
{

// THREAD_PRIORITY_HIGHEST: received data must not wait behind other work of the process.
constexpr std::int32_t kDispatcherPriority = 2;
constexpr std::int32_t kWorkPriority = 0;

// The open port of list whose driver handle is handle, searching from the last; null when none.
template <class Port, class Handle> Port* FindByHandle(RCPtrArray<Port, 1, 0>& list, Handle* handle)
{
    for (std::int32_t i = list.GetCount() - 1; i >= 0; --i)
    {
        Port* port = list.GetItemPtr(i)->Get();
        if (port != nullptr && port->GetHandle() == handle)
        {
            return port;
        }
    }
    return nullptr;
}

// The open port of list whose device name matches name, searching from the last; null when none.
template <class Port> Port* FindByName(RCPtrArray<Port, 1, 0>& list, const WideString& name)
{
    for (std::int32_t i = list.GetCount() - 1; i >= 0; --i)
    {
        Port* port = list.GetItemPtr(i)->Get();
        if (port != nullptr && LMidiComm::IsNameMatch(name, port->GetName()))
        {
            return port;
        }
    }
    return nullptr;
}

// Takes port out of list unless a reference to it was taken since its last outside holder let
// go; new references are only ever taken under the service's lock, which the caller holds.
template <class Port>
QZRESULT TakeOut(RCPtrArray<Port, 1, 0>& list, Port& port, RCPtr<Port>& removed)
{
    if (port.GetRefCount() != port.GetInternalRefCount() + 1)
    {
        return E_FAIL;
    }
    for (std::int32_t i = list.GetCount() - 1; i >= 0; --i)
    {
        if (list.GetItemPtr(i)->Get() == &port)
        {
            list.RemoveItem(i, &removed);
            port.AdjustCyclicRefCount(-1);
            return S_OK;
        }
    }
    return E_FAIL;
}

} // namespace

RCPtr<LMidiCommInterface> CreateMidiComm()
{
    return RCPtr<LMidiCommInterface>(new LMidiComm(Platform::GetDefaultMidiDriver()));
}

LMidiComm::LMidiComm(std::shared_ptr<Platform::MidiDriver> driver,
                     std::uint32_t completionTimeoutMs)
    : mDriver(std::move(driver)), mCompletionTimeoutMs(completionTimeoutMs)
{
    if (!mDriver || !mDriver->DeliversOnSendingThread())
    {
        mThreadPool = new LThreadPool(1, kDispatcherPriority);
    }
}

LMidiComm::~LMidiComm()
{
    mThreadPool.Reset();
    mRenderPorts.RemoveAll();
    mCapturePorts.RemoveAll();
}

bool LMidiComm::IsNameMatch(const WideString& requested, const WideString& device)
{
    const WideString wanted = requested.ToLower();
    const WideString found = device.ToLower();
    const std::u16string_view haystack(found.GetString(),
                                       static_cast<std::size_t>(found.GetLength()));
    const std::u16string_view needle(wanted.GetString(),
                                     static_cast<std::size_t>(wanted.GetLength()));
    return haystack.find(needle) != std::u16string_view::npos;
}

std::int32_t LMidiComm::FindInputDevice(const WideString& name, WideString& device)
{
    const std::uint32_t count = mDriver ? mDriver->GetInputCount() : 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::string found;
        if (Succeeded(mDriver->GetInputName(i, found)) && IsNameMatch(name, found.c_str()))
        {
            device = WideString(found.c_str());
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

std::int32_t LMidiComm::FindOutputDevice(const WideString& name, WideString& device)
{
    const std::uint32_t count = mDriver ? mDriver->GetOutputCount() : 0;
    for (std::uint32_t i = 0; i < count; ++i)
    {
        std::string found;
        if (Succeeded(mDriver->GetOutputName(i, found)) && IsNameMatch(name, found.c_str()))
        {
            device = WideString(found.c_str());
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

QZRESULT LMidiComm::GetCapturePort(const WideString& name, RCPtr<LRefCountedObject>& port)
{
    port.Reset();
    // A port whose start fails is released only after the lock, where closing it is allowed.
    RCPtr<LMidiCapturePort> unstarted;
    {
        Mutex::ScopedLock lock(mLock);
        if (LMidiCapturePort* open = FindByName(mCapturePorts, name))
        {
            port = open;
            return S_OK;
        }
        WideString deviceName;
        const std::int32_t device = FindInputDevice(name, deviceName);
        std::unique_ptr<Platform::MidiInput> handle;
        if (device < 0 || Failed(mDriver->OpenInput(static_cast<std::uint32_t>(device),
                                                    &MidiInCallback, this, handle)))
        {
            return E_FAIL;
        }
        RCPtr<LMidiCapturePort> created(
            new LMidiCapturePort(deviceName, std::move(handle), RCPtr<LMidiComm>(this)));
        if (Failed(created->GetHandle()->Start()))
        {
            unstarted = std::move(created);
        }
        else
        {
            mCapturePorts.Add(created);
            created->AdjustCyclicRefCount(1);
            port = created;
            return S_OK;
        }
    }
    return E_FAIL;
}

bool LMidiComm::IsCapturePortAvailable(const WideString& name)
{
    WideString deviceName;
    Mutex::ScopedLock lock(mLock);
    if (FindByName(mCapturePorts, name) != nullptr)
    {
        return true;
    }
    // A port found is soon opened: the driver readies it now, so the first exchange waits no more
    // than the later ones.
    const std::int32_t device = FindInputDevice(name, deviceName);
    if (device >= 0)
    {
        mDriver->PrepareInput(static_cast<std::uint32_t>(device));
    }
    return device >= 0;
}

bool LMidiComm::IsRenderPortAvailable(const WideString& name)
{
    WideString deviceName;
    Mutex::ScopedLock lock(mLock);
    if (FindByName(mRenderPorts, name) != nullptr)
    {
        return true;
    }
    const std::int32_t device = FindOutputDevice(name, deviceName);
    if (device >= 0)
    {
        mDriver->PrepareOutput(static_cast<std::uint32_t>(device));
    }
    return device >= 0;
}

QZRESULT LMidiComm::GetRenderPort(const WideString& name, RCPtr<LRefCountedObject>& port)
{
    port.Reset();
    Mutex::ScopedLock lock(mLock);
    if (LMidiRenderPort* open = FindByName(mRenderPorts, name))
    {
        port = open;
        return S_OK;
    }
    WideString deviceName;
    const std::int32_t device = FindOutputDevice(name, deviceName);
    std::unique_ptr<Platform::MidiOutput> handle;
    if (device < 0 || Failed(mDriver->OpenOutput(static_cast<std::uint32_t>(device),
                                                 &MidiOutCallback, this, handle)))
    {
        return E_FAIL;
    }
    RCPtr<LMidiRenderPort> created(
        new LMidiRenderPort(deviceName, std::move(handle), RCPtr<LMidiComm>(this)));
    mRenderPorts.Add(created);
    created->AdjustCyclicRefCount(1);
    port = created;
    return S_OK;
}

QZRESULT LMidiComm::SendData(const RCPtr<LRefCountedObject>& port, const IArray<signed char>& bytes)
{
    auto* render = dynamic_cast<LMidiRenderPort*>(port.Get());
    if (render == nullptr || bytes.GetCount() < 1)
    {
        return E_INVALIDARG;
    }
    return render->Send(bytes, mCompletionTimeoutMs);
}

QZRESULT LMidiComm::DoWork(const RCPtr<LRefCountedObject>& params)
{
    if (dynamic_cast<LMidiCaptureNotificationData*>(params.Get()) == nullptr)
    {
        return E_INVALIDARG;
    }
    return Deliver(params);
}

QZRESULT LMidiComm::Deliver(const RCPtr<LRefCountedObject>& data)
{
    // Every message received comes this way; the identifier is looked up by its text only once.
    static const char16_t* const captured = GetNotificationID(NID_MIDI_DATA_CAPTURED);
    RCPtr<LNotification> notification;
    LNotification::Create(notification, captured, data);
    return Distribute(notification);
}

void LMidiComm::MidiInCallback(Platform::MidiInput* handle, Platform::MidiInputMessage message,
                               void* instance, std::uintptr_t param1, std::uintptr_t param2)
{
    if (instance != nullptr)
    {
        static_cast<LMidiComm*>(instance)->OnCaptureMessage(handle, message, param1, param2);
    }
}

void LMidiComm::MidiOutCallback(Platform::MidiOutput* handle, Platform::MidiOutputMessage message,
                                void* instance, std::uintptr_t, std::uintptr_t)
{
    if (instance != nullptr)
    {
        static_cast<LMidiComm*>(instance)->OnRenderMessage(handle, message);
    }
}

void LMidiComm::OnCaptureMessage(Platform::MidiInput* handle, Platform::MidiInputMessage message,
                                 std::uintptr_t param1, std::uintptr_t param2)
{
    RCPtr<LMidiCaptureNotificationData> data;
    {
        Mutex::ScopedLock lock(mLock);
        data = TakeCaptured(handle, message, param1, param2);
    }
    Queue(data);
}

RCPtr<LMidiCaptureNotificationData> LMidiComm::TakeCaptured(Platform::MidiInput* handle,
                                                            Platform::MidiInputMessage message,
                                                            std::uintptr_t param1,
                                                            std::uintptr_t param2)
{
    LMidiCapturePort* port = FindByHandle(mCapturePorts, handle);
    if (port == nullptr)
    {
        return {};
    }
    switch (message)
    {
    case Platform::MidiInputMessage::Data:
    case Platform::MidiInputMessage::MoreData:
    {
        std::uint8_t bytes[4];
        const std::uint32_t length =
            Platform::GetShortMessageLength(static_cast<std::uint8_t>(param1));
        for (std::uint32_t i = 0; i < length; ++i)
        {
            bytes[i] = static_cast<std::uint8_t>(param1 >> (8 * i));
        }
        RCPtr<LMidiCaptureNotificationData> data(
            new LMidiCaptureNotificationData(port->GetName(), static_cast<std::uint32_t>(param2)));
        return Succeeded(data->Append(bytes, static_cast<std::int32_t>(length)))
                   ? data
                   : RCPtr<LMidiCaptureNotificationData>();
    }
    case Platform::MidiInputMessage::LongData:
        return port->TakeChunk(reinterpret_cast<Platform::MidiBuffer*>(param1), false);
    case Platform::MidiInputMessage::LongError:
        (void)port->TakeChunk(reinterpret_cast<Platform::MidiBuffer*>(param1), true);
        return {};
    default:
        return {};
    }
}

void LMidiComm::OnRenderMessage(Platform::MidiOutput* handle, Platform::MidiOutputMessage message)
{
    Mutex::ScopedLock lock(mLock);
    LMidiRenderPort* port = FindByHandle(mRenderPorts, handle);
    if (port != nullptr && message == Platform::MidiOutputMessage::Done)
    {
        port->OnDone();
    }
}

void LMidiComm::Queue(const RCPtr<LMidiCaptureNotificationData>& data)
{
    if (data.IsNull())
    {
        return;
    }
    if (mThreadPool.IsNull())
    {
        static_cast<void>(Deliver(RCPtr<LRefCountedObject>(data)));
        return;
    }
    mThreadPool->QueueWork(RCPtr<LThreadWorker>(this), RCPtr<LRefCountedObject>(data),
                           kWorkPriority);
}

QZRESULT LMidiComm::RemoveCapturePort(LMidiCapturePort& port, RCPtr<LMidiCapturePort>& removed)
{
    Mutex::ScopedLock lock(mLock);
    return TakeOut(mCapturePorts, port, removed);
}

QZRESULT LMidiComm::RemoveRenderPort(LMidiRenderPort& port, RCPtr<LMidiRenderPort>& removed)
{
    Mutex::ScopedLock lock(mLock);
    return TakeOut(mRenderPorts, port, removed);
}

} // namespace QZ
