#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/Controls/Button.h"
#include "UI/TarnSeriesCommon/EncoderEditPanel.h"
#include "UI/TarnSeriesCommon/EncoderGroupPanel.h"
#include "UI/TarnSeriesCommon/EncoderPanel.h"
#include "UI/TarnSeriesCommon/tests/FamilyPanelFixture.h"

#include <algorithm>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

constexpr std::int32_t kFirstEncoderID = 97;
constexpr std::int32_t kParameterCount = 131;

class ContinuousFamilies : public FamilyPanelFixture
{
protected:
    void SetUp() override
    {
        FamilyPanelFixture::SetUp();
        Register(u"RededoVuvuva.MainControl.EncoderView",
                 &LControlFactory::Create<LEncoderGroupPanel>);
        Register(u"RededoVuvuva.MainControl.EncoderView.Encoder",
                 &LControlFactory::Create<LEncoderPanel>);
        Register(u"RededoVuvuva.MainPage.KnobEditPanel",
                 &LControlFactory::Create<LEncoderEditPanel>);
    }

    // Builds the drawing, places the groups and hands on the engine's start-up values.
    void Start()
    {
        BuildMain();
        mEncoders = At<LEncoderGroupPanel>(RCPtr<LControl>(mDevice.Get()), u"encoders");
        ASSERT_TRUE(mEncoders);
        Place(RCPtr<LParameterizedModule>(mEncoders.Get()), kFirstEncoderID);
        DeliverPostedStates(kParameterCount);
    }

    // The message of the exception that building the drawing throws without the skin child at
    // the path (below "mainControl/viewDevice").
    std::string BuildErrorWithout(const std::u16string& path)
    {
        EXPECT_EQ(mFactory->LoadSkins(WideString(u"::APP_SKINS")), S_OK);
        const std::u16string full = u"mainControl/viewDevice/" + path;
        const std::size_t slash = full.rfind(u'/');
        const RCPtr<LControlDescriptor> parent = FindDescriptor(full.substr(0, slash));
        EXPECT_TRUE(parent);
        if (!parent)
        {
            return "";
        }
        auto& children = parent->subControls;
        const std::u16string name = full.substr(slash + 1);
        children.erase(std::remove_if(children.begin(), children.end(),
                                      [&](const RCPtr<LControlDescriptor>& child)
                                      { return name == child->name.GetString(); }),
                       children.end());
        try
        {
            static_cast<void>(BuildRoot(u"mainControl"));
        }
        catch (const std::exception& error)
        {
            return error.what();
        }
        return "built";
    }

    static std::vector<double> Highlights(const std::vector<RCPtr<LControl>>& tiles)
    {
        std::vector<double> values;
        for (const RCPtr<LControl>& tile : tiles)
        {
            values.push_back(At<LButton>(tile, u"button")->GetValue());
        }
        return values;
    }
    template <class Group> static std::vector<RCPtr<LControl>> TilesOf(const Group& group)
    {
        std::vector<RCPtr<LControl>> tiles;
        for (const auto& tile : group->GetElementPanels())
        {
            tiles.push_back(RCPtr<LControl>(tile.Get()));
        }
        return tiles;
    }
    LParameterizedModule* ModuleOf(std::int32_t paramID) { return mMain->GetModule(paramID).Get(); }

    RCPtr<LEncoderGroupPanel> mEncoders;
};

// Encoder 11 (bank 2, encoder 3): a click lights its tile alone, shows and labels the encoder edit
// panel and binds it to 107; the engine's value then fills the editor and the tile, an edit
// sends one whole 6-byte value, and hiding the edit panel clears the highlight.
TEST_F(ContinuousFamilies, EncoderClickBindsShowsAndSends)
{
    Start();
    const std::vector<RCPtr<LControl>> tiles = TilesOf(mEncoders);
    ASSERT_EQ(tiles.size(), 32u);
    for (std::size_t i = 0; i < tiles.size(); ++i)
    {
        EXPECT_EQ(Text(tiles[i], u"encoderNameLabel"), "E" + std::to_string(i % 8 + 1)) << i;
    }
    const RCPtr<LEncoderEditPanel> edit = mEncoders->GetEditPanel();
    const auto editor = At<FakeAssignmentEditor>(RCPtr<LControl>(edit.Get()), u"moveableTypePanel");
    const auto tileView = At<FakeAssignmentView>(tiles[10], u"viewPanel");
    ASSERT_TRUE(edit && editor && tileView);
    EXPECT_EQ(IntsOf(tileView->shown), IntsOf(EngineValue(107)));
    EXPECT_EQ(ModuleOf(107),
              static_cast<LParameterizedModule*>(mEncoders->GetElementPanels()[10].Get()));

    Click(At<LControl>(tiles[10], u"button"));
    ASSERT_FALSE(mDevice->shown.empty());
    EXPECT_EQ(mDevice->shown.back(), std::make_pair(kEncoderControlType, 10));
    std::vector<double> lit(32, 0.0);
    lit[10] = 1.0;
    EXPECT_EQ(Highlights(tiles), lit);
    EXPECT_TRUE(edit->IsShowing(false));
    EXPECT_EQ(edit->GetFirstParamID(), 107);
    EXPECT_EQ(Text(RCPtr<LControl>(edit.Get()), u"knobName"), "ENCODER 3");
    EXPECT_EQ(Text(RCPtr<LControl>(edit.Get()), u"bankName"), "BANK 2");
    EXPECT_EQ(ModuleOf(107), static_cast<LParameterizedModule*>(edit.Get()));
    EXPECT_EQ(ModuleOf(106),
              static_cast<LParameterizedModule*>(mEncoders->GetElementPanels()[9].Get()));

    const std::vector<ParamValue> posted = DeliverPostedStates(1);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].mDescriptor.mParamID, 107);
    EXPECT_EQ(IntsOf(editor->GetParamValues()), IntsOf(EngineValue(107)));
    tileView->shown = Array<signed char>();
    mMain->Deliver(ParamValue(ParamDescriptor(107), MakeValue(BytesOf({4, 0, 7, 0, 0, 127}))));
    EXPECT_EQ(IntsOf(editor->GetParamValues()), (std::vector<int>{4, 0, 7, 0, 0, 127}));
    EXPECT_EQ(IntsOf(tileView->shown), (std::vector<int>{4, 0, 7, 0, 0, 127}));
    EXPECT_TRUE(mMain->sent.empty());

    editor->Edit({3, 0, 74, 1, 10, 100});
    editor->Edit({3, 0, 74, 1, 10});
    editor->Edit({3, 0, 74, 1, 10, 100, 0});
    ASSERT_EQ(mMain->sent.size(), 1u);
    EXPECT_EQ(mMain->sent[0].mDescriptor.mParamID, 107);
    EXPECT_EQ(IntsOf(mMain->sent[0].mValue), (std::vector<int>{3, 0, 74, 1, 10, 100}));

    // Values of another size or identifier are refused by every panel of the family.
    for (const std::vector<int>& bytes : {std::vector<int>{1, 2, 3, 4, 5}, {1, 2, 3, 4, 5, 6, 7}})
    {
        const Variant value = MakeValue(BytesOf(bytes));
        EXPECT_EQ(edit->SetParamValueLocal(ParamDescriptor(107), value, true), E_FAIL);
        EXPECT_EQ(mEncoders->GetElementPanels()[10]->SetParamValueLocal(ParamDescriptor(107), value,
                                                                        true),
                  E_FAIL);
    }
    EXPECT_EQ(edit->SetParamValueLocal(ParamDescriptor(106), MakeValue(BytesOf({0, 0, 0, 0, 0, 0})),
                                       true),
              E_FAIL);

    // While the group is placed again its walk reaches the tiles, never the edit panel; once it
    // is over the edit panel answers for its element again.
    mEncoders->SetFirstParamID(mMain.Get(), kFirstEncoderID + 100, 0);
    EXPECT_EQ(mEncoders->GetElementPanels()[10]->GetFirstParamID(), 207);
    EXPECT_EQ(edit->GetFirstParamID(), 107);
    EXPECT_EQ(ModuleOf(207),
              static_cast<LParameterizedModule*>(mEncoders->GetElementPanels()[10].Get()));
    mEncoders->SetFirstParamID(mMain.Get(), kFirstEncoderID, 0);
    EXPECT_EQ(ModuleOf(107), static_cast<LParameterizedModule*>(edit.Get()));

    edit->SetShown(false);
    EXPECT_EQ(Highlights(tiles), std::vector<double>(32, 0.0));
}

// A skin without a child the encoder panels need fails to build, naming the child.
TEST_F(ContinuousFamilies, MissingEncoderChildrenFailTheBuild)
{
    struct Case
    {
        std::u16string path;
        const char* message;
    };
    const std::vector<Case> cases{
        {u"knobEditPanel", "Runtime Error : Null Pointer : knobEditPanel knob found : "
                           "LEncoderGroupPanel::Initialize"},
        {u"encoders/encoderBank3", "Null Pointer : can not find child encoderBank3 : "
                                   "LEncoderGroupPanel::Initialize"},
        {u"encoders/encoderBank2/encoder5", "Failed Result : QZRESULT = 80004005 : "
                                            "LEncoderGroupPanel::Initialize"},
        {u"encoders/encoderBank4/encoder8/button", "Failed Result : QZRESULT = 80070057 : "
                                                   "LEncoderGroupPanel::Initialize"},
        {u"encoders/encoderBank1/encoder2/viewPanel", "Null Pointer : cannot find child "
                                                      "viewPanel : LEncoderPanel::Initialize"},
        {u"encoders/encoderBank1/encoder2/encoderNameLabel",
         "Null Pointer : Cannot find child: encoderNameLabel : LEncoderPanel::Initialize"},
        {u"knobEditPanel/moveableTypePanel", "Null Pointer : Cannot find child: "
                                             "moveableTypePanel : LEncoderEditPanel::Initialize"},
        {u"knobEditPanel/bankName",
         "Null Pointer : Couldn't find child bankName : LEncoderEditPanel::Initialize"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.message);
        const std::string error = BuildErrorWithout(c.path);
        EXPECT_NE(error.find(c.message), std::string::npos) << error;
    }
}

} // namespace
} // namespace QZ
