// The render-state stack: offsets, clips, alpha and stencils pushed and popped inside a frame,
// with the renderer's mirrored device state following every change.
#include "QZFramework/Renderer/tests/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace QZ
{
namespace
{

class RendererState : public ::testing::Test
{
protected:
    void SetUp() override
    {
        (void)mRenderer->RenderStart(mContext);
        mRenderer->SetClip({0, 0, 64, 32});
    }
    void TearDown() override { (void)mRenderer->RenderFinish(mContext); }

    RenderState& State() { return mContext->GetState(); }

    // The device's clip is where the state's clip is on the screen, and its transform is the
    // state's origin.
    void ExpectDeviceFollows()
    {
        const RenderState& s = State();
        EXPECT_EQ(mRenderer->deviceOrigin, s.origin);
        EXPECT_EQ(mRenderer->deviceClip,
                  (RectT<double>(s.clip.x + s.origin.x, s.clip.y + s.origin.y, s.clip.width,
                                 s.clip.height)));
        EXPECT_EQ(mRenderer->deviceStencil, s.stencil);
    }

    RCPtr<RecordingRenderer> mRenderer{new RecordingRenderer};
    RCPtr<LRenderContextInfo> mContext = RecordingRenderer::MakeContext();
};

TEST_F(RendererState, PushOffsetMovesTheOriginByWholePixelsAndKeepsTheClipOnScreen)
{
    mRenderer->PushOffset({10.5, -3.4});
    EXPECT_EQ(State().origin, (PointT<double>(11, -3)));
    EXPECT_EQ(State().clip, (RectT<double>(-11, 3, 64, 32)));
    ExpectDeviceFollows();
    mRenderer->PopState();
    EXPECT_EQ(State().origin, (PointT<double>(0, 0)));
    EXPECT_EQ(State().clip, (RectT<double>(0, 0, 64, 32)));
    ExpectDeviceFollows();
}

TEST_F(RendererState, OutermostPushOffsetIsKeptAndUndoneByItsPop)
{
    ASSERT_TRUE(mContext->GetStateStack().empty());
    mRenderer->PushOffset({5, 6});
    EXPECT_EQ(mContext->GetStateStack().size(), 1u);
    EXPECT_EQ(State().origin, (PointT<double>(5, 6)));
    mRenderer->PopState();
    EXPECT_TRUE(mContext->GetStateStack().empty());
    EXPECT_EQ(State().origin, (PointT<double>(0, 0)));
}

TEST_F(RendererState, PopWithNothingSavedChangesNothing)
{
    mRenderer->OffsetOrigin({3, 4});
    const std::vector<std::string> callsBefore = mRenderer->calls;
    mRenderer->PopState();
    EXPECT_EQ(State().origin, (PointT<double>(3, 4)));
    EXPECT_EQ(State().clip, (RectT<double>(0, 0, 64, 32)));
    EXPECT_EQ(mRenderer->deviceOrigin, (PointT<double>(3, 4)));
    EXPECT_EQ(mRenderer->calls, callsBefore);
}

TEST_F(RendererState, PushClipInParentCoordinatesCutsByFrameAndCurrentClip)
{
    mRenderer->PushClip({10, 20, 100, 50}, {0, 0, 200, 200}, nullptr, true);
    EXPECT_EQ(State().origin, (PointT<double>(10, 20)));
    EXPECT_EQ(State().clip, (RectT<double>(0, 0, 54, 12)));
    ExpectDeviceFollows();
}

TEST_F(RendererState, PushClipRoundsTheFrameAndFloorsTheClipEdges)
{
    mRenderer->PushClip({10.5, 20.4, 30, 5}, {12.7, 21.2, 10.6, 2.5}, nullptr, true);
    // Frame top-left rounds to (11, 20); clip edges 12.7..23.3 and 21.2..23.7 floor to 12..23
    // and 21..23.
    EXPECT_EQ(State().origin, (PointT<double>(11, 20)));
    EXPECT_EQ(State().clip, (RectT<double>(1, 1, 11, 2)));
    ExpectDeviceFollows();
}

TEST_F(RendererState, EdgeJustBelowAWholeNumberCountsAsThatNumber)
{
    const double almostThree = std::nextafter(3.0, 0.0);
    mRenderer->PushClip({0, 0, 64, 32}, {almostThree, 2.9, 10, 10}, nullptr, true);
    EXPECT_EQ(State().clip.x, 3.0);
    EXPECT_EQ(State().clip.y, 2.0);
}

TEST_F(RendererState, ClipOutsideTheFrameLeavesNothingVisibleUntilThePop)
{
    mRenderer->PushClip({10, 10, 20, 20}, {40, 40, 5, 5}, nullptr, true);
    EXPECT_EQ(State().clip.width, 0.0);
    EXPECT_EQ(State().clip.height, 0.0);
    mRenderer->PushClip({0, 0, 5, 5}, {0, 0, 5, 5}, nullptr, true);
    EXPECT_EQ(State().clip.width, 0.0);
    mRenderer->PopState();
    mRenderer->PopState();
    EXPECT_EQ(State().clip, (RectT<double>(0, 0, 64, 32)));
}

TEST_F(RendererState, AbsoluteFrameTakesTheClipAsGiven)
{
    mRenderer->PushOffset({5, 5});
    mRenderer->PushClip({15, 25, 10, 10}, {50, 40, -20, -10}, nullptr, false);
    EXPECT_EQ(State().origin, (PointT<double>(15, 25)));
    // Turned round, not cut by the frame or the current clip, not moved with the origin.
    EXPECT_EQ(State().clip, (RectT<double>(30, 30, 20, 10)));
}

TEST_F(RendererState, FrameThatIsNotFiniteLeavesTheOriginAloneAndClipsEverything)
{
    mRenderer->PushClip({NAN, INFINITY, 10, 10}, {0, 0, NAN, 5}, nullptr, false);
    EXPECT_EQ(State().origin, (PointT<double>(0, 0)));
    EXPECT_EQ(State().clip, (RectT<double>(0, 0, 0, 0)));
    mRenderer->PopState();
    mRenderer->PushOffset({NAN, 4});
    EXPECT_EQ(State().origin, (PointT<double>(0, 4)));
}

TEST_F(RendererState, NestedStatesRestoreExactlyLevelByLevel)
{
    const RCPtr<LStencil> stencil = LStencil::Create(16, 8);
    std::vector<RenderState> saved;
    auto save = [&] { saved.push_back(State()); };

    save();
    mRenderer->PushClip({3, 4, 40, 20}, {1, 1, 30, 30}, stencil, true);
    ExpectDeviceFollows();
    State().alpha *= 0.5f;
    save();
    mRenderer->PushOffset({-2.5, 7});
    ExpectDeviceFollows();
    save();
    mRenderer->PushState();
    State().alpha *= 0.5f;
    mRenderer->OffsetOrigin({1, 1});
    mRenderer->SetClip({2, 2, 3, 3});
    save();
    mRenderer->PushClip({6, 6, 10, 10}, {0, 0, 4, 4}, LStencil::Create(2, 2), true);
    ExpectDeviceFollows();
    EXPECT_EQ(State().alpha, 0.25f);

    for (auto level = saved.rbegin(); level != saved.rend(); ++level)
    {
        mRenderer->PopState();
        EXPECT_EQ(State().origin, level->origin);
        EXPECT_EQ(State().clip, level->clip);
        EXPECT_EQ(State().alpha, level->alpha);
        EXPECT_EQ(State().stencil, level->stencil);
        EXPECT_EQ(State().stencilSet, level->stencilSet);
        ExpectDeviceFollows();
    }
    EXPECT_TRUE(mContext->GetStateStack().empty());
}

TEST_F(RendererState, FirstStencilIsInstalledAsGivenAndANestedOneFresh)
{
    const RCPtr<LStencil> outer = LStencil::Create(16, 8);
    const RCPtr<LStencil> inner = LStencil::Create(6, 4);
    mRenderer->PushClip({0, 0, 20, 20}, {0, 0, 20, 20}, outer, true);
    EXPECT_EQ(State().stencil, outer);
    EXPECT_TRUE(State().stencilSet);

    mRenderer->PushClip({1, 1, 10, 10}, {0, 0, 10, 10}, inner, true);
    ASSERT_FALSE(State().stencil.IsNull());
    EXPECT_NE(State().stencil, inner);
    EXPECT_NE(State().stencil, outer);
    EXPECT_EQ(State().stencil->GetWidth(), 6);
    EXPECT_EQ(State().stencil->GetHeight(), 4);
    EXPECT_EQ(State().stencil->GetBounds(), (RectT<std::int32_t>(0, 0, 6, 4)));
    ExpectDeviceFollows();

    mRenderer->PopState();
    EXPECT_EQ(State().stencil, outer);
    mRenderer->PopState();
    EXPECT_TRUE(State().stencil.IsNull());
    EXPECT_FALSE(State().stencilSet);
    ExpectDeviceFollows();
}

TEST_F(RendererState, DrawingIsRelativeToTheCurrentOrigin)
{
    mRenderer->PushOffset({8, 9});
    mRenderer->FillRect({1, 1, 2, 2}, ColorRGBA(0xFF000000u), false);
    mRenderer->PopState();
    mRenderer->FillRect({1, 1, 2, 2}, ColorRGBA(0xFF000000u), false);
    const std::vector<std::string> expected{"FillRect 1,1,2,2 replace @8,9",
                                            "FillRect 1,1,2,2 replace @0,0"};
    EXPECT_EQ(mRenderer->calls, expected);
}

TEST(Stencil, NegativeSizeCountsAsZero)
{
    const RCPtr<LStencil> stencil = LStencil::Create(-3, 5);
    EXPECT_EQ(stencil->GetWidth(), 0);
    EXPECT_EQ(stencil->GetHeight(), 5);
    EXPECT_EQ(stencil->GetBounds(), (RectT<std::int32_t>(0, 0, 0, 5)));
}

} // namespace
} // namespace QZ
