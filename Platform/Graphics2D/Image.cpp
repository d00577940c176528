#include "Platform/Graphics2D/Image.h"

#include "Platform/Graphics2D/ImageImpl.h"
#include "Platform/Graphics2D/PixelConversion.h"
#include "Platform/Graphics2D/PngCodec.h"
#include "QZFramework/Utilities/Storage/FileSystemRules.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace QZ::Graphics2D
{
namespace
{

// A PNG file larger than this is refused before it is read; the largest image allowed,
// uncompressed, is far smaller.
constexpr long kMaxFileBytes = 256L * 1024 * 1024;

std::uint32_t* SurfaceRow(cairo_surface_t* surface, std::int32_t y)
{
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                            static_cast<std::ptrdiff_t>(y) *
                                                cairo_image_surface_get_stride(surface));
}

struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

Image::Impl::Impl(std::int32_t w, std::int32_t h, PixelFormat f) : width(w), height(h), format(f) {}

Image::Impl::~Impl()
{
    if (surface != nullptr)
    {
        cairo_surface_destroy(surface);
    }
}

Status Image::Impl::EnsureSurface()
{
    if (surface == nullptr)
    {
        cairo_surface_t* made = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
        if (cairo_surface_status(made) != CAIRO_STATUS_SUCCESS)
        {
            cairo_surface_destroy(made);
            return Status::OutOfMemory;
        }
        surface = made;
        surfaceCurrent = format == PixelFormat::Format32bppPARGB;
    }
    if (!surfaceCurrent)
    {
        cairo_surface_flush(surface);
        for (std::int32_t y = 0; y < height; ++y)
        {
            const std::uint32_t* from = straight.get() + static_cast<std::ptrdiff_t>(y) * width;
            std::uint32_t* to = SurfaceRow(surface, y);
            for (std::int32_t x = 0; x < width; ++x)
            {
                to[x] = Premultiply(from[x]);
            }
        }
        cairo_surface_mark_dirty(surface);
        surfaceCurrent = true;
    }
    return Status::Ok;
}

void Image::Impl::SurfaceWritten()
{
    if (format == PixelFormat::Format32bppARGB)
    {
        straightCurrent = false;
    }
}

void Image::Impl::EnsureStraight()
{
    if (straightCurrent || format != PixelFormat::Format32bppARGB)
    {
        return;
    }
    cairo_surface_flush(surface);
    for (std::int32_t y = 0; y < height; ++y)
    {
        std::uint32_t* to = straight.get() + static_cast<std::ptrdiff_t>(y) * width;
        const std::uint32_t* from = SurfaceRow(surface, y);
        for (std::int32_t x = 0; x < width; ++x)
        {
            // A pixel that drawing left alone keeps its exact straight value.
            if (Premultiply(to[x]) != from[x])
            {
                to[x] = Unpremultiply(from[x]);
            }
        }
    }
    straightCurrent = true;
}

bool Image::Impl::Contains(const RectI& area) const
{
    return area.width > 0 && area.height > 0 && area.x >= 0 && area.y >= 0 &&
           area.x <= width - area.width && area.y <= height - area.height;
}

cairo_surface_t* Image::Impl::CopyArea(const RectI& area)
{
    if (!Contains(area) || EnsureSurface() != Status::Ok)
    {
        return nullptr;
    }
    cairo_surface_t* copy =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.width, area.height);
    if (cairo_surface_status(copy) != CAIRO_STATUS_SUCCESS)
    {
        cairo_surface_destroy(copy);
        return nullptr;
    }
    cairo_surface_flush(surface);
    for (std::int32_t y = 0; y < area.height; ++y)
    {
        std::copy_n(SurfaceRow(surface, area.y + y) + area.x, area.width, SurfaceRow(copy, y));
    }
    cairo_surface_mark_dirty(copy);
    return copy;
}

cairo_surface_t* Image::Impl::ReleaseSurface()
{
    if (EnsureSurface() != Status::Ok)
    {
        return nullptr;
    }
    cairo_surface_flush(surface);
    return std::exchange(surface, nullptr);
}

Image::Image(std::unique_ptr<Impl> impl) : mImpl(std::move(impl)) {}

Image::~Image() = default;

Status Image::PrepareForDrawing()
{
    return mImpl->EnsureSurface();
}

bool Image::IsAcceptableSize(std::int64_t width, std::int64_t height)
{
    return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide &&
           width * height <= kMaxPixels;
}

Status Image::Create(std::int32_t width, std::int32_t height, PixelFormat format,
                     std::unique_ptr<Image>& out)
{
    out.reset();
    if (!IsAcceptableSize(width, height) ||
        (format != PixelFormat::Format32bppARGB && format != PixelFormat::Format32bppPARGB))
    {
        return Status::InvalidParameter;
    }
    auto impl = std::make_unique<Impl>(width, height, format);
    if (format == PixelFormat::Format32bppARGB)
    {
        impl->straight.reset(new (std::nothrow)
                                 std::uint32_t[static_cast<std::size_t>(width) * height]());
        if (!impl->straight)
        {
            return Status::OutOfMemory;
        }
    }
    else if (const Status status = impl->EnsureSurface(); status != Status::Ok)
    {
        return status;
    }
    out.reset(new Image(std::move(impl)));
    return Status::Ok;
}

Status Image::FromMemory(const void* bytes, std::size_t size, std::unique_ptr<Image>& out)
{
    out.reset();
    DecodedPng png;
    if (const Status status = DecodePng(static_cast<const std::uint8_t*>(bytes), size, png);
        status != Status::Ok)
    {
        return status;
    }
    auto impl = std::make_unique<Impl>(png.width, png.height, PixelFormat::Format32bppARGB);
    impl->straight = std::move(png.pixels);
    out.reset(new Image(std::move(impl)));
    return Status::Ok;
}

Status Image::FromFile(const char* path, std::unique_ptr<Image>& out)
{
    out.reset();
    if (path == nullptr)
    {
        return Status::InvalidParameter;
    }
    // A skin's image is read only from a regular file; a FIFO or a device would block the open.
    int descriptor = -1;
    if (QZ::FileSystemRules::OpenRegularFile(path, O_RDONLY, descriptor) !=
        QZ::FileSystemRules::OpenOutcome::Opened)
    {
        return Status::FileNotFound;
    }
    std::unique_ptr<std::FILE, FileCloser> file(::fdopen(descriptor, "rb"));
    if (!file)
    {
        ::close(descriptor);
        return Status::FileNotFound;
    }
    if (std::fseek(file.get(), 0, SEEK_END) != 0)
    {
        return Status::FileNotFound;
    }
    const long length = std::ftell(file.get());
    if (length < 0 || length > kMaxFileBytes || std::fseek(file.get(), 0, SEEK_SET) != 0)
    {
        return length > kMaxFileBytes ? Status::InvalidParameter : Status::FileNotFound;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(length));
    if (std::fread(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    {
        return Status::FileNotFound;
    }
    return FromMemory(bytes.data(), bytes.size(), out);
}

std::int32_t Image::GetWidth() const
{
    return mImpl->width;
}

std::int32_t Image::GetHeight() const
{
    return mImpl->height;
}

PixelFormat Image::GetPixelFormat() const
{
    return mImpl->format;
}

Status Image::Record(Status status) const
{
    if (status != Status::Ok)
    {
        mImpl->lastStatus = status;
    }
    return status;
}

Status Image::GetLastStatus() const
{
    return mImpl->lastStatus;
}

Status Image::CloneArea(const RectI& area, std::unique_ptr<Image>& out)
{
    out.reset();
    if (!mImpl->Contains(area))
    {
        return Record(Status::InvalidParameter);
    }
    if (mImpl->locked)
    {
        return Record(Status::WrongState);
    }
    std::unique_ptr<Image> copy;
    if (const Status status = Create(area.width, area.height, mImpl->format, copy);
        status != Status::Ok)
    {
        return Record(status);
    }
    Impl& to = *copy->mImpl;
    if (mImpl->format == PixelFormat::Format32bppARGB)
    {
        mImpl->EnsureStraight();
        for (std::int32_t y = 0; y < area.height; ++y)
        {
            const std::uint32_t* from =
                mImpl->straight.get() + static_cast<std::ptrdiff_t>(area.y + y) * mImpl->width;
            std::copy_n(from + area.x, area.width,
                        to.straight.get() + static_cast<std::ptrdiff_t>(y) * area.width);
        }
    }
    else
    {
        cairo_surface_flush(mImpl->surface);
        cairo_surface_flush(to.surface);
        for (std::int32_t y = 0; y < area.height; ++y)
        {
            std::copy_n(SurfaceRow(mImpl->surface, area.y + y) + area.x, area.width,
                        SurfaceRow(to.surface, y));
        }
        cairo_surface_mark_dirty(to.surface);
    }
    out = std::move(copy);
    return Status::Ok;
}

Status Image::LockBits(const RectI& area, LockMode mode, BitmapData& data)
{
    return LockBits(area, mode, PixelFormat::Format32bppARGB, data);
}

Status Image::LockBits(const RectI& area, LockMode mode, PixelFormat format, BitmapData& data)
{
    data = BitmapData();
    if (!mImpl->Contains(area) || (mode & LockModeReadWrite) == 0 ||
        (format != PixelFormat::Format32bppARGB && format != PixelFormat::Format32bppPARGB))
    {
        return Record(Status::InvalidParameter);
    }
    if (mImpl->locked)
    {
        return Record(Status::WrongState);
    }
    Impl& impl = *mImpl;
    if (impl.format == PixelFormat::Format32bppARGB)
    {
        impl.EnsureStraight();
    }
    else
    {
        cairo_surface_flush(impl.surface);
    }
    if (format == impl.format)
    {
        // The pixels themselves, straight or premultiplied as the image keeps them.
        std::uint32_t* first =
            format == PixelFormat::Format32bppARGB
                ? impl.straight.get() + static_cast<std::ptrdiff_t>(area.y) * impl.width
                : SurfaceRow(impl.surface, area.y);
        data.scan0 = reinterpret_cast<std::uint8_t*>(first + area.x);
        data.stride = format == PixelFormat::Format32bppARGB
                          ? impl.width * 4
                          : cairo_image_surface_get_stride(impl.surface);
    }
    else
    {
        const std::size_t count = static_cast<std::size_t>(area.width) * area.height;
        impl.lockBuffer.reset(new (std::nothrow) std::uint32_t[count]);
        if (!impl.lockBuffer)
        {
            return Record(Status::OutOfMemory);
        }
        for (std::int32_t y = 0; y < area.height; ++y)
        {
            std::uint32_t* to = impl.lockBuffer.get() + static_cast<std::ptrdiff_t>(y) * area.width;
            if (impl.format == PixelFormat::Format32bppARGB)
            {
                const std::uint32_t* from = impl.straight.get() +
                                            static_cast<std::ptrdiff_t>(area.y + y) * impl.width +
                                            area.x;
                std::transform(from, from + area.width, to, Premultiply);
            }
            else
            {
                const std::uint32_t* from = SurfaceRow(impl.surface, area.y + y) + area.x;
                std::transform(from, from + area.width, to, Unpremultiply);
            }
        }
        data.scan0 = reinterpret_cast<std::uint8_t*>(impl.lockBuffer.get());
        data.stride = area.width * 4;
    }
    data.width = area.width;
    data.height = area.height;
    data.format = format;
    impl.locked = true;
    impl.lockMode = mode;
    impl.lockFormat = format;
    impl.lockArea = area;
    return Status::Ok;
}

Status Image::UnlockBits(BitmapData& data)
{
    Impl& impl = *mImpl;
    if (!impl.locked)
    {
        return Record(Status::WrongState);
    }
    impl.locked = false;
    data = BitmapData();
    const RectI& area = impl.lockArea;
    if ((impl.lockMode & LockModeWrite) != 0)
    {
        if (impl.lockFormat != impl.format)
        {
            for (std::int32_t y = 0; y < area.height; ++y)
            {
                const std::uint32_t* from =
                    impl.lockBuffer.get() + static_cast<std::ptrdiff_t>(y) * area.width;
                if (impl.format == PixelFormat::Format32bppARGB)
                {
                    // A pixel the lock left alone keeps its exact straight value.
                    std::uint32_t* to = impl.straight.get() +
                                        static_cast<std::ptrdiff_t>(area.y + y) * impl.width +
                                        area.x;
                    for (std::int32_t x = 0; x < area.width; ++x)
                    {
                        if (Premultiply(to[x]) != from[x])
                        {
                            to[x] = Unpremultiply(from[x]);
                        }
                    }
                }
                else
                {
                    std::transform(from, from + area.width,
                                   SurfaceRow(impl.surface, area.y + y) + area.x, Premultiply);
                }
            }
        }
        if (impl.format == PixelFormat::Format32bppARGB)
        {
            impl.surfaceCurrent = false;
        }
        else
        {
            cairo_surface_mark_dirty_rectangle(impl.surface, area.x, area.y, area.width,
                                               area.height);
        }
    }
    impl.lockBuffer.reset();
    return Status::Ok;
}

Status Image::GetPixel(std::int32_t x, std::int32_t y, std::uint32_t& argb)
{
    argb = 0;
    if (!mImpl->Contains({x, y, 1, 1}))
    {
        return Record(Status::InvalidParameter);
    }
    if (mImpl->locked)
    {
        return Record(Status::WrongState);
    }
    if (mImpl->format == PixelFormat::Format32bppARGB)
    {
        mImpl->EnsureStraight();
        argb = mImpl->straight[static_cast<std::size_t>(y) * mImpl->width + x];
    }
    else
    {
        cairo_surface_flush(mImpl->surface);
        argb = Unpremultiply(SurfaceRow(mImpl->surface, y)[x]);
    }
    return Status::Ok;
}

Status Image::SetPixel(std::int32_t x, std::int32_t y, std::uint32_t argb)
{
    if (!mImpl->Contains({x, y, 1, 1}))
    {
        return Record(Status::InvalidParameter);
    }
    if (mImpl->locked)
    {
        return Record(Status::WrongState);
    }
    if (mImpl->format == PixelFormat::Format32bppARGB)
    {
        mImpl->EnsureStraight();
        mImpl->straight[static_cast<std::size_t>(y) * mImpl->width + x] = argb;
        mImpl->surfaceCurrent = false;
    }
    else
    {
        cairo_surface_flush(mImpl->surface);
        SurfaceRow(mImpl->surface, y)[x] = Premultiply(argb);
        cairo_surface_mark_dirty_rectangle(mImpl->surface, x, y, 1, 1);
    }
    return Status::Ok;
}

Status Image::EncodePng(std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    BitmapData data;
    if (const Status status = LockBits({0, 0, mImpl->width, mImpl->height}, LockModeRead, data);
        status != Status::Ok)
    {
        return status;
    }
    const Status status = Graphics2D::EncodePng(reinterpret_cast<const std::uint32_t*>(data.scan0),
                                                data.width, data.height, data.stride / 4, bytes);
    UnlockBits(data);
    return Record(status);
}

Status Image::SaveToPngFile(const char* path)
{
    std::vector<std::uint8_t> bytes;
    if (const Status status = EncodePng(bytes); status != Status::Ok)
    {
        return status;
    }
    std::unique_ptr<std::FILE, FileCloser> file(path != nullptr ? std::fopen(path, "wb") : nullptr);
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size())
    {
        return Record(Status::GenericError);
    }
    return Status::Ok;
}

} // namespace QZ::Graphics2D
