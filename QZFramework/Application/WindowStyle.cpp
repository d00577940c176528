#include "QZFramework/Application/WindowStyle.h"

#include <algorithm>

namespace QZ
{
namespace
{

bool IsZero(const LLayoutDescriptor::LimitSpec& limit)
{
    return limit.relative == 0.0f && limit.absolute == 0.0;
}

bool SameLimit(const LLayoutDescriptor::LimitSpec& a, const LLayoutDescriptor::LimitSpec& b)
{
    return a.present == b.present && a.name == b.name && a.relative == b.relative &&
           a.absolute == b.absolute;
}

std::int32_t Whole(double value)
{
    return static_cast<std::int32_t>(value);
}

} // namespace

bool HasSizingBorder(const LLayoutDescriptor& layout)
{
    const bool noMinimum = IsZero(layout.minimum[0]) && IsZero(layout.minimum[1]);
    const bool fixed = SameLimit(layout.minimum[0], layout.maximum[0]) &&
                       SameLimit(layout.minimum[1], layout.maximum[1]);
    // A limit "present" is one taken from another control; "Self" clears the flag.
    const bool noneFromSelf = layout.minimum[0].present && layout.minimum[1].present &&
                              layout.maximum[0].present && layout.maximum[1].present;
    return !((fixed && !noMinimum) || noneFromSelf);
}

std::uint32_t MainWindowStyle(const LLayoutDescriptor& layout)
{
    std::uint32_t style = kStyleCaption | kStyleSystemMenu | kStyleMinimizeBox;
    if (HasSizingBorder(layout))
    {
        style |= kStyleSizingBorder;
        const bool unlimited = !layout.maximum[0].present && !layout.maximum[1].present &&
                               layout.maximum[0].absolute == 0.0 &&
                               layout.maximum[1].absolute == 0.0;
        if (unlimited)
        {
            style |= kStyleMaximizeBox;
        }
    }
    return style;
}

std::uint32_t RootWindowStyle(bool sizingBorder, bool closeBox, bool minimizeBox, bool maximizeBox)
{
    std::uint32_t style = kStylePopup | kStyleCaption;
    if (closeBox || minimizeBox || maximizeBox)
    {
        style |= kStyleSystemMenu;
    }
    style |= (maximizeBox ? kStyleMaximizeBox : 0u) | (minimizeBox ? kStyleMinimizeBox : 0u);
    return style | (sizingBorder ? kStyleSizingBorder : 0u);
}

SizeLimits GetSizeLimits(const LLayoutDescriptor& layout)
{
    return {Whole(layout.minimum[0].absolute), Whole(layout.minimum[1].absolute),
            Whole(layout.maximum[0].absolute), Whole(layout.maximum[1].absolute)};
}

bool IsWithinLimits(const SizeLimits& limits, std::int32_t width, std::int32_t height)
{
    const auto within = [](std::int32_t value, std::int32_t minimum, std::int32_t maximum)
    { return value >= minimum && (maximum <= 0 || value <= maximum); };
    return within(width, limits.minWidth, limits.maxWidth) &&
           within(height, limits.minHeight, limits.maxHeight);
}

RectT<std::int32_t> KeepInside(const RectT<std::int32_t>& rect, const RectT<std::int32_t>& area)
{
    RectT<std::int32_t> out = rect;
    out.x = std::max(out.x, area.x);
    out.y = std::max(out.y, area.y);
    if (out.GetRight() > area.GetRight())
    {
        out.x = std::max(area.x, area.GetRight() - out.width);
    }
    if (out.GetBottom() > area.GetBottom())
    {
        out.y = std::max(area.y, area.GetBottom() - out.height);
    }
    return out;
}

} // namespace QZ
