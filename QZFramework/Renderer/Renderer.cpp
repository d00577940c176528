#include "QZFramework/Renderer/Renderer.h"

#include "QZFramework/Renderer/D3D9/D3D9Renderer.h"

#include <algorithm>
#include <cmath>

namespace QZ
{
namespace
{

constexpr double kEpsilon = 2.220446049250313e-16;

// Rounded half away from zero; a position that is not finite counts as 0, so that one bad
// rectangle cannot poison the origin of everything drawn after it.
double WholePixels(double value)
{
    return std::isfinite(value) ? std::round(value) : 0.0;
}

// Rounded down, where a value within a relative epsilon below a whole number counts as that
// number.
double FloorTolerant(double value)
{
    const double down = std::floor(value);
    if (down == value)
    {
        return value;
    }
    const double up = down + 1.0;
    return up - value <= std::abs(value) * kEpsilon ? up : down;
}

// The common part of two rectangles; an empty rectangle at the common part's top-left when its
// width or height is not above the epsilon.
RectT<double> IntersectClip(const RectT<double>& a, const RectT<double>& b)
{
    const double left = std::max(a.x, b.x);
    const double top = std::max(a.y, b.y);
    const double right = std::min(a.GetRight(), b.GetRight());
    const double bottom = std::min(a.GetBottom(), b.GetBottom());
    if (!(right - left > kEpsilon) || !(bottom - top > kEpsilon))
    {
        return {left, top, 0.0, 0.0};
    }
    return {left, top, right - left, bottom - top};
}

// Whole-pixel edges: a negative extent is turned round first; a rectangle that is not finite
// becomes empty.
RectT<double> SnapToPixels(RectT<double> r)
{
    if (!r.IsFinite())
    {
        return {};
    }
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
    const double left = FloorTolerant(r.x);
    const double top = FloorTolerant(r.y);
    const double right = FloorTolerant(r.x + r.width);
    const double bottom = FloorTolerant(r.y + r.height);
    return {left, top, right - left, bottom - top};
}

} // namespace

RCPtr<LRenderer> LRenderer::Create(std::int32_t type, const RectT<std::int32_t>& /*bounds*/,
                                   WindowHandle /*window*/)
{
    switch (type)
    {
    case kTypeStub:
        return RCPtr<LRenderer>(new LD3D9Renderer);
    case kTypeOpenGL:
    case kTypeGDIPlus:
        return RCPtr<LRenderer>();
    default:
        QZ_THROW_DOMAIN("QZ::LRenderer::Create");
    }
}

LRenderContextInfo* LRenderer::GetCurrentContext() const
{
    const std::int32_t count = mStartedContexts.GetCount();
    return count == 0 ? nullptr : mStartedContexts.GetAt(count - 1).Get();
}

RenderState* LRenderer::GetCurrentState() const
{
    LRenderContextInfo* context = GetCurrentContext();
    return context != nullptr ? &context->GetState() : nullptr;
}

QZRESULT LRenderer::SetViewport(const RectT<std::int32_t>& viewport)
{
    if (LRenderContextInfo* context = GetCurrentContext())
    {
        context->SetViewport(viewport);
    }
    return S_OK;
}

QZRESULT LRenderer::SetStencil(const RCPtr<LStencil>& stencil)
{
    if (RenderState* state = GetCurrentState())
    {
        state->stencil = stencil;
    }
    return S_OK;
}

QZRESULT LRenderer::RenderStart(const RCPtr<LRenderContextInfo>& context)
{
    if (context.IsNull())
    {
        QZ_THROW_RUNTIME("QZ::LRenderer::RenderStart", "Render context is NULL");
    }
    if (std::find(mStartedContexts.begin(), mStartedContexts.end(), context) !=
        mStartedContexts.end())
    {
        QZ_THROW_RUNTIME("QZ::LRenderer::RenderStart", "Render context reentered.");
    }
    mStartedContexts.Add(context);
    return S_OK;
}

QZRESULT LRenderer::RenderFinish(const RCPtr<LRenderContextInfo>& context)
{
    const std::int32_t count = mStartedContexts.GetCount();
    if (count == 0 || !(mStartedContexts.GetAt(count - 1) == context))
    {
        QZ_THROW_RUNTIME("QZ::LRenderer::RenderFinish",
                         "RenderFinish context does not match RenderStart context");
    }
    mStartedContexts.RemoveItem(count - 1);
    return S_OK;
}

void LRenderer::DrawFilledRect(const RectT<std::int32_t>& rect, const ColorRGBA& fill,
                               const ColorRGBA& outline, float lineWidth)
{
    if (fill.alpha > 0.0f)
    {
        FillRect(rect, fill, true);
    }
    if (outline.alpha > 0.0f)
    {
        DrawRect(rect, outline, lineWidth);
    }
}

void LRenderer::PushOffset(const PointT<double>& offset)
{
    LRenderContextInfo* context = GetCurrentContext();
    if (context == nullptr)
    {
        return;
    }
    context->GetStateStack().push_back(context->GetState());
    const PointT<double> p{WholePixels(offset.x), WholePixels(offset.y)};
    OffsetOrigin(p);
    RenderState& state = context->GetState();
    state.clip.x -= p.x;
    state.clip.y -= p.y;
}

void LRenderer::PushClip(const RectT<double>& frame, const RectT<double>& clip,
                         const RCPtr<LStencil>& stencil, bool inParentCoordinates)
{
    LRenderContextInfo* context = GetCurrentContext();
    if (context == nullptr)
    {
        return;
    }
    RenderState& state = context->GetState();
    PointT<double> p{frame.x, frame.y};
    if (!inParentCoordinates)
    {
        p = p - state.origin;
    }
    p = {WholePixels(p.x), WholePixels(p.y)};
    context->GetStateStack().push_back(state);

    RectT<double> r = clip;
    if (inParentCoordinates)
    {
        r = IntersectClip(IntersectClip(r, frame), state.clip);
    }
    SetClip(SnapToPixels(r));
    OffsetOrigin(p);
    if (inParentCoordinates)
    {
        state.clip.x -= p.x;
        state.clip.y -= p.y;
    }
    if (stencil.IsNull())
    {
        return;
    }
    if (state.stencilSet)
    {
        SetStencil(LStencil::Create(stencil->GetWidth(), stencil->GetHeight()));
    }
    else
    {
        SetStencil(stencil);
        state.stencilSet = true;
    }
}

void LRenderer::PushState()
{
    if (LRenderContextInfo* context = GetCurrentContext())
    {
        context->GetStateStack().push_back(context->GetState());
    }
}

void LRenderer::PopState()
{
    LRenderContextInfo* context = GetCurrentContext();
    if (context == nullptr || context->GetStateStack().empty())
    {
        return;
    }
    const RenderState saved = std::move(context->GetStateStack().back());
    context->GetStateStack().pop_back();
    RenderState& state = context->GetState();
    OffsetOrigin(saved.origin - state.origin);
    // The difference may not add back exactly in floating point; the saved origin is the truth.
    state.origin = saved.origin;
    state.alpha = saved.alpha;
    SetClip(saved.clip);
    SetStencil(saved.stencil);
    state.stencilSet = saved.stencilSet;
}

void LRenderer::SetClip(const RectT<double>& clip)
{
    if (RenderState* state = GetCurrentState())
    {
        state->clip = clip;
    }
}

void LRenderer::OffsetOrigin(const PointT<double>& offset)
{
    if (RenderState* state = GetCurrentState())
    {
        state->origin = state->origin + offset;
    }
}

} // namespace QZ
