// The MIDI manager with an engine over the simulated device-control library, whose writes can be
// made to fail: a fetched preset is taken over whole or not at all.
#include "Engine/RededoVuvuvaCommon/MidiManager.h"

#include "Engine/RededoVuvuvaCommon/tests/KeyboardRig.h"
#include "Engine/RededoVuvuvaCommon/tests/SimulatedLibrary.h"
#include "Platform/DeviceControlClient/SimulationControl.h"

#include <gtest/gtest.h>

using namespace EngineTestSupport;

namespace
{

class MidiManagerOverLibraryTest : public SimulatedEngineTest
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(rig.Start(), QZ::S_OK);
        StartEngine();
        QZ::LMidiManager::Create(manager);
        ASSERT_TRUE(manager);
    }

    void TearDown() override
    {
        manager.Reset();
        static_cast<void>(OXLISim_SetFailure("OXLI_SetParamValue", 0));
    }

    KeyboardRig rig;
    QZ::RCPtr<QZ::LMidiManager> manager;
};

} // namespace

TEST_F(MidiManagerOverLibraryTest, PresetTheEngineRefusesIsReportedAndPutBack)
{
    rig.Keyboard().SetSlot(3, MakePattern(40));
    SetEngineBytes(MakePattern(90));
    const Bytes before = GetEngineBytes();
    ASSERT_EQ(OXLISim_SetFailure("OXLI_SetParamValue", OXLI_RESULT_INTERNAL_FAILURE), 0);
    EXPECT_EQ(manager->GetPresetFromMidiDevice(3), QZ::LMidiManager::kMidiError);
    EXPECT_EQ(GetEngineBytes(), before);

    ASSERT_EQ(OXLISim_SetFailure("OXLI_SetParamValue", 0), 0);
    EXPECT_EQ(manager->GetPresetFromMidiDevice(3), 0);
    EXPECT_EQ(GetEngineBytes(), BytesOf(MakePattern(40)));
}
