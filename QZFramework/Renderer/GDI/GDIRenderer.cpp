#include "QZFramework/Renderer/GDI/GDIRenderer.h"

#include "Platform/Graphics2D/FontFamily.h"
#include "Platform/Graphics2D/Graphics.h"
#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Renderer/GDI/ScaledBitmap.h"
#include "QZFramework/Utilities/Graphics/ColorRectListT.h"
#include "QZFramework/Utilities/Graphics/Font.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string_view>
#include <vector>

namespace QZ
{
namespace
{

// Path offsets are kept within what a double holds to a whole pixel (2^52).
constexpr double kOffsetLimit = 4503599627370496.0;
// What a polyline is drawn as. The first three are the kinds of path built from it; a filled
// polygon uses the polygon's path.
constexpr std::int32_t kPathSegments = 0;
constexpr std::int32_t kPathPolygon = 1;
constexpr std::int32_t kPathStrip = 2;
constexpr std::int32_t kPathFilledPolygon = 3;

// How close to 1 a scale must be for a cached path to be drawn without a scaled copy.
constexpr float kUnitScaleTolerance = 1.1920929e-6f;

std::u16string_view WholeText(const WideString& text)
{
    return {text.GetString(), static_cast<std::size_t>(text.GetLength())};
}

// The family of the face name, or the layer's sans-serif family when it is not installed; empty
// only on a machine without any scalable font.
Graphics2D::FontFamily FamilyOf(const LFont& font)
{
    Graphics2D::FontFamily family;
    if (Graphics2D::FontFamily::FromName(WholeText(font.GetFaceName()), family) !=
        Graphics2D::Status::Ok)
    {
        (void)Graphics2D::FontFamily::GenericSansSerif(family);
    }
    return family;
}

// The integer part of v + 0.999 for v >= 0, in single precision as the metrics are taken.
std::int32_t CeilMetric(float value)
{
    float raised = value + 0.499f;
    raised = raised + 0.5f;
    return static_cast<std::int32_t>(raised);
}

Graphics2D::PointF ToPointF(const PointT<float>& point)
{
    return {point.x, point.y};
}

Graphics2D::RectF ToRectF(const RectT<std::int32_t>& rect)
{
    return {static_cast<float>(rect.x), static_cast<float>(rect.y), static_cast<float>(rect.width),
            static_cast<float>(rect.height)};
}

double LimitOffset(float value)
{
    return std::clamp(static_cast<double>(value), -kOffsetLimit, kOffsetLimit);
}

bool IsUnitScale(const PointT<float>& scale)
{
    return std::abs(scale.x - 1.0f) <= kUnitScaleTolerance &&
           std::abs(scale.y - 1.0f) <= kUnitScaleTolerance;
}

// Milliseconds of the application clock; a steady clock while no application object exists.
std::uint32_t ApplicationMilliseconds()
{
    if (const LApplicationBase* application = LApplicationBase::GetApplication())
    {
        return application->GetTimeMilliseconds();
    }
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// The key of a polyline's path of one kind: a polyline drawn as segments, as a strip and as a
// polygon has three paths.
std::int64_t PathKey(std::int32_t handle, std::int32_t kind)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(static_cast<std::uint32_t>(handle))
                                     << 2) |
           kind;
}

void BuildPath(const PolylineT<float>& polyline, std::int32_t kind, Graphics2D::GraphicsPath& path)
{
    const Array<PointT<float>>& points = polyline.GetPoints();
    std::vector<Graphics2D::PointF> converted;
    converted.reserve(static_cast<std::size_t>(points.GetCount()));
    for (std::int32_t i = 0; i < points.GetCount(); ++i)
    {
        converted.push_back(ToPointF(points.GetAt(i)));
    }
    switch (kind)
    {
    case kPathSegments:
        for (std::size_t i = 0; i + 1 < converted.size(); i += 2)
        {
            path.StartFigure();
            (void)path.AddLine(converted[i], converted[i + 1]);
        }
        break;
    case kPathStrip:
        (void)path.AddLines(converted.data(), converted.size());
        break;
    default:
        (void)path.AddPolygon(converted.data(), converted.size());
        break;
    }
}

} // namespace

LGDIRenderer::LGDIRenderer(std::int32_t screenDpi)
    : mDpi(screenDpi > 0 ? screenDpi : kDefaultDpi), mBitmapCache(kCacheCapacity),
      mPathCache(kCacheCapacity), mLastPurgeTime(ApplicationMilliseconds())
{
    if (Graphics2D::Image::Create(1, 1, Graphics2D::PixelFormat::Format32bppARGB,
                                  mMeasuringBitmap) == Graphics2D::Status::Ok)
    {
        mMeasuringGraphics = std::make_unique<Graphics2D::Graphics>(*mMeasuringBitmap);
    }
}

LGDIRenderer::~LGDIRenderer() = default;

std::int32_t LGDIRenderer::GetRendererType() const
{
    return kTypeGDIPlus;
}

Graphics2D::Graphics* LGDIRenderer::CurrentGraphics() const
{
    return mCurrentContext ? mCurrentContext->GetGraphics() : nullptr;
}

QZRESULT LGDIRenderer::GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                                      std::int32_t& ascent, std::int32_t& descent)
{
    if (!font)
    {
        return E_INVALIDARG;
    }
    const Graphics2D::FontFamily family = FamilyOf(*font);
    const std::int32_t style = font->GetStyle();
    const Graphics2D::Font pixelFont(family, font->GetSize(), style, Graphics2D::Unit::Pixel);
    if (pixelFont.GetLastStatus() != Graphics2D::Status::Ok || !family.IsValid())
    {
        return E_FAIL;
    }
    const float size = pixelFont.GetSize();
    const float em = static_cast<float>(family.GetEmHeight(style)) * 72.0f;
    height = CeilMetric(pixelFont.GetHeight(72.0f) * 96.0f / 72.0f);
    ascent = -CeilMetric(static_cast<float>(family.GetCellAscent(style)) * size * 96.0f / em);
    descent = CeilMetric(static_cast<float>(family.GetCellDescent(style)) * size * 96.0f / em);
    return S_OK;
}

RectT<float> LGDIRenderer::MeasureText(const WideString& text, const ConstRCPtr<LFont>& font)
{
    if (text.GetString()[0] == u'\0' || !font || !mMeasuringGraphics)
    {
        return {};
    }
    const Graphics2D::Font pointFont(FamilyOf(*font), font->GetSize(), font->GetStyle(),
                                     Graphics2D::Unit::Point);
    std::int32_t lineHeight = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    if (pointFont.GetLastStatus() != Graphics2D::Status::Ok ||
        GetFontMetrics(font, lineHeight, ascent, descent) != S_OK)
    {
        return {};
    }
    Graphics2D::RectF bounds;
    (void)mMeasuringGraphics->MeasureString(WholeText(text), pointFont, {0, 0, 9999.0f, 9999.0f},
                                            bounds);
    const float extent = bounds.x + bounds.width;
    float width = extent;
    if (mDpi != kDefaultDpi)
    {
        width =
            std::round(static_cast<float>(kDefaultDpi) / static_cast<float>(mDpi) * extent + 3.0f);
    }
    return {0.0f, static_cast<float>(ascent), width, static_cast<float>(lineHeight)};
}

QZRESULT LGDIRenderer::InitRenderContextInfo(const RectT<std::int32_t>& viewport,
                                             WindowHandle window, bool offScreen,
                                             RCPtr<LRenderContextInfo>& out)
{
    out = LGDIRenderContextInfo::Create(viewport, window, offScreen);
    return out ? S_OK : E_FAIL;
}

QZRESULT LGDIRenderer::RenderStart(const RCPtr<LRenderContextInfo>& context)
{
    RCPtr<LGDIRenderContextInfo> started = RCPtr<LGDIRenderContextInfo>::DynamicCastFrom(context);
    if (context && !started)
    {
        QZ_THROW_RUNTIME("QZ::LGDIRenderer::RenderStart", "not a context of this renderer");
    }
    (void)LRenderer::RenderStart(context);
    mCurrentContext = started;
    mCurrentContext->PrepareSurfaces();
    Graphics2D::Graphics* graphics = mCurrentContext->GetGraphics();
    if (graphics == nullptr)
    {
        return S_OK;
    }
    mFontScale = static_cast<float>(kDefaultDpi) / graphics->GetDpiX();
    (void)graphics->SetSmoothingMode(Graphics2D::SmoothingMode::HighSpeed);
    (void)graphics->SetInterpolationMode(Graphics2D::InterpolationMode::NearestNeighbor);
    (void)graphics->SetPixelOffsetMode(Graphics2D::PixelOffsetMode::HighSpeed);
    (void)graphics->SetCompositingMode(Graphics2D::CompositingMode::SourceOver);
    const PointT<double>& origin = mCurrentContext->GetState().origin;
    if (GetStartedContextCount() == 1 && !(origin == PointT<double>{0.0, 0.0}))
    {
        (void)graphics->TranslateWorldTransform(static_cast<float>(origin.x),
                                                static_cast<float>(origin.y),
                                                Graphics2D::MatrixOrder::Append);
    }
    return S_OK;
}

QZRESULT LGDIRenderer::RenderFinish(const RCPtr<LRenderContextInfo>& context)
{
    if (!mCurrentContext || context.Get() != mCurrentContext.Get())
    {
        // Throws, before anything of the current frame is touched.
        return LRenderer::RenderFinish(context);
    }
    mCurrentContext->Present();
    mCurrentContext = nullptr;
    (void)LRenderer::RenderFinish(context);
    if (LRenderContextInfo* top = GetCurrentContext())
    {
        mCurrentContext = RCPtr<LGDIRenderContextInfo>(dynamic_cast<LGDIRenderContextInfo*>(top));
    }
    PurgeWhenDue();
    return S_OK;
}

void LGDIRenderer::PurgeWhenDue()
{
    const std::uint32_t now = ApplicationMilliseconds();
    if (static_cast<std::int32_t>(now - mLastPurgeTime) <= kPurgePeriodMilliseconds)
    {
        return;
    }
    // The stamp is the first use count of the new period, so that an entry last used in it
    // counts as used since this purge, and every earlier one as unused.
    (void)mBitmapCache.Purge(mBitmapCache.GetPurgeStamp());
    mBitmapCache.SetPurgeStamp(mBitmapCache.GetUseCounter() + 1u);
    (void)mPathCache.Purge(mPathCache.GetPurgeStamp());
    mPathCache.SetPurgeStamp(mPathCache.GetUseCounter() + 1u);
    mLastPurgeTime = now;
}

void LGDIRenderer::DrawText(const WideString& text, const ConstRCPtr<LFont>& font,
                            const PointT<std::int32_t>& position, const ColorRGBA& color)
{
    Graphics2D::Graphics* graphics = CurrentGraphics();
    if (graphics == nullptr || !font)
    {
        return;
    }
    const Graphics2D::Font drawn(FamilyOf(*font), font->GetSize() * mFontScale, font->GetStyle(),
                                 Graphics2D::Unit::Point);
    (void)graphics->DrawString(
        std::u16string_view(text.GetString()), drawn,
        {static_cast<float>(position.x), static_cast<float>(position.y) - 1.0f, 0.0f, 0.0f},
        Graphics2D::SolidBrush{color.ToARGB()});
}

void LGDIRenderer::DrawRect(const RectT<std::int32_t>& rect, const ColorRGBA& color,
                            float lineWidth)
{
    if (Graphics2D::Graphics* graphics = CurrentGraphics())
    {
        (void)graphics->DrawRectangle(Graphics2D::Pen{color.ToARGB(), lineWidth}, ToRectF(rect));
    }
}

void LGDIRenderer::FillRect(const RectT<std::int32_t>& rect, const ColorRGBA& color, bool blend)
{
    Graphics2D::Graphics* graphics = CurrentGraphics();
    if (graphics == nullptr || rect.IsEmpty())
    {
        return;
    }
    if (blend)
    {
        (void)graphics->FillRectangle(Graphics2D::SolidBrush{color.ToARGB()}, ToRectF(rect));
        return;
    }
    (void)graphics->SetCompositingMode(Graphics2D::CompositingMode::SourceCopy);
    (void)graphics->FillRectangle(Graphics2D::SolidBrush{color.ToARGB()}, ToRectF(rect));
    (void)graphics->SetCompositingMode(Graphics2D::CompositingMode::SourceOver);
}

void LGDIRenderer::FillColorRects(ColorRectListT<float>& rects, const PointT<double>& offset,
                                  bool /*keepCached*/)
{
    RenderState* state = GetCurrentState();
    if (state == nullptr || !mCurrentContext)
    {
        return;
    }
    const PointT<double> origin = state->origin;
    OffsetOrigin(offset);
    const float scaleX = rects.GetScaleX();
    const float scaleY = rects.GetScaleY();
    for (std::int32_t i = rects.GetCount() - 1; i >= 0; --i)
    {
        const RectT<float>& rect = rects.GetRect(i);
        const RectT<float> scaled{rect.x * scaleX, rect.y * scaleY, rect.width * scaleX,
                                  rect.height * scaleY};
        FillRect(scaled.ToLong(), ColorRGBA(rects.GetColor(i)), true);
    }
    SetOriginExactly(origin);
}

void LGDIRenderer::DrawLine(const PointT<float>& from, const PointT<float>& to,
                            const ColorRGBA& color, float width)
{
    if (Graphics2D::Graphics* graphics = CurrentGraphics())
    {
        (void)graphics->DrawLine(Graphics2D::Pen{color.ToARGB(), width}, ToPointF(from),
                                 ToPointF(to));
    }
}

void LGDIRenderer::DrawLineSegments(PolylineT<float>& polyline, const ColorRGBA& color,
                                    const PointT<float>& offset, const PointT<float>& scale,
                                    bool keepCached)
{
    DrawPath(polyline, kPathSegments, color, offset, scale, keepCached);
}

void LGDIRenderer::DrawPolyline(PolylineT<float>& polyline, const ColorRGBA& color,
                                const PointT<float>& offset, const PointT<float>& scale,
                                bool keepCached)
{
    DrawPath(polyline, kPathStrip, color, offset, scale, keepCached);
}

void LGDIRenderer::DrawPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                               const PointT<float>& offset, const PointT<float>& scale,
                               bool keepCached)
{
    DrawPath(polyline, kPathPolygon, color, offset, scale, keepCached);
}

void LGDIRenderer::FillPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                               const PointT<float>& offset, const PointT<float>& scale,
                               bool keepCached)
{
    DrawPath(polyline, kPathFilledPolygon, color, offset, scale, keepCached);
}

RCPtr<LGDIRenderer::LGraphicsPath>& LGDIRenderer::LookupPath(PolylineT<float>& polyline,
                                                             std::int32_t kind)
{
    const std::int32_t handle = PolylineT<float>::GetHandle(polyline);
    // The one flag serves every kind, so a change empties the paths of all of them.
    if (polyline.TakeChanged())
    {
        for (std::int32_t other = kPathSegments; other <= kPathStrip; ++other)
        {
            (void)mPathCache.Discard(PathKey(handle, other));
        }
    }
    RCPtr<LGraphicsPath>& slot = mPathCache.Lookup(PathKey(handle, kind), false);
    if (!slot)
    {
        slot = new LGraphicsPath;
        BuildPath(polyline, kind, slot->GetPath());
    }
    return slot;
}

void LGDIRenderer::DrawPath(PolylineT<float>& polyline, std::int32_t kind, const ColorRGBA& color,
                            const PointT<float>& offset, const PointT<float>& scale,
                            bool keepCached)
{
    Graphics2D::Graphics* graphics = CurrentGraphics();
    if (graphics == nullptr)
    {
        return;
    }
    const std::int32_t shape = kind == kPathFilledPolygon ? kPathPolygon : kind;
    RCPtr<LGraphicsPath>& slot = LookupPath(polyline, shape);
    const PointT<double> origin = mCurrentContext->GetState().origin;
    OffsetOrigin({LimitOffset(offset.x), LimitOffset(offset.y)});
    Graphics2D::GraphicsPath scaled;
    const Graphics2D::GraphicsPath* drawn = &slot->GetPath();
    if (!IsUnitScale(scale))
    {
        Graphics2D::Matrix matrix;
        matrix.Scale(scale.x, scale.y, Graphics2D::MatrixOrder::Prepend);
        scaled = slot->GetPath();
        scaled.Transform(matrix);
        drawn = &scaled;
    }
    if (kind == kPathFilledPolygon)
    {
        (void)graphics->FillPath(Graphics2D::SolidBrush{color.ToARGB()}, *drawn);
    }
    else
    {
        (void)graphics->DrawPath(Graphics2D::Pen{color.ToARGB(), polyline.GetLineWidth()}, *drawn);
    }
    SetOriginExactly(origin);
    if (!keepCached)
    {
        slot = nullptr;
    }
}

void LGDIRenderer::DrawBitmap(const ConstRCPtr<LBitmap>& bitmap,
                              const RectT<std::int32_t>& destination, std::int32_t resizeType)
{
    if (!mCurrentContext)
    {
        QZ_THROW_RUNTIME("QZ::LGDIRenderer::DrawBitmap");
    }
    Graphics2D::Graphics* graphics = mCurrentContext->GetGraphics();
    if (graphics == nullptr || !bitmap || bitmap->GetBitmapData() == nullptr ||
        bitmap->GetWidth() <= 0 || bitmap->GetHeight() <= 0 || destination.IsEmpty())
    {
        return;
    }
    if (bitmap->GetWidth() == destination.width && bitmap->GetHeight() == destination.height)
    {
        // At its own size a bitmap's pixels go straight from its image: a rendering of its own
        // would copy them once more into fresh memory (the whole window's worth for a
        // background) and draw the same pixels.
        (void)graphics->DrawImage(
            *bitmap->GetBitmapData(), destination.x, destination.y,
            {bitmap->GetX(), bitmap->GetY(), destination.width, destination.height});
        return;
    }
    if (resizeType != kResizeStretch && resizeType != kResizeTile && resizeType != kResizeCenter)
    {
        QZ_THROW_INVALID_ARGUMENT("QZ::LGDIRenderer::DrawBitmap",
                                  "Invalid ResizeType passed to DrawBitmap.");
    }
    RCPtr<LCachedBitmap>& slot =
        mBitmapCache.Lookup({bitmap, destination.width, destination.height, resizeType}, false);
    if (!slot)
    {
        std::unique_ptr<Graphics2D::Image> rendered =
            RenderScaledBitmap(*bitmap, destination.width, destination.height, resizeType);
        if (!rendered)
        {
            return;
        }
        slot = new LCachedBitmap(std::move(rendered));
    }
    (void)graphics->DrawCachedImage(slot->GetImage(), destination.x, destination.y);
}

QZRESULT LGDIRenderer::DrawSurface(const RCPtr<LRenderContextInfo>& source,
                                   const PointT<std::int32_t>& destination,
                                   const RectT<std::int32_t>& sourceRect)
{
    const auto* from = dynamic_cast<const LGDIRenderContextInfo*>(source.Get());
    if (from == nullptr || !from->IsOffScreen())
    {
        return E_INVALIDARG;
    }
    Graphics2D::Graphics* graphics = CurrentGraphics();
    if (graphics == nullptr || !from->GetFrontSurface()->Draw(*graphics, destination, sourceRect))
    {
        return E_FAIL;
    }
    return S_OK;
}

QZRESULT LGDIRenderer::ScrollSurface(const RCPtr<LRenderContextInfo>& context,
                                     const PointT<std::int32_t>& offset)
{
    auto* scrolled = dynamic_cast<LGDIRenderContextInfo*>(context.Get());
    if (scrolled == nullptr || !scrolled->IsOffScreen())
    {
        return E_INVALIDARG;
    }
    const RCPtr<LGDIRendererOffscreenSurface> previous = scrolled->GetFrontSurface();
    scrolled->SwapSurfaces();
    Graphics2D::Graphics* graphics = scrolled->GetGraphics();
    const PointT<std::int32_t> size = previous->GetSize();
    if (graphics == nullptr)
    {
        return E_FAIL;
    }
    (void)graphics->Clear(0);
    return previous->Draw(*graphics, offset, {0, 0, size.x, size.y}) ? S_OK : E_FAIL;
}

void LGDIRenderer::SetClip(const RectT<double>& clip)
{
    LRenderer::SetClip(clip);
    Graphics2D::Graphics* graphics = CurrentGraphics();
    if (graphics == nullptr)
    {
        return;
    }
    const RectT<double>& stored = mCurrentContext->GetState().clip;
    (void)graphics->SetClipRect({static_cast<float>(stored.x), static_cast<float>(stored.y),
                                 static_cast<float>(stored.width),
                                 static_cast<float>(stored.height)});
}

void LGDIRenderer::OffsetOrigin(const PointT<double>& offset)
{
    LRenderer::OffsetOrigin(offset);
    ApplyOrigin();
}

void LGDIRenderer::SetOriginExactly(const PointT<double>& origin)
{
    if (RenderState* state = GetCurrentState())
    {
        state->origin = origin;
        ApplyOrigin();
    }
}

void LGDIRenderer::ApplyOrigin()
{
    Graphics2D::Graphics* graphics = CurrentGraphics();
    if (graphics == nullptr)
    {
        return;
    }
    const PointT<double>& origin = mCurrentContext->GetState().origin;
    (void)graphics->ResetWorldTransform();
    (void)graphics->TranslateWorldTransform(static_cast<float>(origin.x),
                                            static_cast<float>(origin.y),
                                            Graphics2D::MatrixOrder::Prepend);
}

} // namespace QZ
