// Helpers of the 2D renderer's tests: off-screen frames and pixel reads.
#pragma once

#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/tests/ReferenceScene.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace QZ::Testing
{

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;
constexpr std::uint32_t kBlack = 0xFF000000u;

// A renderer with one off-screen context of the size, and frames on it.
class OffscreenFrame
{
public:
    OffscreenFrame(std::int32_t width, std::int32_t height,
                   RCPtr<LGDIRenderer> renderer = RCPtr<LGDIRenderer>(new LGDIRenderer));

    const RCPtr<LGDIRenderer>& Renderer() const { return mRenderer; }
    const RCPtr<LRenderContextInfo>& Context() const { return mContext; }
    LGDIRenderContextInfo& GDIContext() const;

    void Start() const;
    void Finish() const;
    // Starts a frame, runs the drawing and finishes the frame.
    void Draw(const std::function<void(LGDIRenderer&)>& drawing) const;

    // Straight ARGB of a pixel of the front surface.
    [[nodiscard]] std::uint32_t Pixel(std::int32_t x, std::int32_t y) const;
    // The front surface as text, one character per pixel: '#' for the colour, '.' otherwise.
    [[nodiscard]] std::string Picture(std::uint32_t argb) const;
    // The top left of the front surface as text, one ColourLetter per pixel.
    [[nodiscard]] std::string Colours(std::int32_t width, std::int32_t height) const;
    [[nodiscard]] std::string Colours() const;

private:
    RCPtr<LGDIRenderer> mRenderer;
    RCPtr<LRenderContextInfo> mContext;
};

// R, G, B, W and K for the named colours, '.' for transparent, '?' for anything else.
[[nodiscard]] char ColourLetter(std::uint32_t argb);

// The text of the exception the action throws, or "no exception".
[[nodiscard]] std::string ExceptionText(const std::function<void()>& action);

} // namespace QZ::Testing
