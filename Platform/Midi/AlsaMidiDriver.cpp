#include "Platform/Midi/AlsaMidiDriver.h"

#include "Platform/Midi/AlsaSequencerClient.h"
#include "Platform/Midi/MidiDeviceList.h"
#include "Platform/Midi/MidiInputStream.h"
#include "Platform/Midi/MidiOutputStream.h"

#include <unistd.h>

namespace Platform
{
namespace
{

class AlsaMidiInput : public MidiInputStream, private AlsaSequencerClient::Receiver
{
public:
    AlsaMidiInput(std::shared_ptr<AlsaSequencerClient> client, int port, MidiInputCallback callback,
                  void* instance)
        : MidiInputStream(callback, instance), mClient(std::move(client)), mPort(port)
    {
        mClient->SetReceiver(mPort, this);
    }

    ~AlsaMidiInput() override
    {
        mClient->Release(mPort);
        Close();
    }

private:
    void Receive(const std::uint8_t* bytes, std::size_t count, std::uint64_t timeUs) override
    {
        Post(bytes, count, timeUs);
    }

    const std::shared_ptr<AlsaSequencerClient> mClient;
    const int mPort;
};

class AlsaMidiOutput : public MidiOutputStream
{
public:
    AlsaMidiOutput(std::shared_ptr<AlsaSequencerClient> client, int port,
                   MidiOutputCallback callback, void* instance)
        : MidiOutputStream(callback, instance), mClient(std::move(client)), mPort(port)
    {
    }

    ~AlsaMidiOutput() override { mClient->Release(mPort); }

protected:
    [[nodiscard]] QZRESULT TransmitLong(MidiBuffer& buffer) override
    {
        if (!mClient->Send(mPort, buffer.data, buffer.bufferLength, true))
        {
            return QZ::E_FAIL;
        }
        Complete(buffer);
        return QZ::S_OK;
    }

    [[nodiscard]] QZRESULT TransmitShort(const std::uint8_t* bytes, std::size_t count) override
    {
        return mClient->Send(mPort, bytes, count, false) ? QZ::S_OK : QZ::E_FAIL;
    }

private:
    const std::shared_ptr<AlsaSequencerClient> mClient;
    const int mPort;
};

// The process's sequencer client, shared by every driver.
std::shared_ptr<AlsaSequencerClient> GetProcessClient()
{
    static std::mutex sMutex;
    static std::weak_ptr<AlsaSequencerClient> sClient;
    std::lock_guard<std::mutex> lock(sMutex);
    std::shared_ptr<AlsaSequencerClient> client = sClient.lock();
    if (!client)
    {
        client = AlsaSequencerClient::Open();
        sClient = client;
    }
    return client;
}

template <class Port, class Stream, class Callback>
QZRESULT MakePort(const std::shared_ptr<AlsaSequencerClient>& client, int port, Callback callback,
                  void* instance, std::unique_ptr<Stream>& stream)
{
    if (port < 0)
    {
        return QZ::E_FAIL;
    }
    stream = std::make_unique<Port>(client, port, callback, instance);
    return QZ::S_OK;
}

} // namespace

struct AlsaMidiDriver::Impl
{
    std::mutex mutex;
    std::shared_ptr<AlsaSequencerClient> client;
    MidiDeviceList inputs;
    MidiDeviceList outputs;

    std::shared_ptr<AlsaSequencerClient> Client()
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!client)
        {
            client = GetProcessClient();
        }
        return client;
    }

    std::uint32_t Enumerate(MidiDeviceList& list, bool inputDevices)
    {
        const std::shared_ptr<AlsaSequencerClient> seq = Client();
        return list.Store(seq ? seq->GetPortNames(inputDevices) : std::vector<std::string>(),
                          inputDevices, true);
    }
};

AlsaMidiDriver::AlsaMidiDriver() : mImpl(std::make_unique<Impl>()) {}

AlsaMidiDriver::~AlsaMidiDriver() = default;

bool AlsaMidiDriver::IsSequencerAvailable()
{
    return access("/dev/snd/seq", R_OK | W_OK) == 0;
}

std::uint32_t AlsaMidiDriver::GetInputCount()
{
    return mImpl->Enumerate(mImpl->inputs, true);
}

std::uint32_t AlsaMidiDriver::GetOutputCount()
{
    return mImpl->Enumerate(mImpl->outputs, false);
}

QZRESULT AlsaMidiDriver::GetInputName(std::uint32_t device, std::string& name)
{
    return mImpl->inputs.GetShownName(device, name);
}

QZRESULT AlsaMidiDriver::GetOutputName(std::uint32_t device, std::string& name)
{
    return mImpl->outputs.GetShownName(device, name);
}

QZRESULT AlsaMidiDriver::OpenInput(std::uint32_t device, MidiInputCallback callback, void* instance,
                                   std::unique_ptr<MidiInput>& input)
{
    input.reset();
    const std::string peer = mImpl->inputs.GetSystemName(device);
    const std::shared_ptr<AlsaSequencerClient> client = mImpl->Client();
    if (peer.empty() || callback == nullptr || !client)
    {
        return QZ::E_FAIL;
    }
    return MakePort<AlsaMidiInput>(client, client->Connect(true, peer), callback, instance, input);
}

QZRESULT AlsaMidiDriver::OpenOutput(std::uint32_t device, MidiOutputCallback callback,
                                    void* instance, std::unique_ptr<MidiOutput>& output)
{
    output.reset();
    const std::string peer = mImpl->outputs.GetSystemName(device);
    const std::shared_ptr<AlsaSequencerClient> client = mImpl->Client();
    if (peer.empty() || callback == nullptr || !client)
    {
        return QZ::E_FAIL;
    }
    return MakePort<AlsaMidiOutput>(client, client->Connect(false, peer), callback, instance,
                                    output);
}

QZRESULT AlsaMidiDriver::PublishInput(const std::string& name, MidiInputCallback callback,
                                      void* instance, std::unique_ptr<MidiInput>& input)
{
    input.reset();
    const std::shared_ptr<AlsaSequencerClient> client =
        name.empty() || callback == nullptr ? nullptr : mImpl->Client();
    if (!client)
    {
        return QZ::E_FAIL;
    }
    return MakePort<AlsaMidiInput>(client, client->Publish(true, name), callback, instance, input);
}

QZRESULT AlsaMidiDriver::PublishOutput(const std::string& name, MidiOutputCallback callback,
                                       void* instance, std::unique_ptr<MidiOutput>& output)
{
    output.reset();
    const std::shared_ptr<AlsaSequencerClient> client =
        name.empty() || callback == nullptr ? nullptr : mImpl->Client();
    if (!client)
    {
        return QZ::E_FAIL;
    }
    return MakePort<AlsaMidiOutput>(client, client->Publish(false, name), callback, instance,
                                    output);
}

} // namespace Platform
