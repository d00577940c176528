// The inside of Image, shared by the layer's Cairo-backed sources; not part of the public
// interface.
#pragma once

#include "Platform/Graphics2D/Image.h"

#include <cairo.h>

namespace QZ::Graphics2D
{

struct Image::Impl
{
    Impl(std::int32_t width, std::int32_t height, PixelFormat format);
    ~Impl();
    Impl(const Impl&) = delete;
    Impl& operator=(const Impl&) = delete;

    // The premultiplied surface, made and brought up to date from the straight pixels when
    // needed; null (with the reason in the result) when it cannot be made.
    [[nodiscard]] Status EnsureSurface();
    // Call after drawing into the surface: the straight copy is then out of date.
    void SurfaceWritten();
    // ARGB images: brings the straight copy up to date after drawing.
    void EnsureStraight();
    [[nodiscard]] bool Contains(const RectI& area) const;
    // A new premultiplied surface holding a copy of the area (which must lie inside); null when
    // it cannot be made.
    [[nodiscard]] cairo_surface_t* CopyArea(const RectI& area);
    // Hands the premultiplied surface, brought up to date, over to the caller; null when it
    // cannot be made. The image keeps no pixels then and is only fit to be destroyed.
    [[nodiscard]] cairo_surface_t* ReleaseSurface();

    const std::int32_t width;
    const std::int32_t height;
    const PixelFormat format;
    std::unique_ptr<std::uint32_t[]> straight; // ARGB images only
    cairo_surface_t* surface = nullptr;
    bool straightCurrent = true;
    bool surfaceCurrent = false;
    bool locked = false;
    LockMode lockMode = LockModeRead;
    PixelFormat lockFormat = PixelFormat::Format32bppARGB;
    RectI lockArea;
    std::unique_ptr<std::uint32_t[]> lockBuffer; // locks in the other format
    Status lastStatus = Status::Ok;
};

} // namespace QZ::Graphics2D
