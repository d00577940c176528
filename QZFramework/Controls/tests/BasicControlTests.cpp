// The button, text box and scroll bar, built from a test skin through the factory and driven
// through a root window whose operating-system window is a fake, with the application clock under
// the test's control.
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/Scrollbar.h"
#include "QZFramework/Controls/TextBox.h"
#include "QZFramework/Controls/TextValidationParam.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Renderer/MeasurementRenderer.h"
#include "QZFramework/Renderer/tests/RecordingRenderer.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Notification/NotificationIDs.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>
#include <utility>
#include <string_view>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

// Counts what a control sends; a validating subscriber may refuse or replace the text.
class Listener : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        const std::u16string_view id(notification->GetID());
        heard.push_back(Narrow(WideString(notification->GetID())).substr(4));
        const auto param = RCPtr<LTextValidationParam>::DynamicCastFrom(notification->GetPayload());
        if (param && id == NID_TEXTBOX_VALIDATING)
        {
            param->valid = !refuse;
            if (!replacement.IsEmpty())
            {
                param->text = replacement;
            }
        }
    }
    std::size_t Count(const std::string& what) const
    {
        return static_cast<std::size_t>(std::count(heard.begin(), heard.end(), what));
    }

    std::vector<std::string> heard;
    bool refuse = false;
    WideString replacement;
};

// "main" holds two buttons, a text box and a scroll view "view" (100 x 80) whose content follows
// its child "content"; the view's bars are 10 pixels thick, docked at its right and bottom, and
// the vertical one has arrow buttons of 10 pixels at its ends.
constexpr std::string_view kSkin = R"(<Korvane_Skin_Definitions><Skin Name="Basic">
  <Colorizer Name="Ink" Color1="FF101010"/>
  <Look Name="Plain"><DockedPart Dock="Fill" Colorizer="Ink"/></Look>
  <Look Name="Field"><DockedPart Dock="Fill" Colorizer="Ink"/><Text Color="FF000000"/></Look>
  <LookList Name="One"><LookRef Look="Plain"/></LookList>
  <LookList Name="Four"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/></LookList>
  <LookList Name="Eight"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/></LookList>
  <SubControl Class="Framework.Panel" Name="main" XSizeAbs="300" YSizeAbs="200">
    <SubControl Class="Framework.Button" Name="repeat" XSizeAbs="40" YSizeAbs="20"
                LookList="Eight" TabStop="1"/>
    <SubControl Class="Framework.Button" Name="toggle" XPositionAbs="50" XSizeAbs="40"
                YSizeAbs="20" LookList="Four" TabStop="2">
      <CreateParamList><CreateParam ID="AUTO_VALUE_SET"> TRUE </CreateParam></CreateParamList>
    </SubControl>
    <SubControl Class="Framework.TextBox" Name="text" XPositionAbs="100" XSizeAbs="100"
                YSizeAbs="20" TabStop="3">
      <LookList><LookRef Look="Field"/></LookList>
    </SubControl>
    <SubControl Class="Framework.Panel" Name="view" YPositionAbs="100" XSizeAbs="100"
                YSizeAbs="80" LookList="One">
      <CreateParamList><CreateParam ID="AUTO_CLIENT_EXTENT_X">true</CreateParam>
        <CreateParam ID="AUTO_CLIENT_EXTENT_Y">true</CreateParam></CreateParamList>
      <SubControl Class="Framework.Panel" Name="content" XSizeAbs="50" YSizeAbs="50"
                  LookList="One"/>
      <SubControl Class="Framework.ScrollBar" Name="vBar" XPositionAbs="90" XSizeAbs="10"
                  YSizeAbs="70" XIsDocked="true" YIsDocked="true" LookList="One">
        <SubControl Class="Framework.Button" Name="buttonUp" XSizeAbs="10" YSizeAbs="10"
                    LookList="Four"/>
        <SubControl Class="Framework.ScrollChannel" Name="channel" YPositionAbs="10"
                    XSizeAbs="10" YSizeAbs="50" LookList="One"/>
        <SubControl Class="Framework.Button" Name="thumb" YPositionAbs="10" XSizeAbs="10"
                    YSizeAbs="10" LookList="Four"/>
        <SubControl Class="Framework.Button" Name="buttonDown" YPositionAbs="60" XSizeAbs="10"
                    YSizeAbs="10" LookList="Four"/>
      </SubControl>
      <SubControl Class="Framework.ScrollBar" Name="hBar" YPositionAbs="70" XSizeAbs="90"
                  YSizeAbs="10" XIsDocked="true" YIsDocked="true" LookList="One">
        <SubControl Class="Framework.Button" Name="thumb" XSizeAbs="10" YSizeAbs="10"
                    LookList="Four"/>
      </SubControl>
      <SubControl Class="Framework.Panel" Name="corner" XPositionAbs="90" YPositionAbs="70"
                  XSizeAbs="10" YSizeAbs="10" XIsDocked="true" YIsDocked="true"/>
    </SubControl>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

class BasicControls : public RootWindowFixture
{
protected:
    void SetUp() override
    {
        Register<LButton>(u"Framework.Button");
        Register<LTextBox>(u"Framework.TextBox");
        Register<LScrollbar>(u"Framework.ScrollBar");
        Register<LPanel>(u"Framework.ScrollChannel");
        Register<LPanel>(u"Framework.Panel");
        LoadSkin(kSkin);
        ASSERT_NO_FATAL_FAILURE(OpenRoot(u"main"));
    }

    void Listen(LControl* control, std::initializer_list<const char16_t*> identifiers)
    {
        for (const char16_t* identifier : identifiers)
        {
            mListener->Subscribe(RCPtr<LNotificationDistributor>(control), identifier, 0);
        }
    }

    // Through the layout rules, which a layout pass would otherwise restore.
    static void Resize(LControl& control, double width, double height)
    {
        LLayoutDescriptor::PositionSpec position;
        LLayoutDescriptor::SizeSpec size;
        control.GetLayout()->GetAxisSpec(0, position, size);
        const LLayoutDescriptor::SizeSpec sizeX{size.kind, size.name, 0.0f, width};
        const LLayoutDescriptor::PositionSpec positionX = position;
        control.GetLayout()->GetAxisSpec(1, position, size);
        control.SetLayoutAxes(positionX, sizeX, position, {size.kind, size.name, 0.0f, height});
    }
    static std::uint32_t ShownLook(const LControl& control)
    {
        for (std::uint32_t i = 0; i < control.GetLookCount(); ++i)
        {
            if (control.GetLookWeight(i) == 1.0f)
            {
                return i;
            }
        }
        return 99;
    }
    void Type(std::u16string_view units)
    {
        for (const char16_t unit : units)
        {
            mWindow->DeliverKey(KeyCode::FromChar(unit, 0));
        }
    }
    void KeyDown(std::uint32_t vk, std::uint32_t flags = 0)
    {
        mWindow->DeliverKey({KeyCode::kKeyDown | (vk << 16) | flags, 0, 0});
    }

    RCPtr<Listener> mListener{new Listener()};
};

TEST_F(BasicControls, HeldButtonRepeatsAfterTheDelayAtTheIntervalAndStopsOnRelease)
{
    LButton* button = Find<LButton>(u"repeat");
    ASSERT_NE(button, nullptr);
    button->SetAutoRepeat(true);
    Listen(button, {NID_BUTTON_AUTOREPEAT, NID_LEFT_CLICK});
    Move(10, 10);
    Press(10, 10);
    EXPECT_EQ(mListener->Count("BUTTON_AUTOREPEAT"), 1u); // at the press
    // (clock, repeats so far): nothing before the delay, then one per interval; a late step sends
    // one repeat and the interval counts from it; the pointer leaving does not stop the repeat.
    using Step = std::tuple<std::uint32_t, std::size_t>;
    for (const auto& [now, repeats] : {Step{1399, 1}, Step{1400, 2}, Step{1479, 2}, Step{1480, 3},
                                       Step{2000, 4}, Step{2079, 4}, Step{2080, 5}})
    {
        IdleAt(now);
        EXPECT_EQ(mListener->Count("BUTTON_AUTOREPEAT"), repeats) << now;
    }
    Move(200, 150);
    IdleAt(2160);
    EXPECT_EQ(mListener->Count("BUTTON_AUTOREPEAT"), 6u);
    Release(200, 150);
    EXPECT_FALSE(button->IsRepeating());
    EXPECT_EQ(button->GetIdleRequestCount(), 0);
    IdleAt(5000);
    EXPECT_EQ(mListener->Count("BUTTON_AUTOREPEAT"), 6u);
    EXPECT_EQ(mListener->Count("LEFT_CLICK"), 0u); // released off the button

    // A simulated click, handed over without sender, sends exactly one repeat; so does a press
    // released at once, which also clicks.
    LControl::SendNotificationTo(RCPtr<LNotificationReceiver>(button), NID_SIMULATE_CLICK);
    EXPECT_EQ(mListener->Count("BUTTON_AUTOREPEAT"), 7u);
    Move(10, 10);
    Press(10, 10);
    Release(10, 10);
    IdleAt(9000);
    EXPECT_EQ(mListener->Count("BUTTON_AUTOREPEAT"), 8u);
    EXPECT_EQ(mListener->Count("LEFT_CLICK"), 1u);

    // Without auto-repeat a press sends none.
    button->SetAutoRepeat(false);
    Press(10, 10);
    IdleAt(10000);
    Release(10, 10);
    EXPECT_EQ(mListener->Count("BUTTON_AUTOREPEAT"), 8u);
}

TEST_F(BasicControls, ButtonLooksFollowStateAndValueAndAutoValueSetToggles)
{
    LButton* plain = Find<LButton>(u"repeat");
    LButton* toggle = Find<LButton>(u"toggle");
    Listen(toggle, {NID_VALUE_CHANGE, NID_LEFT_CLICK});
    EXPECT_FALSE(plain->IsAutoValueSet());
    EXPECT_TRUE(toggle->IsAutoValueSet());
    EXPECT_EQ(ShownLook(*plain), 0u);
    Move(10, 10);
    EXPECT_EQ(ShownLook(*plain), 1u);
    Press(10, 10);
    EXPECT_EQ(ShownLook(*plain), 2u);
    // Dragged off, a plain button shows its hover look, a drag handle stays pressed.
    Move(200, 150);
    EXPECT_EQ(ShownLook(*plain), 1u);
    plain->SetDragHandle(true);
    EXPECT_EQ(ShownLook(*plain), 2u);
    Release(200, 150);
    EXPECT_EQ(ShownLook(*plain), 0u);
    // Lit: the looks from 4; while suppressed the owner's look stays.
    plain->SetValue(1.0);
    EXPECT_EQ(ShownLook(*plain), 4u);
    plain->SetEnabled(false);
    EXPECT_EQ(ShownLook(*plain), 7u);
    plain->SetLookUpdateSuppressed(true);
    plain->SetEnabled(true);
    EXPECT_EQ(ShownLook(*plain), 7u);

    // A click toggles the value before the click goes out; the lit toggle has only unlit looks.
    Move(60, 10);
    Press(60, 10);
    Release(60, 10);
    EXPECT_EQ(toggle->GetValue(), 1.0);
    EXPECT_EQ(ShownLook(*toggle), 1u);
    Press(60, 10);
    Release(60, 10);
    EXPECT_EQ(toggle->GetValue(), 0.0);
    EXPECT_EQ(mListener->heard, (std::vector<std::string>{"VALUE_CHANGE", "LEFT_CLICK",
                                                          "VALUE_CHANGE", "LEFT_CLICK"}));
}

TEST_F(BasicControls, TypedTextPassesTheFilterAndTheMaximumLength)
{
    LTextBox* box = Find<LTextBox>(u"text");
    ASSERT_NE(box, nullptr);
    ASSERT_EQ(box->SetFocus(true), S_OK);
    struct Case
    {
        const char16_t* filter;
        bool accept;
        std::int32_t maxLength;
        std::u16string_view typed;
        const char16_t* expected;
    };
    const Case cases[] = {
        {u"", true, 0, u"a-1 b", u"a-1 b"},
        {u"0123456789", true, 0, u"1a2-3", u"123"},
        {u"0123456789", false, 0, u"1a2-3", u"a-"},
        {u"", true, 3, u"abcdef", u"abc"},
        // A pair typed unit by unit goes in whole, or not at all when only one unit is left.
        {u"", true, 3, u"a\xD83C\xDFB9z", u"a\xD83C\xDFB9"},
        {u"", true, 2, u"a\xD83C\xDFB9", u"a"},
        // Lone surrogates and control characters are never stored.
        {u"", true, 0,
         u"a\xDC00\xD800"
         u"b\x1B\x7F"
         u"c",
         u"abc"},
    };
    for (const Case& c : cases)
    {
        box->SetMaxLength(0);
        box->SetText(WideString(), 0);
        box->SetFilter(WideString(c.filter), c.accept);
        box->SetMaxLength(c.maxLength);
        Type(c.typed);
        EXPECT_EQ(box->GetText(), c.expected) << Narrow(WideString(c.filter)) << c.maxLength;
        EXPECT_EQ(box->GetCaret(), box->GetText().GetLength());
    }

    // The caret keys, Backspace and Delete; a pair counts as one character.
    box->SetFilter(WideString(), true);
    box->SetMaxLength(0);
    box->SetText(WideString(u"ab\xD83C\xDFB9"
                            u"cd"),
                 0);
    box->SetSelection(5, 5);
    KeyDown(0x25); // Left
    KeyDown(0x25, KeyCode::kShift);
    EXPECT_EQ(box->GetSelectedText(), u"\xD83C\xDFB9");
    KeyDown(0x08); // Backspace removes the selection
    EXPECT_EQ(box->GetText(), u"abcd");
    KeyDown(0x24); // Home
    KeyDown(0x2E); // Delete
    EXPECT_EQ(box->GetText(), u"bcd");

    // A shorter maximum cuts the text and puts the caret at its end; typing at the maximum is
    // refused and sends nothing.
    Listen(box, {NID_TEXTBOX_TEXT_CHANGE});
    box->SetMaxLength(2);
    EXPECT_EQ(box->GetText(), u"bc");
    EXPECT_EQ(box->GetCaret(), 2);
    Type(u"x");
    EXPECT_EQ(box->GetText(), u"bc");
    EXPECT_EQ(box->SetText(WideString(u"bc"), 1), S_FALSE);
    EXPECT_EQ(mListener->Count("TEXTBOX_TEXT_CHANGE"), 1u);
}

TEST_F(BasicControls, AutomaticScrollingKeepsTheCaretInsideTheTextArea)
{
    LTextBox* box = Find<LTextBox>(u"text");
    mWindow->SetMeasurementRenderer(RCPtr<LMeasurementRenderer>(new FixedWidthMeasurement(12)));
    box->SetFont(LFont::FindOrCreate(u"Test Sans", 9.0f, 0));
    box->SetAutoScroll(0, true);
    ASSERT_EQ(box->SetFocus(true), S_OK);
    // The text area is the box's 100 pixels; the label moves left by what is scrolled out.
    Type(u"abcdefghijklmno");
    EXPECT_EQ(box->GetScrollOffset().x, -50.0);
    using Step = std::tuple<std::uint32_t, double>;
    for (const auto& [vk, offset] : {Step{0x24, 0.0}, Step{0x27, 0.0}, Step{0x23, -50.0},
                                     Step{0x25, -50.0}, Step{0x08, -40.0}})
    {
        KeyDown(vk);
        EXPECT_EQ(box->GetScrollOffset().x, offset) << vk;
    }
    box->SetText(WideString(u"short"), 1);
    EXPECT_EQ(box->GetScrollOffset().x, 0.0);

    // A press puts the caret at the nearest boundary; Shift extends the selection. The box lies
    // at x 100 in the window.
    for (const auto& [x, caret] :
         {std::pair{100L, 0}, std::pair{114L, 1}, std::pair{116L, 2}, std::pair{190L, 5}})
    {
        Move(x, 10);
        Press(x, 10);
        Release(x, 10);
        EXPECT_EQ(box->GetCaret(), caret) << x;
    }
    mWindow->OnPointerButton(true, 1, {121, 10}, 1, KeyCode::kModifierShift, false);
    mWindow->OnPointerButton(false, 1, {121, 10}, 0, KeyCode::kModifierShift, false);
    EXPECT_EQ(box->GetSelectedText(), u"ort");
}

// The selection is shaded only while the box has the focus: boxes left behind with their text
// selected do not look selected beside the one the keys go to.
TEST_F(BasicControls, ATextBoxShadesItsSelectionOnlyWhileItHasTheFocus)
{
    LTextBox* box = Find<LTextBox>(u"text");
    box->SetFont(LFont::FindOrCreate(u"Test Sans", 9.0f, 0));
    box->SetText(WideString(u"127"), 0);
    const auto fills = [box]
    {
        RecordingRenderer renderer;
        EXPECT_EQ(box->DrawUnderlay(renderer), S_OK);
        return std::count_if(renderer.calls.begin(), renderer.calls.end(),
                             [](const std::string& call) { return call.starts_with("FillRect"); });
    };
    ASSERT_EQ(box->SetFocus(true), S_OK);
    EXPECT_EQ(box->GetSelectedText(), u"127");
    EXPECT_EQ(fills(), 2) << "the selection and the caret";
    box->KillFocus();
    ASSERT_FALSE(box->HasFocus());
    EXPECT_EQ(box->GetSelectedText(), u"127");
    EXPECT_EQ(fills(), 0);
}

TEST_F(BasicControls, TypingInATextBoxFiresNoHotKey)
{
    LTextBox* box = Find<LTextBox>(u"text");
    ASSERT_EQ(box->SetFocus(true), S_OK);
    // "D" is bound as a window hot key by the editor's strings; a text box takes the key itself.
    EXPECT_EQ(box->OnKeyEvent(LKeyParam::Create({KeyCode::kKeyDown | (0x44u << 16), 0, 0}, true)),
              S_OK);
    EXPECT_EQ(box->OnKeyEvent(LKeyParam::Create(
                  {KeyCode::kKeyDown | KeyCode::kCtrl | (0x43u << 16), 0, 0}, true)),
              S_FALSE);
    EXPECT_EQ(box->OnKeyEvent(LKeyParam::Create(KeyCode::FromChar(u'\x03', 1), true)), S_FALSE);
}

TEST_F(BasicControls, EditCommandsExchangeCleanTextWithTheClipboard)
{
    LTextBox* box = Find<LTextBox>(u"text");
    RCPtr<LControl> target;
    EXPECT_EQ(box->FindEditTarget(target).Get(), box);
    EXPECT_FALSE(Find(u"repeat")->FindEditTarget(target));
    FakeClipboard clipboard;
    struct Case
    {
        const char16_t* text;
        std::int32_t anchor;
        std::int32_t caret;
        const char16_t* filter;
        std::int32_t maxLength;
        const char16_t* command;
        const char16_t* clipboardBefore;
        QZRESULT result;
        const char16_t* textAfter;
        const char16_t* clipboardAfter;
    };
    const Case cases[] = {
        {u"hello", 1, 3, u"", 0, NID_EDIT_COPY_REQ, u"", S_OK, u"hello", u"el"},
        {u"hello", 3, 1, u"", 0, NID_EDIT_CUT_REQ, u"", S_OK, u"hlo", u"el"},
        {u"hello", 2, 2, u"", 0, NID_EDIT_COPY_REQ, u"x", S_FALSE, u"hello", u"x"},
        {u"hello", 0, 5, u"", 0, NID_EDIT_DELETE_REQ, u"x", S_OK, u"", u"x"},
        {u"hello", 0, 0, u"", 0, NID_EDIT_DELETE_REQ, u"x", S_OK, u"ello", u"x"},
        {u"hello", 5, 5, u"", 0, NID_EDIT_DELETE_REQ, u"x", S_FALSE, u"hello", u"x"},
        // Pasting replaces the selection; control characters, lone surrogates and filtered
        // characters are dropped, and only what the maximum length leaves room for goes in.
        {u"hello", 1, 4, u"", 0, NID_EDIT_PASTE_REQ, u"a\r\nb\tc\xD800", S_OK, u"habco",
         u"a\r\nb\tc\xD800"},
        {u"12", 2, 2, u"0123456789", 0, NID_EDIT_PASTE_REQ, u"3 4x5", S_OK, u"12345", u"3 4x5"},
        {u"abc", 3, 3, u"", 5, NID_EDIT_PASTE_REQ, u"defgh", S_OK, u"abcde", u"defgh"},
        {u"abc", 3, 3, u"", 4, NID_EDIT_PASTE_REQ, u"\xD83C\xDFB9", S_FALSE, u"abc",
         u"\xD83C\xDFB9"},
        {u"abc", 0, 0, u"", 0, NID_EDIT_PASTE_REQ, u"\x01\x02", S_FALSE, u"abc", u"\x01\x02"},
        {u"abc", 0, 3, u"", 0, u"NID_EDIT_UNDO_REQ", u"", E_INVALIDARG, u"abc", u""},
    };
    for (const Case& c : cases)
    {
        box->SetMaxLength(0);
        box->SetText(WideString(c.text), 0);
        box->SetFilter(WideString(c.filter), true);
        box->SetMaxLength(c.maxLength);
        box->SetSelection(c.anchor, c.caret);
        clipboard.text = WideString(c.clipboardBefore);
        EXPECT_EQ(box->PerformEdit(WideString(c.command), clipboard), c.result)
            << Narrow(WideString(c.command)) << " " << Narrow(WideString(c.text));
        EXPECT_EQ(box->GetText(), c.textAfter) << Narrow(WideString(c.command));
        EXPECT_EQ(clipboard.text, c.clipboardAfter) << Narrow(WideString(c.command));
    }

    // A clipboard that refuses the text makes a cut keep its text.
    box->SetMaxLength(0);
    box->SetFilter(WideString(), true);
    box->SetText(WideString(u"keep"), 0);
    box->SetSelection(0, 4);
    clipboard.fails = true;
    EXPECT_EQ(box->PerformEdit(WideString(NID_EDIT_CUT_REQ), clipboard), E_FAIL);
    EXPECT_EQ(box->GetText(), u"keep");
    EXPECT_EQ(box->PerformEdit(WideString(NID_EDIT_PASTE_REQ), clipboard), E_FAIL);
    EXPECT_EQ(box->GetText(), u"keep");
}

TEST_F(BasicControls, ValidationAdoptsOrRefusesOnEnterAndOnFocusLoss)
{
    LTextBox* box = Find<LTextBox>(u"text");
    Listen(box, {NID_TEXTBOX_VALIDATING, NID_TEXTBOX_VALIDATED, NID_TEXTBOX_TEXT_CHANGE});
    box->SetText(WideString(u"300"), 1);
    mListener->heard.clear();

    mListener->replacement = WideString(u"127");
    EXPECT_TRUE(box->Validate());
    EXPECT_EQ(box->GetText(), u"127");
    EXPECT_EQ(mListener->heard,
              (std::vector<std::string>{"TEXTBOX_VALIDATING", "TEXTBOX_TEXT_CHANGE",
                                        "TEXTBOX_VALIDATED"}));
    mListener->heard.clear();
    mListener->refuse = true;
    mListener->replacement = WideString(u"0");
    EXPECT_FALSE(box->Validate());
    EXPECT_EQ(box->GetText(), u"127");
    EXPECT_EQ(mListener->heard, (std::vector<std::string>{"TEXTBOX_VALIDATING"}));

    // Enter and the focus leaving validate; a text box that never had the focus does not.
    mListener->refuse = false;
    mListener->replacement = WideString();
    mListener->heard.clear();
    ASSERT_EQ(box->SetFocus(true), S_OK);
    KeyDown(0x0D);
    EXPECT_EQ(mListener->Count("TEXTBOX_VALIDATED"), 1u);
    ASSERT_EQ(Find(u"repeat")->SetFocus(true), S_OK);
    EXPECT_EQ(mListener->Count("TEXTBOX_VALIDATED"), 2u);
    ASSERT_EQ(Find(u"toggle")->SetFocus(true), S_OK);
    EXPECT_EQ(mListener->Count("TEXTBOX_VALIDATED"), 2u);
}

TEST_F(BasicControls, ScrollViewShowsItsBarsAtTheThresholdAndScrollsByWheelBarAndThumb)
{
    LScrollView* view = Find<LScrollView>(u"view");
    LControl* content = Find(u"view/content");
    LScrollbar* vBar = Find<LScrollbar>(u"view/vBar");
    LScrollbar* hBar = Find<LScrollbar>(u"view/hBar");
    ASSERT_NE(vBar, nullptr);
    ASSERT_NE(content, nullptr);
    ASSERT_EQ(view->GetVerticalBar().Get(), vBar);
    // (content width, height) -> (horizontal bar, vertical bar): a bar shows once the content
    // is larger than the view, which the other bar narrows.
    using Case = std::tuple<double, double, bool, bool>;
    for (const auto& [width, height, horizontal, vertical] :
         {Case{100, 80, false, false}, Case{101, 70, true, false}, Case{101, 71, true, true},
          Case{90, 81, false, true}, Case{91, 81, true, true}, Case{90, 200, false, true}})
    {
        Resize(*content, width, height);
        EXPECT_EQ(hBar->IsShowing(false), horizontal) << width << "x" << height;
        EXPECT_EQ(vBar->IsShowing(false), vertical) << width << "x" << height;
    }

    // Content 90 x 200 in a view 80 high: 120 pixels to scroll, the thumb takes 80/200 of the
    // 50-pixel track between the arrows, a wheel notch moves a tenth of a page.
    Resize(*content, 90, 200);
    EXPECT_DOUBLE_EQ(vBar->GetPageShare(), 0.4);
    EXPECT_EQ(vBar->GetThumb()->GetSize().y, 20.0);
    EXPECT_EQ(vBar->GetThumb()->GetPosition().y, 10.0);
    EXPECT_EQ(mWindow->DispatchWheel(LMouseWheelParam::Create(20, 120, 0, 0)), S_OK);
    EXPECT_EQ(view->GetScrollOffset().y, 8.0);
    EXPECT_EQ(mWindow->DispatchWheel(LMouseWheelParam::Create(20, 120, 0, 1)), S_OK);
    EXPECT_EQ(view->GetScrollOffset().y, 0.0);
    // Docked, the bar keeps its place while the content scrolls.
    vBar->SetValue(1.0);
    EXPECT_EQ(view->GetScrollOffset().y, 120.0);
    EXPECT_EQ(vBar->GetPosition().y - view->GetScrollOffset().y, 0.0);
    EXPECT_EQ(vBar->GetThumb()->GetPosition().y, 40.0);

    // A press on the track above the thumb pages up; holding the down arrow steps and repeats.
    Move(95, 115);
    Press(95, 115);
    Release(95, 115);
    EXPECT_EQ(view->GetScrollOffset().y, 40.0);
    Move(95, 165);
    Press(95, 165);
    EXPECT_EQ(view->GetScrollOffset().y, 48.0);
    IdleAt(1400);
    EXPECT_EQ(view->GetScrollOffset().y, 56.0);
    Release(95, 165);

    // Dragging the thumb moves the content by the track's scale: 30 pixels of room for 120.
    const double thumbTop = 100 + vBar->GetThumb()->GetPosition().y;
    Move(95, static_cast<long>(thumbTop) + 5);
    Press(95, static_cast<long>(thumbTop) + 5);
    Move(95, static_cast<long>(thumbTop) + 5 + 15);
    EXPECT_EQ(vBar->GetThumb()->GetPosition().y, thumbTop - 100 + 15);
    Release(95, static_cast<long>(thumbTop) + 20);
    EXPECT_EQ(view->GetScrollOffset().y, std::round(120.0 * (thumbTop - 100 + 15 - 10) / 30.0));
    // Past either end of the track the content stops at its edge.
    for (const long to : {190L, 0L})
    {
        const long grip = 100 + static_cast<long>(vBar->GetThumb()->GetPosition().y) + 5;
        Move(95, grip);
        Press(95, grip);
        Move(95, to);
        Release(95, to);
        EXPECT_EQ(view->GetScrollOffset().y, to == 0 ? 0.0 : 120.0);
    }
}

} // namespace
} // namespace QZ::ToolkitTest
