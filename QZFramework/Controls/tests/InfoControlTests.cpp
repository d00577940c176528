// The tooltip, label, status bar, file dropper, level meter, progress bar and splitters, built
// from a test skin through the factory and driven through a root window whose operating-system
// window is a fake, with the application clock under the test's control.
#include "QZFramework/Application/AppCursors.h"
#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Controls/Button.h"
#include "QZFramework/Controls/FileDropper.h"
#include "QZFramework/Controls/Label.h"
#include "QZFramework/Controls/LevelMeter.h"
#include "QZFramework/Controls/Panel.h"
#include "QZFramework/Controls/ProgressBar.h"
#include "QZFramework/Controls/SplitterH.h"
#include "QZFramework/Controls/SplitterV.h"
#include "QZFramework/Controls/StatusBar.h"
#include "QZFramework/Controls/ToolTip.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Graphics/tests/FixedAdvanceRenderer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <tuple>
#include <string_view>
#include <thread>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

// The identifiers a control sent, without their "NID_" prefix.
class Listener : public LNotificationClient
{
public:
    void ReceiveNotification(const RCPtr<LNotificationDistributor>&,
                             const RCPtr<LNotification>& notification) override
    {
        heard.push_back(Narrow(WideString(notification->GetID())).substr(4));
    }
    std::vector<std::string> heard;
};

constexpr std::string_view kSkin = R"(<Korvane_Skin_Definitions><Skin Name="Info">
  <Colorizer Name="Ink" Color1="FF101010"/>
  <Look Name="Plain"><DockedPart Dock="Fill" Colorizer="Ink"/></Look>
  <Look Name="Text"><DockedPart Dock="Fill" Colorizer="Ink"/><Text Color="FF000000"/></Look>
  <LookList Name="One"><LookRef Look="Plain"/></LookList>
  <LookList Name="Label"><LookRef Look="Text"/></LookList>
  <LookList Name="Seven"><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
    <LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/><LookRef Look="Plain"/>
  </LookList>
  <SubControl Class="Framework.ToolTip" Name="toolTip" XSizeAbs="400" YSizeAbs="20"
              ClipToParent="false" LookList="Label"/>
  <SubControl Class="Framework.LevelMeter" Name="meterWithoutBar" XSizeAbs="100" YSizeAbs="10"/>
  <SubControl Class="Framework.ProgressBar" Name="barWithoutTime" XSizeAbs="100" YSizeAbs="10">
    <SubControl Class="Framework.Panel" Name="activeOverlay" YSizeAbs="10"/>
    <SubControl Class="Framework.Label" Name="percentCompleteLabel" XSizeAbs="30" YSizeAbs="10"/>
  </SubControl>
  <SubControl Class="Framework.StatusBar" Name="statusWithoutLabel" XSizeAbs="100" YSizeAbs="10"/>
  <SubControl Class="Framework.Panel" Name="main" XSizeAbs="300" YSizeAbs="200">
    <SubControl Class="Framework.Label" Name="label" XPositionAbs="10" YPositionAbs="10"
                XSizeAbs="50" YSizeAbs="20" LookList="Label">
      <CreateParamList><CreateParam ID="TOOLTIP">Help</CreateParam></CreateParamList>
    </SubControl>
    <SubControl Class="Framework.Label" Name="plain" XPositionAbs="70" YPositionAbs="10"
                XSizeAbs="50" YSizeAbs="20" LookList="Label"/>
    <SubControl Class="Framework.LevelMeter" Name="hMeter" YPositionAbs="40" XSizeAbs="100"
                YSizeAbs="10">
      <SubControl Class="Framework.Panel" Name="activeOverlay" YSizeAbs="10"/>
      <SubControl Class="Framework.Panel" Name="peakLo" XSizeAbs="2" YSizeAbs="10"/>
      <SubControl Class="Framework.Panel" Name="peakHi" XPositionAbs="40" XSizeAbs="2"
                  YSizeAbs="10"/>
      <SubControl Class="Framework.Button" Name="clipButton" XPositionAbs="90" XSizeAbs="10"
                  YSizeAbs="10" LookList="One"/>
    </SubControl>
    <SubControl Class="Framework.LevelMeter" Name="vMeter" XPositionAbs="280" XSizeAbs="10"
                YSizeAbs="80">
      <SubControl Class="Framework.Panel" Name="activeOverlay" XSizeAbs="10"/>
    </SubControl>
    <SubControl Class="Framework.ProgressBar" Name="progress" YPositionAbs="60" XSizeAbs="200"
                YSizeAbs="20">
      <SubControl Class="Framework.Panel" Name="activeOverlay" YSizeAbs="10"/>
      <SubControl Class="Framework.Label" Name="timeRemainingLabel" YPositionAbs="10"
                  XSizeAbs="200" YSizeAbs="10"/>
      <SubControl Class="Framework.Label" Name="percentCompleteLabel" XSizeAbs="30"
                  YSizeAbs="10"/>
    </SubControl>
    <SubControl Class="Framework.FileDropper" Name="fileDropper1" XPositionAbs="150"
                YPositionAbs="30" XSizeAbs="20" YSizeAbs="20" LookList="One"/>
    <SubControl Class="Framework.Panel" Name="pane" YPositionAbs="100" XSizeAbs="300"
                YSizeAbs="60">
      <SubControl Class="Framework.Panel" Name="left" XSizeAbs="200" YSizeAbs="60"
                  XMinSizeAbs="50"/>
      <SubControl Class="Framework.SplitterV" Name="split" XPositionToControl="left"
                  XPositionRel="1" XSizeAbs="4" YSizeAbs="60" LayoutOrder="1" TabStop="-1"
                  LookList="Seven"/>
      <SubControl Class="Framework.Panel" Name="right" XPositionToControl="split"
                  XPositionRel="1" XSizeToControl="Client" XSizeRel="1" XSizeAbs="-204"
                  XMinSizeAbs="40"
                  YSizeAbs="60" LayoutOrder="2"/>
      <SubControl Class="Framework.SplitterH" Name="hSplit" YPositionAbs="50" XSizeAbs="300"
                  YSizeAbs="4" LayoutOrder="3" LookList="One"/>
    </SubControl>
    <SubControl Class="Framework.StatusBar" Name="status" YPositionAbs="180" XSizeAbs="300"
                YSizeAbs="20">
      <SubControl Class="Framework.Label" Name="label1" XSizeAbs="300" YSizeAbs="20">
        <CreateParamList><CreateParam ID="LABEL">Ready</CreateParam></CreateParamList>
      </SubControl>
    </SubControl>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

// The framework's table gives one word, the application's another; the rest stay English.
constexpr std::string_view kStrings = R"(<Korvane_StringTable_Definitions>
  <StringTable ID="Framework"><String ID="HOURS_SINGULAR"><Text LCID="9">Stunde</Text></String>
  </StringTable>
  <StringTable ID="|TestApp"><String ID="HOURS_SINGULAR"><Text LCID="9">Hora</Text></String>
    <String ID="MINUTES_PLURAL"><Text LCID="9">Minuten</Text></String></StringTable>
</Korvane_StringTable_Definitions>)";

class InfoControls : public RootWindowFixture
{
protected:
    void SetUp() override
    {
        Register<LPanel>(u"Framework.Panel");
        Register<LButton>(u"Framework.Button");
        Register<LToolTip>(u"Framework.ToolTip");
        Register<LLabel>(u"Framework.Label");
        Register<LLevelMeter>(u"Framework.LevelMeter");
        Register<LProgressBar>(u"Framework.ProgressBar");
        Register<LStatusBar>(u"Framework.StatusBar");
        Register<LFileDropper>(u"Framework.FileDropper");
        Register<LSplitterH>(u"Framework.SplitterH");
        Register<LSplitterV>(u"Framework.SplitterV");
        LoadSkin(kSkin);
        ASSERT_NO_FATAL_FAILURE(OpenRoot(u"main"));
    }

    static LToolTip* TipOf(const LControl& control)
    {
        return dynamic_cast<LToolTip*>(control.FindChildByName(WideString(u"toolTip")).Get());
    }
    // Every UTF-16 unit is 10 pixels wide.
    void UseFixedWidthText(LControl& control)
    {
        mApplication->SetRenderer(RCPtr<LRenderer>(new Testing::FixedAdvanceRenderer()));
        control.SetFont(LFont::FindOrCreate(u"Test Sans", 9.0f, 0));
    }
    // The extent of a shown child on the axis; -1 when it is hidden.
    static double ShownExtent(const LControl& control, std::uint32_t axis)
    {
        return control.IsShowing(false) ? (axis == 0 ? control.GetSize().x : control.GetSize().y)
                                        : -1.0;
    }
};

// ---- tooltip and label ----

TEST_F(InfoControls, ToolTipAppearsAfterTheHoverDelayBelowThePointerAndHidesAfterFiveSeconds)
{
    LLabel* label = Find<LLabel>(u"label");
    Move(100, 50);
    SetClock(100000);
    label->UpdateToolTip(true);
    LToolTip* tip = TipOf(*label);
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->GetText(), u"Help");
    EXPECT_TRUE(tip->IsNotFocusable());
    // (clock, state, shown): the delays count strictly greater.
    using Step = std::tuple<std::uint32_t, LToolTip::State, bool>;
    for (const auto& [now, state, shown] :
         {Step{100500, LToolTip::kPending, false}, Step{100501, LToolTip::kShown, true},
          Step{105501, LToolTip::kShown, true}, Step{105502, LToolTip::kHidden, false}})
    {
        IdleAt(now);
        EXPECT_EQ(tip->GetState(), state) << now;
        EXPECT_EQ(tip->IsShowing(false), shown) << now;
    }
    EXPECT_EQ(LToolTip::GetLastHideTime(), 105502u);
    EXPECT_EQ(tip->GetIdleRequestCount(), 0);
    IdleAt(105503);
    EXPECT_EQ(TipOf(*label), nullptr); // destroyed at the label's next idle step

    // The next tooltip within 50 ms shows at once; one hidden while pending does not count.
    LLabel* plain = Find<LLabel>(u"plain");
    plain->SetToolTipText(WideString(u"Next"));
    SetClock(105551);
    plain->UpdateToolTip(true);
    EXPECT_EQ(TipOf(*plain)->GetState(), LToolTip::kShown);
    plain->UpdateToolTip(false);
    IdleAt(105552);
    SetClock(200000);
    label->UpdateToolTip(true);
    const LToolTip* closing = TipOf(*label);
    label->UpdateToolTip(false);
    // Asked for again before the closing one is destroyed: a fresh tooltip, still pending.
    label->UpdateToolTip(true);
    IdleAt(200001);
    ASSERT_NE(TipOf(*label), nullptr);
    EXPECT_NE(TipOf(*label), closing);
    EXPECT_EQ(TipOf(*label)->GetState(), LToolTip::kPending);
}

// The window shows the help of the control the pointer rests on, and takes it away when the
// pointer moves to another control or a button goes down.
TEST_F(InfoControls, ThePointerRestingOnAControlShowsItsToolTipUntilItLeavesOrPresses)
{
    LLabel* label = Find<LLabel>(u"label");
    SetClock(500000);
    Move(20, 15);
    ASSERT_NE(TipOf(*label), nullptr);
    EXPECT_EQ(TipOf(*label)->GetState(), LToolTip::kPending);
    Move(25, 16); // moving within the control keeps the one tooltip
    IdleAt(500501);
    LToolTip* tip = TipOf(*label);
    ASSERT_NE(tip, nullptr);
    EXPECT_TRUE(tip->IsShowing(false));
    Move(80, 15); // onto a label without help
    EXPECT_EQ(tip->GetState(), LToolTip::kHidden);
    EXPECT_EQ(TipOf(*Find<LLabel>(u"plain")), nullptr);
    IdleAt(600000);
    Move(20, 15);
    LToolTip* again = TipOf(*label);
    ASSERT_NE(again, nullptr);
    Press(20, 15);
    EXPECT_EQ(again->GetState(), LToolTip::kHidden);
    Release(20, 15);
}

TEST_F(InfoControls, ToolTipStaysInsideTheWindowAndNeverWiderThanItLessEightPixels)
{
    LLabel* label = Find<LLabel>(u"label");
    using Case = std::tuple<long, long, double, double>;
    // The skin's 400 pixels are limited to 292, so every tooltip starts at x 8 at the latest.
    for (const auto& [x, y, left, top] :
         {Case{0, 0, 0, 20}, Case{5, 100, 5, 120}, Case{100, 170, 8, 180}, Case{290, 199, 8, 180}})
    {
        Move(x, y);
        SetClock(300000);
        label->UpdateToolTip(true);
        IdleAt(300501);
        LToolTip* tip = TipOf(*label);
        ASSERT_NE(tip, nullptr);
        EXPECT_EQ(tip->GetSize().x, 292.0);
        EXPECT_EQ(tip->GetAbsolutePosition().x, left) << x;
        EXPECT_EQ(tip->GetAbsolutePosition().y, top) << y;
        tip->Hide();
        IdleAt(400000);
    }
}

TEST_F(InfoControls, ClippedLabelOffersItsWholeTextAsToolTip)
{
    LLabel* label = Find<LLabel>(u"label");
    LLabel* plain = Find<LLabel>(u"plain");
    UseFixedWidthText(*label);
    UseFixedWidthText(*plain);
    EXPECT_TRUE(label->IsNotFocusable());
    using Case = std::tuple<LLabel*, const char16_t*, const char16_t*>;
    // The labels are 50 pixels wide; every character takes 10.
    for (const auto& [control, text, toolTip] :
         {Case{label, u"Hi", u"Help"}, Case{label, u"A long caption", nullptr},
          Case{plain, u"Fits", u""}, Case{plain, u"Does not fit", nullptr}})
    {
        control->SetText(WideString(text), true);
        const WideString expected(toolTip != nullptr ? toolTip : text);
        EXPECT_EQ(control->GetToolTipText(), expected) << Narrow(WideString(text));
    }
}

// ---- status bar ----

TEST_F(InfoControls, PostedStatusTextsShowAtTheNextIdlePassAndTheLastOneStays)
{
    LStatusBar* bar = Find<LStatusBar>(u"status");
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->IsNotFocusable());
    EXPECT_EQ(bar->GetInitialHeight(), 20.0);
    WideString idle;
    bar->GetLabelText(idle);
    EXPECT_EQ(idle, u"Ready");
    // A worker posts while the user-interface thread runs its idle passes; nothing shows
    // outside an idle pass and the last text stays.
    std::thread worker(
        [bar]
        {
            for (int i = 0; i < 50; ++i)
            {
                EXPECT_EQ(bar->PostText(WideString(u"Sending")), S_OK);
            }
            EXPECT_EQ(bar->PostText(WideString(u"Sent")), S_OK);
        });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (bar->GetLabel()->GetText() != u"Sent" && std::chrono::steady_clock::now() < deadline)
    {
        IdleAt(1000);
    }
    worker.join();
    EXPECT_EQ(bar->GetLabel()->GetText(), u"Sent");
    EXPECT_EQ(bar->GetCount(), 0u);
    bar->PostText(WideString(u"Later"));
    EXPECT_EQ(bar->GetLabel()->GetText(), u"Sent");
    IdleAt(1000);
    EXPECT_EQ(bar->GetLabel()->GetText(), u"Later");

    // An older posted text is delivered first, so it never replaces the immediate one.
    const std::int32_t redraws = mServices.redraws;
    bar->PostText(WideString(u"Old"));
    EXPECT_EQ(bar->SetTextNow(WideString(u"Now")), S_OK);
    EXPECT_EQ(bar->GetLabel()->GetText(), u"Now");
    EXPECT_EQ(mServices.redraws, redraws + 1);
    IdleAt(1001);
    EXPECT_EQ(bar->GetLabel()->GetText(), u"Now");

    // A status bar that was never initialised refuses posts.
    const RCPtr<LStatusBar> bare(new LStatusBar(RCPtr<LControl>(), WideString(u"bare"), true));
    EXPECT_EQ(bare->PostText(WideString(u"lost")), E_FAIL);
}

// ---- file dropper ----

TEST_F(InfoControls, FileDropperGoesWhenItsDragEnds)
{
    LFileDropper* token = Find<LFileDropper>(u"fileDropper1");
    ASSERT_NE(token, nullptr);
    EXPECT_TRUE(token->IsNotFocusable());
    EXPECT_TRUE(token->IsShowing(true));
    Move(155, 35);
    Press(155, 35);
    EXPECT_EQ(token->GetDragMode(), 1);
    EXPECT_EQ(token->GetDragOption(), 3);
    Move(175, 60);
    Release(175, 60);
    EXPECT_FALSE(token->IsShowing(false));
    IdleAt(1000);
    EXPECT_EQ(Find(u"fileDropper1"), nullptr);
}

// ---- level meter ----

TEST_F(InfoControls, MeterBarFollowsTheLevelAlongItsAxis)
{
    LLevelMeter* across = Find<LLevelMeter>(u"hMeter");
    LLevelMeter* upright = Find<LLevelMeter>(u"vMeter");
    ASSERT_NE(across, nullptr);
    ASSERT_NE(upright, nullptr);
    EXPECT_TRUE(across->FindChildByName(WideString(u"activeOverlay"))->UsesParentToolTip());
    EXPECT_TRUE(across->FindChildByName(WideString(u"peakLo"))->UsesParentToolTip());
    EXPECT_FALSE(across->IsVertical());
    EXPECT_TRUE(upright->IsVertical());
    using Case = std::tuple<LLevelMeter*, double, double>; // bar length -1: hidden
    // A vertical bar covers the part above the level; levels outside 0..1 show as the nearest
    // bound; lengths round half away from zero.
    for (const auto& [meter, level, length] :
         {Case{across, 0.5, 50}, Case{across, 0.004, -1}, Case{across, 0.005, 1},
          Case{across, 1.5, 100}, Case{across, -0.2, -1}, Case{upright, 0.25, 60},
          Case{upright, 1.0, -1}, Case{upright, -3.0, 80}})
    {
        meter->SetLevels(level, 0.0);
        const LControl& bar = *meter->FindChildByName(WideString(u"activeOverlay"));
        EXPECT_EQ(ShownExtent(bar, meter->IsVertical() ? 1 : 0), length) << level;
    }
    across->SetValue(0.25); // the value alone shows too
    EXPECT_EQ(ShownExtent(*across->FindChildByName(WideString(u"activeOverlay")), 0), 25.0);
}

TEST_F(InfoControls, MeterPeakMarkerTravelsBetweenItsEnds)
{
    LLevelMeter* meter = Find<LLevelMeter>(u"hMeter");
    const LControl& marker = *meter->FindChildByName(WideString(u"peakLo"));
    EXPECT_FALSE(meter->FindChildByName(WideString(u"peakHi"))->IsShowing(false));
    using Case = std::tuple<double, double>; // x -1: hidden
    for (const auto& [peak, x] : {Case{0.0, -1}, Case{0.5, 20}, Case{1.0, 40}, Case{2.0, 40},
                                  Case{0.01, -1}, Case{0.25, 10}})
    {
        meter->SetLevels(0.5, peak);
        EXPECT_EQ(marker.IsShowing(false) ? marker.GetPosition().x : -1.0, x) << peak;
    }
    // A meter without a clip light cannot latch.
    EXPECT_EQ(Find<LLevelMeter>(u"vMeter")->SetClipLatching(true), E_FAIL);
}

TEST_F(InfoControls, ClipLightFollowsTheCountOrLatchesUntilClicked)
{
    LLevelMeter* meter = Find<LLevelMeter>(u"hMeter");
    RCPtr<Listener> listener(new Listener());
    listener->Subscribe(RCPtr<LNotificationDistributor>(meter), NID_CLIPLIGHT_UNLATCHED, 0);
    for (const bool latching : {false, true})
    {
        ASSERT_EQ(meter->SetClipLatching(latching), S_OK);
        meter->SetClipCount(0);
        const bool expected[] = {false, true, latching};
        const std::int32_t counts[] = {0, 1, 1};
        for (std::size_t i = 0; i < 3; ++i)
        {
            meter->SetLevels(0.5, 0.0, counts[i]);
            EXPECT_EQ(meter->IsClipLit(), expected[i]) << latching << i;
        }
    }
    // Clicking the lit light puts it out once; the dark light sends nothing.
    Move(95, 45);
    for (std::size_t click = 0; click < 2; ++click)
    {
        Press(95, 45);
        Release(95, 45);
        EXPECT_FALSE(meter->IsClipLit());
        EXPECT_EQ(listener->heard.size(), 1u);
    }
    // The stored count set alone is no new clip; switching latching puts the light out.
    meter->SetLevels(0.5, 0.0, 2);
    EXPECT_TRUE(meter->IsClipLit());
    meter->SetClipCount(5);
    meter->SetLevels(0.5, 0.0, 5);
    EXPECT_TRUE(meter->IsClipLit());
    meter->SetClipLatching(false);
    EXPECT_FALSE(meter->IsClipLit());
}

// ---- progress bar ----

TEST_F(InfoControls, ProgressBarShowsTheShareDoneAndItsPercentage)
{
    LProgressBar* progress = Find<LProgressBar>(u"progress");
    ASSERT_NE(progress, nullptr);
    EXPECT_FALSE(progress->GetTimeLabel()->IsShowing(false));
    EXPECT_EQ(progress->PositionToValue(0.5), 50.0);
    const LControl& bar = *progress->FindChildByName(WideString(u"activeOverlay"));
    using Case = std::tuple<double, double, const char16_t*>; // width -1: hidden
    for (const auto& [value, width, percent] : {Case{0.25, 50, u"25"}, Case{0.002, -1, u"0"},
                                                Case{1.0, 200, u"100"}, Case{0.0025, 1, u"0"}})
    {
        progress->SetValue(value);
        EXPECT_EQ(ShownExtent(bar, 0), width) << value;
        EXPECT_EQ(progress->GetPercentLabel()->GetText(), percent) << value;
    }
}

TEST_F(InfoControls, TimeRemainingInWordsOfTheFrameworkTableFirst)
{
    LProgressBar* progress = Find<LProgressBar>(u"progress");
    using Case = std::tuple<std::int32_t, const char16_t*>;
    for (const auto& [seconds, text] :
         {Case{3725, u"1 Hour 2 Minutes 5 Seconds Remaining"},
          Case{61, u"1 Minute 1 Second Remaining"},
          Case{3600, u"1 Hour 0 Minutes 0 Seconds Remaining"},
          Case{7260, u"2 Hours 1 Minute 0 Seconds Remaining"}, Case{0, u"0 Seconds Remaining"},
          Case{59, u"59 Seconds Remaining"}, Case{-5, u"0 Seconds Remaining"},
          Case{1, u"1 Second Remaining"}})
    {
        progress->SetTimeRemaining(seconds);
        EXPECT_EQ(progress->GetTimeLabel()->GetText(), text) << seconds;
    }
    EXPECT_TRUE(progress->GetTimeLabel()->IsShowing(false));

    // The framework's table serves before the application's.
    mWindow = RCPtr<LRootWindow>();
    LoadStrings(kStrings, 9);
    ASSERT_NO_FATAL_FAILURE(OpenRoot(u"main"));
    progress = Find<LProgressBar>(u"progress");
    progress->SetTimeRemaining(3725);
    EXPECT_EQ(progress->GetTimeLabel()->GetText(), u"1 Stunde 2 Minuten 5 Seconds Remaining");
}

TEST_F(InfoControls, EstimateMeasuresTheAverageRateAndEndsAtTheEnd)
{
    LProgressBar* progress = Find<LProgressBar>(u"progress");
    const WideString& text = progress->GetTimeLabel()->GetText();
    SetClock(10000);
    progress->SetEstimating(true);
    EXPECT_TRUE(progress->IsEstimating());
    SetClock(20000);
    progress->SetValue(0.5);
    EXPECT_EQ(text, u"10 Seconds Remaining");
    // A drop, or a rise within the same clock reading, leaves the estimate alone.
    progress->SetValue(0.4);
    EXPECT_EQ(text, u"10 Seconds Remaining");
    progress->SetValue(0.6);
    EXPECT_EQ(text, u"10 Seconds Remaining");
    SetClock(25000);
    progress->SetValue(0.75); // 0.75 in 15 s: 5 s for the rest
    EXPECT_EQ(text, u"5 Seconds Remaining");
    SetClock(26000);
    progress->SetValue(1.0);
    EXPECT_EQ(text, u"0 Seconds Remaining");
    EXPECT_FALSE(progress->IsEstimating());

    // Estimating from a share done that later drops below the start never divides by a rate
    // that is not positive.
    progress->SetValue(0.5);
    progress->SetEstimating(true);
    progress->SetValue(0.2);
    SetClock(40000);
    progress->SetValue(0.3);
    EXPECT_EQ(text, u"0 Seconds Remaining");
}

// ---- splitters ----

TEST_F(InfoControls, SplitterDragResizesItsAnchorWithinTheLimitsAndDependantsFollow)
{
    LSplitterV* split = Find<LSplitterV>(u"pane/split");
    LControl* left = Find(u"pane/left");
    LControl* right = Find(u"pane/right");
    ASSERT_NE(split, nullptr);
    EXPECT_EQ(split->GetCursor(), kCursorSizeWE);
    EXPECT_EQ(split->GetPosition().x, 200.0);
    // (pointer x, left width): the anchor keeps its minimum of 50, the pane after the bar its
    // own minimum of 40 (96 - 40 = 56 to the right).
    Move(202, 120);
    Press(202, 120);
    using Step = std::tuple<long, double>;
    for (const auto& [x, width] : {Step{232, 230}, Step{290, 256}, Step{0, 50}, Step{150, 148}})
    {
        Move(x, 120);
        EXPECT_EQ(left->GetSize().x, width) << x;
        EXPECT_EQ(split->GetPosition().x, width) << x;
        EXPECT_EQ(right->GetPosition().x, width + 4) << x;
    }
    EXPECT_EQ(split->GetDragMinimum(), 50.0);
    EXPECT_EQ(split->GetDragMaximum(), 256.0);
    EXPECT_EQ(split->GetDragOption(), 1);
    Move(232, 120);
    Release(232, 120);
    // Attached to the anchor again, where it was dropped.
    LLayoutDescriptor::PositionSpec place;
    LLayoutDescriptor::SizeSpec size;
    split->GetLayout()->GetAxisSpec(0, place, size);
    EXPECT_EQ(place.kind, LLayoutDescriptor::kSibling);
    EXPECT_EQ(place.name, u"left");
    EXPECT_EQ(place.relative, 1.0f);
    EXPECT_EQ(left->GetSize().x, 230.0);
    EXPECT_EQ(split->GetPosition().x, 230.0);
    EXPECT_EQ(split->GetAnchor(), nullptr);
}

TEST_F(InfoControls, SplitterMakesRoomForASqueezedDependantWhenItsParentShrinks)
{
    LControl* pane = Find(u"pane");
    LControl* left = Find(u"pane/left");
    LControl* right = Find(u"pane/right");
    using Step = std::tuple<double, double>;
    // The pane after the bar fills the rest but keeps 40 pixels: below 244 the anchor gives way;
    // growing again leaves the anchor as it is. The pane's rules name the bar, which resolves
    // them without a word.
    testing::internal::CaptureStderr();
    for (const auto& [paneWidth, leftWidth] :
         {Step{260, 200}, Step{240, 196}, Step{200, 156}, Step{300, 156}})
    {
        LLayoutDescriptor::PositionSpec place;
        LLayoutDescriptor::SizeSpec size;
        pane->GetLayout()->GetAxisSpec(0, place, size);
        size.absolute = paneWidth;
        pane->SetAxisLayout(0, place, size);
        EXPECT_EQ(left->GetSize().x, leftWidth) << paneWidth;
        EXPECT_LE(right->GetPosition().x + right->GetSize().x, std::max(paneWidth, 244.0));
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(InfoControls, SplitterLooksAndOrientation)
{
    LSplitterV* split = Find<LSplitterV>(u"pane/split");
    LSplitterH* across = Find<LSplitterH>(u"pane/hSplit");
    ASSERT_NE(across, nullptr);
    EXPECT_EQ(across->GetCursor(), kCursorSizeNS);
    // A horizontal bar follows the pointer up and down only.
    Move(50, 152);
    Press(50, 152);
    Move(60, 160);
    EXPECT_EQ(across->GetDragOption(), 2);
    EXPECT_EQ(across->GetPosition().x, 0.0);
    EXPECT_EQ(across->GetPosition().y, 58.0);
    Release(60, 160);
    const auto shown = [split]
    {
        for (std::uint32_t i = 0; i < split->GetLookCount(); ++i)
        {
            if (split->GetLookWeight(i) == 1.0f)
            {
                return i;
            }
        }
        return 99u;
    };
    // (pointer over, dragging): 0 neither, 1 over, 2 dragging over, 1 dragging off the bar.
    Move(202, 110);
    EXPECT_EQ(shown(), 1u);
    Press(202, 110);
    Move(203, 110);
    EXPECT_EQ(shown(), 2u);
    Move(215, 110);
    EXPECT_EQ(shown(), 1u);
    Release(215, 110);
    EXPECT_EQ(shown(), 1u); // the bar came to rest under the pointer
    Move(10, 190);
    EXPECT_EQ(shown(), 0u);
    split->SetEnabled(false);
    EXPECT_EQ(shown(), 6u);
}

// ---- a child the control needs and the skin lacks ----

TEST_F(InfoControls, MissingRequiredChildFailsCreationWithARuntimeError)
{
    using Case = std::tuple<const char16_t*, const char*>;
    for (const auto& [skinName, start] :
         {Case{u"meterWithoutBar",
               "Runtime Error : Null Pointer : Cannot find child: activeOverlay : "
               "LLevelMeter::Initialize : "},
          Case{u"barWithoutTime", "Runtime Error : Null Pointer : Cannot find child: "
                                  "timeRemainingLabel : LProgressBar::Initialize : "},
          Case{u"statusWithoutLabel", "Runtime Error : Null Pointer : Cannot find child: label1 "
                                      ": LStatusBar::Initialize : "}})
    {
        RCPtr<LControl> created;
        try
        {
            mFactory->CreateControl(created, mFactory->FindSkinSubControl(WideString(skinName)),
                                    mWindow->GetRootControl());
            ADD_FAILURE() << Narrow(WideString(skinName));
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ(std::string(error.what()).rfind(start, 0), 0u) << error.what();
        }
        EXPECT_EQ(created, nullptr);
        EXPECT_EQ(mWindow->GetRootControl()->FindChildByName(WideString(skinName)), nullptr);
    }
}

} // namespace
} // namespace QZ::ToolkitTest
