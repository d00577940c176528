#include "Platform/Graphics2D/Graphics.h"

#include "Platform/Graphics2D/FontFaces.h"
#include "Platform/Graphics2D/ImageImpl.h"
#include "Platform/Graphics2D/SurfaceCopy.h"
#include "Platform/Graphics2D/Utf8.h"

#include <algorithm>
#include <cmath>

namespace QZ::Graphics2D
{

namespace
{

// GDI+'s default string format pads a line by a sixth of the em on the left.
constexpr float kLeadingPadEms = 1.0f / 6.0f;

void SetSourceColour(cairo_t* cr, std::uint32_t argb)
{
    cairo_set_source_rgba(cr, ((argb >> 16) & 0xFF) / 255.0, ((argb >> 8) & 0xFF) / 255.0,
                          (argb & 0xFF) / 255.0, (argb >> 24) / 255.0);
}

cairo_filter_t FilterFor(InterpolationMode mode)
{
    switch (mode)
    {
    case InterpolationMode::NearestNeighbor:
        return CAIRO_FILTER_NEAREST;
    case InterpolationMode::HighQuality:
    case InterpolationMode::HighQualityBicubic:
    case InterpolationMode::Bicubic:
        return CAIRO_FILTER_BEST;
    default:
        return CAIRO_FILTER_BILINEAR;
    }
}

void AddPath(cairo_t* cr, const GraphicsPath& path)
{
    for (const GraphicsPath::Figure& figure : path.GetFigures())
    {
        if (figure.points.empty())
        {
            continue;
        }
        cairo_move_to(cr, figure.points.front().x, figure.points.front().y);
        for (std::size_t i = 1; i < figure.points.size(); ++i)
        {
            cairo_line_to(cr, figure.points[i].x, figure.points[i].y);
        }
        if (figure.closed)
        {
            cairo_close_path(cr);
        }
    }
}

// The part of the source area that lies inside the image, with the destination cut to match.
bool CutToImage(const Image& image, RectF& destination, RectF& source)
{
    const float left = std::max(source.x, 0.0f);
    const float top = std::max(source.y, 0.0f);
    const float right = std::min(source.x + source.width, static_cast<float>(image.GetWidth()));
    const float bottom = std::min(source.y + source.height, static_cast<float>(image.GetHeight()));
    if (right <= left || bottom <= top)
    {
        return false;
    }
    const float scaleX = destination.width / source.width;
    const float scaleY = destination.height / source.height;
    destination = {destination.x + (left - source.x) * scaleX,
                   destination.y + (top - source.y) * scaleY, (right - left) * scaleX,
                   (bottom - top) * scaleY};
    source = {left, top, right - left, bottom - top};
    return true;
}

} // namespace

struct Graphics::Impl
{
    Image* target = nullptr;
    cairo_t* cr = nullptr;
    CompositingMode compositing = CompositingMode::SourceOver;
    SmoothingMode smoothing = SmoothingMode::Default;
    InterpolationMode interpolation = InterpolationMode::Default;
    PixelOffsetMode pixelOffset = PixelOffsetMode::Default;
    Status lastStatus = Status::Ok;

    ~Impl()
    {
        if (cr != nullptr)
        {
            cairo_destroy(cr);
        }
    }

    bool Antialiased() const
    {
        return smoothing == SmoothingMode::HighQuality || smoothing == SmoothingMode::AntiAlias;
    }

    // Shapes are moved half a pixel when pixel centres lie on whole coordinates, so that Cairo
    // (whose pixel edges lie there) covers the pixels GDI+ would.
    void BeginShape()
    {
        cairo_save(cr);
        if (pixelOffset != PixelOffsetMode::HighQuality && pixelOffset != PixelOffsetMode::Half)
        {
            cairo_matrix_t matrix;
            cairo_get_matrix(cr, &matrix);
            matrix.x0 += 0.5;
            matrix.y0 += 0.5;
            cairo_set_matrix(cr, &matrix);
        }
        cairo_new_path(cr);
    }

    // Aliased lines narrower than a pixel are drawn one pixel wide, as GDI+ draws them.
    void Stroke(const Pen& pen)
    {
        const double width = Antialiased() ? pen.width : std::max(pen.width, 1.0f);
        cairo_set_line_width(cr, width);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
        SetSourceColour(cr, pen.argb);
        cairo_stroke(cr);
        cairo_restore(cr);
    }

    void Fill(std::uint32_t argb)
    {
        SetSourceColour(cr, argb);
        cairo_fill(cr);
        cairo_restore(cr);
    }
};

Graphics::Graphics(Image& target) : mImpl(std::make_unique<Impl>())
{
    mImpl->target = &target;
    Image::Impl& image = target.GetImpl();
    if (image.locked)
    {
        Record(Status::WrongState);
        return;
    }
    if (Record(image.EnsureSurface()) != Status::Ok)
    {
        return;
    }
    cairo_t* cr = cairo_create(image.surface);
    if (cairo_status(cr) != CAIRO_STATUS_SUCCESS)
    {
        cairo_destroy(cr);
        Record(Status::OutOfMemory);
        return;
    }
    mImpl->cr = cr;
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_set_font_options(cr, GetTextFontOptions());
}

Graphics::~Graphics() = default;

Status Graphics::Record(Status status) const
{
    if (status != Status::Ok)
    {
        mImpl->lastStatus = status;
    }
    return status;
}

Status Graphics::GetLastStatus() const
{
    return mImpl->lastStatus;
}

Status Graphics::BeginDrawing()
{
    if (mImpl->cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    Image::Impl& image = mImpl->target->GetImpl();
    if (image.locked)
    {
        return Record(Status::WrongState);
    }
    return Record(image.EnsureSurface());
}

void Graphics::EndDrawing()
{
    mImpl->target->GetImpl().SurfaceWritten();
}

Status Graphics::SetCompositingMode(CompositingMode mode)
{
    if (mImpl->cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    mImpl->compositing = mode;
    cairo_set_operator(mImpl->cr, mode == CompositingMode::SourceCopy ? CAIRO_OPERATOR_SOURCE
                                                                      : CAIRO_OPERATOR_OVER);
    return Status::Ok;
}

Status Graphics::SetSmoothingMode(SmoothingMode mode)
{
    if (mImpl->cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    mImpl->smoothing = mode;
    cairo_set_antialias(mImpl->cr,
                        mImpl->Antialiased() ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
    return Status::Ok;
}

Status Graphics::SetInterpolationMode(InterpolationMode mode)
{
    mImpl->interpolation = mode;
    return mImpl->cr == nullptr ? Record(Status::WrongState) : Status::Ok;
}

Status Graphics::SetPixelOffsetMode(PixelOffsetMode mode)
{
    mImpl->pixelOffset = mode;
    return mImpl->cr == nullptr ? Record(Status::WrongState) : Status::Ok;
}

Status Graphics::SetClipRect(const RectF& rect)
{
    cairo_t* cr = mImpl->cr;
    if (cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    cairo_reset_clip(cr);
    cairo_new_path(cr);
    cairo_rectangle(cr, rect.x, rect.y, std::max(rect.width, 0.0f), std::max(rect.height, 0.0f));
    // A clip follows whole pixels whatever the smoothing, which also keeps Cairo on its fast
    // rectangular clip.
    const cairo_antialias_t antialias = cairo_get_antialias(cr);
    cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
    cairo_clip(cr);
    cairo_set_antialias(cr, antialias);
    return Status::Ok;
}

Status Graphics::ResetClip()
{
    if (mImpl->cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    cairo_reset_clip(mImpl->cr);
    return Status::Ok;
}

Status Graphics::ResetWorldTransform()
{
    if (mImpl->cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    cairo_identity_matrix(mImpl->cr);
    return Status::Ok;
}

Status Graphics::TranslateWorldTransform(float dx, float dy, MatrixOrder order)
{
    cairo_t* cr = mImpl->cr;
    if (cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    if (order == MatrixOrder::Prepend)
    {
        cairo_translate(cr, dx, dy);
        return Status::Ok;
    }
    cairo_matrix_t matrix;
    cairo_get_matrix(cr, &matrix);
    matrix.x0 += dx;
    matrix.y0 += dy;
    cairo_set_matrix(cr, &matrix);
    return Status::Ok;
}

Status Graphics::Clear(std::uint32_t argb)
{
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    cairo_t* cr = mImpl->cr;
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    SetSourceColour(cr, argb);
    cairo_paint(cr);
    cairo_restore(cr);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::FillRectangle(const SolidBrush& brush, const RectF& rect)
{
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    mImpl->BeginShape();
    cairo_rectangle(mImpl->cr, rect.x, rect.y, rect.width, rect.height);
    mImpl->Fill(brush.argb);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::FillRectangle(const TextureBrush& brush, const RectF& rect)
{
    if (brush.GetLastStatus() != Status::Ok)
    {
        return Record(Status::InvalidParameter);
    }
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    cairo_t* cr = mImpl->cr;
    cairo_save(cr);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(brush.GetImpl().surface);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_REPEAT);
    cairo_pattern_set_filter(pattern, FilterFor(mImpl->interpolation));
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
    cairo_rectangle(cr, rect.x, rect.y, rect.width, rect.height);
    cairo_fill(cr);
    cairo_restore(cr);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::DrawRectangle(const Pen& pen, const RectF& rect)
{
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    mImpl->BeginShape();
    cairo_rectangle(mImpl->cr, rect.x, rect.y, rect.width, rect.height);
    mImpl->Stroke(pen);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::DrawLine(const Pen& pen, PointF from, PointF to)
{
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    mImpl->BeginShape();
    cairo_move_to(mImpl->cr, from.x, from.y);
    cairo_line_to(mImpl->cr, to.x, to.y);
    mImpl->Stroke(pen);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::DrawPath(const Pen& pen, const GraphicsPath& path)
{
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    mImpl->BeginShape();
    AddPath(mImpl->cr, path);
    mImpl->Stroke(pen);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::FillPath(const SolidBrush& brush, const GraphicsPath& path)
{
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    mImpl->BeginShape();
    cairo_set_fill_rule(mImpl->cr, CAIRO_FILL_RULE_EVEN_ODD);
    AddPath(mImpl->cr, path);
    mImpl->Fill(brush.argb);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::DrawImage(Image& image, const RectF& destination, const RectF& source)
{
    if (&image == mImpl->target)
    {
        return Record(Status::InvalidParameter);
    }
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    RectF to = destination;
    RectF from = source;
    if (!(source.width > 0 && source.height > 0 && destination.width > 0 &&
          destination.height > 0) ||
        !CutToImage(image, to, from))
    {
        return Status::Ok;
    }
    if (const Status status = image.GetImpl().EnsureSurface(); status != Status::Ok)
    {
        return Record(status);
    }
    cairo_t* cr = mImpl->cr;
    // A sub-surface keeps filtering from reaching pixels beside the source area.
    cairo_surface_t* area = cairo_surface_create_for_rectangle(image.GetImpl().surface, from.x,
                                                               from.y, from.width, from.height);
    cairo_pattern_t* pattern = cairo_pattern_create_for_surface(area);
    cairo_surface_destroy(area);
    cairo_matrix_t matrix;
    cairo_matrix_init_scale(&matrix, from.width / to.width, from.height / to.height);
    cairo_matrix_translate(&matrix, -to.x, -to.y);
    cairo_pattern_set_matrix(pattern, &matrix);
    cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(pattern, FilterFor(mImpl->interpolation));
    cairo_save(cr);
    cairo_set_source(cr, pattern);
    cairo_pattern_destroy(pattern);
    cairo_new_path(cr);
    cairo_rectangle(cr, to.x, to.y, to.width, to.height);
    cairo_fill(cr);
    cairo_restore(cr);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::DrawImage(Image& image, std::int32_t x, std::int32_t y, const RectI& source)
{
    return DrawImage(image,
                     RectF{static_cast<float>(x), static_cast<float>(y),
                           static_cast<float>(source.width), static_cast<float>(source.height)},
                     RectF{static_cast<float>(source.x), static_cast<float>(source.y),
                           static_cast<float>(source.width), static_cast<float>(source.height)});
}

Status Graphics::DrawCachedImage(const CachedImage& image, std::int32_t x, std::int32_t y)
{
    if (image.GetLastStatus() != Status::Ok)
    {
        return Record(Status::InvalidParameter);
    }
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    cairo_t* cr = mImpl->cr;
    cairo_save(cr);
    cairo_set_source_surface(cr, image.GetImpl().surface, x, y);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_new_path(cr);
    cairo_rectangle(cr, x, y, image.GetWidth(), image.GetHeight());
    cairo_fill(cr);
    cairo_restore(cr);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::DrawString(std::u16string_view text, const Font& font, const RectF& layout,
                            const SolidBrush& brush)
{
    const FontFaceRecord* face = font.GetFace();
    if (face == nullptr)
    {
        return Record(Status::InvalidParameter);
    }
    if (const Status status = BeginDrawing(); status != Status::Ok)
    {
        return status;
    }
    const std::string utf8 = ToUtf8(text);
    const float pixels = font.GetPixelSize(GetDpiX());
    const float ascent = face->cellAscent * pixels / face->emHeight;
    cairo_t* cr = mImpl->cr;
    cairo_save(cr);
    cairo_new_path(cr);
    cairo_set_font_face(cr, face->cairoFace);
    cairo_set_font_size(cr, pixels);
    cairo_move_to(cr, layout.x + pixels * kLeadingPadEms, layout.y + ascent);
    SetSourceColour(cr, brush.argb);
    cairo_show_text(cr, utf8.c_str());
    cairo_restore(cr);
    EndDrawing();
    return Status::Ok;
}

Status Graphics::MeasureString(std::u16string_view text, const Font& font, const RectF& layout,
                               RectF& bounds)
{
    bounds = RectF();
    const FontFaceRecord* face = font.GetFace();
    if (face == nullptr)
    {
        return Record(Status::InvalidParameter);
    }
    if (mImpl->cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    if (text.empty())
    {
        return Status::Ok;
    }
    const std::string utf8 = ToUtf8(text);
    const float pixels = font.GetPixelSize(GetDpiX());
    cairo_t* cr = mImpl->cr;
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_font_face(cr, face->cairoFace);
    cairo_set_font_size(cr, pixels);
    cairo_text_extents_t extents;
    cairo_text_extents(cr, utf8.c_str(), &extents);
    cairo_restore(cr);
    bounds = {layout.x + pixels * kLeadingPadEms, layout.y, static_cast<float>(extents.x_advance),
              font.GetHeight(GetDpiX())};
    return Status::Ok;
}

Status Graphics::Flush()
{
    if (mImpl->cr == nullptr)
    {
        return Record(Status::WrongState);
    }
    cairo_surface_flush(mImpl->target->GetImpl().surface);
    return Status::Ok;
}

} // namespace QZ::Graphics2D
