#include "Platform/Midi/JackMidiDriver.h"

#include "Platform/Midi/JackMidiClient.h"
#include "Platform/Midi/MidiDeviceList.h"
#include "Platform/Midi/MidiInputStream.h"
#include "Platform/Midi/MidiOutputStream.h"

namespace Platform
{
namespace
{

using Lease = JackMidiClient::Lease;

class JackMidiInput : public MidiInputStream, private JackMidiClient::Receiver
{
public:
    JackMidiInput(std::shared_ptr<JackMidiClient> client, const Lease& lease,
                  MidiInputCallback callback, void* instance)
        : MidiInputStream(callback, instance), mClient(std::move(client)), mLease(lease)
    {
        mClient->SetReceiver(mLease, this);
    }

    ~JackMidiInput() override
    {
        mClient->SetReceiver(mLease, nullptr);
        mClient->Release(mLease);
        Close();
    }

private:
    void Receive(const std::uint8_t* bytes, std::size_t count, std::uint64_t timeUs) override
    {
        Post(bytes, count, timeUs);
    }

    const std::shared_ptr<JackMidiClient> mClient;
    const Lease mLease;
};

class JackMidiOutput : public MidiOutputStream
{
public:
    JackMidiOutput(std::shared_ptr<JackMidiClient> client, const Lease& lease,
                   MidiOutputCallback callback, void* instance)
        : MidiOutputStream(callback, instance), mClient(std::move(client)), mLease(lease)
    {
    }

    ~JackMidiOutput() override { mClient->Release(mLease); }

protected:
    [[nodiscard]] QZRESULT TransmitLong(MidiBuffer& buffer) override
    {
        if (!mClient->Send(mLease, buffer.data, buffer.bufferLength))
        {
            return QZ::E_FAIL;
        }
        Complete(buffer);
        return QZ::S_OK;
    }

    [[nodiscard]] QZRESULT TransmitShort(const std::uint8_t* bytes, std::size_t count) override
    {
        return mClient->Send(mLease, bytes, count) ? QZ::S_OK : QZ::E_FAIL;
    }

private:
    const std::shared_ptr<JackMidiClient> mClient;
    const Lease mLease;
};

// The process's client, shared by every driver; a new one only once the server dropped it.
std::shared_ptr<JackMidiClient> GetProcessClient()
{
    static std::mutex sMutex;
    static std::weak_ptr<JackMidiClient> sClient;
    std::lock_guard<std::mutex> lock(sMutex);
    std::shared_ptr<JackMidiClient> client = sClient.lock();
    if (!client || !client->IsAlive())
    {
        client = JackMidiClient::Open();
        sClient = client;
    }
    return client;
}

template <class Port, class Stream, class Callback>
QZRESULT MakePort(const std::shared_ptr<JackMidiClient>& client, const Lease& lease,
                  Callback callback, void* instance, std::unique_ptr<Stream>& stream)
{
    if (lease.slot < 0)
    {
        return QZ::E_FAIL;
    }
    stream = std::make_unique<Port>(client, lease, callback, instance);
    return QZ::S_OK;
}

} // namespace

struct JackMidiDriver::Impl
{
    std::mutex mutex;
    std::shared_ptr<JackMidiClient> client;
    MidiDeviceList inputs;
    MidiDeviceList outputs;

    std::shared_ptr<JackMidiClient> Client()
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!client || !client->IsAlive())
        {
            client = GetProcessClient();
        }
        return client;
    }

    // Connects a port to the device and leaves the connection standing for the next open.
    void Prepare(const MidiDeviceList& list, bool inputDevice, std::uint32_t device)
    {
        const std::string peer = list.GetSystemName(device);
        const std::shared_ptr<JackMidiClient> jack = peer.empty() ? nullptr : Client();
        if (jack)
        {
            jack->Release(jack->Connect(inputDevice, peer));
        }
    }

    std::uint32_t Enumerate(MidiDeviceList& list, bool inputDevices)
    {
        const std::shared_ptr<JackMidiClient> jack = Client();
        return list.Store(jack ? jack->GetPortNames(inputDevices) : std::vector<std::string>(),
                          inputDevices, false);
    }
};

JackMidiDriver::JackMidiDriver() : mImpl(std::make_unique<Impl>()) {}

JackMidiDriver::~JackMidiDriver() = default;

int JackMidiDriver::GetClientOpenCount()
{
    return JackMidiClient::GetOpenCount();
}

std::uint32_t JackMidiDriver::GetInputCount()
{
    return mImpl->Enumerate(mImpl->inputs, true);
}

std::uint32_t JackMidiDriver::GetOutputCount()
{
    return mImpl->Enumerate(mImpl->outputs, false);
}

QZRESULT JackMidiDriver::GetInputName(std::uint32_t device, std::string& name)
{
    return mImpl->inputs.GetShownName(device, name);
}

QZRESULT JackMidiDriver::GetOutputName(std::uint32_t device, std::string& name)
{
    return mImpl->outputs.GetShownName(device, name);
}

QZRESULT JackMidiDriver::OpenInput(std::uint32_t device, MidiInputCallback callback, void* instance,
                                   std::unique_ptr<MidiInput>& input)
{
    input.reset();
    const std::string peer = mImpl->inputs.GetSystemName(device);
    const std::shared_ptr<JackMidiClient> client = mImpl->Client();
    if (peer.empty() || callback == nullptr || !client)
    {
        return QZ::E_FAIL;
    }
    return MakePort<JackMidiInput>(client, client->Connect(true, peer), callback, instance, input);
}

QZRESULT JackMidiDriver::OpenOutput(std::uint32_t device, MidiOutputCallback callback,
                                    void* instance, std::unique_ptr<MidiOutput>& output)
{
    output.reset();
    const std::string peer = mImpl->outputs.GetSystemName(device);
    const std::shared_ptr<JackMidiClient> client = mImpl->Client();
    if (peer.empty() || callback == nullptr || !client)
    {
        return QZ::E_FAIL;
    }
    return MakePort<JackMidiOutput>(client, client->Connect(false, peer), callback, instance,
                                    output);
}

void JackMidiDriver::PrepareInput(std::uint32_t device)
{
    mImpl->Prepare(mImpl->inputs, true, device);
}

void JackMidiDriver::PrepareOutput(std::uint32_t device)
{
    mImpl->Prepare(mImpl->outputs, false, device);
}

QZRESULT JackMidiDriver::PublishInput(const std::string& name, MidiInputCallback callback,
                                      void* instance, std::unique_ptr<MidiInput>& input)
{
    input.reset();
    const std::shared_ptr<JackMidiClient> client =
        name.empty() || callback == nullptr ? nullptr : mImpl->Client();
    if (!client)
    {
        return QZ::E_FAIL;
    }
    return MakePort<JackMidiInput>(client, client->Publish(true, name), callback, instance, input);
}

QZRESULT JackMidiDriver::PublishOutput(const std::string& name, MidiOutputCallback callback,
                                       void* instance, std::unique_ptr<MidiOutput>& output)
{
    output.reset();
    const std::shared_ptr<JackMidiClient> client =
        name.empty() || callback == nullptr ? nullptr : mImpl->Client();
    if (!client)
    {
        return QZ::E_FAIL;
    }
    return MakePort<JackMidiOutput>(client, client->Publish(false, name), callback, instance,
                                    output);
}

} // namespace Platform
