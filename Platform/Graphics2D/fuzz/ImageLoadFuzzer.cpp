// Feeds arbitrary bytes to the image decoder, and uses whatever image comes out the way the
// program does: every pixel read through a lock, a corner cloned, the image drawn scaled and
// encoded again.
//
// libpng comes from the system, without coverage instrumentation, so the fuzzer cannot see which
// of its roads an input took. What libpng's reader reports is handed to the fuzzer as extra
// features instead: the image's format, flags and colour-map size, its size class, and the text
// of any warning or error, so that an input that reaches a new place in the decoder is kept.
#include "Platform/Graphics2D/Graphics.h"
#include "Platform/Graphics2D/Image.h"

#include <png.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

using namespace QZ::Graphics2D;

namespace
{

constexpr std::size_t kFeatureCount = 1 << 14;
constexpr std::uint32_t kMostPixelsDecoded = 1 << 20;

__attribute__((used, section("__libfuzzer_extra_counters")))
std::uint8_t gDecoderFeatures[kFeatureCount];

void AddFeature(std::uint64_t stage, std::uint64_t value)
{
    const std::uint64_t hash = (stage * 0x9E3779B97F4A7C15ULL) ^ (value * 0xC2B2AE3D27D4EB4FULL);
    std::uint8_t& counter = gDecoderFeatures[(hash ^ (hash >> 29)) % kFeatureCount];
    counter = static_cast<std::uint8_t>(counter + 1);
}

// The message without the name of the chunk it is about ("tEXt: invalid keyword"), so that every
// odd chunk name does not count as a new road.
void AddMessageFeature(std::uint64_t stage, const png_image& image)
{
    std::string_view message(image.message, strnlen(image.message, sizeof(image.message)));
    const std::size_t colon = message.rfind(": ");
    if (colon != std::string_view::npos)
    {
        message.remove_prefix(colon + 2);
    }
    AddFeature(stage, std::hash<std::string_view>{}(message));
}

// Reads the bytes with libpng's reader as the decoder does, to see what it reports.
void RecordDecoderOutcome(const std::uint8_t* data, std::size_t size)
{
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    const bool begun = png_image_begin_read_from_memory(&image, data, size) != 0;
    AddMessageFeature(begun ? 1 : 2, image);
    if (!begun)
    {
        png_image_free(&image);
        return;
    }
    AddFeature(3,
               (std::uint64_t{image.format} << 32) | (image.flags << 16) | image.colormap_entries);
    AddFeature(4, (std::bit_width(image.width) << 8) | std::bit_width(image.height));
    if (std::uint64_t{image.width} * image.height > kMostPixelsDecoded)
    {
        png_image_free(&image);
        return;
    }
    image.format = PNG_FORMAT_BGRA;
    std::vector<std::uint32_t> pixels(std::size_t{image.width} * image.height);
    const bool finished =
        png_image_finish_read(&image, nullptr, pixels.data(),
                              static_cast<png_int_32>(image.width * 4), nullptr) != 0;
    AddMessageFeature(finished ? 5 : 6, image);
    AddFeature(7, image.warning_or_error);
    png_image_free(&image);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    RecordDecoderOutcome(data, size);
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
