#include "UI/DriverCommon/PresetManager.h"

#include "Engine/RededoVuvuvaCommon/tests/EngineHarness.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/ParamRange.h"
#include "UI/DriverCommon/PresetFileLoadNotificationData.h"
#include "UI/DriverCommon/PresetRecord.h"
#include "UI/DriverCommon/tests/FailingFileWriter.h"
#include "UI/DriverCommon/tests/PresetTestSupport.h"
#include "UI/DriverCommon/tests/RecordingAppServices.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace QZ
{
namespace
{

using PresetTest::Bytes;
using PresetTest::FileImage;

// The preset values the engine holds now, in identifier order.
std::vector<Variant> EngineValues(const RCPtr<LRootModuleEngine>& engine)
{
    Array<ParamValue> values;
    engine->GetParamValues(ParamRange{0, PresetTest::kParamCount}, values, -1);
    std::vector<Variant> result;
    for (std::int32_t i = 0; i < values.GetCount(); ++i)
    {
        result.push_back(values.GetAt(i).mValue);
    }
    return result;
}

std::vector<Variant> SeededValues(std::uint8_t seed)
{
    std::vector<Variant> values;
    for (std::uint32_t position = 0; position < PresetTest::kParamCount; ++position)
    {
        values.push_back(PresetTest::MakeValue(position, seed));
    }
    return values;
}

// Records the manager's announcements: identifier and load result (1 for no result data).
class AnnouncementRecorder : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        const auto* data =
            dynamic_cast<const LPresetFileLoadNotificationData*>(notification->GetPayload().Get());
        mSeen.emplace_back(notification->GetID(), data == nullptr ? 1 : data->GetLoadResult());
    }

    std::vector<std::pair<std::u16string, std::int32_t>> mSeen;
};

class PresetManagerTest : public EngineTestSupport::EngineHarness
{
protected:
    void SetUp() override
    {
        StartEngine();
        mManager = LPresetManager::Create();
        for (const char16_t* identifier : {NID_PRESETFILE_PRE_LOAD, NID_PRESETFILE_POST_LOAD})
        {
            ASSERT_NE(
                mLoadRecorder->Subscribe(RCPtr<LNotificationDistributor>(mManager), identifier, 0),
                nullptr);
        }
        FillEngine(5);
        ProcessQueue();
    }

    void TearDown() override
    {
        static_cast<void>(mLoadRecorder->UnsubscribeAll());
        mManager = nullptr;
    }

    void FillEngine(std::uint8_t seed)
    {
        for (std::uint32_t position = 0; position < PresetTest::kParamCount; ++position)
        {
            ASSERT_EQ(Engine()->SetParamValue(ParamDescriptor(static_cast<std::int32_t>(position)),
                                              PresetTest::MakeValue(position, seed)),
                      0);
        }
    }

    std::int32_t Load(const Bytes& bytes)
    {
        const PresetTest::fs::path path = mFolder / "load.Tarn61RededoVuvuva";
        PresetTest::WriteFileBytes(path, bytes);
        return mManager->LoadPresetFile(PresetTest::Wide(path));
    }

    // The identifiers and load results that the manager announced, in order.
    const std::vector<std::pair<std::u16string, std::int32_t>>& Announcements() const
    {
        return mLoadRecorder->mSeen;
    }

    static FileImage SoundStart()
    {
        FileImage image;
        image.Header(1, 0, 0).Record(0, 8, PresetTest::ValueBytes(0, 1));
        return image;
    }

    // Posts a global load request with the data, or with the path when given, and delivers it.
    void RequestGlobalLoad(RCPtr<LRefCountedObject> data, const WideString& path = {})
    {
        if (!path.IsEmpty())
        {
            data = RCPtr<LRefCountedObject>(new LPresetFilePath(path));
        }
        RCPtr<LNotification> request;
        LNotification::Create(request, NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS, data);
        ASSERT_EQ(GetApplicationNotificationCenter()->Post(request), S_OK);
        ProcessQueue();
    }

    PresetTest::ScratchFolder mFolder;
    const PresetTest::fs::path mTarget = mFolder / "saved.Tarn61RededoVuvuva";
    RCPtr<LPresetManager> mManager;
    RCPtr<AnnouncementRecorder> mLoadRecorder{new AnnouncementRecorder()};
};

TEST_F(PresetManagerTest, SaveThenLoadRoundTripsAllValues)
{
    FillEngine(3);
    ASSERT_EQ(mManager->SavePresetFile(PresetTest::Wide(mTarget)), S_OK);
    const Bytes saved = PresetTest::ReadFileBytes(mTarget);
    EXPECT_EQ(saved.size(), PresetTest::kWrittenFileSize);
    EXPECT_EQ(saved, PresetTest::GoldenPreset(3));

    FillEngine(8);
    ASSERT_EQ(mManager->LoadPresetFile(PresetTest::Wide(mTarget)), kPresetFileLoaded);
    EXPECT_TRUE(EngineValues(Engine()) == SeededValues(3));
}

TEST_F(PresetManagerTest, LoadHandsValuesToEngineInIdentifierOrder)
{
    FileImage image;
    image.Header(1, 0, 0)
        .Record(130, 8, PresetTest::ValueBytes(130, 9))
        .Record(7, 8, PresetTest::ValueBytes(7, 9));
    ProcessQueue();
    mRecorder->Clear();
    ASSERT_EQ(Load(image.Get()), kPresetFileLoaded);
    ProcessQueue();
    const std::vector<ParamValue> states =
        EngineTestSupport::StatesOf(GetDelivered(NID_PARAM_MODULE_STATE_CHANGE));
    ASSERT_EQ(states.size(), 2u);
    EXPECT_EQ(states[0].mDescriptor.mParamID, 7);
    EXPECT_EQ(states[1].mDescriptor.mParamID, 130);

    std::vector<Variant> expected = SeededValues(5);
    expected[7] = PresetTest::MakeValue(7, 9);
    expected[130] = PresetTest::MakeValue(130, 9);
    EXPECT_TRUE(EngineValues(Engine()) == expected);
}

// Refused files, and files of only a header or records of no parameter, leave the engine as it was.
TEST_F(PresetManagerTest, RefusedOrEmptyFilesLeaveEngineUnchanged)
{
    const Bytes zone = PresetTest::ValueBytes(1, 2);
    FileImage noParameter;
    noParameter.Header(1, 0, 0)
        .Record(500, 8, Bytes(4, 0xAB))
        .Record(500, Variant::TagEmpty, {})
        .Record(500, Variant::TagList, {})
        .Record(0xFFFFFFF8u, 8, Bytes(1, 1))
        .Record(0xFFFFFF00u, 8, Bytes(6, 1))
        .Word(40)
        .Word(0)
        .Word(500)
        .Word(20)
        .Word(0)
        .Word(8)
        .Append(Bytes(16, 3));
    const std::vector<std::pair<std::string, std::pair<Bytes, std::int32_t>>> cases = {
        {"empty file", {{}, kPresetFileCorrupt}},
        {"short header", {FileImage().Word(1).Word(0).Get(), kPresetFileCorrupt}},
        {"version 0", {FileImage().Header(0, 0, 0).Record(1, 8, zone).Get(), kPresetFileOlder}},
        {"version 2", {FileImage().Header(2, 0, 0).Record(1, 8, zone).Get(), kPresetFileNewer}},
        {"version FFFFFFFF", {FileImage().Header(0xFFFFFFFFu, 0, 0).Get(), kPresetFileNewer}},
        {"device 1, 0, 5", {FileImage().Header(1, 0, 5).Get(), kPresetFileWrongDevice}},
        {"device 0, 1, 1", {FileImage().Header(0, 1, 1).Get(), kPresetFileWrongDevice}},
        {"device 1, 5, 0",
         {FileImage().Header(1, 5, 0).Record(1, 8, zone).Get(), kPresetFileWrongDevice}},
        {"device 2, 0, 7",
         {FileImage().Header(2, 0, 7).Record(1, 8, zone).Get(), kPresetFileWrongDevice}},
        {"record length 3", {SoundStart().Word(3).Get(), kPresetFileCorrupt}},
        {"record length 12", {SoundStart().Word(12).Word(0).Word(1).Get(), kPresetFileCorrupt}},
        {"record length 15",
         {SoundStart().Word(15).Word(0).Word(1).Word(0).Get(), kPresetFileCorrupt}},
        {"record past the end",
         {SoundStart().Word(34).Word(0).Word(1).Word(21).Word(0).Word(8).Append(zone).Get(),
          kPresetFileCorrupt}},
        {"length near 4 GiB",
         {SoundStart().Word(0xFFFFFFF0u).Word(0).Word(1).Word(0xFFFFFFE4u).Word(0).Word(8).Get(),
          kPresetFileCorrupt}},
        {"two stray bytes", {SoundStart().Append({1, 0}).Get(), kPresetFileCorrupt}},
        {"reserved word 1", {SoundStart().Record(1, 8, zone, 1).Get(), kPresetFileCorrupt}},
        {"value reserved word 1",
         {SoundStart().Word(33).Word(0).Word(1).Word(21).Word(1).Word(8).Append(zone).Get(),
          kPresetFileCorrupt}},
        {"value tag 0", {SoundStart().Record(1, Variant::TagEmpty, {}).Get(), kPresetFileCorrupt}},
        {"value tag 10", {SoundStart().Record(1, Variant::TagList, {}).Get(), kPresetFileCorrupt}},
        {"value tag 2", {SoundStart().Record(1, Variant::TagInt32, {}).Get(), kPresetFileCorrupt}},
        {"value tag 12", {SoundStart().Record(1, 12, {}).Get(), kPresetFileCorrupt}},
        {"value tag 11 with payload", {SoundStart().Record(1, 11, zone).Get(), kPresetFileCorrupt}},
        {"name as text",
         {SoundStart().Record(0, Variant::TagString, {'a', 'b', 'c', 'd', 'e', 0}).Get(),
          kPresetFileCorrupt}},
        {"axis as 15-byte list",
         {SoundStart().Record(130, Variant::TagList, Bytes(15, 0)).Get(), kPresetFileCorrupt}},
        {"value claims 30 of 28",
         {SoundStart().Word(40).Word(0).Word(1).Word(30).Word(0).Word(8).Append(Bytes(16, 0)).Get(),
          kPresetFileCorrupt}},
        {"zone of 5 bytes", {SoundStart().Record(1, 8, Bytes(5, 0)).Get(), kPresetFileCorrupt}},
        {"zone of 10 bytes", {SoundStart().Record(1, 8, Bytes(10, 0)).Get(), kPresetFileCorrupt}},
        {"header only", {FileImage().Header(1, 0, 0).Get(), kPresetFileLoaded}},
        {"records of no parameter", {noParameter.Get(), kPresetFileLoaded}},
    };
    const std::vector<Variant> before = EngineValues(Engine());
    for (const auto& [name, file] : cases)
    {
        EXPECT_EQ(Load(file.first), file.second) << name;
        EXPECT_TRUE(EngineValues(Engine()) == before) << name;
    }
    EXPECT_EQ(mManager->LoadPresetFile(PresetTest::Wide(mFolder / "missing")),
              kPresetFileUnreadable);
    EXPECT_EQ(mManager->GetReadError(), "No such file or directory");
    EXPECT_TRUE(EngineValues(Engine()) == before);
}

TEST_F(PresetManagerTest, LoadIsAnnouncedBeforeAndAfterWithItsResult)
{
    EXPECT_EQ(mManager->LoadPresetFile(PresetTest::Wide(mFolder / "missing")),
              kPresetFileUnreadable);
    ASSERT_EQ(Load(SoundStart().Get()), kPresetFileLoaded);
    EXPECT_EQ(mManager->GetReadError(), "");
    const std::vector<std::pair<std::u16string, std::int32_t>> expected = {
        {NID_PRESETFILE_PRE_LOAD, 1},
        {NID_PRESETFILE_POST_LOAD, kPresetFileUnreadable},
        {NID_PRESETFILE_PRE_LOAD, 1},
        {NID_PRESETFILE_POST_LOAD, kPresetFileLoaded},
    };
    EXPECT_EQ(Announcements(), expected);
}

TEST_F(PresetManagerTest, PreLoadAnnouncementComesBeforeAnyValueChanges)
{
    struct Observer : LNotificationClient
    {
        std::vector<Variant> seen;
        RCPtr<LRootModuleEngine> engine;
        void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                                 const RCPtr<LNotification>&) override
        {
            seen = EngineValues(engine);
        }
    };
    RCPtr<Observer> observer(new Observer());
    observer->engine = Engine();
    ASSERT_NE(
        observer->Subscribe(RCPtr<LNotificationDistributor>(mManager), NID_PRESETFILE_PRE_LOAD, 0),
        nullptr);
    ASSERT_EQ(Load(PresetTest::GoldenPreset(6)), kPresetFileLoaded);
    EXPECT_TRUE(observer->seen == SeededValues(5));
    static_cast<void>(observer->UnsubscribeAll());
}

TEST_F(PresetManagerTest, SaveFailuresKeepPreviousFile)
{
    const Bytes previous = PresetTest::GoldenPreset(1);
    PresetTest::WriteFileBytes(mTarget, previous);

    EXPECT_EQ(mManager->SavePresetFile(PresetTest::Wide(mFolder / "missing" / "saved")), E_FAIL);

    ASSERT_EQ(::chmod(mFolder.Path().c_str(), 0555), 0);
    {
        PresetTest::UnprivilegedFileAccess unprivileged;
        EXPECT_EQ(mManager->SavePresetFile(PresetTest::Wide(mTarget)), E_FAIL);
    }
    ASSERT_EQ(::chmod(mFolder.Path().c_str(), 0755), 0);
    EXPECT_EQ(PresetTest::ReadFileBytes(mTarget), previous);

    PresetTest::FailingFileWriter fullDisk;
    fullDisk.mPieceSize = 1024;
    fullDisk.mFailingWrite = 3;
    EXPECT_EQ(mManager->SavePresetFile(PresetTest::Wide(mTarget), fullDisk), E_FAIL);
    EXPECT_EQ(PresetTest::ReadFileBytes(mTarget), previous);

    PresetTest::FailingFileWriter failingSync;
    failingSync.mFailSync = true;
    EXPECT_EQ(mManager->SavePresetFile(PresetTest::Wide(mTarget), failingSync), E_FAIL);
    EXPECT_EQ(PresetTest::ReadFileBytes(mTarget), previous);
    EXPECT_EQ(mFolder.Entries(), std::vector<std::string>{mTarget.filename().string()});
}

TEST_F(PresetManagerTest, EngineValueThatDoesNotFitItsParameterIsNotSaved)
{
    const Bytes previous = PresetTest::GoldenPreset(1);
    PresetTest::WriteFileBytes(mTarget, previous);
    Variant shortZone;
    shortZone.SetBytes("ab", 2);
    ASSERT_EQ(Engine()->SetParamValue(ParamDescriptor(3), shortZone), 0);
    EXPECT_EQ(mManager->SavePresetFile(PresetTest::Wide(mTarget)), E_FAIL);
    EXPECT_EQ(PresetTest::ReadFileBytes(mTarget), previous);
    EXPECT_EQ(mFolder.Entries(), std::vector<std::string>{mTarget.filename().string()});
}

TEST_F(PresetManagerTest, GlobalLoadRequestLoadsTheNamedFileWithoutMessage)
{
    PresetTest::RecordingAppServices services;
    const PresetTest::fs::path path = mFolder / "requested";
    PresetTest::WriteFileBytes(path, PresetTest::GoldenPreset(4));
    RequestGlobalLoad(nullptr, PresetTest::Wide(path));
    EXPECT_TRUE(EngineValues(Engine()) == SeededValues(4));

    RequestGlobalLoad(nullptr, WideString(u"/missing"));
    EXPECT_TRUE(services.mBoxes.empty());
    ASSERT_EQ(Announcements().size(), 4u);
    EXPECT_EQ(Announcements()[3].second, kPresetFileUnreadable);
}

TEST_F(PresetManagerTest, GlobalLoadRequestWithoutPathLoadsNothing)
{
    for (const RCPtr<LRefCountedObject>& data :
         {RCPtr<LRefCountedObject>(),
          RCPtr<LRefCountedObject>(new LPresetFileLoadNotificationData(0))})
    {
        RequestGlobalLoad(data);
    }
    EXPECT_TRUE(Announcements().empty());
}

TEST_F(PresetManagerTest, UnsubscribedManagerIgnoresGlobalLoadRequests)
{
    EXPECT_TRUE(mManager->IsSubscribed());
    EXPECT_EQ(
        mManager->Unsubscribe(RCPtr<LNotificationDistributor>(GetApplicationNotificationCenter()),
                              NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS),
        S_OK);
    const PresetTest::fs::path path = mFolder / "requested";
    PresetTest::WriteFileBytes(path, PresetTest::GoldenPreset(4));
    RequestGlobalLoad(nullptr, PresetTest::Wide(path));
    EXPECT_TRUE(Announcements().empty());
}

TEST_F(PresetManagerTest, ReleasedManagerLeavesTheApplicationCentre)
{
    const RCPtr<LNotificationCenter> center = GetApplicationNotificationCenter();
    static_cast<void>(mLoadRecorder->UnsubscribeAll());
    mManager = nullptr;
    const auto pool = center->FindClientPool(NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS);
    EXPECT_TRUE(!pool || pool->GetRegistrationCount() == 0);
}

class PresetManagerWithoutEngine : public EngineTestSupport::EngineHarness
{
protected:
    PresetTest::ScratchFolder mFolder;
};

TEST_F(PresetManagerWithoutEngine, SaveFailsAndLoadReportsTranslationFailure)
{
    const RCPtr<LPresetManager> manager = LPresetManager::Create();
    const PresetTest::fs::path path = mFolder / "preset";
    EXPECT_EQ(manager->SavePresetFile(PresetTest::Wide(path)), E_FAIL);
    EXPECT_TRUE(mFolder.Entries().empty());

    PresetTest::WriteFileBytes(path, PresetTest::GoldenPreset(1));
    EXPECT_EQ(manager->LoadPresetFile(PresetTest::Wide(path)), kPresetFileTranslationFailure);
    PresetTest::WriteFileBytes(path, FileImage().Header(1, 0, 0).Get());
    EXPECT_EQ(manager->LoadPresetFile(PresetTest::Wide(path)), kPresetFileLoaded);
    PresetTest::WriteFileBytes(path, FileImage().Header(2, 0, 0).Get());
    EXPECT_EQ(manager->LoadPresetFile(PresetTest::Wide(path)), kPresetFileNewer);
}

} // namespace
} // namespace QZ
