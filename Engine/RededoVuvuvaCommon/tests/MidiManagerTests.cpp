// The MIDI manager against the emulated keyboard on the virtual MIDI bus, with the application's
// engine (no device-control library) taking and giving the presets.
#include "Engine/RededoVuvuvaCommon/MidiManager.h"

#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

using namespace EngineTestSupport;
using QZ::LMidiManager;

namespace
{

const Bytes kPreamble = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6D, 0x00, 0x01, 0x01, 0xF7};
const Bytes kIdentityRequest = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};

Bytes GetPresetRequest(std::uint8_t slot)
{
    return {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x62, slot, 0xF7};
}

bool IsGetPresetRequest(const Bytes& message)
{
    return message.size() == 10 && message[7] == 0x62;
}

// The index a global-parameter request asks for; -1 for any other message.
int GetRequestedGlobal(const Bytes& message)
{
    return message.size() == 13 && message[7] == 0x6B ? message[11] : -1;
}

// The messages that left for the keyboard, without the preambles.
std::vector<Bytes> WithoutPreambles(const std::vector<Bytes>& sent)
{
    std::vector<Bytes> requests;
    for (const Bytes& message : sent)
    {
        if (message != kPreamble)
        {
            requests.push_back(message);
        }
    }
    return requests;
}

// A subscriber of the manager that records every global setting announced to it.
class ParameterRecorder : public QZ::LNotificationClient
{
public:
    struct Entry
    {
        std::u16string name;
        std::int32_t value;
        std::thread::id thread;
    };

    void ReceiveNotification(const QZ::RCPtr<QZ::LNotificationDistributor>&,
                             const QZ::RCPtr<QZ::LNotification>& notification) override
    {
        const auto* parameter =
            dynamic_cast<const QZ::LMidiParameterNotification*>(notification->GetPayload().Get());
        if (parameter == nullptr)
        {
            return;
        }
        std::lock_guard<std::mutex> lock(mMutex);
        mEntries.push_back(
            Entry{std::u16string(parameter->GetName().GetString(),
                                 static_cast<std::size_t>(parameter->GetName().GetLength())),
                  parameter->GetValue(), std::this_thread::get_id()});
    }

    std::vector<Entry> GetEntries() const
    {
        std::lock_guard<std::mutex> lock(mMutex);
        return mEntries;
    }

private:
    mutable std::mutex mMutex;
    std::vector<Entry> mEntries;
};

class MidiManagerTest : public EngineHarness
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(rig.Start(), QZ::S_OK);
        StartEngine();
        LMidiManager::Create(manager);
        ASSERT_TRUE(manager);
    }

    void TearDown() override
    {
        if (recorder)
        {
            static_cast<void>(recorder->UnsubscribeAll());
        }
        manager.Reset();
    }

    void RecordParameters()
    {
        recorder = new ParameterRecorder();
        ASSERT_NE(recorder->Subscribe(QZ::RCPtr<QZ::LNotificationDistributor>(manager),
                                      QZ::NID_MIDIMANAGER_PARAMETER_RECIEVED, 0),
                  nullptr);
    }

    // Answers the get-preset requests with the given reply length changes, in order, and stays
    // silent from then on.
    void AnswerGetPresetWith(std::vector<int> lengthChanges)
    {
        // The rig calls copies of the hook, so the count lives outside it.
        auto count = std::make_shared<std::size_t>(0);
        rig.SetSendHook(
            [this, lengthChanges, count](const Bytes& message)
            {
                if (!IsGetPresetRequest(message))
                {
                    return;
                }
                Tarn61::Tarn61Emulator::Behaviour behaviour;
                behaviour.silent = *count >= lengthChanges.size();
                behaviour.replyLengthChange = behaviour.silent ? 0 : lengthChanges[*count];
                rig.Keyboard().SetBehaviour(behaviour);
                ++*count;
            });
    }

    KeyboardRig rig;
    QZ::RCPtr<LMidiManager> manager;
    QZ::RCPtr<ParameterRecorder> recorder;
};

struct GlobalSetting
{
    const char16_t* name;
    int index;
    std::int32_t lowest;
    std::int32_t highest;
};

// The settings the global settings dialog uses, with the values the keyboard accepts.
const GlobalSetting kDialogSettings[] = {
    {u"Global_Channel", 0, 0, 16},      {u"MACKIE_HUI_ENABLED", 4, 0, 1},
    {u"KEY_OCTAVE", 5, 2, 9},           {u"KEY_TRANSPOSE", 6, 0, 24},
    {u"KEY_SENSITIVITY", 7, 0, 6},      {u"PAD_OCTAVE", 8, 0, 10},
    {u"PAD_TRANSPOSE", 9, 0, 25},       {u"PAD_SENSITIVITY", 10, 0, 9},
    {u"CURVE_ACCELLERATION", 11, 0, 3}, {u"XY_SENSITIVITY", 12, 0, 9},
    {u"GLOBAL_PROGRAM", 13, 0, 127},    {u"GLOBAL_BANK_MSB", 14, 0, 127},
    {u"GLOBAL_BANK_LSB", 15, 0, 127},
};

} // namespace

TEST_F(MidiManagerTest, EverySlotIsFetchedByteForByte)
{
    for (int slot = 0; slot <= 12; ++slot)
    {
        rig.Keyboard().SetSlot(slot, MakePattern(static_cast<std::uint8_t>(11 * slot + 1)));
    }
    for (std::uint8_t slot = 0; slot <= 12; ++slot)
    {
        rig.ClearSent();
        ASSERT_EQ(manager->GetPresetFromMidiDevice(slot), 0) << int(slot);
        EXPECT_EQ(GetEngineBytes(), BytesOf(rig.Keyboard().GetSlot(slot))) << int(slot);
        EXPECT_EQ(rig.GetSent(), (std::vector<Bytes>{kPreamble, kIdentityRequest, kPreamble,
                                                     GetPresetRequest(slot)}));
        ProcessQueue();
    }
}

TEST_F(MidiManagerTest, SentPresetLandsInTheSlotAndComesBackWhole)
{
    const ValueArea sent = MakePattern(77);
    SetEngineBytes(sent);
    EXPECT_EQ(manager->SendPresetToMidiDevice(9), 70);

    Bytes expected = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x61, 0x0A, 0x3B, 0x09};
    expected.insert(expected.end(), sent.begin(), sent.end());
    expected.push_back(0xF7);
    const std::vector<Bytes> messages = rig.GetSent();
    ASSERT_EQ(messages.size(), 9u);
    EXPECT_EQ(messages[0], kPreamble);
    EXPECT_EQ(messages[1], kIdentityRequest);
    EXPECT_EQ(messages[2], kPreamble);
    Bytes joined;
    for (std::size_t piece = 3; piece < messages.size(); ++piece)
    {
        EXPECT_EQ(messages[piece].size(), piece + 1 < messages.size() ? 256u : 70u);
        joined.insert(joined.end(), messages[piece].begin(), messages[piece].end());
    }
    EXPECT_EQ(joined, expected);
    ASSERT_TRUE(rig.Keyboard().WaitForMessages(4, std::chrono::seconds(5)));
    EXPECT_EQ(rig.Keyboard().GetSlot(9), sent);

    SetEngineBytes(MakePattern(3));
    ASSERT_EQ(manager->GetPresetFromMidiDevice(9), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(sent));
}

TEST_F(MidiManagerTest, PresetWithAValueOutsideItsFixedFormIsNotSent)
{
    const struct
    {
        std::int32_t number;
        Bytes value;
    } cases[] = {
        {0, {'S', 'H', 'O', 'R', 'T'}},
        {130, Bytes(16, 0x01)},
        {9, {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x80, 0x09, 0x0A, 0x0B, 0x0C, 0x0D, 0x0E}},
    };
    for (const auto& bad : cases)
    {
        SetEngineBytes(MakePattern(20));
        QZ::Variant value;
        value.SetBytes(bad.value.data(), static_cast<std::uint32_t>(bad.value.size()));
        ASSERT_EQ(Engine()->SetParamValue(QZ::ParamDescriptor(bad.number), value), 0);
        rig.ClearSent();
        EXPECT_EQ(manager->SendPresetToMidiDevice(2), LMidiManager::kMidiError) << bad.number;
        EXPECT_EQ(rig.GetSent(), (std::vector<Bytes>{kPreamble, kIdentityRequest}));
    }
    EXPECT_EQ(rig.Keyboard().GetSlot(2), Tarn61::MakeDefaultPreset());
}

TEST_F(MidiManagerTest, FetchCutsByTheFixedSizesWhateverTheEngineHolds)
{
    rig.Keyboard().SetSlot(5, MakePattern(60));
    QZ::Variant shortName;
    shortName.SetBytes("AB", 2);
    ASSERT_EQ(Engine()->SetParamValue(QZ::ParamDescriptor(0), shortName), 0);
    ASSERT_EQ(manager->GetPresetFromMidiDevice(5), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(MakePattern(60)));
}

TEST_F(MidiManagerTest, GlobalSettingsAreSetAndReadBackWithTheTablesLimits)
{
    RecordParameters();
    std::size_t received = rig.Keyboard().GetReceivedMessages().size();
    for (const GlobalSetting& setting : kDialogSettings)
    {
        for (const std::int32_t value : {setting.highest, setting.lowest})
        {
            EXPECT_EQ(manager->SendGlobalParameter(setting.name, value, true), 15);
            received += 2;
            ASSERT_TRUE(rig.Keyboard().WaitForMessages(received, std::chrono::seconds(5)));
            EXPECT_EQ(rig.Keyboard().GetGlobal(setting.index), value);

            ASSERT_EQ(manager->RequestNonPresetParameterFromDevice(setting.name, true), 0);
            received += 2;
            const std::vector<ParameterRecorder::Entry> entries = recorder->GetEntries();
            ASSERT_FALSE(entries.empty());
            EXPECT_EQ(entries.back().name, setting.name);
            EXPECT_EQ(entries.back().value, value);
            EXPECT_NE(entries.back().thread, std::this_thread::get_id());
        }
        for (const std::int32_t refused : {setting.lowest - 1, setting.highest + 1})
        {
            rig.ClearSent();
            EXPECT_EQ(manager->SendGlobalParameter(setting.name, refused, true), QZ::E_FAIL);
            EXPECT_TRUE(rig.GetSent().empty());
            EXPECT_EQ(rig.Keyboard().GetGlobal(setting.index), setting.lowest);
        }
    }
}

TEST_F(MidiManagerTest, SettingsOutsideTheDialogsTableAreRefusedWithoutSending)
{
    RecordParameters();
    EXPECT_EQ(manager->SendGlobalParameter(u"XYPAD_VELOCITY", 0, true), QZ::E_FAIL);
    EXPECT_EQ(manager->SendGlobalParameter(u"global_channel", 1, true), QZ::E_FAIL);
    EXPECT_EQ(manager->RequestNonPresetParameterFromDevice(u"NO_SUCH_SETTING", true), QZ::E_FAIL);
    EXPECT_TRUE(rig.GetSent().empty());
    EXPECT_TRUE(recorder->GetEntries().empty());
}

TEST_F(MidiManagerTest, GlobalRequestsWithTheFirmwareTestSendTheDocumentedBytes)
{
    RecordParameters();
    EXPECT_EQ(manager->SendGlobalParameter(u"Global_Channel", 16, false), 15);
    ASSERT_EQ(manager->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", false), 0);
    const Bytes set = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06, 0x6A,
                       0x00, 0x04, 0x00, 0x00, 0x00, 0x10, 0xF7};
    const Bytes request = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06,
                           0x6B, 0x00, 0x02, 0x00, 0x05, 0xF7};
    EXPECT_EQ(rig.GetSent(), (std::vector<Bytes>{kPreamble, kIdentityRequest, kPreamble, set,
                                                 kPreamble, kIdentityRequest, kPreamble, request}));
    const std::vector<ParameterRecorder::Entry> entries = recorder->GetEntries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].name, u"KEY_OCTAVE");
    EXPECT_EQ(entries[0].value, 5);
}

TEST_F(MidiManagerTest, FirmwareFrom1027OnPasses)
{
    for (const char* version : {"1027", "1029", "1030", "2000"})
    {
        rig.Keyboard().SetFirmwareVersion(
            {static_cast<std::uint8_t>(version[0]), static_cast<std::uint8_t>(version[1]),
             static_cast<std::uint8_t>(version[2]), static_cast<std::uint8_t>(version[3])});
        EXPECT_TRUE(manager->IsDeviceFirmwareVersionUseable()) << version;
    }
}

TEST_F(MidiManagerTest, OlderFirmwareStopsAFetchAfterTenIdentityRequests)
{
    rig.Keyboard().SetFirmwareVersion({'1', '0', '2', '6'});
    const Bytes before = GetEngineBytes();
    EXPECT_EQ(manager->GetPresetFromMidiDevice(1), LMidiManager::kFirmwareNotUseable);
    std::vector<Bytes> expected;
    for (int attempt = 0; attempt < 10; ++attempt)
    {
        expected.push_back(kPreamble);
        expected.push_back(kIdentityRequest);
    }
    EXPECT_EQ(rig.GetSent(), expected);
    EXPECT_EQ(GetEngineBytes(), before);
}

TEST_F(MidiManagerTest, OlderFirmwareGetsNoPreset)
{
    rig.Keyboard().SetFirmwareVersion({'0', '9', '9', '9'});
    SetEngineBytes(MakePattern(31));
    EXPECT_EQ(manager->SendPresetToMidiDevice(1), LMidiManager::kFirmwareNotUseable);
    EXPECT_EQ(WithoutPreambles(rig.GetSent()), std::vector<Bytes>(10, kIdentityRequest));
    EXPECT_EQ(rig.Keyboard().GetSlot(1), Tarn61::MakeDefaultPreset());
}

TEST_F(MidiManagerTest, SilentKeyboardGivesNoReplyAfterTenRequests)
{
    Tarn61::Tarn61Emulator::Behaviour silent;
    silent.silent = true;
    rig.Keyboard().SetBehaviour(silent);
    RecordParameters();
    EXPECT_EQ(manager->RequestNonPresetParameterFromDevice(u"PAD_OCTAVE", true),
              LMidiManager::kNoReply);
    const Bytes request = {0xF0, 0x00, 0x3C, 0x1D, 0x7F, 0x31, 0x06,
                           0x6B, 0x00, 0x02, 0x00, 0x08, 0xF7};
    std::vector<Bytes> expected;
    for (int attempt = 0; attempt < 10; ++attempt)
    {
        expected.push_back(kPreamble);
        expected.push_back(request);
    }
    EXPECT_EQ(rig.GetSent(), expected);
    EXPECT_TRUE(recorder->GetEntries().empty());
}

// Pacing that lets no real time pass and writes down what the manager asked of it.
class RecordingPacing : public QZ::MidiPacing
{
public:
    void Pause(std::chrono::milliseconds duration) override
    {
        mSteps.push_back("pause " + std::to_string(duration.count()));
    }
    bool WaitForGreen(QZ::TrafficLight&, std::uint32_t timeoutMs) override
    {
        mSteps.push_back("wait " + std::to_string(timeoutMs));
        return false;
    }
    const std::vector<std::string>& GetSteps() const { return mSteps; }

private:
    std::vector<std::string> mSteps;
};

// The fuzzers rely on it: every pause and every wait of an exchange goes through the pacing given.
TEST_F(MidiManagerTest, GivenPacingTakesEveryPauseAndWaitOfAnExchange)
{
    Tarn61::Tarn61Emulator::Behaviour silent;
    silent.silent = true;
    rig.Keyboard().SetBehaviour(silent);
    RecordingPacing pacing;
    QZ::RCPtr<LMidiManager> paced;
    LMidiManager::Create(paced, LMidiManager::kReplyWaitMs, pacing);
    EXPECT_EQ(paced->RequestNonPresetParameterFromDevice(u"PAD_OCTAVE", true),
              LMidiManager::kNoReply);
    std::vector<std::string> expected;
    for (int attempt = 0; attempt < 10; ++attempt)
    {
        expected.insert(expected.end(), {"pause 10", "pause 10", "wait 500"});
    }
    EXPECT_EQ(pacing.GetSteps(), expected);
    EXPECT_EQ(rig.GetSent().size(), 20u);
}

TEST_F(MidiManagerTest, KeyboardSilentAfterItsIdentityGivesNoPresetAfterTenRequests)
{
    AnswerGetPresetWith({});
    const Bytes before = GetEngineBytes();
    EXPECT_EQ(manager->GetPresetFromMidiDevice(4), LMidiManager::kNoReply);
    std::vector<Bytes> expected = {kIdentityRequest};
    expected.insert(expected.end(), 10, GetPresetRequest(4));
    EXPECT_EQ(WithoutPreambles(rig.GetSent()), expected);
    EXPECT_EQ(rig.GetSent().size(), 2 * expected.size());
    EXPECT_EQ(GetEngineBytes(), before);
}

TEST_F(MidiManagerTest, MalformedDumpsAreIgnoredAndLeaveTheEngineAlone)
{
    rig.Keyboard().SetSlot(6, MakePattern(90));
    // The last value a byte short, a dump cut in half, one byte too many, many bytes too many.
    AnswerGetPresetWith({-1, -700, 1, 300});
    const Bytes before = GetEngineBytes();
    EXPECT_EQ(manager->GetPresetFromMidiDevice(6), LMidiManager::kNoReply);
    EXPECT_EQ(GetEngineBytes(), before);
}

TEST_F(MidiManagerTest, WholeDumpAfterMalformedOnesIsTaken)
{
    rig.Keyboard().SetSlot(6, MakePattern(90));
    AnswerGetPresetWith({-1, 1, 0});
    EXPECT_EQ(manager->GetPresetFromMidiDevice(6), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(MakePattern(90)));
    std::size_t requests = 0;
    for (const Bytes& message : rig.GetSent())
    {
        requests += IsGetPresetRequest(message) ? 1 : 0;
    }
    EXPECT_EQ(requests, 3u);
}

TEST_F(MidiManagerTest, MissingPortsFailAtOnceAndSendNothing)
{
    rig.Keyboard().Stop();
    EXPECT_FALSE(manager->ArePortsAvailable());
    EXPECT_EQ(manager->GetPresetFromMidiDevice(0), LMidiManager::kMidiError);
    EXPECT_EQ(manager->SendPresetToMidiDevice(0), LMidiManager::kMidiError);
    EXPECT_EQ(manager->SendGlobalParameter(u"KEY_OCTAVE", 3, true), LMidiManager::kMidiError);
    EXPECT_EQ(manager->SendGlobalParameter(u"KEY_OCTAVE", 3, false), LMidiManager::kMidiError);
    EXPECT_EQ(manager->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", true), QZ::E_FAIL);
    EXPECT_FALSE(manager->IsDeviceFirmwareVersionUseable());
    EXPECT_EQ(manager->SendIdentityRequest(nullptr), QZ::E_FAIL);
    EXPECT_TRUE(rig.GetSent().empty());
}

TEST_F(MidiManagerTest, OnePortMissingIsEnoughToFail)
{
    rig.Keyboard().Stop();
    std::unique_ptr<Platform::MidiOutput> keyboardOutput;
    ASSERT_EQ(rig.Driver().PublishOutput(
                  "MIDIIN4 (Tarn 61)",
                  [](Platform::MidiOutput*, Platform::MidiOutputMessage, void*, std::uintptr_t,
                     std::uintptr_t) {},
                  nullptr, keyboardOutput),
              QZ::S_OK);
    EXPECT_FALSE(manager->ArePortsAvailable());
    EXPECT_EQ(manager->GetPresetFromMidiDevice(0), LMidiManager::kMidiError);
    EXPECT_TRUE(rig.GetSent().empty());
}

TEST_F(MidiManagerTest, PortAvailabilityFollowsTheKeyboardWithoutANewService)
{
    const QZ::RCPtr<QZ::LMidiCommInterface> service = manager->GetMidiComm();
    EXPECT_TRUE(manager->ArePortsAvailable());
    rig.Keyboard().Stop();
    EXPECT_FALSE(manager->ArePortsAvailable());
    ASSERT_EQ(rig.Start(), QZ::S_OK);
    EXPECT_TRUE(manager->ArePortsAvailable());
    EXPECT_EQ(manager->GetMidiComm().Get(), service.Get());
    EXPECT_TRUE(rig.GetSent().empty());
}

TEST_F(MidiManagerTest, EachTransactionWorksOnANewService)
{
    const QZ::RCPtr<QZ::LMidiCommInterface> first = manager->GetMidiComm();
    ASSERT_TRUE(manager->OpenPorts(LMidiManager::kInputPortName, LMidiManager::kOutputPortName));
    const QZ::RCPtr<QZ::LMidiCommInterface> second = manager->GetMidiComm();
    EXPECT_NE(second.Get(), first.Get());
    EXPECT_FALSE(manager->OpenPorts(u"MIDIIN5 (Tarn 61)", LMidiManager::kOutputPortName));
    EXPECT_NE(manager->GetMidiComm().Get(), second.Get());
}

TEST_F(MidiManagerTest, LostCaptureRegistrationEndsTheFirmwareTestWithAFailedResult)
{
    rig.SetSendHook(
        [this](const Bytes& message)
        {
            if (message == kIdentityRequest)
            {
                static_cast<void>(manager->GetMidiComm()->UnsubscribeAllClients());
            }
        });
    try
    {
        static_cast<void>(manager->IsDeviceFirmwareVersionUseable());
        FAIL() << "no exception";
    }
    catch (const QZ::Exception<QZ::FailedResultException>& failure)
    {
        const std::string text = failure.what();
        EXPECT_EQ(text.rfind("Failed Result : QZRESULT = 80004005 : "
                             "QZ::LMidiManager::IsDeviceFirmwareVersionUseable : ",
                             0),
                  0u)
            << text;
        EXPECT_NE(text.find(" : Line "), std::string::npos) << text;
    }
}

namespace
{

using Behaviour = Tarn61::Tarn61Emulator::Behaviour;
using std::chrono::milliseconds;

// Tries of 50 ms, each also sending for 20 ms; the keyboard answers past two tries but well
// within ten.
constexpr std::uint32_t kShortWaitMs = 50;
constexpr milliseconds kLate{175};
// Later than a whole transaction of ten tries (each also sends for 20 ms).
constexpr milliseconds kTooLate{10 * (kShortWaitMs + 20) + 150};

// The manager with short tries, against a keyboard whose answers are late.
class LateKeyboardTest : public MidiManagerTest
{
protected:
    void SetUp() override
    {
        MidiManagerTest::SetUp();
        LMidiManager::Create(manager, kShortWaitMs);
        ASSERT_TRUE(manager);
    }

    // Gives each request that is answered the behaviour chosen for it; the preambles keep the
    // behaviour of the request before them.
    void AnswerEach(std::function<Behaviour(const Bytes& request)> choose)
    {
        rig.SetSendHook(
            [this, choose](const Bytes& message)
            {
                if (message != kPreamble)
                {
                    rig.Keyboard().SetBehaviour(choose(message));
                }
            });
    }

    void AnswerAllLate()
    {
        AnswerEach([](const Bytes&) { return Behaviour{.replyDelay = kLate}; });
    }

    // Answers the first request that matches too late for its transaction and its
    // re-sends never; every other request late.
    void AnswerFirstTooLate(std::function<bool(const Bytes&)> matches)
    {
        auto count = std::make_shared<int>(0);
        AnswerEach(
            [matches, count](const Bytes& message)
            {
                if (!matches(message))
                {
                    return Behaviour{.replyDelay = kLate};
                }
                return ++*count == 1 ? Behaviour{.replyDelay = kTooLate}
                                     : Behaviour{.silent = true};
            });
    }

    std::vector<std::u16string> AnnouncedNames() const
    {
        std::vector<std::u16string> names;
        for (const ParameterRecorder::Entry& entry : recorder->GetEntries())
        {
            names.push_back(entry.name);
        }
        return names;
    }
};

} // namespace

TEST_F(LateKeyboardTest, SlotsFetchedInARowEachLandWhole)
{
    AnswerAllLate();
    for (int slot = 1; slot <= 6; ++slot)
    {
        rig.Keyboard().SetSlot(slot, MakePattern(static_cast<std::uint8_t>(17 * slot)));
    }
    for (std::uint8_t slot = 1; slot <= 6; ++slot)
    {
        ASSERT_EQ(manager->GetPresetFromMidiDevice(slot), 0) << int(slot);
        EXPECT_EQ(GetEngineBytes(), BytesOf(rig.Keyboard().GetSlot(slot))) << int(slot);
        ProcessQueue();
    }
}

TEST_F(LateKeyboardTest, LateDuplicatesOfASettingAreNotTakenByTheNextRequestForIt)
{
    RecordParameters();
    AnswerAllLate();
    for (const std::int32_t value : {4, 7, 2})
    {
        rig.Keyboard().SetGlobal(5, value);
        ASSERT_EQ(manager->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", true), 0);
        ASSERT_FALSE(recorder->GetEntries().empty());
        EXPECT_EQ(recorder->GetEntries().back().value, value);
    }
    EXPECT_EQ(recorder->GetEntries().size(), 3u);
}

TEST_F(LateKeyboardTest, AnswersOfAFailedFetchReachNeitherTheEngineNorTheNextRequest)
{
    RecordParameters();
    AnswerFirstTooLate(IsGetPresetRequest);
    rig.Keyboard().SetSlot(4, MakePattern(44));
    const Bytes before = GetEngineBytes();
    EXPECT_EQ(manager->GetPresetFromMidiDevice(4), LMidiManager::kNoReply);
    // The dump comes during this request and is answered before its reply.
    ASSERT_EQ(manager->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", false), 0);
    EXPECT_EQ(AnnouncedNames(), std::vector<std::u16string>{u"KEY_OCTAVE"});
    EXPECT_EQ(GetEngineBytes(), before);
}

TEST_F(LateKeyboardTest, AnswerOfATimedOutSettingIsNotAnnouncedForTheNextOne)
{
    RecordParameters();
    rig.Keyboard().SetGlobal(8, 3);
    AnswerFirstTooLate([](const Bytes& message) { return GetRequestedGlobal(message) == 5; });
    EXPECT_EQ(manager->RequestNonPresetParameterFromDevice(u"KEY_OCTAVE", true),
              LMidiManager::kNoReply);
    // The late KEY_OCTAVE answer comes while this request waits.
    ASSERT_EQ(manager->RequestNonPresetParameterFromDevice(u"PAD_OCTAVE", true), 0);
    const std::vector<ParameterRecorder::Entry> entries = recorder->GetEntries();
    EXPECT_EQ(AnnouncedNames(), std::vector<std::u16string>{u"PAD_OCTAVE"});
    EXPECT_EQ(entries.back().value, 3);
}

TEST_F(LateKeyboardTest, TakeOverStalledPastTheTimeOutFailsOnlyOnceTheEngineIsAsBefore)
{
    rig.Keyboard().SetSlot(3, MakePattern(30));
    const Bytes before = GetEngineBytes();
    std::atomic<bool> stalled{false};
    std::atomic<bool> resumed{false};
    manager->SetTakeOverHook(
        [&](std::int32_t written)
        {
            if (written == 65 && !stalled.exchange(true))
            {
                std::this_thread::sleep_for(kTooLate);
                resumed = true;
            }
        });
    EXPECT_EQ(manager->GetPresetFromMidiDevice(3), LMidiManager::kNoReply);
    EXPECT_TRUE(stalled);
    EXPECT_TRUE(resumed);
    EXPECT_EQ(GetEngineBytes(), before);

    manager->SetTakeOverHook(nullptr);
    ASSERT_EQ(manager->GetPresetFromMidiDevice(3), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(MakePattern(30)));
}

TEST_F(LateKeyboardTest, KeyboardThatNeverAnswersItsIdentityGivesNoReply)
{
    rig.Keyboard().SetBehaviour(Behaviour{.silent = true});
    EXPECT_EQ(manager->GetPresetFromMidiDevice(1), LMidiManager::kNoReply);
    EXPECT_EQ(manager->SendPresetToMidiDevice(1), LMidiManager::kNoReply);
    EXPECT_FALSE(manager->IsDeviceFirmwareVersionUseable());
    EXPECT_EQ(WithoutPreambles(rig.GetSent()), std::vector<Bytes>(30, kIdentityRequest));
}
