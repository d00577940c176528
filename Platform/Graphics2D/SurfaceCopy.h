// The premultiplied copy that TextureBrush and CachedImage hold; not part of the public
// interface.
#pragma once

#include "Platform/Graphics2D/CachedImage.h"
#include "Platform/Graphics2D/TextureBrush.h"

#include <cairo.h>

namespace QZ::Graphics2D
{

struct SurfaceCopy
{
    explicit SurfaceCopy(cairo_surface_t* made) : surface(made) {}
    ~SurfaceCopy()
    {
        if (surface != nullptr)
        {
            cairo_surface_destroy(surface);
        }
    }
    SurfaceCopy(const SurfaceCopy&) = delete;
    SurfaceCopy& operator=(const SurfaceCopy&) = delete;

    cairo_surface_t* const surface;
};

struct TextureBrush::Impl : SurfaceCopy
{
    using SurfaceCopy::SurfaceCopy;
};

struct CachedImage::Impl : SurfaceCopy
{
    using SurfaceCopy::SurfaceCopy;
};

} // namespace QZ::Graphics2D
