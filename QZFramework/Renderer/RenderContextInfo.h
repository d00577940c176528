// The drawing target of one window (or of one off-screen image): its viewport, the region to
// repaint in the current frame, the current render state and the stack of saved states. Made by a
// renderer's InitRenderContextInfo, owned by the caller, reused for every frame of its window.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Renderer/RenderState.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Graphics/RegionT.h"

#include <cstdint>
#include <deque>
#include <utility>

namespace QZ
{

// The platform window layer's native window, opaque to the renderers' shared code; null for a
// target without a window.
using WindowHandle = void*;

class LRenderContextInfo : public LRefCountedObject
{
public:
    LRenderContextInfo(const RectT<std::int32_t>& viewport, WindowHandle window, bool offScreen);

    // The largest drawable width and height of this kind of target.
    virtual std::pair<std::int32_t, std::int32_t> GetMaxViewportSize() const = 0;

    WindowHandle GetWindow() const { return mWindow; }
    // True for a target that draws into an image kept in memory, false for a window.
    bool IsOffScreen() const { return mOffScreen; }

    // The part of the window to repaint in the current frame; the paint handler fills it before
    // RenderStart.
    RegionT& GetUpdateRegion() { return mUpdateRegion; }
    const RegionT& GetUpdateRegion() const { return mUpdateRegion; }

    const RectT<std::int32_t>& GetViewport() const { return mViewport; }
    void SetViewport(const RectT<std::int32_t>& viewport) { mViewport = viewport; }

    RenderState& GetState() { return mState; }
    const RenderState& GetState() const { return mState; }
    // Saved states; pushes and pops happen at the back.
    std::deque<RenderState>& GetStateStack() { return mStateStack; }
    const std::deque<RenderState>& GetStateStack() const { return mStateStack; }

private:
    WindowHandle mWindow;
    bool mOffScreen;
    RegionT mUpdateRegion;
    RectT<std::int32_t> mViewport;
    RenderState mState;
    std::deque<RenderState> mStateStack;
};

} // namespace QZ
