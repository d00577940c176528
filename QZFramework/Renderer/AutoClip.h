// A scope that saves the renderer's state on construction and restores it on destruction: the
// usual way to pair every push made while drawing a control with its PopState.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/Renderer.h"
#include "QZFramework/Renderer/Stencil.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>

namespace QZ
{

class CAutoClip
{
public:
    static constexpr std::int32_t kFlavorState = 0;
    static constexpr std::int32_t kFlavorClip = 1;
    static constexpr std::int32_t kFlavorOffset = 2;

    // What to push: kFlavorState calls PushState, kFlavorClip PushClip(frame, clip, stencil,
    // inParentCoordinates), kFlavorOffset PushOffset(offset).
    struct ClipDescription
    {
        std::int32_t flavor = kFlavorState;
        RectT<double> frame;
        RectT<double> clip;
        RCPtr<LStencil> stencil;
        bool inParentCoordinates = false;
        PointT<double> offset;

        ClipDescription() = default;
        // A clip in parent coordinates, with no offset.
        ClipDescription(const RectT<double>& clipFrame, const RectT<double>& clipRect,
                        const RCPtr<LStencil>& clipStencil)
            : flavor(kFlavorClip), frame(clipFrame), clip(clipRect), stencil(clipStencil),
              inParentCoordinates(true)
        {
        }
    };

    // Each constructor keeps a reference to the renderer and pushes once; a null renderer makes
    // a scope that does nothing.
    explicit CAutoClip(const RCPtr<LRenderer>& renderer);
    // Throws a runtime error for an unknown flavour, having pushed nothing.
    CAutoClip(const RCPtr<LRenderer>& renderer, const ClipDescription& description);
    // PushClip in parent coordinates.
    CAutoClip(const RCPtr<LRenderer>& renderer, const RectT<double>& frame,
              const RectT<double>& clip, const RCPtr<LStencil>& stencil);
    CAutoClip(const RCPtr<LRenderer>& renderer, const RectT<double>& frame,
              const RectT<double>& clip, const RCPtr<LStencil>& stencil, bool inParentCoordinates);
    // PopState, then the renderer is released.
    ~CAutoClip();

    CAutoClip(const CAutoClip&) = delete;
    CAutoClip& operator=(const CAutoClip&) = delete;

private:
    RCPtr<LRenderer> mRenderer;
};

} // namespace QZ
