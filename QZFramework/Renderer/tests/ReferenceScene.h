// The scripted scene that every renderer draws off-screen and compares with one reference image
// (GDI/tests/data/reference-scene.png): a clipped, nested panel, colour lists, polygons,
// polylines, bitmaps stretched, tiled and centred, and two labels.
//
// The comparison is exact wherever the reference's 5 x 5 neighbourhood is one colour, up to
// edgeSlack beyond the neighbourhood's channel range at edges (an anti-aliased or differently
// rasterised edge, or an unjoined corner of a wide line, lies between the colours around it), and
// up to textTolerance per channel inside the labels' boxes. A failing comparison writes
// <name>-actual.png and <name>-difference.png (exact pixels dimmed, tolerated ones yellow, the rest
// red) to the output folder.
#pragma once

#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"

#include <cstdint>
#include <string>
#include <vector>

namespace QZ::Testing
{

inline constexpr std::int32_t kSceneWidth = 240;
inline constexpr std::int32_t kSceneHeight = 160;

// A bitmap of the size whose pixels (straight ARGB, rows top down) are given.
[[nodiscard]] RCPtr<LBitmap> MakeBitmap(std::int32_t width, std::int32_t height,
                                        const std::vector<std::uint32_t>& pixels);

void DrawReferenceScene(LRenderer& renderer);

struct SceneTolerance
{
    // How far beyond the reference neighbourhood's range an edge pixel may lie; -1: edges are
    // exact too.
    std::int32_t edgeSlack = -1;
    std::int32_t textTolerance = 64;
};

struct SceneComparison
{
    bool referenceLoaded = false;
    std::int32_t beyondTolerance = 0;
};

// Compares a picture of the scene (straight ARGB, rows top down) with the reference image.
[[nodiscard]] SceneComparison CompareWithReferenceScene(const std::vector<std::uint32_t>& picture,
                                                        LRenderer& renderer,
                                                        const SceneTolerance& tolerance,
                                                        const std::string& outputFolder,
                                                        const std::string& name);

} // namespace QZ::Testing
