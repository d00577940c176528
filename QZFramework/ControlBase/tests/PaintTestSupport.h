// A window for the painting tests: a root window whose tree is painted by the 2D renderer into
// an in-memory picture, one frame per Frame call, the dirty region taken from the root window.
#pragma once

#include "QZFramework/ControlBase/RootWindow.h"
#include "QZFramework/ControlBase/tests/ToolkitTestSupport.h"
#include "QZFramework/Renderer/GDI/GDIRenderer.h"
#include "QZFramework/Renderer/GDI/tests/MemoryPresenter.h"

#include <cstdint>
#include <string>
#include <vector>

namespace QZ::ToolkitTest
{

// The skins' look "Panel": the colorizer "Back" framed by 3 pixels of the colorizer "Edge".
inline constexpr const char* kFramedPanelLook = R"(
  <Look Name="Panel">
    <DockedPart Dock="Fill" Colorizer="Back"/>
    <DockedPart Dock="Left" Size="3" Colorizer="Edge"/>
    <DockedPart Dock="Top" Size="3" Colorizer="Edge"/>
    <DockedPart Dock="Right" Size="3" Colorizer="Edge"/>
    <DockedPart Dock="Bottom" Size="3" Colorizer="Edge"/>
    <DockedPart Dock="TopLeft" Size="3" Colorizer="Edge"/>
    <DockedPart Dock="TopRight" Size="3" Colorizer="Edge"/>
    <DockedPart Dock="BottomLeft" Size="3" Colorizer="Edge"/>
    <DockedPart Dock="BottomRight" Size="3" Colorizer="Edge"/>
  </Look>
)";

class PaintedWindow
{
public:
    PaintedWindow(LApplicationBase& application, std::int32_t width, std::int32_t height);
    ~PaintedWindow();

    // Paints the dirty region of the root window; the rectangles presented.
    std::vector<RectT<std::int32_t>> Frame();
    [[nodiscard]] const RCPtr<LRootWindow>& Window() const { return mWindow; }
    [[nodiscard]] const RCPtr<LGDIRenderer>& Renderer() const { return mRenderer; }
    [[nodiscard]] const RCPtr<LRenderContextInfo>& Context() const { return mContext; }
    [[nodiscard]] Testing::MemoryPresenter& Presenter() { return mPresenter; }
    // The root window's dirty rectangles, in region order.
    [[nodiscard]] std::vector<RectT<std::int32_t>> DirtyRects() const;

private:
    Testing::MemoryPresenter mPresenter;
    RCPtr<LGDIRenderer> mRenderer;
    RCPtr<LRenderContextInfo> mContext;
    RCPtr<LRootWindow> mWindow;
};

// The number of pixels of the picture that differ from the PNG file by more than tolerance in a
// channel inside the loose rectangles, or at all elsewhere; -1 when the file cannot be read or has
// another size. On a difference the picture is saved as actualPath.
[[nodiscard]] std::int32_t ComparePicture(Graphics2D::Image& picture, const std::string& path,
                                          const std::vector<RectT<std::int32_t>>& loose,
                                          std::int32_t tolerance, const std::string& actualPath);

} // namespace QZ::ToolkitTest
