// The type-1 renderer's scripted scene drawn through type 0 and compared with the same reference
// image. Exact wherever the reference is flat; at edges (where OpenGL smooths lines, leaves the
// corners of wide lines unjoined and rasterises polygon edges by its own rules) a pixel must lie
// within the range of the reference colours within two pixels of it. The labels' boxes are not
// compared: FreeType's hinted glyphs are not the 2D layer's; GLTextTests checks the text.
#include "QZFramework/Renderer/OpenGL/tests/GLTestSupport.h"

#include <gtest/gtest.h>

namespace QZ::Testing
{
namespace
{

constexpr std::int32_t kEdgeSlack = 0;
constexpr std::int32_t kTextUnchecked = 255;

TEST(GLReferenceScene, MatchesTheReferenceImage)
{
    GLFrame frame(kSceneWidth, kSceneHeight);
    frame.Draw([](LGLRenderer& r) { DrawReferenceScene(r); });
    const SceneComparison result =
        CompareWithReferenceScene(frame.Picture(), frame.Renderer(), {kEdgeSlack, kTextUnchecked},
                                  QZ_GL_TEST_OUTPUT_DIR, "gl-reference-scene");
    EXPECT_TRUE(result.referenceLoaded);
    EXPECT_EQ(result.beyondTolerance, 0) << "pixels differing beyond the tolerance";
}

} // namespace
} // namespace QZ::Testing
