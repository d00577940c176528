#include "QZFramework/Controls/ComboBox.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "UI/TarnSeriesCommon/FamilyValue.h"
#include "UI/TarnSeriesCommon/KeybedZoneEditPanel.h"
#include "UI/TarnSeriesCommon/KeybedZoneGroupPanel.h"
#include "UI/TarnSeriesCommon/KeybedZonePanel.h"
#include "UI/TarnSeriesCommon/MIDIChannelViewPanel.h"
#include "UI/RededoVuvuvaCommon/MidiNoteSelector.h"
#include "UI/TarnSeriesCommon/tests/FamilyPanelFixture.h"

#include <functional>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

using Bytes = std::vector<int>;
constexpr std::int32_t kFirstZoneID = 1;

class KeybedZonePanels : public FamilyPanelFixture
{
protected:
    void SetUp() override
    {
        FamilyPanelFixture::SetUp();
        Register<LKeybedZoneGroupPanel>(u"RededoVuvuva.MainControl.KeybedZones");
        Register<LKeybedZonePanel>(u"RededoVuvuva.MainControl.KeybedZones.Zone");
        Register<LKeybedZoneEditPanel>(u"RededoVuvuva.MainPage.ZoneEditPanel");
        Register<LMIDIChannelViewPanel>(u"RededoVuvuva.MainControl.MIDIChannelView");
        Register<LMidiNoteSelector>(u"RededoVuvuva.Control.ZoneNoteSelector");
        BuildMain();
        mGroup = RCPtr<LKeybedZoneGroupPanel>::DynamicCastFrom(DeviceChild(u"keybedZones"));
        mEdit = RCPtr<LKeybedZoneEditPanel>::DynamicCastFrom(DeviceChild(u"zoneEditPanel"));
        ASSERT_TRUE(mGroup && mEdit);
        Place(RCPtr<LParameterizedModule>(mGroup.Get()), kFirstZoneID);
        DeliverPostedStates(131);
    }
    void TearDown() override
    {
        mGroup = nullptr;
        mEdit = nullptr;
        FamilyPanelFixture::TearDown();
    }

    RCPtr<LControl> ZoneButton(std::size_t index) const
    {
        return Descend(RCPtr<LControl>(mGroup->GetElementPanels()[index].Get()), u"button");
    }
    RCPtr<LNumericUpDown> Number(const std::u16string& selector) const
    {
        return At<LNumericUpDown>(RCPtr<LControl>(mEdit.Get()), selector + u"/numericUpDown");
    }
    static void SetNumber(const RCPtr<LNumericUpDown>& number, double value)
    {
        number->SetValue(number->ValueToPosition(value));
    }
    static std::int32_t GetNumber(const RCPtr<LNumericUpDown>& number)
    {
        return static_cast<std::int32_t>(number->PositionToValue(number->GetValue()));
    }
    RCPtr<LNumericUpDown> FirstKey() const
    {
        return Number(u"startEndNoteSelector/startNote/noteSelector");
    }
    RCPtr<LNumericUpDown> LastKey() const
    {
        return Number(u"startEndNoteSelector/endNote/noteSelector");
    }
    RCPtr<LControl> Zone(std::size_t index) const
    {
        return RCPtr<LControl>(mGroup->GetElementPanels()[index].Get());
    }
    Bytes LastSent() const
    {
        return mMain->sent.empty() ? Bytes() : IntsOf(mMain->sent.back().mValue);
    }
    void Deliver(std::int32_t id, const Bytes& bytes)
    {
        mMain->Deliver(ParamValue(ParamDescriptor(id), ValueOf(bytes)));
    }

    RCPtr<LKeybedZoneGroupPanel> mGroup;
    RCPtr<LKeybedZoneEditPanel> mEdit;
};

// The zones take the identifiers 1 to 4; clicking one lights it alone, binds the edit panel to it
// and names it; hiding the edit panel darkens every zone.
TEST_F(KeybedZonePanels, ClickBindsTheEditPanelToTheZone)
{
    ASSERT_EQ(mGroup->GetElementPanels().size(), 4u);
    for (std::size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(Text(Zone(i), u"zoneName"), "ZONE " + std::to_string(i + 1));
        EXPECT_EQ(ModuleOf(kFirstZoneID + static_cast<std::int32_t>(i)),
                  AsModule(mGroup->GetElementPanels()[i]));
    }
    EXPECT_EQ(ModuleOf(kFirstZoneID + 4), nullptr);

    Click(ZoneButton(2));
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kKeybedZoneControlType, 2));
    EXPECT_EQ(mEdit->GetFirstParamID(), 3);
    EXPECT_EQ(mEdit->GetIndex(), 2u);
    EXPECT_TRUE(mEdit->IsShowing(false));
    EXPECT_EQ(Text(RCPtr<LControl>(mEdit.Get()), u"zoneName"), "ZONE 3");
    for (std::size_t i = 0; i < 4; ++i)
    {
        EXPECT_EQ(ZoneButton(i)->GetValue(), i == 2 ? 1.0 : 0.0);
    }
    EXPECT_EQ(ModuleOf(3), AsModule(mEdit));
    EXPECT_EQ(ModuleOf(4), AsModule(mGroup->GetElementPanels()[3]));
    EXPECT_TRUE(mMain->sent.empty());

    // Placing the container again places the drawn zones, never the edit panel.
    mGroup->SetFirstParamID(mMain.Get(), kFirstZoneID, 0);
    EXPECT_EQ(mGroup->GetElementPanels()[2]->LParameterizedModule::GetParent(), AsModule(mGroup));
    EXPECT_EQ(mEdit->GetFirstParamID(), 3);

    mDevice->ShowEditPanel(kEncoderControlType, 0);
    EXPECT_EQ(ZoneButton(2)->GetValue(), 0.0);
}

// A user's key change keeps both keys at or below 60 and the first at or below the last, and
// sends the result once; a value from the engine shows whole whether its range lies above or
// below the one shown, and sends nothing.
TEST_F(KeybedZonePanels, KeyClampsAndTheirApplyOrder)
{
    Click(ZoneButton(1));
    Deliver(2, {1, 0, 0, 0, 0, 10, 20, 5, 12});
    const struct
    {
        bool firstKey;
        double value;
        std::int32_t first;
        std::int32_t last;
    } edits[] = {
        {false, 70, 10, 60}, {true, 61, 60, 60}, {false, 30, 30, 30},
        {true, 12, 12, 30},  {true, 40, 30, 30}, {false, 5, 5, 5},
    };
    for (const auto& edit : edits)
    {
        SCOPED_TRACE(edit.value);
        mMain->sent.clear();
        SetNumber(edit.firstKey ? FirstKey() : LastKey(), edit.value);
        EXPECT_EQ(GetNumber(FirstKey()), edit.first);
        EXPECT_EQ(GetNumber(LastKey()), edit.last);
        ASSERT_EQ(mMain->sent.size(), 1u);
        EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, 2);
        EXPECT_EQ(LastSent(), (Bytes{1, 0, 0, 0, 0, edit.first, edit.last, 5, 12}));
    }

    mMain->sent.clear();
    const struct
    {
        Bytes shown;
        Bytes applied;
        std::int32_t first;
        std::int32_t last;
    } values[] = {
        {{1, 0, 0, 0, 0, 10, 20, 5, 12}, {1, 0, 0, 0, 0, 30, 40, 5, 12}, 30, 40},
        {{1, 0, 0, 0, 0, 30, 40, 5, 12}, {1, 0, 0, 0, 0, 10, 20, 5, 12}, 10, 20},
        {{1, 0, 0, 0, 0, 10, 20, 5, 12}, {1, 0, 0, 0, 0, 50, 40, 5, 12}, 40, 40},
        {{1, 0, 0, 0, 0, 10, 20, 5, 12}, {1, 0, 0, 0, 0, -112, 90, 5, 12}, 0, 60},
    };
    for (const auto& value : values)
    {
        SCOPED_TRACE(value.first);
        Deliver(2, value.shown);
        Deliver(2, value.applied);
        EXPECT_EQ(GetNumber(FirstKey()), value.first);
        EXPECT_EQ(GetNumber(LastKey()), value.last);
    }
    EXPECT_TRUE(mMain->sent.empty());
}

// Every other control sends the whole value once, each field in its byte; values of another
// identifier or length change nothing.
TEST_F(KeybedZonePanels, EditsSendTheWholeValue)
{
    Click(ZoneButton(1));
    const Bytes shown{1, 3, 5, 0, 0, 10, 20, 5, 12};
    Deliver(2, shown);
    const RCPtr<LControl> edit(mEdit.Get());
    const auto channel = At<LComboBox>(edit, u"midiChannel/comboBox");
    const auto toggle = Descend(edit, u"zoneEnabledToggleButton");
    ASSERT_TRUE(channel && toggle);
    EXPECT_EQ(channel->GetSelectedIndex(), 3);
    const struct
    {
        const char* what;
        std::function<void()> change;
        std::size_t byte;
        int sent;
    } cases[] = {
        {"program", [&] { SetNumber(Number(u"program"), 6); }, 2, 6},
        {"msb", [&] { SetNumber(Number(u"msbLSBSelectors/msb"), 127); }, 3, 127},
        {"lsb", [&] { SetNumber(Number(u"msbLSBSelectors/lsb"), 9); }, 4, 9},
        {"octave low", [&] { SetNumber(Number(u"octave"), -5); }, 7, 0},
        {"octave high", [&] { SetNumber(Number(u"octave"), 5); }, 7, 10},
        {"transpose low", [&] { SetNumber(Number(u"transpose"), -12); }, 8, 0},
        {"transpose high", [&] { SetNumber(Number(u"transpose"), 12); }, 8, 24},
        {"transpose zero", [&] { SetNumber(Number(u"transpose"), 0); }, 8, 12},
        {"channel", [&] { channel->SetSelectedIndex(16); }, 1, 16},
        {"off", [&] { Click(toggle); }, 0, 0},
        {"on", [&] { Click(toggle); }, 0, 1},
    };
    Bytes expected = shown;
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        mMain->sent.clear();
        c.change();
        expected[c.byte] = c.sent;
        ASSERT_EQ(mMain->sent.size(), 1u);
        EXPECT_EQ(LastSent(), expected);
    }
    EXPECT_EQ(Narrow(channel->GetText()), "Channel 16");

    mMain->sent.clear();
    for (const auto& [id, bytes] :
         {std::pair<std::int32_t, Bytes>{3, shown}, {2, Bytes(8, 1)}, {2, Bytes(10, 1)}})
    {
        EXPECT_EQ(mEdit->SetParamValueLocal(ParamDescriptor(id), ValueOf(bytes), true), E_FAIL);
    }
    EXPECT_EQ(IntsOf(EncodeKeybedZone(mEdit->GetZoneSettings())), expected);
    EXPECT_TRUE(mMain->sent.empty());

    // A channel byte the list cannot show is kept, never replaced by the empty selection.
    Deliver(2, {1, 20, 5, 0, 0, 10, 20, 5, 12});
    SetNumber(Number(u"program"), 7);
    EXPECT_EQ(LastSent(), (Bytes{1, 20, 7, 0, 0, 10, 20, 5, 12}));
}

// A drawn zone shows its keys by name and its channel; what it cannot name shows "?".
TEST_F(KeybedZonePanels, DrawnZoneShowsKeysAndChannel)
{
    const struct
    {
        Bytes value;
        const char* info;
        const char* channel;
    } cases[] = {
        {{1, 10, 0, 0, 0, 24, 53, 5, 12}, "First: C (3) | Last F (5)", "CH:10"},
        {{1, 0, 0, 0, 0, 0, 60, 5, 12}, "First: C (1) | Last C (6)", "CH:G"},
        {{1, 16, 0, 0, 0, -112, 61, 5, 12}, "First: ? ? | Last Db (6)", "CH:16"},
    };
    for (const auto& c : cases)
    {
        Deliver(4, c.value);
        EXPECT_EQ(Text(Zone(3), u"infoLabel"), c.info);
        EXPECT_EQ(Text(Zone(3), u"midiChannel/label"), c.channel);
    }
    const auto zone4 = mGroup->GetElementPanels()[3];
    EXPECT_EQ(zone4->SetParamValueLocal(ParamDescriptor(3), ValueOf(Bytes(9, 0)), true), E_FAIL);
    EXPECT_EQ(zone4->SetParamValueLocal(ParamDescriptor(4), ValueOf(Bytes(7, 0)), true), E_FAIL);
    EXPECT_EQ(Text(Zone(3), u"infoLabel"), "First: ? ? | Last Db (6)");

    // The selected zone's values pass through the edit panel to the drawn zone.
    Click(ZoneButton(3));
    Deliver(4, {1, 2, 0, 0, 0, 24, 53, 5, 12});
    EXPECT_EQ(Text(Zone(3), u"infoLabel"), "First: C (3) | Last F (5)");
    EXPECT_EQ(Text(Zone(3), u"midiChannel/label"), "CH:2");
    EXPECT_EQ(GetNumber(FirstKey()), 24);
}

} // namespace
} // namespace QZ
