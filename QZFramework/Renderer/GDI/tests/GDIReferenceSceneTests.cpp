// The scripted scene rendered off-screen and compared with the reference image: exactly, except
// inside the boxes of the text, where each channel may differ by up to 64 because glyph
// rasterisation varies with the FreeType release.
#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Renderer/GDI/tests/GDITestSupport.h"

#include <gtest/gtest.h>

namespace QZ::Testing
{
namespace
{

TEST(GDIReferenceScene, MatchesTheReferenceImage)
{
    OffscreenFrame frame(kSceneWidth, kSceneHeight);
    frame.Draw([](LGDIRenderer& r) { DrawReferenceScene(r); });
    std::vector<std::uint32_t> picture;
    for (std::int32_t y = 0; y < kSceneHeight; ++y)
    {
        for (std::int32_t x = 0; x < kSceneWidth; ++x)
        {
            picture.push_back(frame.Pixel(x, y));
        }
    }
    const SceneComparison result = CompareWithReferenceScene(
        picture, *frame.Renderer(), SceneTolerance{}, QZ_GDI_TEST_OUTPUT_DIR, "reference-scene");
    EXPECT_TRUE(result.referenceLoaded);
    EXPECT_EQ(result.beyondTolerance, 0) << "pixels differing beyond the tolerance";
}

} // namespace
} // namespace QZ::Testing
