// One level of a render context's drawing state: origin, clip, opacity and stencil. Saved
// copies of it form the context's state stack.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Renderer/Stencil.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

namespace QZ
{

struct RenderState
{
    // About -5.0e15 to 5.0e15 on both axes: a clip that cuts nothing.
    static constexpr RectT<double> kUnboundedClip{-5000000136282112.0, -5000000136282112.0,
                                                  10000000272564224.0, 10000000272564224.0};

    // The translation applied to all drawing.
    PointT<double> origin{0.0, 0.0};
    // The clip rectangle, relative to origin.
    RectT<double> clip = kUnboundedClip;
    // Global opacity. No renderer operation sets it: a caller that has pushed a state multiplies
    // it in place by its own opacity, and PopState restores it.
    float alpha = 1.0f;
    // True once PushClip installed a stencil in this state.
    bool stencilSet = false;
    RCPtr<LStencil> stencil;
};

} // namespace QZ
