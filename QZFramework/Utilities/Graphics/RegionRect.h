// One rectangle of a region: left, top, right, bottom, with right and bottom exclusive.
#pragma once

#include "QZFramework/Utilities/Graphics/RectT.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace QZ
{

struct RegionRect
{
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    friend constexpr bool operator==(const RegionRect&, const RegionRect&) = default;

    // Empty unless right > left and bottom > top.
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }

    // [a1, a2) and [b1, b2) overlap when (a1 < b1 ? a2 > b1 : a1 < b2), on both axes.
    constexpr bool Overlaps(const RegionRect& other) const
    {
        return OverlapsSpan(left, right, other.left, other.right) &&
               OverlapsSpan(top, bottom, other.top, other.bottom);
    }

    // The rectangle's area as a region rectangle. A negative width or height is turned round
    // (x or y moves to the other edge) and the far edges are limited to the 32-bit range, so a
    // rectangle from outside never yields an inverted or wrapped-around region rectangle.
    static constexpr RegionRect FromRect(const RectT<std::int32_t>& r)
    {
        std::int64_t x0 = r.x;
        std::int64_t y0 = r.y;
        std::int64_t x1 = x0 + r.width;
        std::int64_t y1 = y0 + r.height;
        return {Limit(std::min(x0, x1)), Limit(std::min(y0, y1)), Limit(std::max(x0, x1)),
                Limit(std::max(y0, y1))};
    }

    // As x, y, width, height; an extent beyond the 32-bit range is limited to it.
    constexpr RectT<std::int32_t> ToRect() const
    {
        return {left, top, Limit(std::int64_t{right} - left), Limit(std::int64_t{bottom} - top)};
    }

private:
    static constexpr bool OverlapsSpan(std::int32_t a1, std::int32_t a2, std::int32_t b1,
                                       std::int32_t b2)
    {
        return a1 < b1 ? a2 > b1 : a1 < b2;
    }

    static constexpr std::int32_t Limit(std::int64_t value)
    {
        return static_cast<std::int32_t>(
            std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max()));
    }
};

} // namespace QZ
