// Text through the glyph atlas: drawn inside its measured box, each glyph rendered once per font.
#include "QZFramework/Renderer/OpenGL/GLGlyphRenderer.h"
#include "QZFramework/Renderer/OpenGL/tests/GLTestSupport.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <gtest/gtest.h>

namespace QZ::Testing
{
namespace
{

TEST(GLText, DrawnInsideItsMeasuredBoxWithEachGlyphRenderedOnce)
{
    GLFrame frame(60, 30);
    const RCPtr<LFont> font = LFont::FindOrCreate(u"DejaVu Sans", 12.0f, 0);
    const PointT<std::int32_t> at{5, 4};
    frame.Draw([&](LGLRenderer& r) { r.DrawText(u"AAA", font, at, ColorRGBA(0xFF000000u)); });
    const RectT<float> box = frame.Renderer().MeasureText(u"AAA", font);
    std::int32_t ink = 0;
    std::int32_t outside = 0;
    const std::vector<std::uint32_t> picture = frame.Picture();
    for (std::int32_t y = 0; y < 30; ++y)
    {
        for (std::int32_t x = 0; x < 60; ++x)
        {
            if (picture[static_cast<std::size_t>(y * 60 + x)] == 0)
            {
                continue;
            }
            ++ink;
            const bool inside = x >= at.x + box.x && x < at.x + box.x + box.width && y >= at.y &&
                                y < at.y + box.height;
            outside += inside ? 0 : 1;
        }
    }
    EXPECT_GT(ink, 30);
    EXPECT_EQ(outside, 0);
    const RCPtr<LGLGlyphRenderer> glyphs = RCPtr<LGLGlyphRenderer>::DynamicCastFrom(
        RCPtr<LGlyphProcessor>(frame.Renderer().GetFontRenderer()->GetSecondProcessor()));
    ASSERT_TRUE(glyphs);
    EXPECT_EQ(glyphs->FindAtlas(font)->GetGlyphCount(), 1);
}

} // namespace
} // namespace QZ::Testing
