#include "Platform/Midi/VirtualMidiDriver.h"

#include "Platform/Midi/MidiInputStream.h"
#include "Platform/Midi/MidiOutputStream.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <vector>

namespace Platform
{

class VirtualMidiInput;

namespace
{

// A device on the bus: what is sent to it reaches its listeners.
struct Device
{
    std::string name;
    std::vector<VirtualMidiInput*> listeners;
};

using DeviceList = std::vector<std::shared_ptr<Device>>;

} // namespace

struct VirtualMidiDriver::Bus
{
    std::mutex mutex;
    // Devices the users of the driver read from: made by PublishOutput.
    DeviceList inputDevices;
    // Devices the users of the driver send to: made by PublishInput.
    DeviceList outputDevices;
    std::atomic<bool> completionsWithheld{false};
    std::atomic<bool> inlineDelivery{false};
    std::mutex observerMutex;
    VirtualMidiDriver::SendObserver observer;
    // What the observer is shown, under observerMutex: one store for every message sent.
    std::vector<std::uint8_t> observed;

    void Observe(const Device& device, const std::uint8_t* bytes, std::size_t count)
    {
        std::lock_guard<std::mutex> lock(observerMutex);
        if (observer)
        {
            observed.assign(bytes, bytes + count);
            observer(device.name, observed);
        }
    }

    void Deliver(Device& device, const std::uint8_t* bytes, std::size_t count);
    void Attach(Device& device, VirtualMidiInput* input)
    {
        std::lock_guard<std::mutex> lock(mutex);
        device.listeners.push_back(input);
    }
    void Detach(Device& device, VirtualMidiInput* input)
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::erase(device.listeners, input);
    }
    void Withdraw(DeviceList& list, const std::shared_ptr<Device>& device)
    {
        std::lock_guard<std::mutex> lock(mutex);
        std::erase(list, device);
    }
    std::shared_ptr<Device> Find(const DeviceList& list, std::uint32_t index)
    {
        std::lock_guard<std::mutex> lock(mutex);
        return index < list.size() ? list[index] : nullptr;
    }
    std::shared_ptr<Device> Add(DeviceList& list, const std::string& name)
    {
        auto device = std::make_shared<Device>();
        device->name = name;
        std::lock_guard<std::mutex> lock(mutex);
        list.push_back(device);
        return device;
    }
};

class VirtualMidiInput : public MidiInputStream
{
public:
    VirtualMidiInput(std::shared_ptr<VirtualMidiDriver::Bus> bus, std::shared_ptr<Device> device,
                     bool published, MidiInputCallback callback, void* instance)
        : MidiInputStream(callback, instance, bus->inlineDelivery.load()), mBus(std::move(bus)),
          mDevice(std::move(device)), mPublished(published)
    {
        mBus->Attach(*mDevice, this);
    }

    ~VirtualMidiInput() override
    {
        mBus->Detach(*mDevice, this);
        if (mPublished)
        {
            mBus->Withdraw(mBus->outputDevices, mDevice);
        }
        Close();
    }

    void Receive(const std::uint8_t* bytes, std::size_t count)
    {
        Post(bytes, count, SteadyMicroseconds());
    }

private:
    const std::shared_ptr<VirtualMidiDriver::Bus> mBus;
    const std::shared_ptr<Device> mDevice;
    const bool mPublished;
};

void VirtualMidiDriver::Bus::Deliver(Device& device, const std::uint8_t* bytes, std::size_t count)
{
    std::unique_lock<std::mutex> lock(mutex);
    if (!inlineDelivery.load())
    {
        for (VirtualMidiInput* listener : device.listeners)
        {
            listener->Receive(bytes, count);
        }
        return;
    }
    // An inline delivery runs the receiver's code, which takes its own locks, and those are held
    // while ports are opened on this bus; so the bus's lock is let go first. The listeners stay
    // alive meanwhile, since an inline bus is used from one thread. A device mostly has one
    // listener, which needs no copy of the list.
    if (device.listeners.size() == 1)
    {
        VirtualMidiInput* const listener = device.listeners.front();
        lock.unlock();
        listener->Receive(bytes, count);
        return;
    }
    const std::vector<VirtualMidiInput*> listeners = device.listeners;
    lock.unlock();
    for (VirtualMidiInput* listener : listeners)
    {
        listener->Receive(bytes, count);
    }
}

namespace
{

class VirtualMidiOutput : public MidiOutputStream
{
public:
    VirtualMidiOutput(std::shared_ptr<VirtualMidiDriver::Bus> bus, std::shared_ptr<Device> device,
                      bool published, MidiOutputCallback callback, void* instance)
        : MidiOutputStream(callback, instance), mBus(std::move(bus)), mDevice(std::move(device)),
          mPublished(published)
    {
    }

    ~VirtualMidiOutput() override
    {
        if (mPublished)
        {
            mBus->Withdraw(mBus->inputDevices, mDevice);
        }
    }

    [[nodiscard]] QZRESULT Reset() override
    {
        std::vector<MidiBuffer*> held;
        {
            std::lock_guard<std::mutex> lock(mHeldMutex);
            held.swap(mHeld);
        }
        for (MidiBuffer* buffer : held)
        {
            Complete(*buffer);
        }
        return QZ::S_OK;
    }

protected:
    [[nodiscard]] QZRESULT TransmitLong(MidiBuffer& buffer) override
    {
        mBus->Observe(*mDevice, buffer.data, buffer.bufferLength);
        mBus->Deliver(*mDevice, buffer.data, buffer.bufferLength);
        if (mBus->completionsWithheld.load())
        {
            std::lock_guard<std::mutex> lock(mHeldMutex);
            mHeld.push_back(&buffer);
            return QZ::S_OK;
        }
        Complete(buffer);
        return QZ::S_OK;
    }

    [[nodiscard]] QZRESULT TransmitShort(const std::uint8_t* bytes, std::size_t count) override
    {
        mBus->Observe(*mDevice, bytes, count);
        mBus->Deliver(*mDevice, bytes, count);
        return QZ::S_OK;
    }

private:
    const std::shared_ptr<VirtualMidiDriver::Bus> mBus;
    const std::shared_ptr<Device> mDevice;
    const bool mPublished;
    std::mutex mHeldMutex;
    std::vector<MidiBuffer*> mHeld;
};

std::uint32_t CountOf(std::mutex& mutex, const DeviceList& list)
{
    std::lock_guard<std::mutex> lock(mutex);
    return static_cast<std::uint32_t>(list.size());
}

QZRESULT NameOf(std::mutex& mutex, const DeviceList& list, std::uint32_t device, std::string& name)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (device >= list.size())
    {
        return QZ::E_INVALIDARG;
    }
    name = list[device]->name;
    return QZ::S_OK;
}

} // namespace

VirtualMidiDriver::VirtualMidiDriver() : mBus(std::make_shared<Bus>()) {}

VirtualMidiDriver::~VirtualMidiDriver() = default;

std::uint32_t VirtualMidiDriver::GetInputCount()
{
    return CountOf(mBus->mutex, mBus->inputDevices);
}

std::uint32_t VirtualMidiDriver::GetOutputCount()
{
    return CountOf(mBus->mutex, mBus->outputDevices);
}

QZRESULT VirtualMidiDriver::GetInputName(std::uint32_t device, std::string& name)
{
    return NameOf(mBus->mutex, mBus->inputDevices, device, name);
}

QZRESULT VirtualMidiDriver::GetOutputName(std::uint32_t device, std::string& name)
{
    return NameOf(mBus->mutex, mBus->outputDevices, device, name);
}

QZRESULT VirtualMidiDriver::OpenInput(std::uint32_t device, MidiInputCallback callback,
                                      void* instance, std::unique_ptr<MidiInput>& input)
{
    input.reset();
    std::shared_ptr<Device> found = mBus->Find(mBus->inputDevices, device);
    if (!found || callback == nullptr)
    {
        return QZ::E_FAIL;
    }
    input = std::make_unique<VirtualMidiInput>(mBus, std::move(found), false, callback, instance);
    return QZ::S_OK;
}

QZRESULT VirtualMidiDriver::OpenOutput(std::uint32_t device, MidiOutputCallback callback,
                                       void* instance, std::unique_ptr<MidiOutput>& output)
{
    output.reset();
    std::shared_ptr<Device> found = mBus->Find(mBus->outputDevices, device);
    if (!found || callback == nullptr)
    {
        return QZ::E_FAIL;
    }
    output = std::make_unique<VirtualMidiOutput>(mBus, std::move(found), false, callback, instance);
    return QZ::S_OK;
}

QZRESULT VirtualMidiDriver::PublishInput(const std::string& name, MidiInputCallback callback,
                                         void* instance, std::unique_ptr<MidiInput>& input)
{
    input.reset();
    if (name.empty() || callback == nullptr)
    {
        return QZ::E_FAIL;
    }
    input = std::make_unique<VirtualMidiInput>(mBus, mBus->Add(mBus->outputDevices, name), true,
                                               callback, instance);
    return QZ::S_OK;
}

QZRESULT VirtualMidiDriver::PublishOutput(const std::string& name, MidiOutputCallback callback,
                                          void* instance, std::unique_ptr<MidiOutput>& output)
{
    output.reset();
    if (name.empty() || callback == nullptr)
    {
        return QZ::E_FAIL;
    }
    output = std::make_unique<VirtualMidiOutput>(mBus, mBus->Add(mBus->inputDevices, name), true,
                                                 callback, instance);
    return QZ::S_OK;
}

void VirtualMidiDriver::SetCompletionsWithheld(bool withheld)
{
    mBus->completionsWithheld.store(withheld);
}

void VirtualMidiDriver::SetInlineDelivery(bool inlineDelivery)
{
    mBus->inlineDelivery.store(inlineDelivery);
}

bool VirtualMidiDriver::DeliversOnSendingThread() const
{
    return mBus->inlineDelivery.load();
}

void VirtualMidiDriver::SetSendObserver(SendObserver observer)
{
    std::lock_guard<std::mutex> lock(mBus->observerMutex);
    mBus->observer = std::move(observer);
}

} // namespace Platform
