// The keyboard's side of a transfer is played by the fuzzer: the manager fetches a preset or asks
// for a global setting, and the answer is arbitrary bytes in arbitrary pieces, followed by the
// right reply. They travel the whole road a reply travels: the virtual MIDI bus, the driver's input
// parser, the capture port's assembly, the service's delivery, the manager's capture handler and
// the application's engine.
//
// Everything runs on the fuzzer's thread, on a clock of the fuzzer's own: the bus delivers inline,
// and time passes only when the manager pauses after a piece or waits for a reply, which is when
// the keyboard answers what reached it. So an input costs no thread and no real waiting, while
// the manager still paces, waits, repeats and times out as it does against a keyboard.
//
// After every transfer the engine holds either the preset it held before or the whole value area
// of a preset dump that was sent; a fetch reported as done leaves a sent dump in it; and every
// global setting announced is one that a whole global-parameter reply carried.
//
// Input: one byte choosing the transfer (bit 0 clear: fetch slot (b >> 1) mod 13; set: ask for
// global setting (b >> 1) mod 16), then records of one length byte L and min(L + 1, rest) bytes,
// each sent as one piece.
#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "Engine/RededoVuvuvaCommon/GlobalParameters.h"
#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "Platform/Midi/VirtualMidiDriver.h"
#include "Platform/Midi/fuzz/WireFeed.h"
#include "QZFramework/Application/Application.h"
#include "QZFramework/Midi/MidiSysExAssembly.h"
#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Utilities/Storage/ParamRange.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <set>
#include <utility>
#include <vector>

using Platform::Fuzzing::Bytes;

namespace
{

constexpr const char* kKeyboardOutput = "MIDIIN4 (Tarn 61)";
constexpr const char* kKeyboardInput = "MIDIOUT4 (Tarn 61)";
constexpr std::uint8_t kGetPreset = 0x62;
constexpr std::uint8_t kRequestGlobal = 0x6B;
constexpr std::uint8_t kGlobalReply = 0x6C;
constexpr std::size_t kDumpLength = 1350;
constexpr std::size_t kValueOffset = 11;
constexpr std::size_t kGlobalReplyLength = 15;
const Bytes kDeviceHeader = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06};
const Bytes kIdentityRequest = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};
const Bytes kIdentityReply = {0xF0, 0x7E, 0x7F, 0x06, 0x02, 0x00, 0x3C, 0x1D,
                              0x31, 0x06, '1',  '0',  '2',  '7',  0xF7};

void Fail(const char* what)
{
    std::fprintf(stderr, "MidiReplyFuzzer: %s\n", what);
    std::abort();
}

bool HasCommand(const Bytes& message, std::size_t length, std::uint8_t command)
{
    return message.size() == length &&
           std::equal(kDeviceHeader.begin(), kDeviceHeader.end(), message.begin()) &&
           message[7] == command;
}

// F0 00 3C 1D 7F 31 06 63 0A 3B ss (1,338 value bytes) F7, every value byte (seed + i) mod 128.
Bytes MakeDump(std::uint8_t slot, std::uint8_t seed)
{
    Bytes dump = kDeviceHeader;
    dump.insert(dump.end(), {0x63, 0x0A, 0x3B, slot});
    for (std::size_t i = 0; i < kPresetValueBytes; ++i)
    {
        dump.push_back(static_cast<std::uint8_t>((seed + i) % 0x80));
    }
    dump.push_back(0xF7);
    return dump;
}

// F0 00 3C 1D 7F 31 06 6C 00 04 00 ii hh ll F7.
Bytes MakeGlobalReply(std::uint8_t index)
{
    Bytes reply = kDeviceHeader;
    reply.insert(reply.end(), {kGlobalReply, 0x00, 0x04, 0x00, index, 0x01, 0x23, 0xF7});
    return reply;
}

// The engine's value area. The list read into is kept for the run, so that its 131 entries are
// overwritten rather than made anew for every input.
Bytes GetEngineBytes(LRootModuleEngine& engine)
{
    static QZ::Array<QZ::ParamValue> values(static_cast<std::int32_t>(kPresetParamCount));
    Bytes bytes;
    bytes.reserve(kPresetValueBytes);
    if (engine.GetParamValues(QZ::ParamRange{0, kPresetParamCount}, values, 0) < 0 ||
        values.GetCount() != static_cast<std::int32_t>(kPresetParamCount))
    {
        Fail("the engine does not give its preset");
    }
    for (std::int32_t k = 0; k < values.GetCount(); ++k)
    {
        std::uint32_t size = 0;
        const auto* data = static_cast<const std::uint8_t*>(values.GetAt(k).mValue.GetData(size));
        bytes.insert(bytes.end(), data, data + size);
    }
    return bytes;
}

void SetEngineBytes(LRootModuleEngine& engine, const Bytes& area)
{
    std::size_t position = 0;
    for (std::int32_t number = 0; number < static_cast<std::int32_t>(kPresetParamCount); ++number)
    {
        const std::uint32_t size = GetPresetParamValueSize(number);
        QZ::Variant value;
        value.SetBytes(area.data() + position, size);
        if (engine.SetParamValue(QZ::ParamDescriptor(number), value) < 0)
        {
            Fail("the engine refuses its starting preset");
        }
        position += size;
    }
}

// The global settings the manager announces, by name and value.
class Announcements : public QZ::LNotificationClient
{
public:
    using Entry = std::pair<std::u16string, std::int32_t>;

    void ReceiveNotification(const QZ::RCPtr<QZ::LNotificationDistributor>&,
                             const QZ::RCPtr<QZ::LNotification>& notification) override
    {
        const auto* parameter =
            dynamic_cast<const QZ::LMidiParameterNotification*>(notification->GetPayload().Get());
        if (parameter != nullptr)
        {
            std::lock_guard<std::mutex> lock(mMutex);
            mEntries.emplace_back(std::u16string(parameter->GetName().GetString()),
                                  parameter->GetValue());
        }
    }

    std::vector<Entry> Take()
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return std::exchange(mEntries, {});
    }

private:
    std::mutex mMutex;
    std::vector<Entry> mEntries;
};

void IgnoreInput(Platform::MidiInput*, Platform::MidiInputMessage, void*, std::uintptr_t,
                 std::uintptr_t)
{
}

void IgnoreDone(Platform::MidiOutput*, Platform::MidiOutputMessage, void*, std::uintptr_t,
                std::uintptr_t)
{
}

std::shared_ptr<Platform::VirtualMidiDriver> MakeInlineBus()
{
    auto driver = std::make_shared<Platform::VirtualMidiDriver>();
    driver->SetInlineDelivery(true);
    return driver;
}

// The keyboard's ports on the process's virtual bus, the application with its engine, and the
// manager with a subscriber to its announcements; made once and kept for the whole run. The rig is
// the manager's clock too. The keyboard's input is never started: the requests are read as they
// leave the manager and answered when the manager next lets time pass.
class Rig : public QZ::MidiPacing
{
public:
    Rig()
    {
        // Notifications are recycled as they are in the running program.
        QZ::LNotification::EnablePooling(true);
        Platform::SetDefaultMidiDriver(mDriver);
        mDriver->SetSendObserver(
            [this](const std::string& device, const Bytes& bytes)
            {
                if (device == kKeyboardInput)
                {
                    mRequests.push_back(bytes);
                }
            });
        mApplication.CreateRootModuleEngine();
        QZ::LMidiManager::Create(mManager, QZ::LMidiManager::kReplyWaitMs, *this);
        if (QZ::Failed(mDriver->PublishOutput(kKeyboardOutput, &IgnoreDone, nullptr, mOutput)) ||
            QZ::Failed(mDriver->PublishInput(kKeyboardInput, &IgnoreInput, nullptr, mInput)) ||
            !GetRootModuleEngine() || !mManager ||
            mAnnouncements->Subscribe(QZ::RCPtr<QZ::LNotificationDistributor>(mManager),
                                      QZ::NID_MIDIMANAGER_PARAMETER_RECIEVED, 0) == nullptr)
        {
            Fail("the rig cannot be set up");
        }
        const Bytes start = MakeDump(0, 0x11);
        mEngineHolds.assign(start.begin() + kValueOffset, start.end() - 1);
        SetEngineBytes(*GetRootModuleEngine(), mEngineHolds);
    }

    QZ::LMidiManager& Manager() { return *mManager; }
    Announcements& Announced() { return *mAnnouncements; }

    // The engine's value area as the last fetch left it. Only fetches write the engine, and each
    // one reads it afterwards, so it is read once an input rather than before and after.
    const Bytes& EngineHolds() const { return mEngineHolds; }
    void NoteEngineHolds(Bytes area) { mEngineHolds = std::move(area); }

    // Runs transfer while the keyboard answers its requests: the identity request with a useable
    // firmware, the request the transfer is about first with pieces and then with reply, and its
    // repetitions with reply alone. Returns the transfer's result.
    std::int32_t Serve(const std::function<std::int32_t()>& transfer, std::uint8_t command,
                       const std::vector<Bytes>& pieces, const Bytes& reply)
    {
        mCommand = command;
        mPieces = &pieces;
        mReply = &reply;
        mAnswered = false;
        const std::int32_t result = transfer();
        mRequests.clear();
        mPieces = nullptr;
        mReply = nullptr;
        static_cast<void>(QZ::GetApplicationNotificationCenter()->ProcessQueue(false));
        return result;
    }

    Clock::time_point Now() override { return mNow; }

    void Pause(std::chrono::milliseconds duration) override
    {
        mNow += duration;
        Answer();
    }

    bool WaitForGreen(QZ::TrafficLight& light, std::uint32_t timeoutMs) override
    {
        Answer();
        if (light.IsSignaled())
        {
            return true;
        }
        mNow += std::chrono::milliseconds(timeoutMs);
        return false;
    }

private:
    void Answer()
    {
        while (!mRequests.empty() && mReply != nullptr)
        {
            const Bytes request = std::move(mRequests.front());
            mRequests.pop_front();
            if (request == kIdentityRequest)
            {
                Platform::Fuzzing::SendPiece(*mOutput, kIdentityReply);
            }
            else if (request.size() > 7 && request[7] == mCommand)
            {
                for (std::size_t k = 0; !mAnswered && k < mPieces->size(); ++k)
                {
                    Platform::Fuzzing::SendPiece(*mOutput, (*mPieces)[k]);
                }
                Platform::Fuzzing::SendPiece(*mOutput, *mReply);
                mAnswered = true;
            }
        }
    }

    std::shared_ptr<Platform::VirtualMidiDriver> mDriver = MakeInlineBus();
    std::unique_ptr<Platform::MidiOutput> mOutput;
    std::unique_ptr<Platform::MidiInput> mInput;
    LApplication mApplication;
    QZ::RCPtr<QZ::LMidiManager> mManager;
    QZ::RCPtr<Announcements> mAnnouncements{new Announcements()};
    Clock::time_point mNow;
    // What the keyboard is to answer during the transfer being served.
    std::deque<Bytes> mRequests;
    std::uint8_t mCommand = 0;
    const std::vector<Bytes>* mPieces = nullptr;
    const Bytes* mReply = nullptr;
    bool mAnswered = false;
    Bytes mEngineHolds;
};

// The whole System Exclusive messages of what the keyboard sent; the reply joins the pieces.
std::vector<Bytes> GetWholeMessages(std::vector<Bytes>& pieces, const Bytes& reply)
{
    pieces.push_back(reply);
    return Platform::Fuzzing::GetWholeSysEx(
        pieces, static_cast<std::size_t>(QZ::LMidiSysExAssembly::kMaxMessageLength));
}

// The two dumps a fetch of slot may answer with, made once for the run: every value of one
// differs from the same value of the other.
const Bytes& GetDump(std::uint8_t slot, bool second)
{
    static const std::vector<Bytes> dumps = []
    {
        std::vector<Bytes> made;
        for (std::uint8_t slot = 0; slot < 13; ++slot)
        {
            made.push_back(MakeDump(slot, 0x55));
            made.push_back(MakeDump(slot, 0x2A));
        }
        return made;
    }();
    return dumps[slot * 2u + (second ? 1u : 0u)];
}

// The global settings' names, built once for the run.
const QZ::WideStringArray& GetNames()
{
    static const QZ::WideStringArray names = QZ::GetGlobalParameterNames();
    return names;
}

// Every announcement is one that a whole global-parameter reply carried; returns their count.
std::size_t CheckAnnouncements(Rig& rig, const std::vector<Bytes>& messages)
{
    const QZ::WideStringArray& names = GetNames();
    std::set<Announcements::Entry> carried;
    for (const Bytes& message : messages)
    {
        if (HasCommand(message, kGlobalReplyLength, kGlobalReply))
        {
            carried.emplace(message[11] < names.GetCount()
                                ? std::u16string(names.GetAt(message[11]).GetString())
                                : std::u16string(),
                            message[12] * 128 + message[13]);
        }
    }
    const std::vector<Announcements::Entry> announced = rig.Announced().Take();
    for (const Announcements::Entry& entry : announced)
    {
        if (carried.count(entry) == 0)
        {
            Fail("a global setting was announced that no whole reply carried");
        }
    }
    return announced.size();
}

void CheckPresetFetch(Rig& rig, std::uint8_t slot, std::vector<Bytes>& pieces)
{
    // The engine starts from whatever the last fetch left; the dump sent differs from it, so that
    // a fetch that took nothing over shows.
    const Bytes& before = rig.EngineHolds();
    const Bytes& usual = GetDump(slot, false);
    const bool holdsUsual = std::equal(before.begin(), before.end(), usual.begin() + kValueOffset,
                                       usual.end() - 1);
    const Bytes& reply = GetDump(slot, holdsUsual);
    const std::int32_t result = rig.Serve(
        [&] { return rig.Manager().GetPresetFromMidiDevice(slot); }, kGetPreset, pieces, reply);

    const std::vector<Bytes> messages = GetWholeMessages(pieces, reply);
    static_cast<void>(CheckAnnouncements(rig, messages));
    std::set<Bytes> dumps;
    for (const Bytes& message : messages)
    {
        if (message.size() == kDumpLength)
        {
            dumps.emplace(message.begin() + kValueOffset, message.end() - 1);
        }
    }
    Bytes now = GetEngineBytes(*GetRootModuleEngine());
    const bool holdsDump = dumps.count(now) != 0;
    if (!holdsDump && now != before)
    {
        Fail("the engine holds a preset that is neither the old one nor one sent whole");
    }
    if (result == 0 && !holdsDump)
    {
        Fail("a fetch reported as done left no sent preset in the engine");
    }
    rig.NoteEngineHolds(std::move(now));
}

void CheckGlobalRequest(Rig& rig, std::uint8_t index, std::vector<Bytes>& pieces)
{
    const QZ::WideString& name = GetNames().GetAt(index);
    const Bytes reply = MakeGlobalReply(index);
    const std::int32_t result =
        rig.Serve([&] { return rig.Manager().RequestNonPresetParameterFromDevice(name, false); },
                  kRequestGlobal, pieces, reply);
    if (CheckAnnouncements(rig, GetWholeMessages(pieces, reply)) == 0 && result == 0)
    {
        Fail("a request reported as done announced nothing");
    }
}

} // namespace

// The longest input worth its delivery holds a whole preset dump in pieces after the start of a
// broken one: 1,357 bytes for the dump with its length bytes and the selector, and some room
// before it. Longer inputs reach nothing new and cost delivery, so this is the run's default; a
// -max_len on the command line comes later and wins.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static char maxLength[] = "-max_len=1400";
    static std::vector<char*> arguments;
    arguments.assign(*argv, *argv + *argc);
    arguments.insert(arguments.begin() + (arguments.empty() ? 0 : 1), maxLength);
    arguments.push_back(nullptr);
    *argc = static_cast<int>(arguments.size() - 1);
    *argv = arguments.data();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static Rig* const rig = new Rig();
    if (size == 0)
    {
        return 0;
    }
    std::vector<Bytes> pieces = Platform::Fuzzing::CutIntoPieces(data + 1, size - 1);
    if ((data[0] & 1) == 0)
    {
        CheckPresetFetch(*rig, static_cast<std::uint8_t>((data[0] >> 1) % 13), pieces);
    }
    else
    {
        CheckGlobalRequest(*rig, static_cast<std::uint8_t>((data[0] >> 1) % 16), pieces);
    }
    return 0;
}
