#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Graphics/tests/FixedAdvanceRenderer.h"
#include "QZFramework/Utilities/Graphics/tests/RealFaceRenderer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace QZ;
using QZ::Testing::FixedAdvanceRenderer;
using QZ::Testing::RealFaceRenderer;

// Runs first in this program: no font exists before it.
TEST(FontIdentity, FirstFontOfTheProcessHasIdentityOne)
{
    RCPtr<LFont> first = LFont::FindOrCreate(u"DejaVu Sans", 10.0f, 0);
    EXPECT_EQ(first->GetUniqueID(), 1);
    EXPECT_EQ(LFont::GetUniqueID(first), 1);
    EXPECT_EQ(LFont::GetUniqueID(nullptr), 0);
}

TEST(FontCache, EqualRequestsShareOneFontIgnoringCaseOfTheFace)
{
    RCPtr<LFont> arial = LFont::FindOrCreate(u"Arial", 10.0f, 0);
    EXPECT_EQ(LFont::FindOrCreate(u"ARIAL", 10.0f, 0).Get(), arial.Get());
    EXPECT_NE(LFont::FindOrCreate(u"Arial", 10.5f, 0).Get(), arial.Get());
    EXPECT_NE(LFont::FindOrCreate(u"Arial", 10.0f, 1).Get(), arial.Get());
    EXPECT_NE(LFont::FindOrCreate(u"Arial Black", 10.0f, 0).Get(), arial.Get());
    EXPECT_GE(LFont::FindFont(u"arial", 10.0f, 0), 0);
    EXPECT_EQ(LFont::FindFont(u"arial", 11.0f, 0), -1);
}

TEST(FontCache, LastOutsideReleaseRemovesTheFontAndANewRequestMakesANewOne)
{
    RCPtr<LFont> font = LFont::FindOrCreate(u"Released Face", 12.0f, 0);
    EXPECT_EQ(font->GetRefCount(), 2);
    EXPECT_EQ(font->GetInternalRefCount(), 1);
    const std::int32_t identity = font->GetUniqueID();
    RCPtr<LFont> second = font;
    second.Reset();
    EXPECT_GE(LFont::FindFont(u"Released Face", 12.0f, 0), 0);
    font.Reset();
    EXPECT_EQ(LFont::FindFont(u"Released Face", 12.0f, 0), -1);

    RCPtr<LFont> again = LFont::FindOrCreate(u"Released Face", 12.0f, 0);
    EXPECT_GT(again->GetUniqueID(), identity);
}

TEST(FontCache, ReleaseRemovesThisVeryFontEvenWhenItsSizeMatchesNothing)
{
    // A size that is not a number never matches, so every request makes a font of its own; each
    // must still find and leave its own cache entry.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    RCPtr<LFont> a = LFont::FindOrCreate(u"Odd", nan, 0);
    RCPtr<LFont> b = LFont::FindOrCreate(u"Odd", nan, 0);
    EXPECT_NE(a.Get(), b.Get());
    EXPECT_EQ(LFont::FindFont(u"Odd", nan, 0), -1);
    RCPtr<LFont> extra = a;
    EXPECT_EQ(a->ReleaseInternalReferences(), S_OK);
    EXPECT_EQ(a->GetInternalRefCount(), 0);
    EXPECT_EQ(a->GetRefCount(), 2);
    EXPECT_EQ(a->ReleaseInternalReferences(), E_FAIL);
    EXPECT_EQ(b->GetInternalRefCount(), 1);
}

class FontMetricsTest : public ::testing::Test
{
protected:
    LApplicationBase application;
};

// Metrics are computed once when the renderer fills them; a renderer that cannot measure is
// asked again.
TEST_F(FontMetricsTest, ComputedOnceWhenTheRendererFillsThemElseAskedAgain)
{
    RCPtr<FixedAdvanceRenderer> renderer(new FixedAdvanceRenderer());
    application.SetRenderer(renderer);
    RCPtr<LFont> font = LFont::FindOrCreate(u"Metrics Once", 9.0f, 0);
    EXPECT_EQ(font->ComputeMetrics(), 12);
    EXPECT_EQ(font->GetAscent(), -9);
    EXPECT_EQ(font->GetDescent(), 3);
    EXPECT_EQ(font->ComputeMetrics(), 12);
    EXPECT_EQ(renderer->metricsRequests, 1);

    renderer->fillMetrics = false;
    RCPtr<LFont> missing = LFont::FindOrCreate(u"Metrics Missing", 9.0f, 0);
    EXPECT_EQ(missing->ComputeMetrics(), -1);
    EXPECT_EQ(missing->ComputeMetrics(), -1);
    EXPECT_EQ(renderer->metricsRequests, 3);
    renderer->fillMetrics = true;
    EXPECT_EQ(missing->ComputeMetrics(), 12);
}

TEST_F(FontMetricsTest, StubRendererAndNoRendererLeaveTheHeightUnknown)
{
    RCPtr<LFont> font = LFont::FindOrCreate(u"Metrics Stub", 9.0f, 0);
    EXPECT_EQ(font->ComputeMetrics(), -1);
    application.SetRenderer(RCPtr<LRenderer>(new LD3D9Renderer()));
    EXPECT_EQ(font->ComputeMetrics(), -1);
    EXPECT_EQ(font->GetAscent(), 0);
}

TEST_F(FontMetricsTest, DejaVuMetricsArePositiveAndConsistentAtSeveralSizes)
{
    application.SetRenderer(RCPtr<LRenderer>(new RealFaceRenderer()));
    std::int32_t previous = 0;
    for (float size : {7.0f, 9.0f, 12.0f, 20.0f, 36.0f})
    {
        SCOPED_TRACE(size);
        RCPtr<LFont> font = LFont::FindOrCreate(u"DejaVu Sans", size, 0);
        const std::int32_t height = font->ComputeMetrics();
        EXPECT_GT(height, previous);
        EXPECT_LT(font->GetAscent(), 0);
        EXPECT_GT(font->GetDescent(), 0);
        EXPECT_GT(-font->GetAscent(), font->GetDescent());
        EXPECT_NEAR(-font->GetAscent() + font->GetDescent(), height, 1);
        // About 1.16 em of line for DejaVu Sans, a point being 4/3 pixel.
        EXPECT_NEAR(height, size * 4.0f / 3.0f * 1.164f, 1.5f);
        previous = height;
    }
}
