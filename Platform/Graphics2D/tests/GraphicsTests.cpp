#include "Platform/Graphics2D/Graphics.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace QZ::Graphics2D;

namespace
{

constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

std::unique_ptr<Image> MakeImage(std::int32_t width, std::int32_t height,
                                 PixelFormat format = PixelFormat::Format32bppPARGB)
{
    std::unique_ptr<Image> image;
    EXPECT_EQ(Image::Create(width, height, format, image), Status::Ok);
    return image;
}

std::uint32_t Pixel(Image& image, std::int32_t x, std::int32_t y)
{
    std::uint32_t argb = 0;
    EXPECT_EQ(image.GetPixel(x, y, argb), Status::Ok);
    return argb;
}

// The picture as text, one character per pixel: '#' for the colour, '.' for anything else.
std::string Picture(Image& image, std::uint32_t colour)
{
    std::string text;
    for (std::int32_t y = 0; y < image.GetHeight(); ++y)
    {
        for (std::int32_t x = 0; x < image.GetWidth(); ++x)
        {
            text += Pixel(image, x, y) == colour ? '#' : '.';
        }
        text += '\n';
    }
    return text;
}

} // namespace

TEST(GraphicsShapes, FilledRectangleCoversItsWholePixels)
{
    auto image = MakeImage(6, 4);
    Graphics graphics(*image);
    ASSERT_EQ(graphics.FillRectangle(SolidBrush{kBlack}, {1, 1, 3, 2}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), "......\n"
                                       ".###..\n"
                                       ".###..\n"
                                       "......\n");
}

TEST(GraphicsShapes, OutlineCoversWidthPlusOneByHeightPlusOne)
{
    auto image = MakeImage(7, 6);
    Graphics graphics(*image);
    graphics.SetSmoothingMode(SmoothingMode::HighSpeed);
    graphics.SetPixelOffsetMode(PixelOffsetMode::HighSpeed);
    ASSERT_EQ(graphics.DrawRectangle(Pen{kBlack, 1}, {1, 1, 4, 3}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), ".......\n"
                                       ".#####.\n"
                                       ".#...#.\n"
                                       ".#...#.\n"
                                       ".#####.\n"
                                       ".......\n");
}

TEST(GraphicsShapes, LinesAndAlternateFilledPolygons)
{
    auto image = MakeImage(5, 5);
    Graphics graphics(*image);
    ASSERT_EQ(graphics.DrawLine(Pen{kBlack, 1}, {0, 2}, {4, 2}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), ".....\n.....\n####.\n.....\n.....\n");

    auto square = MakeImage(6, 6);
    Graphics squareGraphics(*square);
    GraphicsPath path;
    const PointF outer[] = {{0, 0}, {6, 0}, {6, 6}, {0, 6}};
    const PointF inner[] = {{2, 2}, {4, 2}, {4, 4}, {2, 4}};
    ASSERT_EQ(path.AddPolygon(outer, 4), Status::Ok);
    ASSERT_EQ(path.AddPolygon(inner, 4), Status::Ok);
    EXPECT_EQ(path.AddPolygon(inner, 2), Status::InvalidParameter);
    squareGraphics.SetPixelOffsetMode(PixelOffsetMode::Half);
    ASSERT_EQ(squareGraphics.FillPath(SolidBrush{kBlack}, path), Status::Ok);
    EXPECT_EQ(Picture(*square, kBlack), "######\n"
                                        "######\n"
                                        "##..##\n"
                                        "##..##\n"
                                        "######\n"
                                        "######\n");
}

TEST(GraphicsState, ClipStaysInPixelsWhenTheTransformMoves)
{
    auto image = MakeImage(6, 4);
    Graphics graphics(*image);
    ASSERT_EQ(graphics.TranslateWorldTransform(1, 1), Status::Ok);
    ASSERT_EQ(graphics.SetClipRect({0, 0, 2, 2}), Status::Ok); // pixels (1,1)-(2,2)
    ASSERT_EQ(graphics.ResetWorldTransform(), Status::Ok);
    ASSERT_EQ(graphics.TranslateWorldTransform(2, 0, MatrixOrder::Append), Status::Ok);
    ASSERT_EQ(graphics.FillRectangle(SolidBrush{kBlack}, {-2, 0, 6, 4}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), "......\n"
                                       ".##...\n"
                                       ".##...\n"
                                       "......\n");
    ASSERT_EQ(graphics.SetClipRect({0, 0, 0, 4}), Status::Ok);
    ASSERT_EQ(graphics.Clear(kWhite), Status::Ok);
    EXPECT_EQ(Picture(*image, kWhite), "......\n......\n......\n......\n");
    ASSERT_EQ(graphics.ResetClip(), Status::Ok);
    ASSERT_EQ(graphics.Clear(kWhite), Status::Ok);
    EXPECT_EQ(Picture(*image, kWhite), "######\n######\n######\n######\n");
}

TEST(GraphicsState, UnboundedClipAndHugeRectanglesStayExactUnderATranslation)
{
    auto image = MakeImage(5, 4);
    Graphics graphics(*image);
    ASSERT_EQ(graphics.TranslateWorldTransform(2, 1), Status::Ok);
    ASSERT_EQ(graphics.SetClipRect({-5.0e15f, -5.0e15f, 1.0e16f, 1.0e16f}), Status::Ok);
    ASSERT_EQ(graphics.FillRectangle(SolidBrush{kBlack}, {-1073741824.0f, -1073741824.0f,
                                                          2147483647.0f, 2147483647.0f}),
              Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), "#####\n#####\n#####\n#####\n");
    ASSERT_EQ(graphics.Clear(0), Status::Ok);
    // Its right edge lies a billion pixels away; the other three stay where they are.
    ASSERT_EQ(graphics.DrawRectangle(Pen{kBlack, 1}, {-1, -1, 1.0e9f, 2}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), ".####\n.#...\n.####\n.....\n");
}

TEST(GraphicsState, TransformAndClipThatAreNotFiniteAreRefused)
{
    auto image = MakeImage(4, 4);
    Graphics graphics(*image);
    const float nan = std::numeric_limits<float>::quiet_NaN();
    ASSERT_EQ(graphics.TranslateWorldTransform(1, 1), Status::Ok);
    ASSERT_EQ(graphics.SetClipRect({0, 0, 2, 2}), Status::Ok);
    EXPECT_EQ(graphics.TranslateWorldTransform(nan, 0), Status::InvalidParameter);
    EXPECT_EQ(graphics.SetClipRect({0, 0, std::numeric_limits<float>::infinity(), 1}),
              Status::InvalidParameter);
    ASSERT_EQ(graphics.FillRectangle(SolidBrush{kBlack}, {-4, -4, 9, 9}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), "....\n.##.\n.##.\n....\n");
}

TEST(GraphicsState, ImagesAndTextFarOutsideTheTargetAreLeftOut)
{
    auto image = MakeImage(4, 4);
    auto tile = MakeImage(2, 2);
    Graphics(*tile).Clear(kBlack);
    const CachedImage cached(*tile);
    Graphics graphics(*image);
    // Cairo's fixed-point coordinates would wrap these round onto the target.
    const std::int32_t wrapped = (1 << 24) + 1;
    ASSERT_EQ(graphics.DrawCachedImage(cached, wrapped, 1), Status::Ok);
    ASSERT_EQ(graphics.DrawImage(*tile, wrapped, 1, {0, 0, 2, 2}), Status::Ok);
    FontFamily family;
    ASSERT_EQ(FontFamily::GenericSansSerif(family), Status::Ok);
    ASSERT_EQ(graphics.DrawString(u"MMMM", Font(family, 20, 0, Unit::Pixel),
                                  {static_cast<float>(-wrapped), -2, 0, 0}, SolidBrush{kBlack}),
              Status::Ok);
    EXPECT_EQ(Picture(*image, 0u), "####\n####\n####\n####\n");
}

TEST(GraphicsCompositing, SourceOverBlendsAndSourceCopyReplacesAlpha)
{
    auto image = MakeImage(2, 1);
    Graphics graphics(*image);
    ASSERT_EQ(graphics.Clear(kWhite), Status::Ok);
    // Half-transparent red over white: 128 + 255 * 127 / 255 = 255 red, 127 green and blue.
    ASSERT_EQ(graphics.FillRectangle(SolidBrush{0x80FF0000u}, {0, 0, 1, 1}), Status::Ok);
    ASSERT_EQ(graphics.SetCompositingMode(CompositingMode::SourceCopy), Status::Ok);
    ASSERT_EQ(graphics.FillRectangle(SolidBrush{0x80FF0000u}, {1, 0, 1, 1}), Status::Ok);
    EXPECT_EQ(Pixel(*image, 0, 0), 0xFFFF7F7Fu);
    EXPECT_EQ(Pixel(*image, 1, 0), 0x80FF0000u);
}

TEST(GraphicsImages, UnscaledDrawCopiesTheSourceArea)
{
    auto source = MakeImage(3, 2, PixelFormat::Format32bppARGB);
    for (std::int32_t i = 0; i < 6; ++i)
    {
        ASSERT_EQ(source->SetPixel(i % 3, i / 3, 0xFF000000u | static_cast<std::uint32_t>(i + 1)),
                  Status::Ok);
    }
    auto image = MakeImage(4, 4);
    Graphics graphics(*image);
    graphics.SetInterpolationMode(InterpolationMode::NearestNeighbor);
    ASSERT_EQ(graphics.DrawImage(*source, 2, 1, RectI{1, 0, 2, 2}), Status::Ok);
    EXPECT_EQ(Pixel(*image, 2, 1), 0xFF000002u);
    EXPECT_EQ(Pixel(*image, 3, 1), 0xFF000003u);
    EXPECT_EQ(Pixel(*image, 2, 2), 0xFF000005u);
    EXPECT_EQ(Pixel(*image, 3, 2), 0xFF000006u);
    EXPECT_EQ(Pixel(*image, 1, 1), 0u);
    EXPECT_EQ(graphics.DrawImage(*image, 0, 0, RectI{0, 0, 1, 1}), Status::InvalidParameter);
}

TEST(GraphicsImages, NearestNeighbourScalingRepeatsPixels)
{
    auto source = MakeImage(2, 1, PixelFormat::Format32bppARGB);
    ASSERT_EQ(source->SetPixel(0, 0, kBlack), Status::Ok);
    ASSERT_EQ(source->SetPixel(1, 0, kWhite), Status::Ok);
    auto image = MakeImage(4, 2);
    Graphics graphics(*image);
    graphics.SetInterpolationMode(InterpolationMode::NearestNeighbor);
    ASSERT_EQ(graphics.DrawImage(*source, RectF{0, 0, 4, 2}, RectF{0, 0, 2, 1}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), "##..\n##..\n");
    EXPECT_EQ(Picture(*image, kWhite), "..##\n..##\n");
}

TEST(GraphicsImages, SourceAreaOutsideTheImageDrawsNothingThere)
{
    auto source = MakeImage(2, 2, PixelFormat::Format32bppARGB);
    for (std::int32_t i = 0; i < 4; ++i)
    {
        ASSERT_EQ(source->SetPixel(i % 2, i / 2, kBlack), Status::Ok);
    }
    auto image = MakeImage(4, 4);
    Graphics graphics(*image);
    graphics.SetInterpolationMode(InterpolationMode::NearestNeighbor);
    ASSERT_EQ(graphics.DrawImage(*source, RectF{0, 0, 4, 4}, RectF{-2, -2, 4, 4}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), "....\n....\n..##\n..##\n");
}

TEST(GraphicsImages, TextureBrushTilesFromTheWorldOrigin)
{
    auto source = MakeImage(3, 1, PixelFormat::Format32bppARGB);
    ASSERT_EQ(source->SetPixel(1, 0, kBlack), Status::Ok);
    ASSERT_EQ(source->SetPixel(2, 0, kBlack), Status::Ok);
    TextureBrush brush(*source, {1, 0, 2, 1}); // black, black
    ASSERT_EQ(brush.GetLastStatus(), Status::Ok);
    TextureBrush outside(*source, {2, 0, 2, 1});
    EXPECT_EQ(outside.GetLastStatus(), Status::InvalidParameter);
    ASSERT_EQ(source->SetPixel(1, 0, kWhite), Status::Ok); // the brush kept its own copy

    auto image = MakeImage(5, 1);
    Graphics graphics(*image);
    ASSERT_EQ(graphics.FillRectangle(brush, {1, 0, 4, 1}), Status::Ok);
    EXPECT_EQ(Picture(*image, kBlack), ".####\n");
    EXPECT_EQ(graphics.FillRectangle(outside, {0, 0, 1, 1}), Status::InvalidParameter);
}

// A cached image copied from an image, or taking an image's own pixels over (what was drawn into
// it last included), draws the same.
TEST(GraphicsImages, CachedImageIsASnapshotDrawnAtWholePixels)
{
    for (const PixelFormat format : {PixelFormat::Format32bppARGB, PixelFormat::Format32bppPARGB})
    {
        for (const bool taken : {false, true})
        {
            auto source = MakeImage(1, 2, format);
            ASSERT_EQ(source->SetPixel(0, 1, kBlack), Status::Ok);
            std::unique_ptr<CachedImage> cached;
            if (taken)
            {
                cached = std::make_unique<CachedImage>(std::move(source));
            }
            else
            {
                cached = std::make_unique<CachedImage>(*source);
                ASSERT_EQ(source->SetPixel(0, 0, kBlack), Status::Ok);
            }
            ASSERT_EQ(cached->GetLastStatus(), Status::Ok);
            EXPECT_EQ(cached->GetWidth(), 1);
            EXPECT_EQ(cached->GetHeight(), 2);
            auto image = MakeImage(3, 3);
            Graphics graphics(*image);
            graphics.TranslateWorldTransform(1, 0);
            ASSERT_EQ(graphics.DrawCachedImage(*cached, 1, 1), Status::Ok);
            EXPECT_EQ(Picture(*image, kBlack), "...\n...\n..#\n") << taken;
        }
    }
    const CachedImage none(std::unique_ptr<Image>{});
    EXPECT_EQ(none.GetLastStatus(), Status::OutOfMemory);
}

TEST(GraphicsState, LockedTargetRefusesDrawing)
{
    auto image = MakeImage(2, 2);
    Graphics graphics(*image);
    BitmapData data;
    ASSERT_EQ(image->LockBits({0, 0, 2, 2}, LockModeRead, data), Status::Ok);
    EXPECT_EQ(graphics.Clear(kBlack), Status::WrongState);
    EXPECT_EQ(graphics.GetLastStatus(), Status::WrongState);
    Graphics second(*image);
    EXPECT_EQ(second.GetLastStatus(), Status::WrongState);
    EXPECT_EQ(second.Clear(kBlack), Status::WrongState);
    image->UnlockBits(data);
    EXPECT_EQ(graphics.Clear(kBlack), Status::Ok);
    EXPECT_EQ(Pixel(*image, 1, 1), kBlack);
}
