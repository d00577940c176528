// A skinned tree painted off-screen and compared with the reference picture kept beside this test
// (data/reference-tree.png), exactly except inside the button whose label is text. On a
// difference the picture is written next to the build as reference-tree-actual.png. The same tree
// serves the invalidation and hit-test tables.
#include "Platform/Graphics2D/Image.h"
#include "QZFramework/ControlBase/Look.h"
#include "QZFramework/Renderer/GDI/GDIRenderContextInfo.h"
#include "QZFramework/ControlBase/tests/PaintTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace QZ::ToolkitTest
{
namespace
{

constexpr std::int32_t kWidth = 200;
constexpr std::int32_t kHeight = 140;

// Root 200 x 140 with a 3-pixel frame, so children sit 3 pixels in. "frame" clips "box";
// "float" (Z_Order 2) leaves "frame" and covers "badge" (Z_Order 1), which covers "under".
const std::string kSkin = R"(<?xml version="1.0" encoding="UTF-8"?>
<Korvane_Skin_Definitions><Skin Name="Picture">
  <Colorizer Name="Back" Kind="1" Color1="FFE8ECF2" Color2="FFA8B4C8"/>
  <Colorizer Name="Edge" Color1="FF283848"/>
  <Colorizer Name="Face" Color1="FFF0C050"/>
  <Colorizer Name="Red" Color1="FFD03030"/>
  <Colorizer Name="Blue" Color1="FF3060C0"/>
  <Colorizer Name="Green" Color1="FF30A050"/>
  <Colorizer Name="Pop" Color1="FF8040A0"/>
  <Part Name="icon" Image="::TestIcon.png"/>
)" + std::string(kFramedPanelLook) +
                          R"(  <Look Name="Button">
    <DockedPart Dock="Fill" Colorizer="Face"/>
    <DockedPart Dock="Left" Size="2" Colorizer="Edge"/>
    <DockedPart Dock="Top" Size="2" Colorizer="Edge"/>
    <DockedPart Dock="Right" Size="2" Colorizer="Edge"/>
    <DockedPart Dock="Bottom" Size="2" Colorizer="Edge"/>
    <Text HAlign="0.5" VAlign="0.5" Color="FF101820"/>
  </Look>
  <Look Name="Icon"><DockedPart Dock="Fill" Part="icon"/></Look>
  <Look Name="Red"><DockedPart Dock="Fill" Colorizer="Red"/></Look>
  <Look Name="Blue"><DockedPart Dock="Fill" Colorizer="Blue"/></Look>
  <Look Name="Green"><DockedPart Dock="Fill" Colorizer="Green"/></Look>
  <Look Name="Pop">
    <DockedPart Dock="Fill" Colorizer="Pop"/>
    <DockedPart Dock="Bottom" Size="4" Colorizer="Edge"/>
  </Look>
  <SubControl Class="Test.Control" Name="root" XSizeToControl="Client" XSizeRel="1"
      XSizeAbs="0" YSizeToControl="Client" YSizeRel="1" YSizeAbs="0">
    <LookList><LookRef Look="Panel"/></LookList>
    <SubControl Class="Test.Control" Name="button" XPositionAbs="8" YPositionAbs="8"
        XSizeAbs="64" YSizeAbs="24">
      <CreateParamList><CreateParam ID="LABEL">Play</CreateParam></CreateParamList>
      <LookList><LookRef Look="Button"/></LookList>
    </SubControl>
    <SubControl Class="Test.Control" Name="icon" XPositionAbs="80" YPositionAbs="8"
        XSizeAbs="24" YSizeAbs="24">
      <LookList><LookRef Look="Icon"/></LookList>
    </SubControl>
    <SubControl Class="Test.Control" Name="knob" XPositionAbs="112" YPositionAbs="8"
        XSizeAbs="30" YSizeAbs="30">
      <LookList><LookRef Look="Green"/></LookList>
    </SubControl>
    <SubControl Class="Test.Control" Name="frame" XPositionAbs="8" YPositionAbs="44"
        XSizeAbs="80" YSizeAbs="50">
      <LookList><LookRef Look="Panel"/></LookList>
      <SubControl Class="Test.Control" Name="box" XPositionAbs="50" YPositionAbs="20"
          XSizeAbs="60" YSizeAbs="40">
        <LookList><LookRef Look="Red"/></LookList>
      </SubControl>
      <SubControl Class="Test.Control" Name="float" XPositionAbs="60" YPositionAbs="-10"
          XSizeAbs="50" YSizeAbs="30" ClipToParent="false" Z_Order="2">
        <LookList><LookRef Look="Pop"/></LookList>
      </SubControl>
    </SubControl>
    <SubControl Class="Test.Control" Name="badge" XPositionAbs="97" YPositionAbs="37"
        XSizeAbs="40" YSizeAbs="30" ClipToParent="false" Z_Order="1">
      <LookList><LookRef Look="Blue"/></LookList>
    </SubControl>
    <SubControl Class="Test.Control" Name="under" XPositionAbs="92" YPositionAbs="57"
        XSizeAbs="30" YSizeAbs="30">
      <LookList><LookRef Look="Green"/></LookList>
    </SubControl>
    <SubControl Class="Test.Control" Name="blend" XPositionAbs="150" YPositionAbs="50"
        XSizeAbs="40" YSizeAbs="40">
      <LookList><LookRef Look="Red"/><LookRef Look="Blue"/></LookList>
    </SubControl>
  </SubControl>
</Skin></Korvane_Skin_Definitions>)";

class PaintedTree : public ToolkitFixture
{
protected:
    PaintedTree()
    {
        LoadSkin(kSkin);
        EXPECT_EQ(mWindow.Window()->CreateRootControl(WideString(u"root")), S_OK);
        mRoot = mWindow.Window()->GetRootControl();
        // The knob shows the icon as its bitmap part, centred; the blend control shows both
        // looks at half weight.
        EXPECT_EQ(
            Find(u"knob")->SetLookBitmap(0, LBitmap::GetNamedBitmap(WideString(u"::TestIcon.png")),
                                         LRenderer::kResizeCenter),
            S_OK);
        Find(u"blend")->SetLookWeight(0, 0.5f, false);
        Find(u"blend")->SetLookWeight(1, 0.5f, false);
    }

    RCPtr<LControl> Find(const char16_t* name) const
    {
        return FindDescendant(mRoot, WideString(name));
    }

    PaintedWindow mWindow{*mApplication, kWidth, kHeight};
    RCPtr<LControl> mRoot;
};

TEST_F(PaintedTree, MatchesTheReferencePicture)
{
    ASSERT_TRUE(mRoot);
    // The first frame presents the whole window, in whatever rectangles building left.
    std::int32_t presented = 0;
    for (const RectT<std::int32_t>& r : mWindow.Frame())
    {
        presented += r.width * r.height;
    }
    EXPECT_EQ(presented, kWidth * kHeight);
    const std::string data = QZ_CONTROL_TEST_DATA_DIR;
    const std::string output = QZ_CONTROL_TEST_OUTPUT_DIR;
    // The button (at 11, 11 in the window) holds the only text.
    EXPECT_EQ(ComparePicture(mWindow.Presenter().GetPicture(), data + "/reference-tree.png",
                             {{11, 11, 64, 24}}, 64, output + "/reference-tree-actual.png"),
              0);
}

TEST_F(PaintedTree, InvalidationReachesTheWindowClippedByClippingAncestors)
{
    struct Case
    {
        const char* what;
        const char16_t* control;
        RectT<double> rect;
        std::vector<RectT<std::int32_t>> dirty;
    };
    // frame spans (11, 47)-(91, 97) in the window; box starts at (64, 70) and is cut by the
    // frame's whole rectangle.
    const Case cases[] = {
        {"a whole control", u"button", {0, 0, 64, 24}, {{11, 11, 64, 24}}},
        {"part of a control", u"knob", {5, 5, 10, 2.4}, {{120, 16, 10, 2}}},
        {"cut by the clipping parent", u"box", {0, 0, 60, 40}, {{64, 70, 27, 27}}},
        {"wholly outside the parent", u"box", {30, 30, 10, 10}, {}},
        {"a floating control is not cut", u"float", {0, 0, 50, 30}, {{74, 40, 50, 30}}},
        {"cut by the window", u"blend", {0, 0, 100, 100}, {{153, 53, 47, 87}}},
    };
    mWindow.Frame();
    for (const Case& c : cases)
    {
        Find(c.control)->Invalidate(c.rect, true);
        EXPECT_EQ(mWindow.DirtyRects(), c.dirty) << c.what;
        RegionT taken;
        mWindow.Window()->TakeDirtyRegion(taken);
    }
    // A hidden control invalidates nothing; a changed look weight repaints only that control,
    // and the frame presents exactly that rectangle.
    Find(u"under")->GetLayout()->shown = false;
    Find(u"under")->InvalidateAll();
    EXPECT_TRUE(mWindow.DirtyRects().empty());
    Find(u"knob")->SetLookWeight(0, 0.25f, false);
    EXPECT_EQ(mWindow.Frame(), (std::vector<RectT<std::int32_t>>{{115, 11, 30, 30}}));
}

// Controls apart repaint without touching what lies between them: the window's drawing keeps
// every pixel outside the repainted controls.
TEST_F(PaintedTree, RepaintingControlsApartKeepsWhatLiesBetweenThem)
{
    mWindow.Frame();
    const RCPtr<LGDIRenderContextInfo> gdi =
        RCPtr<LGDIRenderContextInfo>::DynamicCastFrom(mWindow.Context());
    ASSERT_TRUE(gdi);
    Graphics2D::Image& drawn = *gdi->GetFrontSurface()->GetBitmap();
    const auto pixels = [&]
    {
        std::vector<std::uint32_t> all(kWidth * kHeight);
        for (std::int32_t y = 0; y < kHeight; ++y)
        {
            for (std::int32_t x = 0; x < kWidth; ++x)
            {
                (void)drawn.GetPixel(x, y, all[static_cast<std::size_t>(y * kWidth + x)]);
            }
        }
        return all;
    };
    const std::vector<std::uint32_t> before = pixels();
    Find(u"button")->InvalidateAll();
    Find(u"blend")->InvalidateAll();
    mWindow.Frame();
    EXPECT_EQ(pixels(), before);
}

TEST_F(PaintedTree, HitTestingHonoursTransparencyZOrderAndClipping)
{
    struct Case
    {
        const char* what;
        PointT<long> at;
        const char16_t* control;
        PointT<long> local;
    };
    const Case cases[] = {
        {"an opaque pixel", {20, 20}, u"button", {9, 9}},
        {"a corner without a frame part is transparent", {11, 11}, u"root", {11, 11}},
        {"the icon's transparent corner", {84, 12}, u"root", {84, 12}},
        {"the icon's stretched middle", {95, 23}, u"icon", {12, 12}},
        {"the knob's centred bitmap over its fill", {130, 26}, u"knob", {15, 15}},
        {"a floating control above its sibling", {100, 45}, u"float", {26, 5}},
        {"a floating control outside its parent", {120, 41}, u"float", {46, 1}},
        {"the lower of two floating controls", {130, 64}, u"badge", {30, 24}},
        {"a floating control above a clipped sibling", {124, 65}, u"badge", {24, 25}},
        {"a clipped child outside its parent's client area", {90, 92}, u"frame", {79, 45}},
        {"a clipped child inside", {70, 80}, u"box", {6, 10}},
        {"the frame", {15, 51}, u"frame", {4, 4}},
        {"outside the window", {250, 10}, nullptr, {0, 0}},
    };
    for (const Case& c : cases)
    {
        RCPtr<LControl> found;
        PointT<long> local(-1, -1);
        mWindow.Window()->HitTest(found, static_cast<std::int32_t>(c.at.x),
                                  static_cast<std::int32_t>(c.at.y), local, 1);
        if (c.control == nullptr)
        {
            EXPECT_FALSE(found) << c.what;
            continue;
        }
        ASSERT_TRUE(found) << c.what;
        EXPECT_EQ(Narrow(found->GetName()), Narrow(WideString(c.control))) << c.what;
        EXPECT_EQ(local, c.local) << c.what;
    }
    EXPECT_EQ(Find(u"box")->GetEffectiveZOrder(), INT_MIN);
    EXPECT_EQ(Find(u"float")->GetEffectiveZOrder(), 2);

    // Passed over, the float lets the badge below it be found; a hidden badge is never hit.
    Find(u"float")->SetHitTestPassOver(true, true);
    RCPtr<LControl> found;
    PointT<long> local;
    EXPECT_EQ(Narrow(mWindow.Window()->HitTest(found, 110, 45, local, 0)->GetName()), "badge");
    Find(u"badge")->GetLayout()->shown = false;
    EXPECT_EQ(Narrow(mWindow.Window()->HitTest(found, 110, 45, local, 0)->GetName()), "root");
}

TEST_F(PaintedTree, DropTargetSearchEndsWhenTheWalkComesBack)
{
    // No control accepts a drop; from a floating control the search asks the window, which
    // answers the floating control again: the search ends with no target.
    RCPtr<LControl> target(Find(u"root"));
    Find(u"float")->FindDropTarget(target, Find(u"button"), {100, 45});
    EXPECT_FALSE(target);
    Find(u"box")->FindDropTarget(target, Find(u"button"), {100, 45});
    EXPECT_FALSE(target);
}

// The colour a look reports at a point agrees with what the renderer drew there, for every
// resize type, including a stretch by a fraction, and a clip region cuts it.
TEST(LookColorAtPoint, AgreesWithTheDrawnPixels)
{
    LApplicationBase application;
    PaintedWindow window(application, 64, 40);
    const RCPtr<LBitmap> icon = LBitmap::GetNamedBitmap(WideString(u"::TestIcon.png"));
    ASSERT_TRUE(icon);
    struct Case
    {
        std::uint32_t resize;
        RectT<double> rect;
    };
    const Case cases[] = {{LRenderer::kResizeStretch, {0, 0, 24, 24}},
                          {LRenderer::kResizeStretch, {0, 0, 17, 29}},
                          {LRenderer::kResizeTile, {0, 0, 30, 20}},
                          {LRenderer::kResizeCenter, {0, 0, 31, 27}}};
    for (const Case& c : cases)
    {
        RCPtr<LLookDescriptor> descriptor(new LLookDescriptor());
        descriptor->parts.push_back(RCPtr<LDockedPartDescriptor>(new LDockedPartDescriptor()));
        descriptor->parts.back()->part = new LVisualPartDescriptor();
        descriptor->parts.back()->part->image = WideString(u"::TestIcon.png");
        descriptor->parts.back()->part->resizeType = c.resize;
        RCPtr<LLook> look;
        LLook::Create(look, descriptor, false);
        look->SetRect(c.rect);
        RegionT clip;
        clip.AddRect({0, 0, 64, 12});
        const RCPtr<LRenderer> renderer(window.Renderer().Get());
        RCPtr<LRenderContextInfo> context;
        ASSERT_EQ(renderer->InitRenderContextInfo({0, 0, 64, 40}, nullptr, true, context), S_OK);
        (void)renderer->RenderStart(context);
        look->DrawClientPart(*renderer, clip);
        (void)renderer->RenderFinish(context);
        const RCPtr<LGDIRenderContextInfo> gdi =
            RCPtr<LGDIRenderContextInfo>::DynamicCastFrom(context);
        Graphics2D::Image& drawn = *gdi->GetFrontSurface()->GetBitmap();
        std::int32_t disagreeing = 0;
        for (long y = 0; y < static_cast<long>(c.rect.height); ++y)
        {
            for (long x = 0; x < static_cast<long>(c.rect.width); ++x)
            {
                std::uint32_t pixel = 0;
                (void)drawn.GetPixel(static_cast<std::int32_t>(x), static_cast<std::int32_t>(y),
                                     pixel);
                const std::uint32_t reported = look->GetColorAtPoint({x, y});
                disagreeing += ((pixel >> 24) == 0) != ((reported >> 24) == 0) ? 1 : 0;
            }
        }
        EXPECT_EQ(disagreeing, 0) << "resize type " << c.resize << ", " << c.rect.width << " x "
                                  << c.rect.height;
        look->SetRegion(clip);
        EXPECT_EQ(look->GetColorAtPoint({12, 13}), 0u);
        EXPECT_FALSE(look->GetStencil().IsNull());
    }
}

} // namespace
} // namespace QZ::ToolkitTest
