// The slider, the knob and the numeric up-down, built from a test skin through the factory and
// driven through a root window whose operating-system window is a fake, with the application
// clock and the key state under the test's control.
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/ControlBase/VisualPart.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/ComboSlider.h"
#include "QZFramework/Controls/Knob.h"
#include "QZFramework/Controls/NumericUpDown.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/Slider.h"
#include "QZFramework/Controls/TextBox.h"
#include "QZFramework/Notification/MouseWheelParam.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Holder.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

// Records what a control sends: the identifier without "NID_", and for the capture and key-up
// notifications their payload (":true", ":false", ":none").
class Listener : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        std::string entry = Narrow(WideString(notification->GetID())).substr(4);
        const std::u16string_view id(notification->GetID());
        if (id == NID_VALUE_CHANGE_CAPTURE)
        {
            const auto holder = RCPtr<LHolder<bool>>::DynamicCastFrom(notification->GetPayload());
            entry += holder && holder->GetValue() ? ":true" : ":false";
        }
        else if (id == NID_VALUE_CHANGE_KEY_UP && !notification->GetPayload())
        {
            entry += ":none";
        }
        heard.push_back(entry);
    }

    std::vector<std::string> heard;
};

std::string Frames(int count)
{
    std::string list;
    for (int i = 0; i < count; ++i)
    {
        list += R"(<LookRef Look="Plain"/>)";
    }
    return list;
}

// A slider's two marker buttons of the size: the start at the slider's origin, the end placed.
std::string Markers(const std::string& size, const std::string& endPlace)
{
    const std::string marker = R"(<SubControl Class="Framework.Button" LookList="Four" Name=)";
    return marker + R"("thumbStart" )" + size + "/>" + marker + R"("thumbEnd" )" + endPlace + " " +
           size + "/></SubControl>";
}

// A horizontal, a vertical, an oblique and a degenerate slider (both markers in one place), a
// radial and a linear knob of 64 frames, a knob of one frame, an up-down and a combo slider whose
// panel (150 pixels wide) would reach past the window's right edge.
std::string MakeSkin()
{
    const std::string across = R"(XSizeAbs="10" YSizeAbs="20")";
    const std::string square = R"(XSizeAbs="10" YSizeAbs="10")";
    return R"(<Korvane_Skin_Definitions><Skin Name="Values">
  <Colorizer Name="Ink" Color1="FF101010"/>
  <Look Name="Plain"><DockedPart Dock="Fill" Colorizer="Ink"/></Look>
  <Look Name="Field"><DockedPart Dock="Fill" Colorizer="Ink"/><Text Color="FF000000"/></Look>
  <LookList Name="Three">)" +
           Frames(3) + R"(</LookList><LookList Name="Four">)" + Frames(4) +
           R"(</LookList><LookList Name="Frames">)" + Frames(64) +
           R"(<LookRef/><LookRef Look="Plain"/><LookRef Look="Plain"/></LookList>
  <LookList Name="Seven">)" +
           Frames(7) + R"(</LookList><LookList Name="OneFrame">)" + Frames(1) + R"(</LookList>
  <SubControl Class="Framework.Panel" Name="main" XSizeAbs="400" YSizeAbs="300">
    <SubControl Class="Framework.Slider" Name="hSlider" XSizeAbs="150" YSizeAbs="20"
                LookList="Three" TabStop="1">)" +
           Markers(across, R"(XPositionAbs="127")") +
           R"(<SubControl Class="Framework.Slider" Name="vSlider" XPositionAbs="160" XSizeAbs="20"
                YSizeAbs="150" LookList="Three">)" +
           Markers(R"(XSizeAbs="20" YSizeAbs="10")", R"(YPositionAbs="127")") +
           R"(<SubControl Class="Framework.Slider" Name="oSlider" XPositionAbs="200" XSizeAbs="120"
                YSizeAbs="120" LookList="Three">)" +
           Markers(square, R"(XPositionAbs="100" YPositionAbs="100")") +
           R"(<SubControl Class="Framework.Slider" Name="flatSlider" XPositionAbs="330" XSizeAbs="40"
                YSizeAbs="40" LookList="Three">)" +
           Markers(square, "") + R"(
    <SubControl Class="Framework.Knob" Name="radialKnob" YPositionAbs="160" XSizeAbs="100"
                YSizeAbs="100" LookList="Frames" TabStop="2">
      <CreateParamList><CreateParam ID="RADIAL_GESTURE_START_ANGLE">-135</CreateParam>
        <CreateParam ID="RADIAL_GESTURE_END_ANGLE">495</CreateParam></CreateParamList>
    </SubControl>
    <SubControl Class="Framework.Knob" Name="linearKnob" XPositionAbs="110" YPositionAbs="160"
                XSizeAbs="40" YSizeAbs="40" LookList="Frames" TabStop="3"/>
    <SubControl Class="Framework.Knob" Name="fixedKnob" XPositionAbs="110" YPositionAbs="210"
                XSizeAbs="40" YSizeAbs="40" LookList="OneFrame">
      <CreateParamList><CreateParam ID="RADIAL_GESTURE_START_ANGLE">1e999</CreateParam>
      </CreateParamList>
    </SubControl>
    <SubControl Class="Framework.NumericUpDown" Name="upDown" XPositionAbs="160"
                YPositionAbs="160" XSizeAbs="100" YSizeAbs="20" TabStop="4">
      <SubControl Class="Framework.TextBox" Name="textBox" XSizeAbs="60" YSizeAbs="20"
                  TabStop="1"><LookList><LookRef Look="Field"/></LookList></SubControl>
      <SubControl Class="Framework.Button" Name="buttonUp" XPositionAbs="60" XSizeAbs="20"
                  YSizeAbs="20" LookList="Four"/>
      <SubControl Class="Framework.Button" Name="buttonDown" XPositionAbs="80" XSizeAbs="20"
                  YSizeAbs="20" LookList="Four"/>
    </SubControl>
    <SubControl Class="Framework.ComboSlider" Name="combo" XPositionAbs="300" YPositionAbs="200"
                XSizeAbs="60" YSizeAbs="20" LookList="Seven" TabStop="5">
      <SubControl Class="Framework.ComboSlider.DropDownPanel" Name="dropDownPanel"
                  YPositionAbs="20" XSizeAbs="150" YSizeAbs="30" ClipToParent="false"
                  LookList="Three">
        <SubControl Class="Framework.Slider" Name="slider" XSizeAbs="150" YSizeAbs="20"
                    LookList="Three">)" +
           Markers(across, R"(XPositionAbs="127")") + R"(
      </SubControl>
    </SubControl>
  </SubControl>
  <SubControl Class="Framework.NumericUpDown" Name="brokenUpDown" XSizeAbs="100" YSizeAbs="20">
    <SubControl Class="Framework.TextBox" Name="textBox" XSizeAbs="60" YSizeAbs="20"/>
    <SubControl Class="Framework.Button" Name="buttonUp" XSizeAbs="20" YSizeAbs="20"/>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";
}

class ValueControls : public RootWindowFixture
{
protected:
    void SetUp() override
    {
        Register<LButton>(u"Framework.Button");
        Register<LTextBox>(u"Framework.TextBox");
        Register<LPanel>(u"Framework.Panel");
        Register<LSlider>(u"Framework.Slider");
        Register<LKnob>(u"Framework.Knob");
        Register<LNumericUpDown>(u"Framework.NumericUpDown");
        Register<LComboSlider>(u"Framework.ComboSlider");
        Register<LPanel>(u"Framework.ComboSlider.DropDownPanel");
        LoadSkin(MakeSkin());
        mServices.width = 400; // the skin's main panel fills the window
        mServices.height = 300;
        ASSERT_NO_FATAL_FAILURE(OpenRoot(u"main"));
    }

    void Listen(LControl* control, std::initializer_list<const char16_t*> identifiers)
    {
        for (const char16_t* identifier : identifiers)
        {
            mListener->Subscribe(RCPtr<LNotificationDistributor>(control), identifier, 0);
        }
    }
    // Moves to the point first, as a real pointer does.
    void Press(long x, long y)
    {
        Move(x, y);
        RootWindowFixture::Press(x, y);
    }
    void Click(long x, long y)
    {
        Press(x, y);
        Release(x, y);
    }
    void Key(std::uint32_t vk, bool down = true)
    {
        mWindow->DeliverKey({(down ? KeyCode::kKeyDown : 0u) | (vk << 16), 0, 0});
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
        return 999;
    }

    RCPtr<Listener> mListener{new Listener()};
};

TEST_F(ValueControls, SliderThumbFollowsTheTrackInEveryDirectionAndDefersOutsideValues)
{
    LSlider* slider = Find<LSlider>(u"hSlider");
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(slider->GetThumb());
    EXPECT_FALSE(slider->FindChildByName(WideString(u"thumbStart"))->IsShowing(false));
    EXPECT_EQ(slider->GetValueMaximum(), 127.0);
    Listen(slider, {NID_VALUE_CHANGE_CAPTURE});

    // Grabbed 5 pixels into the thumb: the thumb keeps its row, follows the pointer's x and stops
    // at either marker; a value set meanwhile waits for the release.
    Press(5, 10);
    using Step = std::tuple<long, long, double>;
    for (const auto& [x, y, value] : {Step{35, 50, 30.0 / 127}, Step{300, 10, 1.0},
                                      Step{-50, 10, 0.0}, Step{45, 10, 40.0 / 127}})
    {
        Move(x, y);
        EXPECT_DOUBLE_EQ(slider->GetValue(), value) << x;
        EXPECT_EQ(slider->GetThumb()->GetPosition().y, 0.0);
    }
    EXPECT_EQ(slider->GetThumb()->GetPosition().x, 40.0);
    slider->SetValue(0.5);
    EXPECT_DOUBLE_EQ(slider->GetValue(), 40.0 / 127);
    Release(45, 10);
    EXPECT_EQ(slider->GetValue(), 0.5);
    EXPECT_EQ(slider->GetThumb()->GetPosition().x, 64.0);
    EXPECT_EQ(mListener->heard, (std::vector<std::string>{"VALUE_CHANGE_CAPTURE:true",
                                                          "VALUE_CHANGE_CAPTURE:false"}));

    // A vertical track keeps the thumb's column; an oblique one takes the foot of the
    // perpendicular from the pointer (less the grab offset).
    LSlider* vertical = Find<LSlider>(u"vSlider");
    Press(170, 5);
    Move(175, 45);
    Release(175, 45);
    EXPECT_DOUBLE_EQ(vertical->GetValue(), 40.0 / 127);
    EXPECT_EQ(vertical->GetThumb()->GetPosition().x, 0.0);
    LSlider* oblique = Find<LSlider>(u"oSlider");
    Press(205, 5);
    Move(255, 25);
    EXPECT_EQ(oblique->GetThumb()->GetPosition().x, 35.0);
    EXPECT_EQ(oblique->GetThumb()->GetPosition().y, 35.0);
    EXPECT_DOUBLE_EQ(oblique->GetValue(), std::hypot(35.0, 35.0) / std::hypot(100.0, 100.0));
    Release(255, 25);
}

TEST_F(ValueControls, SliderTrackPressStepsAPageTowardThePointerAndRepeatsWhileHeld)
{
    LSlider* slider = Find<LSlider>(u"hSlider");
    // The click point less half the thumb is where the thumb would centre: a click steps at most
    // 0.1 toward it, never past it, forward or back.
    using Case = std::tuple<long, double>;
    for (const auto& [x, value] : {Case{13, 8.0 / 127}, Case{7, 2.0 / 127},
                                   Case{100, 2.0 / 127 + 0.1}, Case{140, 2.0 / 127 + 0.2}})
    {
        Click(x, 10);
        EXPECT_DOUBLE_EQ(slider->GetValue(), value) << x;
    }

    // Held on the track: the first step after 0.3 s, then one every 0.1 s; the release clicks
    // once more.
    slider->SetValue(0.0);
    Press(120, 10);
    EXPECT_TRUE(slider->IsRepeating());
    using Step = std::tuple<std::uint32_t, double>;
    for (const auto& [now, value] :
         {Step{1290, 0.0}, Step{1310, 0.1}, Step{1400, 0.1}, Step{1420, 0.2}, Step{1530, 0.3}})
    {
        IdleAt(now);
        EXPECT_NEAR(slider->GetValue(), value, 1e-12) << now;
    }
    Release(120, 10);
    EXPECT_FALSE(slider->IsRepeating());
    EXPECT_EQ(slider->GetIdleRequestCount(), 0);
    EXPECT_NEAR(slider->GetValue(), 0.4, 1e-12);
}

TEST_F(ValueControls, ArrowKeysAndWheelStepOneUserUnit)
{
    for (const char16_t* name : {u"hSlider", u"linearKnob"})
    {
        LControl* control = Find(name);
        ASSERT_EQ(control->SetFocus(true), S_OK);
        mListener->heard.clear();
        Listen(control, {NID_VALUE_CHANGE_KEY_DOWN, NID_VALUE_CHANGE_KEY_UP});
        // Held right arrow: the first press opens the adjustment, the release closes it.
        Key(0x27);
        Key(0x27);
        Key(0x26);
        EXPECT_DOUBLE_EQ(control->GetValue(), 3.0 / 127) << Narrow(WideString(name));
        Key(0x27, false);
        Key(0x25);
        Key(0x28);
        EXPECT_DOUBLE_EQ(control->GetValue(), 1.0 / 127);
        // A modified arrow is not a step.
        mWindow->DeliverKey({KeyCode::kKeyDown | KeyCode::kShift | (0x27u << 16), 0, 0});
        EXPECT_DOUBLE_EQ(control->GetValue(), 1.0 / 127);
        // Losing the focus mid-adjustment closes it without a key.
        ASSERT_EQ(Find(u"radialKnob")->SetFocus(true), S_OK);
        EXPECT_EQ(mListener->heard,
                  (std::vector<std::string>{"VALUE_CHANGE_KEY_DOWN", "VALUE_CHANGE_KEY_UP",
                                            "VALUE_CHANGE_KEY_DOWN", "VALUE_CHANGE_KEY_UP:none"}));

        // Wheel: away and right up, toward and left down.
        const PointT<double> at = control->GetAbsolutePosition();
        const auto x = static_cast<std::int32_t>(at.x) + 2;
        const auto y = static_cast<std::int32_t>(at.y) + 2;
        for (const std::uint32_t direction : {1u, 3u, 3u, 0u, 2u, 1u})
        {
            EXPECT_EQ(mWindow->DispatchWheel(LMouseWheelParam::Create(x, y, 0, direction)), S_OK);
        }
        EXPECT_DOUBLE_EQ(control->GetValue(), 3.0 / 127);

        // In a logarithmic range a step is one unit of the user value.
        ASSERT_EQ(control->SetValueRange(1.0, 1000.0, 1), S_OK);
        control->SetValue(0.0);
        ASSERT_EQ(control->SetFocus(true), S_OK);
        Key(0x27);
        EXPECT_NEAR(control->PositionToValue(control->GetValue()), 2.0, 1e-9);
        EXPECT_NEAR(control->GetValue(), std::log(2.0) / std::log(1000.0), 1e-12);
    }
}

TEST_F(ValueControls, SliderLooksFollowFocusAndEnablingAndAReskinKeepsItsParts)
{
    LSlider* slider = Find<LSlider>(u"hSlider");
    // A new skin keeps the thumb the code made, placed for the value, and the markers hidden.
    slider->SetValue(0.5);
    ASSERT_EQ(slider->ApplyDescriptor(ConstRCPtr<LControlDescriptor>(slider->GetDescriptor())),
              S_OK);
    EXPECT_TRUE(slider->GetThumb()->IsShowing(false));
    EXPECT_EQ(slider->GetThumb()->GetPosition().x, 64.0);
    EXPECT_FALSE(slider->FindChildByName(WideString(u"thumbEnd"))->IsShowing(false));
    slider->SetValue(0.0);
    EXPECT_EQ(ShownLook(*slider), 0u);
    ASSERT_EQ(slider->SetFocus(true), S_OK);
    EXPECT_EQ(ShownLook(*slider), 1u);
    slider->SetEnabled(false);
    EXPECT_EQ(ShownLook(*slider), 2u);
    slider->SetEnabled(true);
    EXPECT_EQ(ShownLook(*slider), 0u);
}

TEST_F(ValueControls, RadialKnobFollowsThePointersAngleWithinItsArc)
{
    LKnob* knob = Find<LKnob>(u"radialKnob");
    ASSERT_NE(knob, nullptr);
    // The skin's -135 and 495 are 225 and 135: a 270 degree arc through 12 o'clock.
    EXPECT_TRUE(knob->IsRadial());
    EXPECT_EQ(knob->GetStartAngle(), 225.0);
    EXPECT_EQ(knob->GetEndAngle(), 135.0);
    EXPECT_EQ(knob->GetCentre(), (PointT<std::int32_t>{50, 50}));
    EXPECT_EQ(knob->GetFrameCount(), 64u);
    // (pointer relative to the centre, value): straight down is the gap's middle, which gives
    // 1.0; just clockwise of it is nearer the start. The centre itself changes nothing.
    using Case = std::tuple<long, long, double>;
    for (const auto& [dx, dy, value] :
         {Case{0, -40, 0.5}, Case{40, 0, 225.0 / 270}, Case{-40, 0, 45.0 / 270}, Case{0, 40, 1.0},
          Case{-5, 40, 0.0}, Case{0, 0, 0.0}, Case{-40, -40, 90.0 / 270}})
    {
        Press(50 + dx, 210 + dy);
        EXPECT_DOUBLE_EQ(knob->GetValue(), value) << dx << "," << dy;
        Release(50 + dx, 210 + dy);
    }
    // The frame shows the value; a value set during the drag waits for its end.
    EXPECT_EQ(ShownLook(*knob), static_cast<std::uint32_t>(std::round(63 * 90.0 / 270)));
    Listen(knob, {NID_VALUE_CHANGE_CAPTURE});
    Press(50, 170);
    Move(90, 210);
    EXPECT_DOUBLE_EQ(knob->GetValue(), 225.0 / 270);
    knob->SetValue(0.25);
    EXPECT_DOUBLE_EQ(knob->GetValue(), 225.0 / 270);
    Release(90, 210);
    EXPECT_EQ(knob->GetValue(), 0.25);
    EXPECT_EQ(mListener->heard, (std::vector<std::string>{"VALUE_CHANGE_CAPTURE:true",
                                                          "VALUE_CHANGE_CAPTURE:false"}));

    // A full turn (start equal to end): pointing at the start gives 1.0.
    EXPECT_EQ(LKnob::NormalizeAngle(-720.0), 0.0);
    EXPECT_EQ(LKnob::NormalizeAngle(1e300), std::fmod(1e300, 360.0));
    EXPECT_EQ(LKnob::NormalizeAngle(-1e-300), std::nextafter(360.0, 0.0));
}

TEST_F(ValueControls, KnobOverlaysLieOnEveryFrameWhileFocusedOrDisabled)
{
    LKnob* knob = Find<LKnob>(u"radialKnob");
    // Frames 0..63, the separator 64, the focus overlay 65 and the disabled overlay 66.
    const std::uint32_t kRed = 0xFFFF0000u;
    const std::uint32_t kBlue = 0xFF0000FFu;
    for (const auto& [look, color] : {std::pair{65u, kRed}, std::pair{66u, kBlue}})
    {
        RCPtr<LVisualPart> part;
        LVisualPart::Create(part, WideString(),
                            LBitmap::CreateFilledBitmap({100, 100}, ColorRGBA(color)), 0,
                            RCPtr<LColorizer>(), 1.0f, RCPtr<LBitmap>());
        knob->SetLookVisualPart(look, part);
    }
    const PointT<long> middle{50, 50};
    const std::uint32_t plain = knob->GetColorAtPoint(middle, 0);
    ASSERT_EQ(knob->SetFocus(true), S_OK);
    for (const std::uint32_t frame : {0u, 31u, 63u})
    {
        EXPECT_EQ(knob->GetColorAtPoint(middle, frame), kRed) << frame;
    }
    knob->SetEnabled(false);
    EXPECT_EQ(knob->GetColorAtPoint(middle, 17), kBlue);
    knob->SetEnabled(true);
    EXPECT_EQ(knob->GetColorAtPoint(middle, 17), plain);
}

TEST_F(ValueControls, LinearKnobDragStepsPerPixelAndCtrlMakesItFine)
{
    LKnob* knob = Find<LKnob>(u"linearKnob");
    ASSERT_FALSE(knob->IsRadial());
    // 64 frames: 128 pixels of range, so 127 pixels cover the whole travel in 1/127 steps.
    EXPECT_EQ(knob->GetLinearFullRange(), 128);
    long x = 130;
    long y = 180;
    Press(x, y);
    using Step = std::tuple<long, long, double>;
    // Right and up raise the value, left and down lower it; a diagonal step against the trend of
    // the last two moves loses its opposing part when that part dominates.
    for (const auto& [dx, dy, value] :
         {Step{27, 0, 27.0 / 127}, Step{0, -10, 37.0 / 127}, Step{-7, 0, 30.0 / 127},
          Step{200, 0, 1.0}, Step{-400, 0, 0.0}, Step{10, 0, 10.0 / 127}, Step{2, 5, 12.0 / 127}})
    {
        x += dx;
        y += dy;
        Move(x, y);
        EXPECT_DOUBLE_EQ(knob->GetValue(), value) << dx << "," << dy;
    }
    Release(130, 180);
    EXPECT_EQ(ShownLook(*knob), static_cast<std::uint32_t>(std::round(63 * 12.0 / 127)));

    // With Ctrl the same 4 pixels move a quarter as far, on a grid of 1/511.
    knob->SetValue(0.0);
    mApplication->GetInputState().OnKeyDown(0x11);
    Press(130, 180);
    Move(134, 180);
    EXPECT_DOUBLE_EQ(knob->GetValue(), 4.0 / 511);
    Move(135, 180);
    EXPECT_DOUBLE_EQ(knob->GetValue(), std::round(511 * (4.0 / 511 + 0.25 / 127)) / 511);
    Release(135, 180);
    mApplication->GetInputState().OnKeyUp(0x11);
}

TEST_F(ValueControls, DegenerateGeometryLeavesTheValueAlone)
{
    // Both markers in one place: neither a click nor a drag divides by the track's length.
    LSlider* flat = Find<LSlider>(u"flatSlider");
    flat->SetValue(0.5);
    Click(360, 30);
    Press(335, 5);
    Move(365, 35);
    Release(365, 35);
    EXPECT_EQ(flat->GetValue(), 0.5);

    // One frame and an angle beyond any number: a linear knob with one fixed picture.
    LKnob* fixed = Find<LKnob>(u"fixedKnob");
    EXPECT_FALSE(fixed->IsRadial());
    EXPECT_EQ(fixed->GetFrameCount(), 1u);
    fixed->SetValue(0.7);
    EXPECT_EQ(ShownLook(*fixed), 0u);
    Press(120, 220);
    Move(150, 220);
    Release(150, 220);
    EXPECT_TRUE(std::isfinite(fixed->GetValue()));
    EXPECT_EQ(ShownLook(*fixed), 0u);
}

TEST_F(ValueControls, UpDownClampsTypedNumbersAndFiltersCharacters)
{
    LNumericUpDown* upDown = Find<LNumericUpDown>(u"upDown");
    ASSERT_NE(upDown, nullptr);
    LTextBox* box = upDown->GetTextBox().Get();
    ASSERT_EQ(upDown->SetValueRange(0.0, 127.0, 0), S_OK);
    upDown->SetValue(upDown->ValueToPosition(20.0));
    EXPECT_EQ(box->GetText(), u"20");
    Listen(upDown, {NID_VALUE_CHANGE, NID_TEXTBOX_VALIDATED});
    ASSERT_EQ(box->SetFocus(true), S_OK);
    // (typed text, number, shown text): beyond the range shows the bound, also when the number
    // already stands there; filtered characters never arrive.
    using Case = std::tuple<const char16_t*, double, const char16_t*>;
    for (const auto& [typed, number, shown] :
         {Case{u"300", 127.0, u"127"}, Case{u"300", 127.0, u"127"}, Case{u"-5.5", 55.0, u"55"},
          Case{u"", 0.0, u"0"}, Case{u"99999999999999999999999999", 127.0, u"127"}})
    {
        box->SetText(WideString(), 0);
        for (const char16_t* unit = typed; *unit != 0; ++unit)
        {
            mWindow->DeliverKey(KeyCode::FromChar(*unit, 0));
        }
        Key(0x0D);
        EXPECT_EQ(upDown->PositionToValue(upDown->GetValue()), number) << Narrow(WideString(typed));
        EXPECT_EQ(box->GetText(), shown) << Narrow(WideString(typed));
    }
    EXPECT_EQ(mListener->heard.back(), "TEXTBOX_VALIDATED");

    // A negative range lets "-" through, decimal places let "."; 12.6 shows rounded without them.
    ASSERT_EQ(upDown->SetValueRange(-10.0, 10.0, 0), S_OK);
    upDown->SetDecimalPlaces(1);
    EXPECT_EQ(box->GetFilterText(), u"0123456789.-");
    box->SetText(WideString(), 0);
    for (const char16_t unit : std::u16string_view(u"-2.25"))
    {
        mWindow->DeliverKey(KeyCode::FromChar(unit, 0));
    }
    Key(0x0D);
    EXPECT_EQ(box->GetText(), u"-2.2");
    upDown->SetDecimalPlaces(0);
    ASSERT_EQ(upDown->SetValueRange(0.0, 127.0, 0), S_OK);
    EXPECT_EQ(box->GetFilterText(), u"0123456789");
    upDown->SetValue(upDown->ValueToPosition(12.6));
    EXPECT_EQ(box->GetText(), u"13");

    // Text set on the up-down itself is read and limited the same way; a bad range changes
    // nothing.
    EXPECT_EQ(upDown->SetTextWithLayout(WideString(u" 42abc")), S_OK);
    EXPECT_EQ(box->GetText(), u"42");
    EXPECT_EQ(upDown->SetTextWithLayout(WideString(u"1e999")), S_OK);
    EXPECT_EQ(box->GetText(), u"127");
    EXPECT_EQ(upDown->SetTextWithLayout(WideString(u"nan")), S_OK);
    EXPECT_EQ(box->GetText(), u"0");
    EXPECT_EQ(upDown->SetValueRange(0.0, 127.0, 1), E_INVALIDARG);
    EXPECT_EQ(upDown->SetValueRange(1.0, 127.0, 2), E_INVALIDARG);
    EXPECT_EQ(upDown->GetValueMaximum(), 127.0);
    EXPECT_EQ(upDown->GetScaleType(), 0);
}

TEST_F(ValueControls, UpDownButtonsRepeatWhileHeldAndArrowKeysStepOnce)
{
    LNumericUpDown* upDown = Find<LNumericUpDown>(u"upDown");
    ASSERT_EQ(upDown->SetValueRange(0.0, 127.0, 0), S_OK);
    upDown->SetValue(upDown->ValueToPosition(124.0));
    // Held up button (root 220..240, 160..180): a step at the press, then at the button's repeat
    // rate, stopping at the maximum.
    Press(230, 170);
    EXPECT_EQ(upDown->PositionToValue(upDown->GetValue()), 125.0);
    IdleAt(1000 + LButton::kRepeatDelayMs);
    EXPECT_EQ(upDown->PositionToValue(upDown->GetValue()), 126.0);
    for (std::uint32_t step = 1; step <= 3; ++step)
    {
        IdleAt(1000 + LButton::kRepeatDelayMs + step * LButton::kRepeatIntervalMs);
    }
    EXPECT_EQ(upDown->PositionToValue(upDown->GetValue()), 127.0);
    Release(230, 170);
    EXPECT_EQ(upDown->GetTextBox()->GetText(), u"127");
    EXPECT_TRUE(upDown->FindChildByName(WideString(u"buttonUp"))->IsNotFocusable());

    ASSERT_EQ(upDown->GetTextBox()->SetFocus(true), S_OK);
    Key(0x28);
    Key(0x28);
    Key(0x26);
    EXPECT_EQ(upDown->PositionToValue(upDown->GetValue()), 126.0);
}

// The wheel over a number box steps it as its arrows do, within the range and not while
// disabled; Ctrl+A, a double click and the focus arriving by Tab select the whole text, so that
// typing replaces it.
TEST_F(ValueControls, UpDownTakesTheWheelAndSelectsItsWholeText)
{
    LNumericUpDown* upDown = Find<LNumericUpDown>(u"upDown");
    LTextBox* box = upDown->GetTextBox().Get();
    ASSERT_EQ(upDown->SetValueRange(0.0, 127.0, 0), S_OK);
    upDown->SetValue(upDown->ValueToPosition(125.0));
    const auto number = [&] { return upDown->PositionToValue(upDown->GetValue()); };
    // (direction: 1 away from the user, 0 towards; steps; number after)
    const std::tuple<std::uint32_t, int, double, bool> turns[] = {
        {1, 3, 127.0, true}, {0, 2, 125.0, true}, {1, 1, 125.0, false}};
    for (const auto& [direction, steps, after, enabled] : turns)
    {
        upDown->SetEnabled(enabled);
        for (int i = 0; i < steps; ++i)
        {
            mWindow->DispatchWheel(LMouseWheelParam::Create(190, 170, 0, direction));
        }
        EXPECT_EQ(number(), after) << direction << " x" << steps;
    }
    upDown->SetEnabled(true);

    upDown->SetValue(upDown->ValueToPosition(41.0));
    ASSERT_EQ(Find<LKnob>(u"linearKnob")->SetFocus(true), S_OK);
    Key(0x09);
    ASSERT_TRUE(box->HasFocus());
    EXPECT_EQ(box->GetSelectedText(), u"41");
    for (const char16_t unit : std::u16string_view(u"74"))
    {
        mWindow->DeliverKey(KeyCode::FromChar(unit, 0));
    }
    Key(0x0D);
    EXPECT_EQ(number(), 74.0);

    box->SetSelection(1, 1);
    mWindow->DeliverKey({KeyCode::kKeyDown | KeyCode::kCtrl | (0x41u << 16), 0, 0});
    EXPECT_EQ(box->GetSelectedText(), u"74");
    box->SetSelection(2, 2);
    RootWindowFixture::Press(190, 170, 1, true);
    Release(190, 170);
    EXPECT_EQ(box->GetSelectedText(), u"74");
}

TEST_F(ValueControls, UpDownWithoutItsButtonsFailsToInitialize)
{
    RCPtr<LControl> control;
    try
    {
        mFactory->CreateRootControl(control, WideString(u"brokenUpDown"));
        FAIL() << "no error";
    }
    catch (const std::runtime_error& error)
    {
        EXPECT_EQ(std::string(error.what())
                      .rfind("Runtime Error : Null Pointer : Cannot find child: buttonDown : "
                             "QZ::LNumericUpDown::Initialize : ",
                             0),
                  0u)
            << error.what();
    }
    EXPECT_FALSE(control);
}

TEST_F(ValueControls, ComboSliderShowsItsValueAndOpensItsSliderInsideTheWindow)
{
    LComboSlider* combo = Find<LComboSlider>(u"combo");
    ASSERT_NE(combo, nullptr);
    ASSERT_TRUE(combo->GetSlider());
    const RCPtr<LControl> panel = combo->GetDropDown();
    ASSERT_TRUE(panel);
    EXPECT_FALSE(combo->IsDroppedDown());
    // Until the owner sets a range the text reads "0" whatever the position; the slider follows.
    combo->SetValue(0.6);
    EXPECT_EQ(combo->GetText(), u"0");
    EXPECT_EQ(combo->GetSlider()->GetValue(), 0.6);
    ASSERT_EQ(combo->SetValueRange(0.0, 127.0, 0), S_OK);
    combo->SetValue(0.25);
    EXPECT_EQ(combo->GetText(), u"32");

    // A press opens the panel; at its skin place it would end at 450, so it moves left to end at
    // the window's edge.
    Click(310, 210);
    EXPECT_TRUE(combo->IsDroppedDown());
    EXPECT_EQ(panel->GetAbsolutePosition().x, 250.0);
    EXPECT_EQ(ShownLook(*combo), 5u);

    // Dragging the slider's thumb (at 250 + 32) sets the value and the text as it goes; a value
    // set meanwhile shows at once and reaches the slider when the drag ends.
    Listen(combo, {NID_VALUE_CHANGE});
    Press(287, 230);
    Move(317, 230);
    EXPECT_DOUBLE_EQ(combo->GetValue(), 62.0 / 127);
    EXPECT_EQ(combo->GetText(), u"62");
    combo->SetValue(1.0);
    EXPECT_EQ(combo->GetText(), u"127");
    EXPECT_DOUBLE_EQ(combo->GetSlider()->GetValue(), 62.0 / 127);
    Release(317, 230);
    EXPECT_EQ(combo->GetSlider()->GetValue(), 1.0);
    EXPECT_EQ(combo->GetValue(), 1.0);
    EXPECT_EQ(mListener->heard, (std::vector<std::string>{"VALUE_CHANGE", "VALUE_CHANGE"}));

    // A panel wider than the window starts at the window's left edge.
    ASSERT_EQ(combo->ShowDropDown(false), S_OK);
    EXPECT_FALSE(combo->IsDroppedDown());
    LLayoutDescriptor::PositionSpec position;
    LLayoutDescriptor::SizeSpec size;
    panel->GetLayout()->GetAxisSpec(0, position, size);
    panel->SetAxisLayout(0, position, {size.kind, size.name, 0.0f, 500.0});
    ASSERT_EQ(combo->ShowDropDown(true), S_OK);
    EXPECT_EQ(panel->GetAbsolutePosition().x, 0.0);
}

} // namespace
} // namespace QZ::ToolkitTest
