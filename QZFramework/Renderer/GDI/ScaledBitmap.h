// Renders a bitmap at a destination size by one of the resize types, into a new image that the
// 2D renderer's bitmap cache then keeps.
#pragma once

#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"

#include <cstdint>
#include <memory>

namespace QZ
{

// A transparent width x height image (premultiplied ARGB) holding the bitmap's rectangle of its
// image fitted by the resize type, scaled by nearest neighbour:
// - LRenderer::kResizeStretch: scaled to the whole image;
// - LRenderer::kResizeCenter: unscaled, its centre at the image's centre (cut off where it is
//   larger);
// - LRenderer::kResizeTile: repeated unscaled from the top-left corner, cut off at the right
//   and bottom edges; up to three repetitions per axis are drawn one by one, more are filled
//   with a texture brush.
// The caller checks the resize type and passes a bitmap with pixels. Null when the image cannot
// be made (a size of 0 or one beyond the layer's limits).
[[nodiscard]] std::unique_ptr<Graphics2D::Image> RenderScaledBitmap(const LBitmap& bitmap,
                                                                    std::int32_t width,
                                                                    std::int32_t height,
                                                                    std::int32_t resizeType);

} // namespace QZ
