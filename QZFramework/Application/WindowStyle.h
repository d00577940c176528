// How a skin control's layout shapes the window that shows it, and where windows may lie.
//
// A window gets a sizing border unless its control's size is fixed (the minimum equals the
// maximum and is not zero) or none of its four limits is taken from the control itself; a main
// window with a border whose maximum is unlimited can also be maximised.
#pragma once

#include "QZFramework/ControlBase/LayoutDescriptor.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>

namespace QZ
{

inline constexpr std::uint32_t kStyleCaption = 0x00C00000;
inline constexpr std::uint32_t kStyleSystemMenu = 0x00080000;
inline constexpr std::uint32_t kStyleMinimizeBox = 0x00020000;
inline constexpr std::uint32_t kStyleMaximizeBox = 0x00010000;
inline constexpr std::uint32_t kStyleSizingBorder = 0x00040000;
inline constexpr std::uint32_t kStylePopup = 0x80000000;

[[nodiscard]] bool HasSizingBorder(const LLayoutDescriptor& layout);
// Caption, system menu and minimise box, with the border (and maximise box) the layout gives.
[[nodiscard]] std::uint32_t MainWindowStyle(const LLayoutDescriptor& layout);
// A pop-up with caption; the system menu when any box is asked for.
[[nodiscard]] std::uint32_t RootWindowStyle(bool sizingBorder, bool closeBox, bool minimizeBox,
                                            bool maximizeBox);

// The client size limits of the layout: the absolute parts of the minimum and maximum (a
// maximum of 0 is none).
struct SizeLimits
{
    std::int32_t minWidth = 0;
    std::int32_t minHeight = 0;
    std::int32_t maxWidth = 0;
    std::int32_t maxHeight = 0;
};
[[nodiscard]] SizeLimits GetSizeLimits(const LLayoutDescriptor& layout);
[[nodiscard]] bool IsWithinLimits(const SizeLimits& limits, std::int32_t width,
                                  std::int32_t height);

// The rectangle moved (never resized) so that it lies inside the area where it fits: its left
// and top edges first, then its right and bottom edges.
[[nodiscard]] RectT<std::int32_t> KeepInside(const RectT<std::int32_t>& rect,
                                             const RectT<std::int32_t>& area);

} // namespace QZ
