// A rectangle of the drawing coordinates: x, y, width, height.
#pragma once

#include "QZFramework/Utilities/Graphics/PointT.h"

#include <algorithm>
#include <cmath>
#include <type_traits>

namespace QZ
{

template <class T> struct RectT
{
    T x{};
    T y{};
    T width{};
    T height{};

    constexpr RectT() = default;
    constexpr RectT(T px, T py, T w, T h) : x(px), y(py), width(w), height(h) {}

    friend constexpr bool operator==(const RectT&, const RectT&) = default;

    constexpr T GetRight() const { return x + width; }
    constexpr T GetBottom() const { return y + height; }
    constexpr bool IsEmpty() const { return !(width > T{}) || !(height > T{}); }

    // Coordinates and extents rounded half away from zero and limited to the 32-bit range.
    RectT<std::int32_t> ToLong() const requires std::is_floating_point_v<T>
    {
        return {RoundToInt32(x), RoundToInt32(y), RoundToInt32(width), RoundToInt32(height)};
    }

    // False when a coordinate or extent is infinite or not a number; rectangles read from skins
    // are checked before use.
    bool IsFinite() const requires std::is_floating_point_v<T>
    {
        return std::isfinite(x) && std::isfinite(y) && std::isfinite(width) &&
               std::isfinite(height);
    }

    // out = the common part of a and b (out may be a or b), with zero extents when they do not
    // meet; true when both its extents are above zero.
    static bool Intersect(RectT& out, const RectT& a, const RectT& b)
    {
        const T left = std::max(a.x, b.x);
        const T top = std::max(a.y, b.y);
        const T right = std::min(a.GetRight(), b.GetRight());
        const T bottom = std::min(a.GetBottom(), b.GetBottom());
        out = {left, top, std::max(right - left, T{}), std::max(bottom - top, T{})};
        return !out.IsEmpty();
    }

    // out = the smallest rectangle holding a and b (out may be a or b); true when both its width
    // and height exceed 1.1920929e-07.
    static bool Union(RectT& out, const RectT& a, const RectT& b)
        requires std::is_floating_point_v<T>
    {
        const T left = std::min(a.x, b.x);
        const T top = std::min(a.y, b.y);
        const T right = std::max(a.GetRight(), b.GetRight());
        const T bottom = std::max(a.GetBottom(), b.GetBottom());
        out = {left, top, right - left, bottom - top};
        return out.width > T(1.1920929e-07) && out.height > T(1.1920929e-07);
    }
};

} // namespace QZ
