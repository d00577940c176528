#include "QZFramework/Renderer/OpenGL/GLRenderer.h"

#include "Platform/GL/GLContext.h"
#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Renderer/OpenGL/GLGlyphRenderer.h"
#include "QZFramework/Renderer/OpenGL/GLHeaders.h"
#include "QZFramework/Renderer/OpenGL/GLMessages.h"
#include "QZFramework/Renderer/OpenGL/GLPolygon.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"
#include "QZFramework/Utilities/Graphics/ColorRectListT.h"
#include "QZFramework/Utilities/Graphics/PolylineT.h"

#include <algorithm>
#include <chrono>
#include <cmath>

namespace QZ
{
namespace
{

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

std::int32_t RoundToPixel(double value)
{
    if (!(value > -2147483648.0))
    {
        return INT32_MIN;
    }
    if (!(value < 2147483647.0))
    {
        return INT32_MAX;
    }
    return static_cast<std::int32_t>(std::round(value));
}

// Rounded half away from zero, limited to what 64 bits hold (not a number counts as 0).
std::int64_t WholePixels(double value)
{
    constexpr double kLimit = 4.0e18;
    return std::isnan(value) ? 0 : std::llround(std::clamp(value, -kLimit, kLimit));
}

// A negative width or height turned round by moving x or y to the other edge.
RectT<double> Normalised(const RectT<std::int32_t>& rect)
{
    RectT<double> r{static_cast<double>(rect.x), static_cast<double>(rect.y),
                    static_cast<double>(rect.width), static_cast<double>(rect.height)};
    if (r.width < 0.0)
    {
        r.x += r.width;
        r.width = -r.width;
    }
    if (r.height < 0.0)
    {
        r.y += r.height;
        r.height = -r.height;
    }
    return r;
}

void SetColor(const ColorRGBA& color)
{
    glColor4f(color.red, color.green, color.blue, color.alpha);
}

void SetBlendOver()
{
    // Colours blend by their alpha; the destination's alpha is composed over, so an off-screen
    // picture keeps a true alpha channel.
    glBlendFuncSeparate(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA, GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
}

template <class Cache> void PurgeCache(Cache& cache)
{
    (void)cache.Purge(cache.GetPurgeStamp());
    // The first use count after this purge: an entry used from now on counts as used since it.
    cache.SetPurgeStamp(cache.GetUseCounter() + 1u);
}

template <class Cache> void EmptyCache(Cache& cache)
{
    (void)cache.Purge(cache.GetUseCounter() + 1u);
}

} // namespace

LGLRenderer::LGLRenderer(const RCPtr<LFontRenderer>& fontRenderer, WindowHandle window)
    : mFontRenderer(fontRenderer), mWindow(window), mLastPurgeTime(ApplicationMilliseconds()),
      mPolygonFill(kDisplayListCapacity), mPolygonOutline(kDisplayListCapacity),
      mLineSegments(kDisplayListCapacity), mPolyline(kDisplayListCapacity),
      mColorRects(kDisplayListCapacity), mTextures(kTextureCapacity)
{
    if (mFontRenderer)
    {
        mGlyphRenderer = RCPtr<LGLGlyphRenderer>::DynamicCastFrom(
            RCPtr<LGlyphProcessor>(mFontRenderer->GetSecondProcessor()));
    }
    std::int32_t number = 0;
    std::string text;
    mGL = window == nullptr ? GLPlatform::GLContext::CreateOffscreen(number, text)
                            : GLPlatform::GLContext::CreateForWindow(window, number, text);
    if (!mGL)
    {
        ReportGLError(u"GL_ERROR_MESSAGE_CREATE_CONTEXT");
        QZ_THROW_RUNTIME("QZ::LGLRenderer::LGLRenderer", text.c_str());
    }
    MakeCurrent(window, "QZ::LGLRenderer::LGLRenderer");
}

LGLRenderer::~LGLRenderer()
{
    // The textures and display lists are deleted in the context that made them.
    if (mGL && mGL->MakeCurrent(mWindow))
    {
        if (mGlyphRenderer)
        {
            mGlyphRenderer->ReleaseTextures();
        }
        EmptyCache(mTextures);
        EmptyCache(mColorRects);
        EmptyCache(mPolyline);
        EmptyCache(mLineSegments);
        EmptyCache(mPolygonOutline);
        EmptyCache(mPolygonFill);
        mGL->ReleaseCurrent();
    }
}

void LGLRenderer::MakeCurrent(WindowHandle window, const char* method)
{
    if (mGL->MakeCurrent(window))
    {
        return;
    }
    ReportGLError(u"GL_ERROR_MESSAGE_MAKE_CONTEXT_CURRENT", mGL->GetErrorNumber(),
                  WideString(mGL->GetErrorText().c_str()));
    QZ_THROW_RUNTIME(method, mGL->GetErrorText().c_str());
}

LGLRenderContextInfo* LGLRenderer::CurrentGLContext() const
{
    return static_cast<LGLRenderContextInfo*>(GetCurrentContext());
}

QZRESULT LGLRenderer::GetFontMetrics(const ConstRCPtr<LFont>& font, std::int32_t& height,
                                     std::int32_t& ascent, std::int32_t& descent)
{
    return mFontRenderer ? mFontRenderer->GetFontMetrics(font, height, ascent, descent) : E_FAIL;
}

RectT<float> LGLRenderer::MeasureText(const WideString& text, const ConstRCPtr<LFont>& font)
{
    RectT<float> out;
    if (mFontRenderer)
    {
        mFontRenderer->MeasureText(out, text, font);
    }
    return out;
}

std::int32_t LGLRenderer::GetRendererType() const
{
    return kTypeOpenGL;
}

QZRESULT LGLRenderer::InitRenderContextInfo(const RectT<std::int32_t>& viewport,
                                            WindowHandle window, bool offScreen,
                                            RCPtr<LRenderContextInfo>& out)
{
    MakeCurrent(offScreen ? nullptr : window, "QZ::LGLRenderer::InitRenderContextInfo");
    const RCPtr<LGLRenderContextInfo> made(
        new LGLRenderContextInfo(viewport, window, offScreen, mGL));
    const bool drawable = made->BindTarget();
    // Drawing goes on into the frame under way, if any.
    if (LGLRenderContextInfo* current = CurrentGLContext())
    {
        (void)current->BindTarget();
    }
    else
    {
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    if (!drawable)
    {
        ReportGLError(u"GL_ERROR_MESSAGE_SET_PIXEL_FORMAT");
        QZ_THROW_RUNTIME("QZ::LGLRenderer::InitRenderContextInfo",
                         "the picture's framebuffer object is not complete");
    }
    out = made;
    ApplyInitialState();
    return S_OK;
}

void LGLRenderer::ApplyInitialState() const
{
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glDisable(GL_LIGHTING);
    glDisable(GL_DITHER);
    glDisable(GL_DEPTH_TEST);
    glShadeModel(GL_SMOOTH);
    glDisable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    SetBlendOver();
    glHint(GL_LINE_SMOOTH_HINT, GL_NICEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glHint(GL_POLYGON_SMOOTH_HINT, GL_NICEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Fully transparent fragments are dropped.
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, 0.003921569f);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_POINT_SMOOTH);
    glEnable(GL_LINE_SMOOTH);
    glDisable(GL_POLYGON_SMOOTH);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glEnable(GL_SCISSOR_TEST);
}

QZRESULT LGLRenderer::SetViewport(const RectT<std::int32_t>& viewport)
{
    (void)LRenderer::SetViewport(viewport);
    if (GetCurrentContext() == nullptr)
    {
        return S_OK;
    }
    glViewport(viewport.x, viewport.y, viewport.width, viewport.height);
    GLint read[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_VIEWPORT, read);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, read[2], read[3], 0.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    return S_OK;
}

void LGLRenderer::ApplyScissor(const RectT<double>& r) const
{
    const LGLRenderContextInfo* context = CurrentGLContext();
    if (context == nullptr)
    {
        return;
    }
    const RectT<std::int32_t>& viewport = context->GetViewport();
    // In 64 bits: an unbounded clip is about 1e16 pixels wide.
    std::int64_t x = WholePixels(r.x);
    std::int64_t y = WholePixels(static_cast<double>(viewport.height) - (r.y + r.height));
    std::int64_t w = WholePixels(r.width);
    std::int64_t h = WholePixels(r.height);
    if (x < 0)
    {
        w += x;
        x = 0;
    }
    if (y < 0)
    {
        h += y;
        y = 0;
    }
    if (w > 0 && h > 0)
    {
        glScissor(static_cast<GLint>(std::min<std::int64_t>(x, INT32_MAX)),
                  static_cast<GLint>(std::min<std::int64_t>(y, INT32_MAX)),
                  static_cast<GLsizei>(std::min<std::int64_t>(w, INT32_MAX)),
                  static_cast<GLsizei>(std::min<std::int64_t>(h, INT32_MAX)));
    }
    else
    {
        // One pixel right of the viewport: nothing can be drawn.
        glScissor(viewport.width, 0, 1, 1);
    }
}

void LGLRenderer::ApplyCurrentClip() const
{
    if (const RenderState* state = GetCurrentState())
    {
        ApplyScissor({state->clip.x + state->origin.x, state->clip.y + state->origin.y,
                      state->clip.width, state->clip.height});
    }
}

void LGLRenderer::SetClip(const RectT<double>& clip)
{
    LRenderer::SetClip(clip);
    ApplyCurrentClip();
}

void LGLRenderer::OffsetOrigin(const PointT<double>& offset)
{
    LRenderer::OffsetOrigin(offset);
    if (GetCurrentContext() != nullptr && !(offset == PointT<double>{0.0, 0.0}))
    {
        glTranslatef(static_cast<float>(offset.x), static_cast<float>(offset.y), 0.0f);
    }
}

QZRESULT LGLRenderer::RenderStart(const RCPtr<LRenderContextInfo>& context)
{
    auto* started = dynamic_cast<LGLRenderContextInfo*>(context.Get());
    if (context && started == nullptr)
    {
        QZ_THROW_RUNTIME("QZ::LGLRenderer::RenderStart", "not a context of this renderer");
    }
    if (started != nullptr)
    {
        MakeCurrent(started->IsOffScreen() ? nullptr : started->GetWindow(),
                    "QZ::LGLRenderer::RenderStart");
    }
    (void)LRenderer::RenderStart(context);
    (void)started->BindTarget();
    (void)SetViewport(started->GetViewport());
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    const RenderState& state = started->GetState();
    glTranslatef(static_cast<float>(state.origin.x), static_cast<float>(state.origin.y), 0.0f);
    ApplyCurrentClip();
    return S_OK;
}

QZRESULT LGLRenderer::RenderFinish(const RCPtr<LRenderContextInfo>& context)
{
    LGLRenderContextInfo* finished = CurrentGLContext();
    if (finished == nullptr || context.Get() != finished)
    {
        // Throws, before anything of the current frame is touched.
        return LRenderer::RenderFinish(context);
    }
    DrainGLErrors();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    if (finished->IsOffScreen())
    {
        glFlush();
    }
    else
    {
        (void)finished->SwapBuffers();
        DrainGLErrors();
    }
    (void)LRenderer::RenderFinish(context);
    if (LGLRenderContextInfo* below = CurrentGLContext())
    {
        (void)below->BindTarget();
        (void)SetViewport(below->GetViewport());
        ApplyCurrentClip();
        return S_OK;
    }
    const std::uint32_t now = ApplicationMilliseconds();
    if (now - mLastPurgeTime > kPurgePeriodMilliseconds)
    {
        mLastPurgeTime = now;
        PurgeCaches();
    }
    if (!finished->IsOffScreen())
    {
        mGL->ReleaseCurrent();
    }
    return S_OK;
}

void LGLRenderer::PurgeCaches()
{
    if (!mGL->MakeCurrent(mWindow))
    {
        return;
    }
    PurgeCache(mTextures);
    PurgeCache(mPolygonFill);
    PurgeCache(mPolygonOutline);
    PurgeCache(mLineSegments);
    PurgeCache(mPolyline);
    PurgeCache(mColorRects);
}

void LGLRenderer::DrawText(const WideString& text, const ConstRCPtr<LFont>& font,
                           const PointT<std::int32_t>& position, const ColorRGBA& color)
{
    if (!mFontRenderer || !font || text.IsEmpty() || GetCurrentContext() == nullptr)
    {
        return;
    }
    std::int32_t height = 0;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    if (mFontRenderer->GetFontMetrics(font, height, ascent, descent) != S_OK)
    {
        return;
    }
    if (mGlyphRenderer)
    {
        mGlyphRenderer->SetLineAscent(ascent);
    }
    SetColor(color);
    const PointT<double> at{static_cast<double>(position.x), static_cast<double>(position.y)};
    OffsetOrigin(at);
    (void)mFontRenderer->RenderText(text, font, mFontRenderer->GetSecondProcessor(), 0, 0.0f,
                                    LGlyphProcessor::kFlagsDraw);
    OffsetOrigin({-at.x, -at.y});
}

void LGLRenderer::DrawRect(const RectT<std::int32_t>& rect, const ColorRGBA& color, float lineWidth)
{
    if (GetCurrentContext() == nullptr)
    {
        return;
    }
    const RectT<double> r = Normalised(rect);
    glDisable(GL_TEXTURE_2D);
    glLineWidth(lineWidth);
    SetColor(color);
    glBegin(GL_LINE_STRIP);
    glVertex2d(r.x, r.y);
    glVertex2d(r.GetRight(), r.y);
    glVertex2d(r.GetRight(), r.GetBottom());
    glVertex2d(r.x, r.GetBottom());
    glVertex2d(r.x, r.y);
    glEnd();
}

void LGLRenderer::FillRect(const RectT<std::int32_t>& rect, const ColorRGBA& color, bool blend)
{
    const RenderState* state = GetCurrentState();
    if (state == nullptr)
    {
        return;
    }
    const RectT<double> r = Normalised(rect);
    if (blend)
    {
        SetColor(color);
        glDisable(GL_TEXTURE_2D);
        glBegin(GL_QUADS);
        glVertex2d(r.x, r.y);
        glVertex2d(r.GetRight(), r.y);
        glVertex2d(r.GetRight(), r.GetBottom());
        glVertex2d(r.x, r.GetBottom());
        glEnd();
        return;
    }
    // The pixels take the colour as it is: cleared within the rectangle and the clip.
    const RectT<double>& clip = state->clip;
    const double left = std::max(r.x, clip.x);
    const double top = std::max(r.y, clip.y);
    const double right = std::min(r.GetRight(), clip.GetRight());
    const double bottom = std::min(r.GetBottom(), clip.GetBottom());
    if (!(right > left) || !(bottom > top))
    {
        return;
    }
    ApplyScissor({left + state->origin.x, top + state->origin.y, right - left, bottom - top});
    glClearColor(color.red, color.green, color.blue, color.alpha);
    glClear(GL_COLOR_BUFFER_BIT);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    ApplyCurrentClip();
}

void LGLRenderer::DrawRecorded(DisplayListCache& cache, DisplayListCache* partner, std::int32_t key,
                               bool changed, bool keepCached, const std::function<void()>& setUp,
                               const std::function<void()>& commands)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    setUp();
    if (!keepCached)
    {
        (void)cache.Discard(key);
        if (partner != nullptr)
        {
            (void)partner->Discard(key);
        }
        commands();
        glPopMatrix();
        return;
    }
    if (changed && partner != nullptr)
    {
        // The partner's recording is out of date, and the flag that would tell it is taken.
        (void)partner->Discard(key);
    }
    RCPtr<LGLDisplayList>& slot = cache.Lookup(key, changed);
    if (!slot || slot->Call(0, 1) != S_OK)
    {
        slot = LGLDisplayList::Create(1);
        if (slot->BeginCompile(0) == S_OK)
        {
            commands();
            slot->EndCompile();
            (void)slot->Call(0, 1);
        }
        else
        {
            slot = nullptr;
            commands();
        }
    }
    glPopMatrix();
}

void LGLRenderer::FillColorRects(ColorRectListT<float>& rects, const PointT<double>& offset,
                                 bool keepCached)
{
    if (GetCurrentContext() == nullptr)
    {
        return;
    }
    const bool changed = keepCached && rects.TakeChanged();
    DrawRecorded(
        mColorRects, nullptr, ColorRectListT<float>::GetHandle(rects), changed, keepCached,
        [&] { glTranslated(offset.x, offset.y, 0.0); },
        [&]
        {
            const double sx = rects.GetScaleX();
            const double sy = rects.GetScaleY();
            for (std::int32_t i = rects.GetCount() - 1; i >= 0; --i)
            {
                const RectT<float>& rect = rects.GetRect(i);
                const RectT<std::int32_t> scaled{
                    RoundToPixel(rect.x * sx), RoundToPixel(rect.y * sy),
                    RoundToPixel(rect.width * sx), RoundToPixel(rect.height * sy)};
                FillRect(scaled, ColorRGBA(rects.GetColor(i)), true);
            }
        });
}

void LGLRenderer::DrawLine(const PointT<float>& from, const PointT<float>& to,
                           const ColorRGBA& color, float width)
{
    if (GetCurrentContext() == nullptr)
    {
        return;
    }
    glDisable(GL_TEXTURE_2D);
    glLineWidth(width);
    SetColor(color);
    glBegin(GL_LINES);
    glVertex2f(from.x, from.y);
    glVertex2f(to.x, to.y);
    glEnd();
}

void LGLRenderer::DrawPoints(PolylineT<float>& polyline, std::uint32_t mode, const ColorRGBA& color,
                             const PointT<float>& offset, const PointT<float>& scale,
                             bool keepCached)
{
    if (GetCurrentContext() == nullptr)
    {
        return;
    }
    const bool polygon = mode == GL_LINE_LOOP;
    DisplayListCache& cache = mode == GL_LINES ? mLineSegments
                              : polygon        ? mPolygonOutline
                                               : mPolyline;
    const bool changed = keepCached && polyline.TakeChanged();
    DrawRecorded(
        cache, polygon ? &mPolygonFill : nullptr, PolylineT<float>::GetHandle(polyline), changed,
        keepCached,
        [&]
        {
            glTranslatef(offset.x, offset.y, 0.0f);
            glScalef(scale.x, scale.y, 1.0f);
            glDisable(GL_TEXTURE_2D);
            SetColor(color);
        },
        [&]
        {
            const Array<PointT<float>>& points = polyline.GetPoints();
            if (points.GetCount() == 0)
            {
                return;
            }
            glLineWidth(polyline.GetLineWidth());
            glEnableClientState(GL_VERTEX_ARRAY);
            glVertexPointer(2, GL_FLOAT, sizeof(PointT<float>), points.GetData());
            glDrawArrays(mode, 0, points.GetCount());
            glDisableClientState(GL_VERTEX_ARRAY);
        });
}

void LGLRenderer::DrawLineSegments(PolylineT<float>& polyline, const ColorRGBA& color,
                                   const PointT<float>& offset, const PointT<float>& scale,
                                   bool keepCached)
{
    DrawPoints(polyline, GL_LINES, color, offset, scale, keepCached);
}

void LGLRenderer::DrawPolyline(PolylineT<float>& polyline, const ColorRGBA& color,
                               const PointT<float>& offset, const PointT<float>& scale,
                               bool keepCached)
{
    DrawPoints(polyline, GL_LINE_STRIP, color, offset, scale, keepCached);
}

void LGLRenderer::DrawPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                              const PointT<float>& offset, const PointT<float>& scale,
                              bool keepCached)
{
    DrawPoints(polyline, GL_LINE_LOOP, color, offset, scale, keepCached);
}

void LGLRenderer::FillPolygon(PolylineT<float>& polyline, const ColorRGBA& color,
                              const PointT<float>& offset, const PointT<float>& scale,
                              bool keepCached)
{
    if (GetCurrentContext() == nullptr)
    {
        return;
    }
    const bool changed = keepCached && polyline.TakeChanged();
    DrawRecorded(
        mPolygonFill, &mPolygonOutline, PolylineT<float>::GetHandle(polyline), changed, keepCached,
        [&]
        {
            glTranslatef(offset.x, offset.y, 0.0f);
            glScalef(scale.x, scale.y, 1.0f);
            glDisable(GL_TEXTURE_2D);
            SetColor(color);
        },
        [&] { (void)CGLPolygon().Tessellate(polyline); });
}

void LGLRenderer::DrawTiles(const LGLTexture& texture, const RectT<std::int32_t>& s,
                            const RectT<std::int32_t>& d)
{
    if (s.width <= 0 || s.height <= 0)
    {
        return;
    }
    const std::int64_t right = std::int64_t{d.x} + d.width;
    const std::int64_t bottom = std::int64_t{d.y} + d.height;
    for (std::int64_t x = d.x; x < right; x += s.width)
    {
        for (std::int64_t y = d.y; y < bottom; y += s.height)
        {
            DrawUnscaled(texture, s, x, y, d);
        }
    }
}

void LGLRenderer::DrawUnscaled(const LGLTexture& texture, const RectT<std::int32_t>& s,
                               std::int64_t x, std::int64_t y, const RectT<std::int32_t>& d)
{
    const std::int64_t left = std::max<std::int64_t>(x, d.x);
    const std::int64_t top = std::max<std::int64_t>(y, d.y);
    const std::int64_t right = std::min<std::int64_t>(x + s.width, std::int64_t{d.x} + d.width);
    const std::int64_t bottom = std::min<std::int64_t>(y + s.height, std::int64_t{d.y} + d.height);
    if (right <= left || bottom <= top)
    {
        return;
    }
    const auto f = [](std::int64_t value) { return static_cast<float>(value); };
    texture.Draw(f(s.x + left - x), f(s.y + top - y), f(s.x + right - x), f(s.y + bottom - y),
                 f(left), f(top), f(right), f(bottom));
}

void LGLRenderer::DrawBitmap(const ConstRCPtr<LBitmap>& bitmap,
                             const RectT<std::int32_t>& destination, std::int32_t resizeType)
{
    if (!bitmap)
    {
        QZ_THROW_FAILED_RESULT(E_INVALIDARG, "QZ::LGLRenderer::DrawBitmap");
    }
    if (GetCurrentContext() == nullptr || bitmap->GetBitmapData() == nullptr)
    {
        return;
    }
    const RectT<std::int32_t> s{bitmap->GetX(), bitmap->GetY(), bitmap->GetWidth(),
                                bitmap->GetHeight()};
    const RectT<std::int32_t>& d = destination;
    const std::int32_t type =
        s.width == d.width && s.height == d.height ? kResizeStretch : resizeType;
    if (type != kResizeStretch && type != kResizeTile && type != kResizeCenter)
    {
        QZ_THROW_LOGIC("QZ::LGLRenderer::DrawBitmap", "Invalid ResizeType passed to DrawBitmap!");
    }
    RCPtr<LGLTexture>& slot = mTextures.Lookup(LBitmap::GetHandle(bitmap));
    if (!slot || !slot->IsLoaded())
    {
        slot = new LGLTexture;
        slot->SetBitmap(bitmap);
    }
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    switch (type)
    {
    case kResizeStretch:
        slot->Draw(static_cast<float>(s.x), static_cast<float>(s.y),
                   static_cast<float>(s.GetRight()), static_cast<float>(s.GetBottom()),
                   static_cast<float>(d.x), static_cast<float>(d.y),
                   static_cast<float>(d.x) + static_cast<float>(d.width),
                   static_cast<float>(d.y) + static_cast<float>(d.height));
        break;
    case kResizeTile:
        DrawTiles(*slot, s, d);
        break;
    default:
        DrawUnscaled(*slot, s, std::int64_t{d.x} + (std::int64_t{d.width} - s.width) / 2,
                     std::int64_t{d.y} + (std::int64_t{d.height} - s.height) / 2, d);
        break;
    }
}

QZRESULT LGLRenderer::DrawSurface(const RCPtr<LRenderContextInfo>& source,
                                  const PointT<std::int32_t>& destination,
                                  const RectT<std::int32_t>& sourceRect)
{
    const auto* surface = dynamic_cast<const LGLRenderContextInfo*>(source.Get());
    if (surface == nullptr || !surface->IsOffScreen())
    {
        return E_INVALIDARG;
    }
    // Reading the picture being drawn into is undefined in GL.
    if (GetCurrentContext() == nullptr || GetCurrentContext() == surface)
    {
        return E_FAIL;
    }
    const float W = static_cast<float>(surface->GetPictureWidth());
    const float H = static_cast<float>(surface->GetPictureHeight());
    const RectT<float> r{static_cast<float>(sourceRect.x), static_cast<float>(sourceRect.y),
                         static_cast<float>(sourceRect.width),
                         static_cast<float>(sourceRect.height)};
    const float s0 = r.x / W;
    const float s1 = (r.x + r.width) / W;
    const float t0 = (H - r.y) / H;
    const float t1 = (H - r.y - r.height) / H;
    const float x = static_cast<float>(destination.x);
    const float y = static_cast<float>(destination.y);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, surface->GetTextureName());
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(x, y);
    glTexCoord2f(s0, t1);
    glVertex2f(x, y + r.height);
    glTexCoord2f(s1, t1);
    glVertex2f(x + r.width, y + r.height);
    glTexCoord2f(s1, t0);
    glVertex2f(x + r.width, y);
    glEnd();
    glDisable(GL_TEXTURE_2D);
    return S_OK;
}

QZRESULT LGLRenderer::ScrollSurface(const RCPtr<LRenderContextInfo>& context,
                                    const PointT<std::int32_t>& offset)
{
    auto* surface = dynamic_cast<LGLRenderContextInfo*>(context.Get());
    if (surface == nullptr || !surface->IsOffScreen())
    {
        return E_INVALIDARG;
    }
    if (GetCurrentContext() == surface)
    {
        return E_FAIL;
    }
    (void)RenderStart(context);
    const RectT<std::int32_t>& v = surface->GetViewport();
    const RectT<double> frame{static_cast<double>(v.x), static_cast<double>(v.y),
                              static_cast<double>(v.width), static_cast<double>(v.height)};
    PushClip(frame, frame, nullptr, false);
    // The picture is drawn from a copy: a texture cannot be read while it is drawn into.
    const std::uint32_t copy = surface->CopyPicture();
    const float s0 = static_cast<float>(v.x) / static_cast<float>(v.width);
    const float s1 = static_cast<float>(v.x + v.width) / static_cast<float>(v.width);
    const float x = static_cast<float>(offset.x);
    const float y = static_cast<float>(offset.y);
    const float w = static_cast<float>(v.width);
    const float h = static_cast<float>(v.height);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, copy);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glBlendFunc(GL_ONE, GL_ZERO);
    glDisable(GL_ALPHA_TEST);
    glBegin(GL_QUADS);
    glTexCoord2f(s0, 1.0f);
    glVertex2f(x, y);
    glTexCoord2f(s0, 0.0f);
    glVertex2f(x, y + h);
    glTexCoord2f(s1, 0.0f);
    glVertex2f(x + w, y + h);
    glTexCoord2f(s1, 1.0f);
    glVertex2f(x + w, y);
    glEnd();
    glEnable(GL_ALPHA_TEST);
    SetBlendOver();
    glDisable(GL_TEXTURE_2D);
    PopState();
    (void)RenderFinish(context);
    return S_OK;
}

} // namespace QZ
