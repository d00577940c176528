#include "Platform/Graphics2D/PngCodec.h"

#include "Platform/Graphics2D/Image.h"

#include <png.h>

#include <bit>
#include <cstring>
#include <new>

namespace QZ::Graphics2D
{
namespace
{

// The simplified interface writes B, G, R, A bytes, which is the word 0xAARRGGBB on this
// platform.
static_assert(std::endian::native == std::endian::little, "pixel words are little-endian");

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

// Frees what libpng holds for an image on every way out of a decode or encode.
struct ImageGuard
{
    png_image& image;
    ~ImageGuard() { png_image_free(&image); }
};

} // namespace

Status DecodePng(const std::uint8_t* bytes, std::size_t size, DecodedPng& out)
{
    out = DecodedPng();
    if (bytes == nullptr || size < sizeof(kSignature) ||
        std::memcmp(bytes, kSignature, sizeof(kSignature)) != 0)
    {
        return Status::UnknownImageFormat;
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    ImageGuard guard{image};
    if (png_image_begin_read_from_memory(&image, bytes, size) == 0)
    {
        return Status::InvalidParameter;
    }
    if (!Image::IsAcceptableSize(static_cast<std::int64_t>(image.width),
                                 static_cast<std::int64_t>(image.height)))
    {
        return Status::InvalidParameter;
    }
    image.format = PNG_FORMAT_BGRA;
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    std::unique_ptr<std::uint32_t[]> pixels(new (std::nothrow) std::uint32_t[count]);
    if (!pixels)
    {
        return Status::OutOfMemory;
    }
    if (png_image_finish_read(&image, nullptr, pixels.get(),
                              static_cast<png_int_32>(image.width * 4), nullptr) == 0)
    {
        return Status::InvalidParameter;
    }
    out.width = static_cast<std::int32_t>(image.width);
    out.height = static_cast<std::int32_t>(image.height);
    out.pixels = std::move(pixels);
    return Status::Ok;
}

Status EncodePng(const std::uint32_t* pixels, std::int32_t width, std::int32_t height,
                 std::int32_t strideWords, std::vector<std::uint8_t>& out)
{
    out.clear();
    if (pixels == nullptr || width < 1 || height < 1 || strideWords < width)
    {
        return Status::InvalidParameter;
    }
    png_image image;
    std::memset(&image, 0, sizeof(image));
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGRA;
    ImageGuard guard{image};
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, pixels, strideWords * 4, nullptr) == 0)
    {
        return Status::GenericError;
    }
    out.resize(size);
    if (png_image_write_to_memory(&image, out.data(), &size, 0, pixels, strideWords * 4, nullptr) ==
        0)
    {
        out.clear();
        return Status::GenericError;
    }
    out.resize(size);
    return Status::Ok;
}

} // namespace QZ::Graphics2D
