#include "Platform/Graphics2D/Graphics.h"
#include "Platform/Graphics2D/Image.h"
#include "Platform/Graphics2D/tests/PngBuilder.h"
#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include <unistd.h>

using namespace QZ::Graphics2D;
using QZ::Graphics2D::Testing::BuildPng;
using QZ::Graphics2D::Testing::BuildRgbaPng;

namespace
{

// Opaque red, half-transparent green, a transparent pixel that still has a colour, and a faint
// pixel whose colour does not survive premultiplication.
const std::vector<std::uint32_t> kPixels = {0xFFFF0000u, 0x8000FF00u, 0x00123456u, 0x10FF3300u};

std::unique_ptr<Image> Load(const std::vector<std::uint8_t>& png)
{
    std::unique_ptr<Image> image;
    EXPECT_EQ(Image::FromMemory(png.data(), png.size(), image), Status::Ok);
    return image;
}

std::vector<std::uint32_t> ReadAll(Image& image)
{
    BitmapData data;
    EXPECT_EQ(image.LockBits({0, 0, image.GetWidth(), image.GetHeight()}, LockModeRead, data),
              Status::Ok);
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < data.height; ++y)
    {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data.scan0 + y * data.stride);
        pixels.insert(pixels.end(), row, row + data.width);
    }
    image.UnlockBits(data);
    return pixels;
}

Status Decode(const std::vector<std::uint8_t>& bytes)
{
    std::unique_ptr<Image> image;
    const Status status = Image::FromMemory(bytes.data(), bytes.size(), image);
    EXPECT_EQ(status == Status::Ok, image != nullptr);
    return status;
}

} // namespace

TEST(ImageDecoding, RgbaPngKeepsStraightPixelsExactly)
{
    auto image = Load(BuildRgbaPng(2, 2, kPixels));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->GetWidth(), 2);
    EXPECT_EQ(image->GetHeight(), 2);
    EXPECT_EQ(image->GetPixelFormat(), PixelFormat::Format32bppARGB);
    EXPECT_EQ(ReadAll(*image), kPixels);
    std::uint32_t pixel = 0;
    EXPECT_EQ(image->GetPixel(1, 1, pixel), Status::Ok);
    EXPECT_EQ(pixel, 0x10FF3300u);
}

TEST(ImageDecoding, PngWithoutAlphaIsOpaque)
{
    auto rgb = Load(BuildPng(2, 1, 2, {0x10, 0x20, 0x30, 0xFE, 0xDC, 0xBA}));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(ReadAll(*rgb), (std::vector<std::uint32_t>{0xFF102030u, 0xFFFEDCBAu}));
    auto grey = Load(BuildPng(1, 1, 4, {0x40, 0x80}));
    ASSERT_TRUE(grey);
    EXPECT_EQ(ReadAll(*grey), (std::vector<std::uint32_t>{0x80404040u}));
}

TEST(ImageDecoding, DamagedInputFailsWithClearResult)
{
    const std::vector<std::uint8_t> good = BuildRgbaPng(2, 2, kPixels);
    EXPECT_EQ(Decode({}), Status::UnknownImageFormat);
    EXPECT_EQ(Decode({'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0}), Status::UnknownImageFormat);
    for (std::size_t length : {8u, 20u, 33u, 45u, 60u})
    {
        SCOPED_TRACE(length);
        EXPECT_EQ(Decode(std::vector<std::uint8_t>(good.begin(), good.begin() + length)),
                  Status::InvalidParameter);
    }
    std::vector<std::uint8_t> badCrc = good;
    badCrc[29] ^= 0xFF; // first byte of the IHDR chunk's CRC
    EXPECT_EQ(Decode(badCrc), Status::InvalidParameter);
}

TEST(ImageDecoding, AbsurdDimensionsAreRefusedBeforeAllocating)
{
    // Headers that claim huge images over a few bytes of data.
    EXPECT_EQ(Decode(BuildPng(100000, 1, 6, std::vector<std::uint8_t>(400000))),
              Status::InvalidParameter);
    EXPECT_EQ(Decode(BuildPng(16384, 16384, 0, {})), Status::InvalidParameter);
    EXPECT_EQ(Decode(BuildPng(0, 1, 6, {})), Status::InvalidParameter);
}

TEST(ImageDecoding, FilesAreReadAndMissingOnesReported)
{
    const auto path = std::filesystem::temp_directory_path() / "qz-image-test.png";
    const std::vector<std::uint8_t> png = BuildRgbaPng(2, 2, kPixels);
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(png.data(), 1, png.size(), file);
    std::fclose(file);
    std::unique_ptr<Image> image;
    EXPECT_EQ(Image::FromFile(path.c_str(), image), Status::Ok);
    ASSERT_TRUE(image);
    EXPECT_EQ(ReadAll(*image), kPixels);
    std::filesystem::remove(path);
    EXPECT_EQ(Image::FromFile(path.c_str(), image), Status::FileNotFound);
    EXPECT_FALSE(image);

    const auto fifo = std::filesystem::temp_directory_path() /
                      ("qz-image-test-" + std::to_string(::getpid()) + ".fifo");
    QZ::FileSystemTest::MakeFifo(fifo);
    Status status = Status::Ok;
    EXPECT_TRUE(QZ::FileSystemTest::ReturnsPromptly(
        fifo, [&] { status = Image::FromFile(fifo.c_str(), image); }));
    EXPECT_EQ(status, Status::FileNotFound);
    std::filesystem::remove(fifo);
}

TEST(ImageEncoding, PngRoundTripIsExactIncludingTransparentColour)
{
    auto image = Load(BuildRgbaPng(2, 2, kPixels));
    ASSERT_TRUE(image);
    std::vector<std::uint8_t> bytes;
    ASSERT_EQ(image->EncodePng(bytes), Status::Ok);
    auto again = Load(bytes);
    ASSERT_TRUE(again);
    EXPECT_EQ(ReadAll(*again), kPixels);
}

TEST(ImageCreation, NewImagesAreTransparentAndSizesAreBounded)
{
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::Create(3, 2, PixelFormat::Format32bppARGB, image), Status::Ok);
    EXPECT_EQ(ReadAll(*image), std::vector<std::uint32_t>(6, 0u));
    ASSERT_EQ(Image::Create(1, 1, PixelFormat::Format32bppPARGB, image), Status::Ok);
    EXPECT_EQ(ReadAll(*image), std::vector<std::uint32_t>(1, 0u));
    EXPECT_EQ(Image::Create(0, 5, PixelFormat::Format32bppARGB, image), Status::InvalidParameter);
    EXPECT_EQ(Image::Create(5, -1, PixelFormat::Format32bppARGB, image), Status::InvalidParameter);
    EXPECT_EQ(Image::Create(Image::kMaxSide + 1, 1, PixelFormat::Format32bppARGB, image),
              Status::InvalidParameter);
    EXPECT_EQ(Image::Create(8192, 8192, PixelFormat::Format32bppARGB, image),
              Status::InvalidParameter);
    EXPECT_FALSE(image);
}

TEST(ImageLocking, AreaMustLieInsideAndOnlyOneLockAtATime)
{
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::Create(4, 3, PixelFormat::Format32bppARGB, image), Status::Ok);
    BitmapData data;
    EXPECT_EQ(image->LockBits({2, 1, 3, 1}, LockModeRead, data), Status::InvalidParameter);
    EXPECT_EQ(image->LockBits({-1, 0, 1, 1}, LockModeRead, data), Status::InvalidParameter);
    EXPECT_EQ(image->LockBits({0, 0, 0, 1}, LockModeRead, data), Status::InvalidParameter);
    EXPECT_EQ(image->GetLastStatus(), Status::InvalidParameter);
    ASSERT_EQ(image->LockBits({1, 1, 3, 2}, LockModeReadWrite, data), Status::Ok);
    EXPECT_EQ(data.width, 3);
    EXPECT_EQ(data.height, 2);
    EXPECT_GE(data.stride, 12);
    BitmapData second;
    EXPECT_EQ(image->LockBits({0, 0, 1, 1}, LockModeRead, second), Status::WrongState);
    std::uint32_t pixel = 0;
    EXPECT_EQ(image->GetPixel(0, 0, pixel), Status::WrongState);
    reinterpret_cast<std::uint32_t*>(data.scan0 + data.stride)[2] = 0x7F010203u;
    EXPECT_EQ(image->UnlockBits(data), Status::Ok);
    EXPECT_EQ(image->UnlockBits(data), Status::WrongState);
    EXPECT_EQ(image->GetPixel(3, 2, pixel), Status::Ok);
    EXPECT_EQ(pixel, 0x7F010203u);
    EXPECT_EQ(image->GetPixel(4, 0, pixel), Status::InvalidParameter);
    EXPECT_EQ(pixel, 0u);
}

TEST(ImageLocking, PremultipliedImageConvertsAtTheBoundary)
{
    // 0x10FF3300 premultiplied by alpha 16 is 0x10100300 (255 * 16 / 255 = 16, 51 * 16 / 255 =
    // 3.2 -> 3); converted back, 3 * 255 / 16 = 47.8 -> 48 = 0x30.
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::Create(2, 1, PixelFormat::Format32bppPARGB, image), Status::Ok);
    ASSERT_EQ(image->SetPixel(0, 0, 0x10FF3300u), Status::Ok);
    ASSERT_EQ(image->SetPixel(1, 0, 0x80FF8040u), Status::Ok);
    std::uint32_t pixel = 0;
    EXPECT_EQ(image->GetPixel(0, 0, pixel), Status::Ok);
    EXPECT_EQ(pixel, 0x10FF3000u);
    EXPECT_EQ(ReadAll(*image), (std::vector<std::uint32_t>{0x10FF3000u, 0x80FF8040u}));

    BitmapData data;
    ASSERT_EQ(image->LockBits({1, 0, 1, 1}, LockModeWrite, data), Status::Ok);
    *reinterpret_cast<std::uint32_t*>(data.scan0) = 0x00ABCDEFu;
    ASSERT_EQ(image->UnlockBits(data), Status::Ok);
    EXPECT_EQ(image->GetPixel(1, 0, pixel), Status::Ok);
    EXPECT_EQ(pixel, 0u);
}

TEST(ImageLocking, DrawingLeavesUntouchedStraightPixelsExact)
{
    auto image = Load(BuildRgbaPng(2, 2, kPixels));
    ASSERT_TRUE(image);
    {
        Graphics graphics(*image);
        ASSERT_EQ(graphics.GetLastStatus(), Status::Ok);
        ASSERT_EQ(graphics.FillRectangle(SolidBrush{0xFF0000FFu}, {0, 0, 1, 1}), Status::Ok);
    }
    EXPECT_EQ(ReadAll(*image),
              (std::vector<std::uint32_t>{0xFF0000FFu, 0x8000FF00u, 0x00123456u, 0x10FF3300u}));
}

TEST(ImageLocking, LockInTheImagesOwnPremultipliedFormatHandsOutItsPixels)
{
    std::unique_ptr<Image> image;
    ASSERT_EQ(Image::Create(3, 2, PixelFormat::Format32bppPARGB, image), Status::Ok);
    ASSERT_EQ(image->SetPixel(2, 1, 0x80FF8040u), Status::Ok);
    BitmapData data;
    ASSERT_EQ(image->LockBits({1, 1, 2, 1}, LockModeReadWrite, PixelFormat::Format32bppPARGB, data),
              Status::Ok);
    EXPECT_EQ(data.format, PixelFormat::Format32bppPARGB);
    auto* row = reinterpret_cast<std::uint32_t*>(data.scan0);
    // 0xFF x 128 / 255 = 128, 0x80 x 128 / 255 = 64.25 -> 64, 0x40 x 128 / 255 = 32.1 -> 32.
    EXPECT_EQ(row[1], 0x80804020u);
    row[0] = 0x40200000u;
    ASSERT_EQ(image->UnlockBits(data), Status::Ok);
    std::uint32_t pixel = 0;
    EXPECT_EQ(image->GetPixel(1, 1, pixel), Status::Ok);
    // 0x20 x 255 / 0x40 = 127.5 -> 128.
    EXPECT_EQ(pixel, 0x40800000u);
    EXPECT_EQ(image->LockBits({0, 0, 1, 1}, LockModeRead, static_cast<PixelFormat>(7), data),
              Status::InvalidParameter);
}

TEST(ImageLocking, PremultipliedLockOfAStraightImageKeepsPixelsItLeftAlone)
{
    auto image = Load(BuildRgbaPng(2, 2, kPixels));
    ASSERT_TRUE(image);
    BitmapData data;
    ASSERT_EQ(image->LockBits({0, 0, 2, 2}, LockModeReadWrite, PixelFormat::Format32bppPARGB, data),
              Status::Ok);
    auto* pixels = reinterpret_cast<std::uint32_t*>(data.scan0);
    EXPECT_EQ(pixels[1], 0x80008000u);
    EXPECT_EQ(pixels[2], 0u);
    pixels[0] = 0x80400000u;
    ASSERT_EQ(image->UnlockBits(data), Status::Ok);
    EXPECT_EQ(ReadAll(*image),
              (std::vector<std::uint32_t>{0x80800000u, 0x8000FF00u, 0x00123456u, 0x10FF3300u}));
}

TEST(ImageCloning, CloneCopiesTheAreaInTheSameFormat)
{
    auto image = Load(BuildRgbaPng(2, 2, kPixels));
    ASSERT_TRUE(image);
    std::unique_ptr<Image> clone;
    ASSERT_EQ(image->CloneArea({1, 0, 1, 2}, clone), Status::Ok);
    EXPECT_EQ(clone->GetPixelFormat(), PixelFormat::Format32bppARGB);
    EXPECT_EQ(ReadAll(*clone), (std::vector<std::uint32_t>{0x8000FF00u, 0x10FF3300u}));
    ASSERT_EQ(clone->SetPixel(0, 0, 0xFFFFFFFFu), Status::Ok);
    EXPECT_EQ(ReadAll(*image), kPixels);
    EXPECT_EQ(image->CloneArea({1, 1, 2, 1}, clone), Status::InvalidParameter);
    EXPECT_FALSE(clone);
}
