#include "QZFramework/Renderer/D3D9/D3D9Renderer.h"
#include "QZFramework/Renderer/Renderer.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace QZ
{
namespace
{

std::string DomainErrorOfCreate(std::int32_t type)
{
    try
    {
        (void)LRenderer::Create(type, {0, 0, 10, 10}, nullptr);
    }
    catch (const Exception<std::domain_error>& e)
    {
        return e.what();
    }
    return "nothing thrown";
}

TEST(RendererCreate, TypeTwoIsTheStub)
{
    const RCPtr<LRenderer> renderer = LRenderer::Create(2, {0, 0, 10, 10}, nullptr);
    ASSERT_FALSE(renderer.IsNull());
    EXPECT_EQ(renderer->GetRendererType(), 2);
    EXPECT_FALSE(RCPtr<LD3D9Renderer>::DynamicCastFrom(renderer).IsNull());
}

TEST(RendererCreate, TypeZeroIsOpenGL)
{
    const RCPtr<LRenderer> renderer = LRenderer::Create(0, {0, 0, 10, 10}, nullptr);
    ASSERT_FALSE(renderer.IsNull());
    EXPECT_EQ(renderer->GetRendererType(), 0);
}

TEST(RendererCreate, UnknownTypesThrowADomainError)
{
    for (std::int32_t type : {3, -1, 1000})
    {
        const std::string text = DomainErrorOfCreate(type);
        EXPECT_EQ(text.rfind("Domain Error : QZ::LRenderer::Create : ", 0), 0u) << text;
    }
}

class StubRenderer : public ::testing::Test
{
protected:
    RCPtr<LRenderer> mRenderer = LRenderer::Create(LRenderer::kTypeStub, {}, nullptr);
};

TEST_F(StubRenderer, ContextsOfferNoDrawableArea)
{
    RCPtr<LRenderContextInfo> context;
    ASSERT_EQ(mRenderer->InitRenderContextInfo({0, 0, 640, 480}, nullptr, false, context), S_OK);
    ASSERT_FALSE(context.IsNull());
    EXPECT_EQ(context->GetMaxViewportSize(), (std::pair<std::int32_t, std::int32_t>(0, 0)));
    EXPECT_EQ(context->GetViewport(), (RectT<std::int32_t>(0, 0, 640, 480)));
    EXPECT_FALSE(context->IsOffScreen());
}

TEST_F(StubRenderer, NewContextReplacesAndReleasesTheOldOne)
{
    RCPtr<LRenderContextInfo> context;
    (void)mRenderer->InitRenderContextInfo({0, 0, 1, 1}, nullptr, false, context);
    const RCPtr<LRenderContextInfo> old = context;
    EXPECT_EQ(old->GetRefCount(), 2);
    (void)mRenderer->InitRenderContextInfo({0, 0, 2, 2}, nullptr, true, context);
    EXPECT_NE(context, old);
    EXPECT_EQ(old->GetRefCount(), 1);
}

TEST_F(StubRenderer, FramesAreNeitherCheckedNorRecorded)
{
    RCPtr<LRenderContextInfo> context;
    (void)mRenderer->InitRenderContextInfo({0, 0, 64, 64}, nullptr, false, context);
    EXPECT_EQ(mRenderer->RenderStart(context), S_OK);
    EXPECT_EQ(mRenderer->RenderStart(context), S_OK);
    EXPECT_EQ(mRenderer->RenderStart(nullptr), S_OK);
    EXPECT_EQ(mRenderer->GetCurrentContext(), nullptr);

    mRenderer->PushOffset({5, 5});
    mRenderer->PushClip({1, 1, 2, 2}, {0, 0, 1, 1}, LStencil::Create(2, 2), true);
    mRenderer->SetClip({0, 0, 3, 3});
    EXPECT_EQ(mRenderer->SetViewport({0, 0, 1, 1}), S_OK);
    mRenderer->PopState();
    EXPECT_TRUE(context->GetStateStack().empty());
    EXPECT_EQ(context->GetState().origin, (PointT<double>(0, 0)));
    EXPECT_EQ(context->GetViewport(), (RectT<std::int32_t>(0, 0, 64, 64)));

    EXPECT_EQ(mRenderer->RenderFinish(nullptr), S_OK);
    EXPECT_EQ(mRenderer->RenderFinish(context), S_OK);
}

TEST_F(StubRenderer, DrawingIsAcceptedAndSurfacesAreNotImplemented)
{
    RCPtr<LRenderContextInfo> context;
    (void)mRenderer->InitRenderContextInfo({0, 0, 64, 64}, nullptr, true, context);
    (void)mRenderer->RenderStart(context);
    mRenderer->DrawRect({0, 0, 5, 5}, ColorRGBA(0xFFFFFFFFu), 1.0f);
    mRenderer->FillRect({0, 0, 5, 5}, ColorRGBA(0xFFFFFFFFu), false);
    mRenderer->DrawFilledRect({0, 0, 5, 5}, ColorRGBA(0xFFFFFFFFu), ColorRGBA(0xFF000000u), 2.0f);
    mRenderer->DrawLine({0, 0}, {5, 5}, ColorRGBA(0xFFFFFFFFu), 1.0f);
    EXPECT_EQ(mRenderer->DrawSurface(context, {0, 0}, {0, 0, 4, 4}),
              static_cast<QZRESULT>(0x80004001u));
    EXPECT_EQ(mRenderer->ScrollSurface(context, {1, 1}), static_cast<QZRESULT>(0x80004001u));
    (void)mRenderer->RenderFinish(context);
}

} // namespace
} // namespace QZ
