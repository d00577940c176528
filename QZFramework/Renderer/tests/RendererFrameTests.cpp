// The frame protocol of the renderer base: starting, nesting and finishing frames.
#include "QZFramework/Renderer/tests/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace QZ
{
namespace
{

// The exception text up to the source path, which the tests leave open.
template <class Call> std::string ThrownRuntimeText(Call call)
{
    try
    {
        call();
    }
    catch (const Exception<std::runtime_error>& e)
    {
        return e.what();
    }
    return "nothing thrown";
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.rfind(prefix, 0) == 0;
}

class RendererFrame : public ::testing::Test
{
protected:
    RCPtr<RecordingRenderer> mRenderer{new RecordingRenderer};
    RCPtr<LRenderContextInfo> mFirst = RecordingRenderer::MakeContext();
    RCPtr<LRenderContextInfo> mSecond = RecordingRenderer::MakeContext();
};

TEST_F(RendererFrame, NullContextIsRefused)
{
    const std::string text = ThrownRuntimeText([&] { (void)mRenderer->RenderStart(nullptr); });
    EXPECT_TRUE(StartsWith(text, "Runtime Error : Render context is NULL : "
                                 "QZ::LRenderer::RenderStart : "))
        << text;
    EXPECT_EQ(mRenderer->GetCurrentContext(), nullptr);
}

TEST_F(RendererFrame, StartingTheSameContextTwiceIsRefused)
{
    EXPECT_EQ(mRenderer->RenderStart(mFirst), S_OK);
    const std::string text = ThrownRuntimeText([&] { (void)mRenderer->RenderStart(mFirst); });
    EXPECT_TRUE(StartsWith(text, "Runtime Error : Render context reentered. : "
                                 "QZ::LRenderer::RenderStart : "))
        << text;
    EXPECT_EQ(mRenderer->GetCurrentContext(), mFirst.Get());
    EXPECT_EQ(mRenderer->RenderFinish(mFirst), S_OK);
    EXPECT_EQ(mRenderer->GetCurrentContext(), nullptr);
}

TEST_F(RendererFrame, NestedFramesFinishInReverseOrder)
{
    (void)mRenderer->RenderStart(mFirst);
    (void)mRenderer->RenderStart(mSecond);
    EXPECT_EQ(mRenderer->GetCurrentContext(), mSecond.Get());

    const std::string text = ThrownRuntimeText([&] { (void)mRenderer->RenderFinish(mFirst); });
    EXPECT_TRUE(StartsWith(text, "Runtime Error : RenderFinish context does not match RenderStart "
                                 "context : QZ::LRenderer::RenderFinish : "))
        << text;
    EXPECT_EQ(mRenderer->GetCurrentContext(), mSecond.Get());

    EXPECT_EQ(mRenderer->RenderFinish(mSecond), S_OK);
    EXPECT_EQ(mRenderer->GetCurrentContext(), mFirst.Get());
    EXPECT_EQ(mRenderer->RenderFinish(mFirst), S_OK);
    EXPECT_EQ(mRenderer->GetCurrentContext(), nullptr);
}

TEST_F(RendererFrame, FinishingWithoutAStartedFrameIsRefused)
{
    EXPECT_TRUE(StartsWith(ThrownRuntimeText([&] { (void)mRenderer->RenderFinish(mFirst); }),
                           "Runtime Error : RenderFinish context does not match"));
    EXPECT_TRUE(StartsWith(ThrownRuntimeText([&] { (void)mRenderer->RenderFinish(nullptr); }),
                           "Runtime Error : RenderFinish context does not match"));
}

TEST_F(RendererFrame, AStartedFrameHoldsItsContext)
{
    const std::int32_t references = mFirst->GetRefCount();
    (void)mRenderer->RenderStart(mFirst);
    EXPECT_EQ(mFirst->GetRefCount(), references + 1);
    (void)mRenderer->RenderFinish(mFirst);
    EXPECT_EQ(mFirst->GetRefCount(), references);
}

TEST_F(RendererFrame, NewContextStartsUnclippedAtTheOriginFullyOpaque)
{
    RCPtr<LRenderContextInfo> context;
    ASSERT_EQ(mRenderer->InitRenderContextInfo({1, 2, 30, 40}, nullptr, true, context), S_OK);
    ASSERT_FALSE(context.IsNull());
    EXPECT_EQ(context->GetViewport(), (RectT<std::int32_t>(1, 2, 30, 40)));
    EXPECT_TRUE(context->IsOffScreen());
    const RenderState& state = context->GetState();
    EXPECT_EQ(state.origin, (PointT<double>(0.0, 0.0)));
    EXPECT_EQ(state.clip, (RectT<double>(-5000000136282112.0, -5000000136282112.0,
                                         10000000272564224.0, 10000000272564224.0)));
    EXPECT_EQ(state.alpha, 1.0f);
    EXPECT_FALSE(state.stencilSet);
    EXPECT_TRUE(state.stencil.IsNull());
    EXPECT_TRUE(context->GetStateStack().empty());
    EXPECT_TRUE(context->GetUpdateRegion().IsEmpty());
}

TEST_F(RendererFrame, StateOperationsOutsideAFrameDoNothing)
{
    mRenderer->PushState();
    mRenderer->PushOffset({5, 5});
    mRenderer->PushClip({1, 1, 5, 5}, {0, 0, 2, 2}, LStencil::Create(4, 4), true);
    mRenderer->SetClip({0, 0, 1, 1});
    mRenderer->OffsetOrigin({3, 3});
    mRenderer->PopState();
    EXPECT_EQ(mRenderer->SetViewport({0, 0, 1, 1}), S_OK);
    EXPECT_EQ(mRenderer->SetStencil(LStencil::Create(1, 1)), S_OK);
    EXPECT_EQ(mRenderer->GetCurrentState(), nullptr);
    // A draw outside a frame reaches the renderer untranslated and raises nothing.
    mRenderer->DrawFilledRect({1, 1, 2, 2}, ColorRGBA(0xFF000000u), ColorRGBA(0u), 1.0f);
    EXPECT_EQ(mRenderer->calls, (std::vector<std::string>{"FillRect 1,1,2,2 blend @0,0"}));

    (void)mRenderer->RenderStart(mFirst);
    EXPECT_TRUE(mFirst->GetStateStack().empty());
    EXPECT_EQ(mFirst->GetState().origin, (PointT<double>(0, 0)));
    EXPECT_EQ(mFirst->GetViewport(), (RectT<std::int32_t>(0, 0, 64, 32)));
    EXPECT_EQ(mRenderer->deviceOrigin, (PointT<double>(0, 0)));
    (void)mRenderer->RenderFinish(mFirst);
}

TEST_F(RendererFrame, StateOperationsActOnTheInnermostFrame)
{
    (void)mRenderer->RenderStart(mFirst);
    mRenderer->PushOffset({4, 4});
    (void)mRenderer->RenderStart(mSecond);
    mRenderer->PushOffset({7, 7});
    (void)mRenderer->SetViewport({0, 0, 8, 8});
    EXPECT_EQ(mSecond->GetState().origin, (PointT<double>(7, 7)));
    EXPECT_EQ(mSecond->GetViewport(), (RectT<std::int32_t>(0, 0, 8, 8)));
    EXPECT_EQ(mFirst->GetState().origin, (PointT<double>(4, 4)));
    EXPECT_EQ(mFirst->GetViewport(), (RectT<std::int32_t>(0, 0, 64, 32)));
    mRenderer->PopState();
    (void)mRenderer->RenderFinish(mSecond);
    mRenderer->PopState();
    EXPECT_EQ(mFirst->GetState().origin, (PointT<double>(0, 0)));
    (void)mRenderer->RenderFinish(mFirst);
}

TEST_F(RendererFrame, FilledRectFillsThenOutlinesOnlyWhatIsVisible)
{
    const ColorRGBA clear(1, 1, 1, 0);
    const ColorRGBA solid(1, 0, 0, 1);
    mRenderer->DrawFilledRect({1, 2, 3, 4}, solid, solid, 1.0f);
    mRenderer->DrawFilledRect({5, 6, 7, 8}, clear, solid, 1.0f);
    mRenderer->DrawFilledRect({9, 9, 9, 9}, solid, clear, 1.0f);
    mRenderer->DrawFilledRect({0, 0, 1, 1}, clear, clear, 1.0f);
    const std::vector<std::string> expected{"FillRect 1,2,3,4 blend @0,0", "DrawRect 1,2,3,4 @0,0",
                                            "DrawRect 5,6,7,8 @0,0", "FillRect 9,9,9,9 blend @0,0"};
    EXPECT_EQ(mRenderer->calls, expected);
}

} // namespace
} // namespace QZ
