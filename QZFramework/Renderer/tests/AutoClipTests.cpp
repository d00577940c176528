#include "QZFramework/Renderer/AutoClip.h"
#include "QZFramework/Renderer/tests/RecordingRenderer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace QZ
{
namespace
{

class AutoClip : public ::testing::Test
{
protected:
    void SetUp() override { (void)mRecorder->RenderStart(mContext); }
    void TearDown() override { (void)mRecorder->RenderFinish(mContext); }

    std::size_t Depth() const { return mContext->GetStateStack().size(); }
    const RenderState& State() const { return mContext->GetState(); }

    RCPtr<RecordingRenderer> mRecorder{new RecordingRenderer};
    RCPtr<LRenderer> mRenderer{mRecorder};
    RCPtr<LRenderContextInfo> mContext = RecordingRenderer::MakeContext();
};

TEST_F(AutoClip, ScopePushesOnceAndPopsAtItsEnd)
{
    {
        CAutoClip scope(mRenderer);
        EXPECT_EQ(Depth(), 1u);
        mRenderer->OffsetOrigin({4, 4});
    }
    EXPECT_EQ(Depth(), 0u);
    EXPECT_EQ(State().origin, (PointT<double>(0, 0)));
}

TEST_F(AutoClip, FrameClipAndStencilClipInParentCoordinatesByDefault)
{
    {
        CAutoClip scope(mRenderer, RectT<double>(5, 5, 10, 10), RectT<double>(0, 0, 100, 100),
                        nullptr);
        EXPECT_EQ(State().origin, (PointT<double>(5, 5)));
        EXPECT_EQ(State().clip, (RectT<double>(0, 0, 10, 10)));
    }
    {
        CAutoClip scope(mRenderer, RectT<double>(5, 5, 10, 10), RectT<double>(0, 0, 100, 100),
                        nullptr, false);
        EXPECT_EQ(State().clip, (RectT<double>(0, 0, 100, 100)));
    }
    EXPECT_EQ(Depth(), 0u);
    EXPECT_EQ(State().clip, RenderState::kUnboundedClip);
}

TEST_F(AutoClip, DescriptionFlavoursPickTheirPush)
{
    const CAutoClip::ClipDescription clip(RectT<double>(2, 3, 10, 10), RectT<double>(0, 0, 4, 4),
                                          LStencil::Create(3, 3));
    EXPECT_EQ(clip.flavor, CAutoClip::kFlavorClip);
    EXPECT_TRUE(clip.inParentCoordinates);
    EXPECT_EQ(clip.offset, (PointT<double>(0, 0)));
    {
        CAutoClip scope(mRenderer, clip);
        EXPECT_EQ(State().origin, (PointT<double>(2, 3)));
        EXPECT_EQ(State().stencil, clip.stencil);
    }
    CAutoClip::ClipDescription offset;
    offset.flavor = CAutoClip::kFlavorOffset;
    offset.offset = {7.5, 1};
    {
        CAutoClip scope(mRenderer, offset);
        EXPECT_EQ(State().origin, (PointT<double>(8, 1)));
    }
    {
        CAutoClip scope(mRenderer, CAutoClip::ClipDescription());
        EXPECT_EQ(Depth(), 1u);
        EXPECT_EQ(State().origin, (PointT<double>(0, 0)));
    }
    EXPECT_EQ(Depth(), 0u);
    EXPECT_TRUE(State().stencil.IsNull());
}

TEST_F(AutoClip, UnknownFlavourThrowsHavingPushedNothing)
{
    CAutoClip::ClipDescription description;
    description.flavor = 3;
    std::string text;
    try
    {
        CAutoClip scope(mRenderer, description);
    }
    catch (const Exception<std::runtime_error>& e)
    {
        text = e.what();
    }
    EXPECT_EQ(
        text.rfind("Runtime Error : Unknown PushClip flavor : QZ::CAutoClip::CAutoClip : ", 0), 0u)
        << text;
    EXPECT_EQ(Depth(), 0u);
}

TEST_F(AutoClip, ScopeKeepsTheRendererAlive)
{
    const std::int32_t references = mRenderer->GetRefCount();
    {
        CAutoClip scope(mRenderer);
        EXPECT_EQ(mRenderer->GetRefCount(), references + 1);
    }
    EXPECT_EQ(mRenderer->GetRefCount(), references);
}

TEST(AutoClipWithoutRenderer, NullRendererMakesAScopeThatDoesNothing)
{
    CAutoClip plain{RCPtr<LRenderer>()};
    CAutoClip clip(RCPtr<LRenderer>(), RectT<double>(0, 0, 1, 1), RectT<double>(0, 0, 1, 1),
                   nullptr);
    CAutoClip::ClipDescription description;
    description.flavor = CAutoClip::kFlavorOffset;
    CAutoClip described(RCPtr<LRenderer>(), description);
}

} // namespace
} // namespace QZ
