// The timed purge of the 2D renderer's caches, on a scripted application clock.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"

#include <gtest/gtest.h>

namespace QZ::Testing
{
namespace
{

class ScriptedClockApplication : public LApplicationBase
{
public:
    explicit ScriptedClockApplication(std::uint32_t start) : now(start) {}
    std::uint32_t GetTimeMilliseconds() const override { return now; }
    std::uint32_t now;
};

class GDICachePurge : public ::testing::Test
{
protected:
    // Near the top of the 32-bit range, so that the periods below wrap the clock.
    static constexpr std::uint32_t kStart = 0xFFFF0000u;

    // One frame at the given time that draws the listed things; then which of A and B still have
    // a bitmap and a path: "AB", "A", "B" or "".
    std::string FrameAt(std::uint32_t time, bool drawA, bool drawB)
    {
        mFrame.Start();
        LGDIRenderer& r = *mFrame.Renderer();
        if (drawA)
        {
            r.DrawBitmap(mBitmapA, {0, 0, 4, 4}, LRenderer::kResizeStretch);
            r.DrawPolyline(mLineA, ColorRGBA(kBlack), {0, 0}, {1, 1}, true);
        }
        if (drawB)
        {
            r.DrawBitmap(mBitmapB, {0, 0, 4, 4}, LRenderer::kResizeStretch);
            r.DrawPolyline(mLineB, ColorRGBA(kBlack), {0, 0}, {1, 1}, true);
        }
        mApplication.now = time;
        mFrame.Finish();
        return Cached();
    }

    std::string Cached() const
    {
        const LGDIRenderer& r = *mFrame.Renderer();
        std::string bitmaps;
        std::string paths;
        for (std::int32_t i = 0; i < 2; ++i)
        {
            const char name = static_cast<char>('A' + i);
            bitmaps += r.GetBitmapCache().GetEntry(i).IsEmpty() ? "" : std::string(1, name);
            paths += r.GetPathCache().GetEntry(i).IsEmpty() ? "" : std::string(1, name);
        }
        EXPECT_EQ(bitmaps, paths);
        return bitmaps;
    }

    // Made before the renderer, which reads the clock when it is made.
    ScriptedClockApplication mApplication{kStart};
    OffscreenFrame mFrame{4, 4};
    RCPtr<LBitmap> mBitmapA = MakeBitmap(1, 1, {kRed});
    RCPtr<LBitmap> mBitmapB = MakeBitmap(1, 1, {kBlue});
    PolylineT<float> mLineA;
    PolylineT<float> mLineB;
};

TEST_F(GDICachePurge, EntriesUnusedForAWholePeriodAreEmptied)
{
    FrameAt(kStart, true, true);
    // First purge: everything was used since the start.
    EXPECT_EQ(FrameAt(kStart + 300001u, true, true), "AB");
    FrameAt(kStart + 400000u, true, false);
    // Second purge: B unused since the first.
    EXPECT_EQ(FrameAt(kStart + 600002u, false, false), "A");
}

TEST_F(GDICachePurge, PurgeWaitsForMoreThanFiveMinutes)
{
    FrameAt(kStart, true, true);
    EXPECT_EQ(FrameAt(kStart + 300001u, false, false), "AB");
    EXPECT_EQ(FrameAt(kStart + 300001u + 300000u, false, false), "AB");
    EXPECT_EQ(FrameAt(kStart + 300001u + 300001u, false, false), "");
}

TEST_F(GDICachePurge, EmptiedEntriesAreRebuiltOnTheNextDraw)
{
    FrameAt(kStart, true, false);
    FrameAt(kStart + 300001u, false, false);
    ASSERT_EQ(FrameAt(kStart + 600002u, false, false), "");
    EXPECT_EQ(FrameAt(kStart + 600003u, true, false), "A");
    EXPECT_EQ(mFrame.Pixel(3, 3), kRed);
}

} // namespace
} // namespace QZ::Testing
