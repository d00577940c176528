// Textures: power-of-two sizes, images too large for the driver, alpha masks, and a texture
// deleted behind the renderer's back.
#include "QZFramework/Renderer/OpenGL/GLHeaders.h"
#include "QZFramework/Renderer/OpenGL/GLTextureImage.h"
#include "QZFramework/Renderer/OpenGL/tests/GLTestSupport.h"

#include <gtest/gtest.h>

namespace QZ::Testing
{
namespace
{

TEST(GLTexture, NextPowerOfTwo)
{
    const std::pair<std::int32_t, std::int32_t> cases[] = {
        {-5, 0}, {0, 0}, {1, 1}, {2, 2}, {3, 4}, {300, 512}, {16384, 16384}, {20000, 16384}};
    for (const auto& [n, expected] : cases)
    {
        EXPECT_EQ(NextPowerOfTwo(n), expected) << n;
    }
}

TEST(GLTexture, SizeIsHalvedUntilTheDriverAcceptsIt)
{
    struct Case
    {
        std::int32_t width, height, limit;
        std::int32_t fittedWidth, fittedHeight, factor;
    };
    const Case cases[] = {
        {512, 32, 16384, 512, 32, 1},
        {16384, 16384, 4096, 4096, 4096, 4},
        // Halving stops at a side of 1, accepted or not.
        {16384, 2, 1024, 8192, 1, 2},
    };
    for (const Case& c : cases)
    {
        std::int32_t width = c.width;
        std::int32_t height = c.height;
        const std::int32_t factor = FitTextureSize(width, height,
                                                   [&](std::int32_t w, std::int32_t h)
                                                   { return w <= c.limit && h <= c.limit; });
        EXPECT_EQ(std::tie(width, height, factor),
                  std::tie(c.fittedWidth, c.fittedHeight, c.factor))
            << c.width << " x " << c.height;
    }
}

TEST(GLTexture, ImagesFillPowerOfTwoTexturesOrAreScaledIntoThem)
{
    struct Case
    {
        std::int32_t width;
        float textureWidth, imageWidth, logicalWidth;
    };
    // 20000 pixels exceed the largest texture: the image is scaled into 16384 texels.
    const Case cases[] = {{300, 512.0f, 300.0f, 300.0f}, {20000, 16384.0f, 16384.0f, 20000.0f}};
    for (const Case& c : cases)
    {
        // Two rows, red in the left half and blue in the right.
        std::vector<std::uint32_t> pixels;
        for (std::int32_t i = 0; i < 2 * c.width; ++i)
        {
            pixels.push_back(i % c.width < c.width / 2 ? 0xFFFF0000u : 0xFF0000FFu);
        }
        GLFrame frame(100, 2);
        frame.Draw(
            [&](LGLRenderer&)
            {
                CGLTextureImage image;
                image.Wrap(pixels.data(), 4 * c.width, 4, c.width, 2, GL_BGRA, GL_UNSIGNED_BYTE);
                const RCPtr<LGLTexture> texture(new LGLTexture);
                texture->Upload(image, GL_RGBA8, LGLTexture::kNearest, 1.0f);
                EXPECT_EQ(texture->GetTextureWidth(), c.textureWidth) << c.width;
                EXPECT_EQ(texture->GetTextureHeight(), 2.0f) << c.width;
                EXPECT_EQ(texture->GetImageWidth(), c.imageWidth) << c.width;
                EXPECT_EQ(texture->GetLogicalWidth(), c.logicalWidth) << c.width;
                texture->Draw(0, 0, static_cast<float>(c.width), 2, 0, 0, 100, 2);
            });
        // The whole image, and only it, is drawn.
        EXPECT_EQ(frame.Pixel(1, 0), 0xFFFF0000u) << c.width;
        EXPECT_EQ(frame.Pixel(48, 1), 0xFFFF0000u) << c.width;
        EXPECT_EQ(frame.Pixel(52, 0), 0xFF0000FFu) << c.width;
        EXPECT_EQ(frame.Pixel(99, 1), 0xFF0000FFu) << c.width;
    }
}

TEST(GLTexture, DeletedTextureIsLoadedAgain)
{
    GLFrame frame(2, 2);
    const RCPtr<LBitmap> bitmap = LBitmap::CreateFilledBitmap({2, 2}, ColorRGBA(0xFF00FF00u));
    frame.Draw([&](LGLRenderer& r) { r.DrawBitmap(bitmap, {0, 0, 2, 2}, 0); });
    const GLuint name = frame.Renderer().GetBitmapTextureCache().GetEntry(0).object->GetName();
    glDeleteTextures(1, &name);
    frame.Draw(
        [&](LGLRenderer& r)
        {
            r.FillRect({0, 0, 2, 2}, ColorRGBA(), false);
            r.DrawBitmap(bitmap, {0, 0, 2, 2}, 0);
        });
    EXPECT_EQ(frame.Pixel(1, 1), 0xFF00FF00u);
}

TEST(GLTexture, AlphaMaskWritesEveryByte)
{
    const std::uint32_t source[] = {0x00000000u, 0xFF000000u, 0xFFFFFFFFu, 0x80FF0000u};
    CGLTextureImage image;
    image.Wrap(source, 16, 4, 4, 1, GL_BGRA, GL_UNSIGNED_BYTE);
    CGLTextureImage mask;
    // Larger than the source: the rows and columns beyond it are 0.
    mask.MakeAlphaMask(6, 2, image);
    ASSERT_EQ(mask.GetStride(), 8);
    const std::vector<std::uint8_t> bytes(mask.GetPixels(), mask.GetPixels() + 16);
    // 255 - trunc(0.3 x 255) for pure red.
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{0, 255, 0, 179, 0, 0, 0, 0, //
                                                0, 0, 0, 0, 0, 0, 0, 0}));
}

} // namespace
} // namespace QZ::Testing
