#include "Platform/Graphics2D/Graphics.h"
#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Renderer/GDI/GDIRenderContextInfo.h"
#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"
#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"

#include <gtest/gtest.h>

#include <vector>

namespace QZ::Testing
{
namespace
{

using Size = PointT<std::int32_t>;

constexpr std::uint32_t kUntouched = 0xFF123456u;

TEST(GDIRenderContext, SurfacesTakeTheViewportSizeWithinOneTo4096)
{
    const RCPtr<LGDIRenderContextInfo> context =
        LGDIRenderContextInfo::Create({10, 20, 30, 40}, nullptr, true);
    EXPECT_EQ(context->GetMaxViewportSize(), std::make_pair(4096, 4096));
    EXPECT_EQ(context->GetFrontSurface()->GetSize(), (Size{30, 40}));
    EXPECT_EQ(context->GetBackSurface()->GetSize(), (Size{30, 40}));

    EXPECT_EQ(
        LGDIRenderContextInfo::Create({0, 0, 0, -5}, nullptr, true)->GetFrontSurface()->GetSize(),
        (Size{1, 1}));
    EXPECT_EQ(LGDIRenderContextInfo::Create({0, 0, 100000, 5000}, nullptr, true)
                  ->GetBackSurface()
                  ->GetSize(),
              (Size{4096, 4096}));
}

TEST(GDIRenderContext, SwappedSurfacesExchangeTheirGraphics)
{
    const RCPtr<LGDIRenderContextInfo> context =
        LGDIRenderContextInfo::Create({0, 0, 4, 4}, nullptr, true);
    Graphics2D::Graphics* back = context->GetBackSurface()->GetGraphics();
    Graphics2D::Graphics* front = context->GetGraphics();
    context->SwapSurfaces();
    EXPECT_EQ(context->GetGraphics(), back);
    EXPECT_EQ(context->GetBackSurface()->GetGraphics(), front);
}

class SurfacePreparation : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mFrame.Draw([](LGDIRenderer& r) { r.FillRect({0, 0, 6, 4}, ColorRGBA(kRed), true); });
    }

    void Repaint(std::initializer_list<RectT<std::int32_t>> dirty)
    {
        RegionT& region = mFrame.Context()->GetUpdateRegion();
        region.Clear();
        for (const RectT<std::int32_t>& rect : dirty)
        {
            region.AddRect(RegionRect::FromRect(rect));
        }
        mFrame.Draw([](LGDIRenderer&) {});
    }

    OffscreenFrame mFrame{6, 4};
};

// The whole viewport as one rectangle makes new surfaces; two rectangles covering it keep the
// image.
TEST_F(SurfacePreparation, OnlyTheWholeViewportAsOneRectangleMakesNewSurfaces)
{
    Repaint({{0, 0, 3, 4}, {3, 0, 3, 4}});
    EXPECT_EQ(mFrame.Pixel(2, 2), kRed);
    Repaint({{0, 0, 6, 4}});
    EXPECT_EQ(mFrame.Pixel(2, 2), 0u);
}

TEST_F(SurfacePreparation, ViewportGrownByOnePixelGetsSurfacesOfItsSizeBeforeDrawing)
{
    mFrame.GDIContext().SetViewport({0, 0, 7, 4});
    Size during;
    mFrame.Draw([&](LGDIRenderer&) { during = mFrame.GDIContext().GetFrontSurface()->GetSize(); });
    EXPECT_EQ(during, (Size{7, 4}));
    EXPECT_EQ(mFrame.GDIContext().GetBackSurface()->GetSize(), (Size{7, 4}));
    EXPECT_EQ(mFrame.Pixel(2, 2), 0u);
}

TEST_F(SurfacePreparation, ViewportBeyondTheLimitIsNotMadeAnewEveryFrame)
{
    mFrame.GDIContext().SetViewport({0, 0, 5000, 2});
    Repaint({{0, 0, 1, 1}});
    EXPECT_EQ(mFrame.GDIContext().GetFrontSurface()->GetSize(), (Size{4096, 2}));
    mFrame.Draw([](LGDIRenderer& r) { r.FillRect({0, 0, 1, 1}, ColorRGBA(kRed), true); });
    Repaint({{0, 0, 1, 1}});
    EXPECT_EQ(mFrame.Pixel(0, 0), kRed);
}

TEST(GDIRenderContextPresent, WindowReceivesTheUpdateRectanglesFromLastToFirst)
{
    MemoryPresenter window(8, 6, kUntouched);
    const RCPtr<LGDIRenderContextInfo> context =
        LGDIRenderContextInfo::Create({0, 0, 8, 6}, window.ToWindowHandle(), false);
    RegionT& region = context->GetUpdateRegion();
    region.AddRect({0, 0, 2, 2});
    region.AddRect({5, 3, 7, 6});
    Array<RectT<std::int32_t>> inRegionOrder;
    region.ToRectArray(inRegionOrder);
    ASSERT_EQ(inRegionOrder.GetCount(), 2);

    context->Present();

    ASSERT_EQ(window.GetPresentations().size(), 1u);
    const std::vector<RectT<std::int32_t>>& presented = window.GetPresentations()[0];
    ASSERT_EQ(presented.size(), 2u);
    EXPECT_EQ(presented[0], inRegionOrder.GetAt(1));
    EXPECT_EQ(presented[1], inRegionOrder.GetAt(0));
    EXPECT_EQ(window.GetPixel(1, 1), 0u);
    EXPECT_EQ(window.GetPixel(6, 5), 0u);
    EXPECT_EQ(window.GetPixel(3, 1), kUntouched);
}

// Rectangles are cut to the surface; an off-screen context presents nothing.
TEST(GDIRenderContextPresent, RectanglesAreCutToTheSurfaceAndOffScreenPresentsNothing)
{
    using Rects = std::vector<RectT<std::int32_t>>;
    for (const bool offScreen : {false, true})
    {
        MemoryPresenter window(8, 6, kUntouched);
        const RCPtr<LGDIRenderContextInfo> context =
            LGDIRenderContextInfo::Create({0, 0, 4, 4}, window.ToWindowHandle(), offScreen);
        context->GetUpdateRegion().AddRect({-3, 2, 9, 100});
        context->GetUpdateRegion().AddRect({10, 10, 20, 20});
        context->Present();
        const std::vector<Rects> expected =
            offScreen ? std::vector<Rects>{} : std::vector<Rects>{{{0, 2, 4, 2}}};
        EXPECT_EQ(window.GetPresentations(), expected);
    }
}

TEST(GDIRenderContextPresent, WindowContextWithoutAWindowPresentsNowhere)
{
    const RCPtr<LGDIRenderContextInfo> context =
        LGDIRenderContextInfo::Create({0, 0, 4, 4}, nullptr, false);
    context->GetUpdateRegion().AddRect({0, 0, 4, 4});
    context->Present();
    EXPECT_NE(context->GetGraphics(), nullptr);
}

} // namespace
} // namespace QZ::Testing
