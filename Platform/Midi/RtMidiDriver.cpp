#include "Platform/Midi/RtMidiDriver.h"

#include "Platform/Midi/MidiInputStream.h"
#include "Platform/Midi/MidiOutputStream.h"
#include "Platform/Midi/MidiPortNames.h"

#if __has_include(<RtMidi.h>)
#include <RtMidi.h>
#else
#error "RtMidi.h not found: install the Debian package librtmidi-dev"
#endif
#if __has_include(<jack/jack.h>)
#include <jack/jack.h>
#else
#error "jack/jack.h not found: install the Debian package libjack-jackd2-dev"
#endif

#include <cstdlib>
#include <mutex>
#include <unistd.h>
#include <vector>

namespace Platform
{
namespace
{

constexpr const char* kClientName = "QZ MIDI";

// The name of a new sequencer client. A JACK client's socket is named after the client alone, so
// clients of one name opened at once by two processes (even on two servers) break each other;
// the process id keeps the names of this process apart from any other's.
std::string ClientName(RtMidiDriver::Api api, const std::string& base)
{
    if (api == RtMidiDriver::Api::Alsa)
    {
        return base;
    }
    return base + " " + std::to_string(getpid());
}
constexpr std::size_t kMaxSysExLength = 64 * 1024;

RtMidi::Api ToRtMidiApi(RtMidiDriver::Api api)
{
    return api == RtMidiDriver::Api::Alsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

// Collects RtMidi's errors for the object it is attached to, so that no error is printed or
// thrown and each call can be checked afterwards.
struct ErrorSink
{
    bool failed = false;
    std::string text;

    static void Record(RtMidiError::Type type, const std::string& text, void* user)
    {
        if (type == RtMidiError::DEBUG_WARNING)
        {
            return;
        }
        auto* sink = static_cast<ErrorSink*>(user);
        sink->failed = true;
        sink->text = text;
    }
};

void IgnoreJackMessage(const char*) {}

// The JACK library prints to stderr whenever no server runs, and may start one; neither suits a
// program that only looks for a keyboard.
void QuietJack()
{
    static std::once_flag once;
    std::call_once(once,
                   []
                   {
                       setenv("JACK_NO_START_SERVER", "1", 0);
                       jack_set_error_function(IgnoreJackMessage);
                       jack_set_info_function(IgnoreJackMessage);
                   });
}

// RtMidi reports an unreachable server only by printing, and leaks what it made for it; asking
// first keeps both away.
bool IsJackServerRunning()
{
    jack_status_t status{};
    const std::string name = ClientName(RtMidiDriver::Api::Jack, kClientName);
    jack_client_t* client = jack_client_open(name.c_str(), JackNoStartServer, &status);
    if (client == nullptr)
    {
        return false;
    }
    jack_client_close(client);
    return true;
}

bool IsReachable(RtMidiDriver::Api api)
{
    return api == RtMidiDriver::Api::Alsa ? RtMidiDriver::IsAlsaSequencerAvailable()
                                          : IsJackServerRunning();
}

// Makes an RtMidi object of type T with the sink attached; null when the API cannot be reached.
template <class T>
std::unique_ptr<T> MakeRtMidi(RtMidiDriver::Api api, const std::string& clientName, ErrorSink& sink)
{
    if (!IsReachable(api))
    {
        return nullptr;
    }
    try
    {
        auto object = std::make_unique<T>(ToRtMidiApi(api), clientName);
        object->setErrorCallback(&ErrorSink::Record, &sink);
        return object;
    }
    catch (const RtMidiError&)
    {
        return nullptr;
    }
}

// The port number of the port RtMidi calls systemName, or -1.
int FindPort(RtMidi& midi, const std::string& systemName)
{
    try
    {
        const unsigned int count = midi.getPortCount();
        for (unsigned int i = 0; i < count; ++i)
        {
            if (midi.getPortName(i) == systemName)
            {
                return static_cast<int>(i);
            }
        }
    }
    catch (const RtMidiError&)
    {
    }
    return -1;
}

class RtMidiInputPort : public MidiInputStream
{
public:
    RtMidiInputPort(MidiInputCallback callback, void* instance)
        : MidiInputStream(callback, instance)
    {
    }

    ~RtMidiInputPort() override
    {
        // Closing RtMidi waits for its own thread, after which no byte is posted.
        mIn.reset();
        Close();
    }

    // Connects to the system's port systemName, or publishes a port called publishedName when
    // systemName is empty.
    bool Connect(RtMidiDriver::Api api, const std::string& systemName,
                 const std::string& publishedName)
    {
        const std::string client =
            publishedName.empty() ? kClientName : GetDeviceOfPortName(publishedName);
        mIn = MakeRtMidi<RtMidiIn>(api, ClientName(api, client), mErrors);
        if (!mIn)
        {
            return false;
        }
        try
        {
            mIn->ignoreTypes(false, false, false);
            mIn->setCallback(&RtMidiInputPort::OnMessage, this);
            if (publishedName.empty())
            {
                const int port = FindPort(*mIn, systemName);
                if (port < 0)
                {
                    return false;
                }
                mIn->openPort(static_cast<unsigned int>(port), "capture");
            }
            else
            {
                mIn->openVirtualPort(publishedName);
            }
        }
        catch (const RtMidiError&)
        {
            return false;
        }
        return !mErrors.failed && (!publishedName.empty() || mIn->isPortOpen());
    }

private:
    static void OnMessage(double, std::vector<unsigned char>* message, void* user)
    {
        if (message != nullptr)
        {
            static_cast<RtMidiInputPort*>(user)->Post(message->data(), message->size());
        }
    }

    ErrorSink mErrors;
    std::unique_ptr<RtMidiIn> mIn;
};

class RtMidiOutputPort : public MidiOutputStream
{
public:
    RtMidiOutputPort(MidiOutputCallback callback, void* instance)
        : MidiOutputStream(callback, instance)
    {
    }

    bool Connect(RtMidiDriver::Api api, const std::string& systemName,
                 const std::string& publishedName)
    {
        const std::string client =
            publishedName.empty() ? kClientName : GetDeviceOfPortName(publishedName);
        mOut = MakeRtMidi<RtMidiOut>(api, ClientName(api, client), mErrors);
        if (!mOut)
        {
            return false;
        }
        try
        {
            if (publishedName.empty())
            {
                const int port = FindPort(*mOut, systemName);
                if (port < 0)
                {
                    return false;
                }
                mOut->openPort(static_cast<unsigned int>(port), "render");
            }
            else
            {
                mOut->openVirtualPort(publishedName);
            }
        }
        catch (const RtMidiError&)
        {
            return false;
        }
        return !mErrors.failed && (!publishedName.empty() || mOut->isPortOpen());
    }

protected:
    [[nodiscard]] QZRESULT TransmitLong(MidiBuffer& buffer) override
    {
        bool sent = true;
        {
            std::lock_guard<std::mutex> lock(mMutex);
            for (std::uint32_t i = 0; i < buffer.bufferLength && sent; ++i)
            {
                sent = Gather(buffer.data[i]);
            }
        }
        if (!sent)
        {
            return QZ::E_FAIL;
        }
        Complete(buffer);
        return QZ::S_OK;
    }

    [[nodiscard]] QZRESULT TransmitShort(const std::uint8_t* bytes, std::size_t count) override
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return Send(bytes, count) ? QZ::S_OK : QZ::E_FAIL;
    }

private:
    // Takes one byte of a long message; false when a message it completed could not be sent.
    bool Gather(std::uint8_t byte)
    {
        if (byte >= 0xF8)
        {
            return Send(&byte, 1);
        }
        if (byte == 0xF0)
        {
            mPending.assign(1, byte);
            mGathering = true;
            return true;
        }
        if (!mGathering)
        {
            return true;
        }
        if (byte >= 0x80 && byte != 0xF7)
        {
            Abandon();
            return true;
        }
        if (mPending.size() == kMaxSysExLength)
        {
            Abandon();
            return true;
        }
        mPending.push_back(byte);
        if (byte != 0xF7)
        {
            return true;
        }
        const bool sent = Send(mPending.data(), mPending.size());
        Abandon();
        return sent;
    }

    void Abandon()
    {
        mPending.clear();
        mGathering = false;
    }

    bool Send(const std::uint8_t* bytes, std::size_t count)
    {
        mErrors.failed = false;
        try
        {
            mOut->sendMessage(bytes, count);
        }
        catch (const RtMidiError&)
        {
            return false;
        }
        return !mErrors.failed;
    }

    ErrorSink mErrors;
    std::unique_ptr<RtMidiOut> mOut;
    std::mutex mMutex;
    std::vector<std::uint8_t> mPending;
    bool mGathering = false;
};

struct PortList
{
    std::vector<std::string> systemNames;
    std::vector<std::string> shownNames;
};

template <class T> PortList Enumerate(RtMidiDriver::Api api, bool inputs)
{
    PortList list;
    ErrorSink errors;
    std::unique_ptr<T> probe = MakeRtMidi<T>(api, ClientName(api, kClientName), errors);
    if (!probe)
    {
        return list;
    }
    std::vector<MidiPortEntry> entries;
    try
    {
        const unsigned int count = probe->getPortCount();
        for (unsigned int i = 0; i < count; ++i)
        {
            std::string name = probe->getPortName(i);
            if (name.empty())
            {
                continue;
            }
            entries.push_back(ParseMidiPortName(name, api == RtMidiDriver::Api::Alsa));
            list.systemNames.push_back(std::move(name));
        }
    }
    catch (const RtMidiError&)
    {
        return {};
    }
    list.shownNames = ComposeMidiPortNames(entries, inputs);
    return list;
}

} // namespace

struct RtMidiDriver::Impl
{
    explicit Impl(Api api) : api(api) {}

    const Api api;
    std::mutex mutex;
    PortList inputs;
    PortList outputs;

    std::string SystemName(const PortList& list, std::uint32_t device)
    {
        std::lock_guard<std::mutex> lock(mutex);
        return device < list.systemNames.size() ? list.systemNames[device] : std::string();
    }
    QZRESULT ShownName(const PortList& list, std::uint32_t device, std::string& name)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (device >= list.shownNames.size())
        {
            return QZ::E_INVALIDARG;
        }
        name = list.shownNames[device];
        return QZ::S_OK;
    }
    std::uint32_t Store(PortList& list, PortList found)
    {
        std::lock_guard<std::mutex> lock(mutex);
        list = std::move(found);
        return static_cast<std::uint32_t>(list.shownNames.size());
    }
};

RtMidiDriver::RtMidiDriver(Api api) : mImpl(std::make_unique<Impl>(api))
{
    if (api == Api::Jack)
    {
        QuietJack();
    }
}

RtMidiDriver::~RtMidiDriver() = default;

bool RtMidiDriver::IsAlsaSequencerAvailable()
{
    return access("/dev/snd/seq", R_OK | W_OK) == 0;
}

std::string RtMidiDriver::GetName() const
{
    return mImpl->api == Api::Alsa ? "alsa" : "jack";
}

std::uint32_t RtMidiDriver::GetInputCount()
{
    return mImpl->Store(mImpl->inputs, Enumerate<RtMidiIn>(mImpl->api, true));
}

std::uint32_t RtMidiDriver::GetOutputCount()
{
    return mImpl->Store(mImpl->outputs, Enumerate<RtMidiOut>(mImpl->api, false));
}

QZRESULT RtMidiDriver::GetInputName(std::uint32_t device, std::string& name)
{
    return mImpl->ShownName(mImpl->inputs, device, name);
}

QZRESULT RtMidiDriver::GetOutputName(std::uint32_t device, std::string& name)
{
    return mImpl->ShownName(mImpl->outputs, device, name);
}

QZRESULT RtMidiDriver::OpenInput(std::uint32_t device, MidiInputCallback callback, void* instance,
                                 std::unique_ptr<MidiInput>& input)
{
    input.reset();
    const std::string systemName = mImpl->SystemName(mImpl->inputs, device);
    if (systemName.empty() || callback == nullptr)
    {
        return QZ::E_FAIL;
    }
    auto port = std::make_unique<RtMidiInputPort>(callback, instance);
    if (!port->Connect(mImpl->api, systemName, std::string()))
    {
        return QZ::E_FAIL;
    }
    input = std::move(port);
    return QZ::S_OK;
}

QZRESULT RtMidiDriver::OpenOutput(std::uint32_t device, MidiOutputCallback callback, void* instance,
                                  std::unique_ptr<MidiOutput>& output)
{
    output.reset();
    const std::string systemName = mImpl->SystemName(mImpl->outputs, device);
    if (systemName.empty() || callback == nullptr)
    {
        return QZ::E_FAIL;
    }
    auto port = std::make_unique<RtMidiOutputPort>(callback, instance);
    if (!port->Connect(mImpl->api, systemName, std::string()))
    {
        return QZ::E_FAIL;
    }
    output = std::move(port);
    return QZ::S_OK;
}

QZRESULT RtMidiDriver::PublishInput(const std::string& name, MidiInputCallback callback,
                                    void* instance, std::unique_ptr<MidiInput>& input)
{
    input.reset();
    if (name.empty() || callback == nullptr)
    {
        return QZ::E_FAIL;
    }
    auto port = std::make_unique<RtMidiInputPort>(callback, instance);
    if (!port->Connect(mImpl->api, std::string(), name))
    {
        return QZ::E_FAIL;
    }
    input = std::move(port);
    return QZ::S_OK;
}

QZRESULT RtMidiDriver::PublishOutput(const std::string& name, MidiOutputCallback callback,
                                     void* instance, std::unique_ptr<MidiOutput>& output)
{
    output.reset();
    if (name.empty() || callback == nullptr)
    {
        return QZ::E_FAIL;
    }
    auto port = std::make_unique<RtMidiOutputPort>(callback, instance);
    if (!port->Connect(mImpl->api, std::string(), name))
    {
        return QZ::E_FAIL;
    }
    output = std::move(port);
    return QZ::S_OK;
}

} // namespace Platform
