// Feeds arbitrary bytes to the image decoder, and uses whatever image comes out the way the
// program does: every pixel read through a lock, a corner cloned, the image drawn scaled and
// encoded again.
#include "Platform/Graphics2D/Graphics.h"
#include "Platform/Graphics2D/Image.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

using namespace QZ::Graphics2D;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::unique_ptr<Image> image;
    if (Image::FromMemory(data, size, image) != Status::Ok)
    {
        return 0;
    }
    BitmapData locked;
    std::uint64_t lockedSum = 0;
    if (image->LockBits({0, 0, image->GetWidth(), image->GetHeight()}, LockModeRead, locked) ==
        Status::Ok)
    {
        for (std::int32_t y = 0; y < locked.height; ++y)
        {
            const auto* row =
                reinterpret_cast<const std::uint32_t*>(locked.scan0 + y * locked.stride);
            for (std::int32_t x = 0; x < locked.width; ++x)
            {
                lockedSum += row[x];
            }
        }
        image->UnlockBits(locked);
    }
    // The same pixels read one by one must agree with the lock.
    std::uint64_t pixelSum = 0;
    for (std::int32_t y = 0; y < image->GetHeight(); ++y)
    {
        for (std::int32_t x = 0; x < image->GetWidth(); ++x)
        {
            std::uint32_t pixel = 0;
            (void)image->GetPixel(x, y, pixel);
            pixelSum += pixel;
        }
    }
    if (pixelSum != lockedSum)
    {
        std::abort();
    }
    std::unique_ptr<Image> corner;
    (void)image->CloneArea({0, 0, 1, 1}, corner);
    std::unique_ptr<Image> target;
    if (Image::Create(8, 8, PixelFormat::Format32bppPARGB, target) == Status::Ok)
    {
        Graphics graphics(*target);
        graphics.DrawImage(*image, RectF{0, 0, 8, 8},
                           RectF{0, 0, static_cast<float>(image->GetWidth()),
                                 static_cast<float>(image->GetHeight())});
    }
    std::vector<std::uint8_t> encoded;
    (void)image->EncodePng(encoded);
    return 0;
}
