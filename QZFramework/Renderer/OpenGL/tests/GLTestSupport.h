// Helpers of the OpenGL renderer's tests: a type-0 renderer with one off-screen context, frames on
// it and its picture read back. The context runs on EGL with Mesa's software rasteriser; no
// display is needed.
#pragma once

#include "QZFramework/Renderer/OpenGL/GLRenderer.h"
#include "QZFramework/Renderer/tests/ReferenceScene.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace QZ::Testing
{

class GLFrame
{
public:
    GLFrame(std::int32_t width, std::int32_t height);

    LGLRenderer& Renderer() const { return *mRenderer; }
    const RCPtr<LRenderContextInfo>& Context() const { return mContext; }
    LGLRenderContextInfo& GLContext() const;

    // Starts a frame, runs the drawing and finishes the frame.
    void Draw(const std::function<void(LGLRenderer&)>& drawing) const;
    // The picture as straight ARGB, rows top down.
    [[nodiscard]] std::vector<std::uint32_t> Picture() const;
    [[nodiscard]] std::uint32_t Pixel(std::int32_t x, std::int32_t y) const;
    // The picture as text, one character per pixel: '#' for the colour, '.' otherwise.
    [[nodiscard]] std::string Map(std::uint32_t argb) const;

private:
    RCPtr<LGLRenderer> mRenderer;
    RCPtr<LRenderContextInfo> mContext;
};

} // namespace QZ::Testing
