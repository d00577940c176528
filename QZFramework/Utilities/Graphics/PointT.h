// A point of the drawing coordinates: x, y.
//
// Integer geometry is 32-bit on every build: whole-pixel points and rectangles are
// PointT<std::int32_t> and RectT<std::int32_t>, whatever the size of long.
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

namespace QZ
{

// Rounds half away from zero to a 32-bit integer; values beyond the range, and not-a-number
// towards the low end, are limited to the nearest end of the range.
inline std::int32_t RoundToInt32(double value)
{
    if (!(value >= -2147483648.0))
    {
        return std::numeric_limits<std::int32_t>::min();
    }
    const double rounded = std::round(value);
    if (rounded > 2147483647.0)
    {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(rounded);
}

template <class T> struct PointT
{
    T x{};
    T y{};

    constexpr PointT() = default;
    constexpr PointT(T px, T py) : x(px), y(py) {}

    friend constexpr bool operator==(const PointT&, const PointT&) = default;
    constexpr PointT operator+(const PointT& other) const { return {x + other.x, y + other.y}; }
    constexpr PointT operator-(const PointT& other) const { return {x - other.x, y - other.y}; }

    // Each coordinate rounded half away from zero and limited to the 32-bit range.
    PointT<std::int32_t> ToLong() const requires std::is_floating_point_v<T>
    {
        return {RoundToInt32(x), RoundToInt32(y)};
    }
};

} // namespace QZ
