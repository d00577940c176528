// Drawing into an image (what GDI+ calls a Graphics).
//
// A Graphics keeps a world transform (world to image pixels), a clip held in image pixels (set
// through the transform in force at the time, and kept when the transform changes afterwards),
// and four modes: compositing (SourceOver blends, SourceCopy replaces, alpha included),
// smoothing (HighQuality and AntiAlias antialias shapes; the others do not), interpolation
// (NearestNeighbor samples images without filtering; the others filter) and pixel offset (see
// Types.h). Defaults: SourceOver, no antialiasing, bilinear filtering, pixel centres on whole
// coordinates.
//
// Text is one line: DrawString puts the top of the line's cell at the layout rectangle's top and
// its pen after a leading pad of one sixth of the em, as GDI+'s default string format does;
// MeasureString gives the box of the same line (x = the pad, width = the sum of the advances,
// trailing spaces included, height = the font's line spacing). The layout rectangle's width and
// height neither wrap nor clip.
//
// The target image must outlive the Graphics. Every call returns its result, and the Graphics
// keeps the last result other than Ok; drawing into an image that is locked fails with
// WrongState.
#pragma once

#include "Platform/Graphics2D/CachedImage.h"
#include "Platform/Graphics2D/Font.h"
#include "Platform/Graphics2D/GraphicsPath.h"
#include "Platform/Graphics2D/Image.h"
#include "Platform/Graphics2D/TextureBrush.h"
#include "Platform/Graphics2D/Types.h"

#include <cstdint>
#include <memory>
#include <string_view>

namespace QZ::Graphics2D
{

class Graphics
{
public:
    explicit Graphics(Image& target);
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    [[nodiscard]] Status GetLastStatus() const;
    // Drawing surfaces have 96 pixels per inch.
    [[nodiscard]] float GetDpiX() const { return 96.0f; }

    Status SetCompositingMode(CompositingMode mode);
    Status SetSmoothingMode(SmoothingMode mode);
    Status SetInterpolationMode(InterpolationMode mode);
    Status SetPixelOffsetMode(PixelOffsetMode mode);

    // Replaces the clip by the rectangle (in world coordinates); an empty rectangle clips
    // everything away.
    Status SetClipRect(const RectF& rect);
    Status ResetClip();
    Status ResetWorldTransform();
    Status TranslateWorldTransform(float dx, float dy, MatrixOrder order = MatrixOrder::Prepend);

    // Sets every pixel inside the clip to the colour (no blending).
    Status Clear(std::uint32_t argb);
    Status FillRectangle(const SolidBrush& brush, const RectF& rect);
    Status FillRectangle(const TextureBrush& brush, const RectF& rect);
    Status DrawRectangle(const Pen& pen, const RectF& rect);
    Status DrawLine(const Pen& pen, PointF from, PointF to);
    Status DrawPath(const Pen& pen, const GraphicsPath& path);
    Status FillPath(const SolidBrush& brush, const GraphicsPath& path);

    // Draws the source area of the image (in its pixels; parts outside the image are
    // transparent) scaled into the destination; InvalidParameter when the image is the target.
    Status DrawImage(Image& image, const RectF& destination, const RectF& source);
    // Draws the source area unscaled with its top-left corner at (x, y).
    Status DrawImage(Image& image, std::int32_t x, std::int32_t y, const RectI& source);
    Status DrawCachedImage(const CachedImage& image, std::int32_t x, std::int32_t y);

    Status DrawString(std::u16string_view text, const Font& font, const RectF& layout,
                      const SolidBrush& brush);
    // An empty text measures (0, 0, 0, 0).
    Status MeasureString(std::u16string_view text, const Font& font, const RectF& layout,
                         RectF& bounds);

    // Finishes pending drawing so that the image's pixels can be read.
    Status Flush();

private:
    struct Impl;
    Status Record(Status status) const;
    Status BeginDrawing();
    void EndDrawing();

    std::unique_ptr<Impl> mImpl;
};

} // namespace QZ::Graphics2D
