// The timed purge of the OpenGL renderer's textures and display lists, on a scripted application
// clock that wraps.
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Renderer/OpenGL/tests/GLTestSupport.h"
#include "QZFramework/Utilities/Graphics/PolylineT.h"

#include <gtest/gtest.h>

namespace QZ::Testing
{
namespace
{

class ScriptedClockApplication : public LApplicationBase
{
public:
    std::uint32_t GetTimeMilliseconds() const override { return now; }
    std::uint32_t now = 0xFFFF0000u;
};

TEST(GLCachePurge, DropsWhatWasNotUsedSinceThePreviousPurge)
{
    ScriptedClockApplication application;
    const std::uint32_t start = application.now;
    GLFrame frame(4, 4);
    const RCPtr<LBitmap> bitmaps[] = {LBitmap::CreateFilledBitmap({2, 2}, ColorRGBA(0xFFFF0000u)),
                                      LBitmap::CreateFilledBitmap({2, 2}, ColorRGBA(0xFF0000FFu))};
    PolylineT<float> lines[2];
    for (PolylineT<float>& line : lines)
    {
        line.AddPoint({0, 0});
        line.AddPoint({3, 3});
    }
    // A frame finished at the time, drawing A (and B); then which of them the caches keep.
    const auto frameAt = [&](std::uint32_t elapsed, bool drawB)
    {
        frame.Draw(
            [&](LGLRenderer& r)
            {
                for (int i = 0; i < (drawB ? 2 : 1); ++i)
                {
                    r.DrawBitmap(bitmaps[i], {0, 0, 2, 2}, 0);
                    r.DrawPolyline(lines[i], ColorRGBA(0xFF000000u), {0, 0}, {1, 1}, true);
                }
                application.now = start + elapsed;
            });
        std::string textures;
        std::string lists;
        for (std::int32_t i = 0; i < 2; ++i)
        {
            const char name = static_cast<char>('A' + i);
            textures += frame.Renderer().GetBitmapTextureCache().GetEntry(i).IsEmpty()
                            ? ""
                            : std::string(1, name);
            lists += frame.Renderer().GetPolylineCache().GetEntry(i).IsEmpty()
                         ? ""
                         : std::string(1, name);
        }
        EXPECT_EQ(textures, lists) << elapsed;
        return textures;
    };
    EXPECT_EQ(frameAt(0, true), "AB");
    EXPECT_EQ(frameAt(300000, false), "AB") << "not more than five minutes";
    // The first purge only marks where the period starts.
    EXPECT_EQ(frameAt(300001, false), "AB");
    EXPECT_EQ(frameAt(600001, false), "AB") << "not more than five minutes since that purge";
    EXPECT_EQ(frameAt(600002, false), "A") << "B was not used since the previous purge";
}

} // namespace
} // namespace QZ::Testing
