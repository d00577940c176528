#include "QZFramework/ControlBase/KeyParam.h"
#include "QZFramework/Controls/TextBox.h"
#include "UI/TarnSeriesCommon/PresetNamePanel.h"
#include "UI/TarnSeriesCommon/FamilyValue.h"
#include "UI/TarnSeriesCommon/PresetNameValue.h"
#include "UI/TarnSeriesCommon/tests/FamilyPanelFixture.h"

#include <optional>
#include <string>
#include <vector>

namespace QZ
{
namespace
{

using Bytes = std::vector<int>;

TEST(PresetNameValue, TextToBytes)
{
    const struct
    {
        std::u16string text;
        Bytes bytes;
    } cases[] = {
        {u"ab c", {0x41, 0x42, 0x22, 0x43, 0x22, 0x22}},
        {u"it's", {0x49, 0x54, 0x60, 0x53, 0x22, 0x22}},
        {u"", {0x22, 0x22, 0x22, 0x22, 0x22, 0x22}},
        {u"abcdefgh", {0x41, 0x42, 0x43, 0x44, 0x45, 0x46}},
        // Characters outside the name's set take no position.
        {u"a!b_c\u00e9d", {0x41, 0x42, 0x43, 0x44, 0x22, 0x22}},
        {u"[9]/=\\", {0x5B, 0x39, 0x5D, 0x2F, 0x3D, 0x5C}},
        {u" -.", {0x22, 0x2D, 0x2E, 0x22, 0x22, 0x22}},
    };
    for (const auto& c : cases)
    {
        const PresetNameBytes bytes = EncodePresetName(c.text);
        EXPECT_EQ(Bytes(bytes.begin(), bytes.end()), c.bytes)
            << std::string(c.text.begin(), c.text.end());
    }
}

TEST(PresetNameValue, BytesToText)
{
    const struct
    {
        Bytes bytes;
        std::optional<std::u16string> text;
    } cases[] = {
        {{0x50, 0x52, 0x45, 0x53, 0x45, 0x54}, u"PRESET"},
        {{0x41, 0x22, 0x42, 0x22, 0x22, 0x22}, u"A B"},
        {{0x22, 0x41, 0x22, 0x22, 0x22, 0x22}, u" A"},
        {{0x41, 0x60, 0x53, 0x22, 0x22, 0x22}, u"A'S"},
        {{0x22, 0x22, 0x22, 0x22, 0x22, 0x22}, u""},
        // Bytes that no name character stands for are dropped, never shown.
        {{0x41, 0x00, 0x21, 0x5F, 0xE9, 0x42}, u"AB"},
        {{0x41, 0x42, 0x43, 0x44, 0x45}, std::nullopt},
        {{0x41, 0x42, 0x43, 0x44, 0x45, 0x46, 0x47}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases)
    {
        EXPECT_EQ(DecodePresetName(ValueOf(c.bytes)), c.text) << c.bytes.size();
    }
}

class PresetNamePanelTest : public FamilyPanelFixture
{
protected:
    void SetUp() override
    {
        FamilyPanelFixture::SetUp();
        Register<LPresetNamePanel>(u"RededoVuvuva.MainControl.DeviceView.PresetNameEditPanel");
        BuildMain();
        mPanel = RCPtr<LPresetNamePanel>::DynamicCastFrom(DeviceChild(u"presetNameEditPanel"));
        ASSERT_TRUE(mPanel);
        mText = At<LTextBox>(RCPtr<LControl>(mPanel.Get()), u"textBox");
        ASSERT_TRUE(mText);
        Place(RCPtr<LParameterizedModule>(mPanel.Get()), 0);
        DeliverPostedStates(131);
    }
    void TearDown() override
    {
        mPanel = nullptr;
        mText = nullptr;
        FamilyPanelFixture::TearDown();
    }

    void Type(const std::u16string& units)
    {
        for (const char16_t unit : units)
        {
            mText->OnKeyEvent(LKeyParam::Create(KeyCode::FromChar(unit, 0), true));
        }
    }
    // Backspace at the end of the text, as often as asked.
    void EraseFromEnd(int times)
    {
        Press(kEnd);
        for (int i = 0; i < times; ++i)
        {
            Press(kBackspace);
        }
    }
    void Press(std::uint32_t virtualKey)
    {
        mText->OnKeyEvent(LKeyParam::Create({KeyCode::kKeyDown | (virtualKey << 16), 0, 0}, true));
    }
    static constexpr std::uint32_t kBackspace = 0x08;
    static constexpr std::uint32_t kEnd = 0x23;
    std::u16string Shown() const
    {
        const WideString& text = mText->GetText();
        return {text.GetString(), static_cast<std::size_t>(text.GetLength())};
    }
    Bytes LastSent() const
    {
        return mMain->sent.empty() ? Bytes() : IntsOf(mMain->sent.back().mValue);
    }

    RCPtr<LPresetNamePanel> mPanel;
    RCPtr<LTextBox> mText;
};

// Each typed character sends the whole name at once; the text box keeps the case as typed and
// refuses characters outside the name's set and past its sixth.
TEST_F(PresetNamePanelTest, TypingSendsTheNameAtOnce)
{
    EXPECT_EQ(Shown(), u"PRESET");
    ASSERT_TRUE(mMain->sent.empty());
    EraseFromEnd(6);
    EXPECT_EQ(LastSent(), Bytes(6, 0x22));
    mMain->sent.clear();

    Type(u"ab c");
    ASSERT_EQ(mMain->sent.size(), 4u);
    EXPECT_EQ(mMain->sent.back().mDescriptor.mParamID, 0);
    EXPECT_EQ(LastSent(), (Bytes{0x41, 0x42, 0x22, 0x43, 0x22, 0x22}));
    EXPECT_EQ(Shown(), u"ab c");

    Type(u"!_");
    EXPECT_EQ(mMain->sent.size(), 4u);
    Type(u"'dz");
    EXPECT_EQ(Shown(), u"ab c'd");
    EXPECT_EQ(mMain->sent.size(), 6u);
    EXPECT_EQ(LastSent(), (Bytes{0x41, 0x42, 0x22, 0x43, 0x60, 0x44}));
}

// A value from the engine shows without being sent back; the name read from it sends the same
// bytes again; a value of another parameter or length changes nothing.
TEST_F(PresetNamePanelTest, EngineNameShowsSilentlyAndSurvivesTheRoundTrip)
{
    const Bytes name{0x41, 0x22, 0x42, 0x22, 0x22, 0x22};
    ASSERT_GE(GetRootModuleEngine()->SetParamValue(ParamDescriptor(0), ValueOf(name)), 0);
    mMain->Deliver(ParamValue(ParamDescriptor(0), ValueOf(name)));
    EXPECT_EQ(Shown(), u"A B");
    EXPECT_TRUE(mMain->sent.empty());

    EraseFromEnd(1);
    Type(u"B");
    EXPECT_EQ(LastSent(), name);
    EXPECT_EQ(IntsOf(EngineValue(0)), name);

    mMain->sent.clear();
    for (const auto& [id, bytes] : {std::pair<std::int32_t, Bytes>{1, Bytes(6, 0x43)},
                                    {0, Bytes(5, 0x43)},
                                    {0, Bytes(7, 0x43)}})
    {
        EXPECT_EQ(mPanel->SetParamValueLocal(ParamDescriptor(id), ValueOf(bytes), true), E_FAIL);
    }
    EXPECT_EQ(Shown(), u"A B");
    EXPECT_TRUE(mMain->sent.empty());
}

} // namespace
} // namespace QZ
