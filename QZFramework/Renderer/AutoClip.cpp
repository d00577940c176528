#include "QZFramework/Renderer/AutoClip.h"

namespace QZ
{

CAutoClip::CAutoClip(const RCPtr<LRenderer>& renderer) : mRenderer(renderer)
{
    if (!mRenderer.IsNull())
    {
        mRenderer->PushState();
    }
}

CAutoClip::CAutoClip(const RCPtr<LRenderer>& renderer, const ClipDescription& description)
    : mRenderer(renderer)
{
    if (description.flavor < kFlavorState || description.flavor > kFlavorOffset)
    {
        QZ_THROW_RUNTIME("QZ::CAutoClip::CAutoClip", "Unknown PushClip flavor");
    }
    if (mRenderer.IsNull())
    {
        return;
    }
    switch (description.flavor)
    {
    case kFlavorClip:
        mRenderer->PushClip(description.frame, description.clip, description.stencil,
                            description.inParentCoordinates);
        break;
    case kFlavorOffset:
        mRenderer->PushOffset(description.offset);
        break;
    default:
        mRenderer->PushState();
        break;
    }
}

CAutoClip::CAutoClip(const RCPtr<LRenderer>& renderer, const RectT<double>& frame,
                     const RectT<double>& clip, const RCPtr<LStencil>& stencil)
    : CAutoClip(renderer, frame, clip, stencil, true)
{
}

CAutoClip::CAutoClip(const RCPtr<LRenderer>& renderer, const RectT<double>& frame,
                     const RectT<double>& clip, const RCPtr<LStencil>& stencil,
                     bool inParentCoordinates)
    : mRenderer(renderer)
{
    if (!mRenderer.IsNull())
    {
        mRenderer->PushClip(frame, clip, stencil, inParentCoordinates);
    }
}

CAutoClip::~CAutoClip()
{
    if (!mRenderer.IsNull())
    {
        mRenderer->PopState();
    }
}

} // namespace QZ
