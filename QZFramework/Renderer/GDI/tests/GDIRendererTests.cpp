// Frames, shapes, colour lists, clip and origin, and off-screen surfaces of the 2D renderer.
#include "QZFramework/Renderer/D3D9/D3D9Renderer.h"
#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"
#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"
#include "QZFramework/Utilities/Graphics/ColorRectListT.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <gtest/gtest.h>

#include <tuple>

#include <functional>

namespace QZ::Testing
{
namespace
{

constexpr std::uint32_t kUntouched = 0xFF123456u;

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

TEST(GDIRendererCreate, TypeOneIsThe2DRenderer)
{
    const RCPtr<LRenderer> renderer = LRenderer::Create(LRenderer::kTypeGDIPlus, {}, nullptr);
    ASSERT_TRUE(RCPtr<LGDIRenderer>::DynamicCastFrom(renderer));
    EXPECT_EQ(renderer->GetRendererType(), 1);

    RCPtr<LRenderContextInfo> context = LGDIRenderContextInfo::Create({}, nullptr, true);
    ASSERT_EQ(renderer->InitRenderContextInfo({0, 0, 3, 2}, nullptr, false, context), S_OK);
    const RCPtr<LGDIRenderContextInfo> made =
        RCPtr<LGDIRenderContextInfo>::DynamicCastFrom(context);
    ASSERT_TRUE(made);
    EXPECT_FALSE(made->IsOffScreen());
    EXPECT_EQ(made->GetViewport(), (RectT<std::int32_t>{0, 0, 3, 2}));
}

TEST(GDIRendererFrames, PresentingCopiesOnlyTheUpdateRectangles)
{
    MemoryPresenter window(10, 6, kUntouched);
    const RCPtr<LGDIRenderer> renderer(new LGDIRenderer);
    RCPtr<LRenderContextInfo> context;
    ASSERT_EQ(
        renderer->InitRenderContextInfo({0, 0, 10, 6}, window.ToWindowHandle(), false, context),
        S_OK);
    context->GetUpdateRegion().AddRect({1, 1, 3, 2});
    context->GetUpdateRegion().AddRect({6, 2, 9, 5});

    (void)renderer->RenderStart(context);
    renderer->FillRect({0, 0, 10, 6}, ColorRGBA(kBlue), true);
    (void)renderer->RenderFinish(context);

    ASSERT_EQ(window.GetPresentations().size(), 1u);
    // The region keeps the rectangle added last at its head; they are copied last to first.
    const std::vector<RectT<std::int32_t>> expected{{1, 1, 2, 1}, {6, 2, 3, 3}};
    EXPECT_EQ(window.GetPresentations()[0], expected);
    std::string picture;
    for (std::int32_t y = 0; y < 6; ++y)
    {
        for (std::int32_t x = 0; x < 10; ++x)
        {
            picture += window.GetPixel(x, y) == kBlue ? '#' : '.';
        }
        picture += '\n';
    }
    EXPECT_EQ(picture, "..........\n"
                       ".##.......\n"
                       "......###.\n"
                       "......###.\n"
                       "......###.\n"
                       "..........\n");
}

TEST(GDIRendererFrames, MismatchedFinishLeavesTheFrameAsItWas)
{
    OffscreenFrame frame(4, 4);
    OffscreenFrame other(4, 4, frame.Renderer());
    frame.Start();
    const std::string text = ExceptionText([&] { other.Finish(); });
    EXPECT_TRUE(StartsWith(text, "Runtime Error : RenderFinish context does not match "
                                 "RenderStart context : QZ::LRenderer::RenderFinish : "))
        << text;
    frame.Renderer()->FillRect({0, 0, 1, 1}, ColorRGBA(kRed), true);
    frame.Finish();
    EXPECT_EQ(frame.Pixel(0, 0), kRed);
}

TEST(GDIRendererFrames, NestedFrameDrawsIntoItsOwnContextAndHandsBack)
{
    OffscreenFrame outer(4, 4);
    OffscreenFrame inner(4, 4, outer.Renderer());
    LGDIRenderer& renderer = *outer.Renderer();
    outer.Start();
    inner.Start();
    EXPECT_EQ(renderer.GetCurrentGDIContext(), &inner.GDIContext());
    renderer.FillRect({0, 0, 1, 1}, ColorRGBA(kRed), true);
    inner.Finish();
    EXPECT_EQ(renderer.GetCurrentGDIContext(), &outer.GDIContext());
    renderer.FillRect({1, 1, 1, 1}, ColorRGBA(kGreen), true);
    outer.Finish();
    EXPECT_EQ(renderer.GetCurrentGDIContext(), nullptr);
    EXPECT_EQ(inner.Picture(kRed), "#...\n....\n....\n....\n");
    EXPECT_EQ(outer.Picture(kGreen), "....\n.#..\n....\n....\n");
}

TEST(GDIRendererFrames, ContextOfAnotherRendererIsRefused)
{
    const RCPtr<LGDIRenderer> renderer(new LGDIRenderer);
    RCPtr<LRenderContextInfo> stubContext;
    ASSERT_EQ(LD3D9Renderer().InitRenderContextInfo({0, 0, 2, 2}, nullptr, true, stubContext),
              S_OK);
    const std::string text = ExceptionText([&] { (void)renderer->RenderStart(stubContext); });
    EXPECT_TRUE(StartsWith(text, "Runtime Error : not a context of this renderer : "
                                 "QZ::LGDIRenderer::RenderStart : "))
        << text;
    EXPECT_EQ(renderer->GetCurrentContext(), nullptr);
}

TEST(GDIRendererFrames, OutsideAFrameNothingIsDrawnAndDrawBitmapThrows)
{
    OffscreenFrame frame(3, 3);
    LGDIRenderer& renderer = *frame.Renderer();
    renderer.FillRect({0, 0, 3, 3}, ColorRGBA(kRed), false);
    renderer.DrawRect({0, 0, 2, 2}, ColorRGBA(kRed), 1.0f);
    renderer.DrawLine({0, 0}, {2, 2}, ColorRGBA(kRed), 1.0f);
    renderer.DrawText(u"x", LFont::FindOrCreate(u"DejaVu Sans", 9, 0), {0, 0}, ColorRGBA(kRed));
    EXPECT_EQ(frame.Picture(kRed), "...\n...\n...\n");
    const std::string text = ExceptionText(
        [&] {
            renderer.DrawBitmap(MakeBitmap(1, 1, {kRed}), {0, 0, 1, 1}, 0);
        });
    EXPECT_TRUE(StartsWith(text, "Runtime Error : QZ::LGDIRenderer::DrawBitmap : ")) << text;
}

TEST(GDIRendererFrames, OriginLeftInTheStateMovesTheNextOutermostFrame)
{
    OffscreenFrame frame(4, 4);
    frame.Context()->GetState().origin = {2.0, 1.0};
    frame.Draw([](LGDIRenderer& r) { r.FillRect({0, 0, 1, 1}, ColorRGBA(kRed), true); });
    EXPECT_EQ(frame.Picture(kRed), "....\n..#.\n....\n....\n");
}

class GDIRendererShapes : public ::testing::Test
{
protected:
    OffscreenFrame mFrame{7, 6};
};

// Each drawing on a fresh 7 x 6 frame, read back with a letter per colour.
TEST_F(GDIRendererShapes, OutlinesFillsClipsAndColourListsCoverTheirPixels)
{
    ColorRectListT<float> list;
    list.Add({0.0f, 0.0f, 1.0f, 1.0f}, kRed);
    list.Add({0.0f, 0.0f, 1.25f, 1.0f}, kBlue);
    list.Add({2.0f, 1.0f, 0.5f, 0.75f}, kGreen);
    list.SetScale(2.0f, 2.0f);
    using Case = std::tuple<std::function<void(LGDIRenderer&)>, const char*>;
    const Case cases[] = {
        // An outline covers width + 1 by height + 1.
        {[](LGDIRenderer& r) {
             r.DrawRect({1, 1, 4, 3}, ColorRGBA(kBlack), 1.0f);
         },
         ".......\n.KKKKK.\n.K...K.\n.K...K.\n.KKKKK.\n.......\n"},
        // A filled rectangle draws its outline over the fill.
        {[](LGDIRenderer& r) {
             r.DrawFilledRect({1, 1, 3, 3}, ColorRGBA(kRed), ColorRGBA(kBlue), 1.0f);
         },
         ".......\n.BBBB..\n.BRRB..\n.BRRB..\n.BBBB..\n.......\n"},
        // Empty, inverted and transparent fills draw nothing.
        {[](LGDIRenderer& r)
         {
             r.FillRect({3, 3, -2, 2}, ColorRGBA(kRed), false);
             r.FillRect({3, 3, 0, 2}, ColorRGBA(kRed), true);
             r.DrawFilledRect({1, 1, 3, 3}, ColorRGBA(0x00FF0000u), ColorRGBA(0x000000FFu), 1.0f);
         },
         ".......\n.......\n.......\n.......\n.......\n.......\n"},
        // The colour list is scaled, rounded (blue's 2.5 to 3), moved and filled last first, so
        // red, the first, lies over blue.
        {[&](LGDIRenderer& r) {
             r.FillColorRects(list, {1.0, 0.0}, true);
         },
         ".RRB...\n.RRB...\n.....G.\n.....G.\n.......\n.......\n"},
        // Clip and origin follow pushes and pops.
        {[](LGDIRenderer& r)
         {
             r.PushClip({2, 1, 3, 3}, {2, 1, 3, 3}, nullptr, true);
             r.PushOffset({1, 1});
             r.FillRect({-5, -5, 20, 20}, ColorRGBA(kRed), true);
             r.FillRect({0, 0, 1, 1}, ColorRGBA(kBlue), true);
             r.PopState();
             r.PopState();
             r.FillRect({0, 5, 1, 1}, ColorRGBA(kGreen), true);
         },
         ".......\n..RRR..\n..RBR..\n..RRR..\n.......\nG......\n"},
        // Far and huge rectangles still fill the clip.
        {[](LGDIRenderer& r)
         {
             r.OffsetOrigin({3.0, 2.0});
             r.FillRect({-1073741824, -1073741824, 2147483647, 2147483647}, ColorRGBA(kRed), true);
             r.FillRect({2000000000, 0, 5, 5}, ColorRGBA(kBlue), true);
         },
         "RRRRRRR\nRRRRRRR\nRRRRRRR\nRRRRRRR\nRRRRRRR\nRRRRRRR\n"},
    };
    for (const auto& [draw, picture] : cases)
    {
        SCOPED_TRACE(picture);
        const OffscreenFrame frame{7, 6};
        frame.Draw(draw);
        EXPECT_EQ(frame.Colours(), picture);
    }
}

TEST_F(GDIRendererShapes, LinesAreAliased)
{
    mFrame.Draw(
        [](LGDIRenderer& r)
        {
            r.DrawLine({1, 1}, {5, 1}, ColorRGBA(kBlack), 1.0f);
            r.DrawLine({1, 3}, {5, 5}, ColorRGBA(kBlack), 1.0f);
        });
    EXPECT_EQ(mFrame.Picture(kBlack).substr(0, 16), ".......\n.####..\n");
    for (std::int32_t y = 2; y < 6; ++y)
    {
        for (std::int32_t x = 0; x < 7; ++x)
        {
            const std::uint32_t alpha = mFrame.Pixel(x, y) >> 24;
            EXPECT_TRUE(alpha == 0 || alpha == 255) << x << "," << y;
        }
    }
}

TEST_F(GDIRendererShapes, BlendedFillComposesAndATransparentOneChangesNothing)
{
    mFrame.Draw(
        [](LGDIRenderer& r)
        {
            r.FillRect({0, 0, 7, 6}, ColorRGBA(kWhite), true);
            r.FillRect({0, 0, 7, 6}, ColorRGBA(0x00FF0000u), true);
            r.FillRect({1, 1, 1, 1}, ColorRGBA(0x80000000u), true);
        });
    EXPECT_EQ(mFrame.Pixel(3, 3), kWhite);
    EXPECT_EQ(mFrame.Pixel(1, 1), 0xFF7F7F7Fu);
}

TEST_F(GDIRendererShapes, UnblendedFillReplacesAlphaWithinOriginAndClip)
{
    mFrame.Draw(
        [](LGDIRenderer& r)
        {
            r.FillRect({0, 0, 7, 6}, ColorRGBA(kWhite), true);
            r.PushClip({1, 1, 5, 4}, {1, 1, 3, 3}, nullptr, true);
            r.FillRect({-1, -1, 20, 20}, ColorRGBA(0x00000000u), false);
            r.FillRect({2, 0, 1, 1}, ColorRGBA(0x40FF0000u), false);
            r.PopState();
        });
    EXPECT_EQ(mFrame.Colours(), "WWWWWWW\nW..?WWW\nW...WWW\nW...WWW\nWWWWWWW\nWWWWWWW\n");
    EXPECT_EQ(mFrame.Pixel(3, 1), 0x40FF0000u);
}

TEST_F(GDIRendererShapes, ColourListLeavesTheOriginExactlyWhereItWas)
{
    ColorRectListT<float> list;
    list.Add({0.0f, 0.0f, 1.0f, 1.0f}, kRed);
    PointT<double> before;
    PointT<double> after;
    mFrame.Draw(
        [&](LGDIRenderer& r)
        {
            r.OffsetOrigin({0.1, 0.2});
            before = r.GetCurrentState()->origin;
            r.FillRect({4, 4, 1, 1}, ColorRGBA(kBlue), true);
            r.FillColorRects(list, {0.7, 0.7}, false);
            after = r.GetCurrentState()->origin;
            r.FillRect({4, 4, 1, 1}, ColorRGBA(kGreen), true);
        });
    EXPECT_EQ(after, before);
    EXPECT_EQ(mFrame.Picture(kGreen), ".......\n.......\n.......\n.......\n.......\n.....#.\n");
    EXPECT_EQ(mFrame.Picture(kBlue), ".......\n.......\n.......\n.......\n.......\n.......\n");
}

class GDIRendererSurfaces : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mImage.Draw(
            [](LGDIRenderer& r)
            {
                r.FillRect({0, 0, 2, 2}, ColorRGBA(kRed), true);
                r.FillRect({2, 2, 2, 2}, ColorRGBA(kBlue), true);
            });
    }

    OffscreenFrame mImage{4, 4};
    OffscreenFrame mTarget{6, 6, mImage.Renderer()};
};

TEST_F(GDIRendererSurfaces, OffScreenImageIsCopiedUnscaledThroughTheOrigin)
{
    QZRESULT result = E_FAIL;
    mTarget.Draw(
        [&](LGDIRenderer& r)
        {
            r.OffsetOrigin({1, 0});
            result = r.DrawSurface(mImage.Context(), {0, 1}, {1, 1, 3, 3});
        });
    EXPECT_EQ(result, S_OK);
    EXPECT_EQ(mTarget.Picture(kRed), "......\n.#....\n......\n......\n......\n......\n");
    EXPECT_EQ(mTarget.Picture(kBlue), "......\n......\n..##..\n..##..\n......\n......\n");
}

TEST_F(GDIRendererSurfaces, OnlyOffScreenContextsOfThisRendererCanBeSources)
{
    const RCPtr<LRenderContextInfo> window =
        LGDIRenderContextInfo::Create({0, 0, 4, 4}, nullptr, false);
    RCPtr<LRenderContextInfo> stub;
    ASSERT_EQ(LD3D9Renderer().InitRenderContextInfo({0, 0, 2, 2}, nullptr, true, stub), S_OK);
    mTarget.Draw(
        [&](LGDIRenderer& r)
        {
            EXPECT_EQ(r.DrawSurface(window, {0, 0}, {0, 0, 4, 4}), E_INVALIDARG);
            EXPECT_EQ(r.DrawSurface(stub, {0, 0}, {0, 0, 2, 2}), E_INVALIDARG);
            EXPECT_EQ(r.DrawSurface(nullptr, {0, 0}, {0, 0, 2, 2}), E_INVALIDARG);
            EXPECT_EQ(r.ScrollSurface(window, {1, 1}), E_INVALIDARG);
            EXPECT_EQ(r.DrawSurface(mTarget.Context(), {0, 0}, {0, 0, 2, 2}), E_FAIL);
        });
    EXPECT_EQ(mImage.Renderer()->DrawSurface(mImage.Context(), {0, 0}, {0, 0, 1, 1}), E_FAIL);
}

TEST_F(GDIRendererSurfaces, ScrollingMovesTheImageAndClearsWhatItUncovers)
{
    EXPECT_EQ(mImage.Renderer()->ScrollSurface(mImage.Context(), {1, -1}), S_OK);
    EXPECT_EQ(mImage.Picture(kRed), ".##.\n....\n....\n....\n");
    EXPECT_EQ(mImage.Picture(kBlue), "....\n...#\n...#\n....\n");
    EXPECT_EQ(mImage.Pixel(0, 0), 0u);
    EXPECT_EQ(mImage.Pixel(0, 3), 0u);
}

} // namespace
} // namespace QZ::Testing
