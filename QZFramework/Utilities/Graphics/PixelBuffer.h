// A block of pixels lent out by its owner: dimensions, the distance between rows and the first
// pixel.
#pragma once

#include <cstdint>

namespace QZ
{

template <class T> class IPixelBuffer
{
public:
    virtual ~IPixelBuffer() = default;

    [[nodiscard]] virtual std::int32_t GetWidth() const = 0;
    [[nodiscard]] virtual std::int32_t GetHeight() const = 0;
    // Bytes from the start of one row to the start of the next.
    [[nodiscard]] virtual std::int32_t GetStride() const = 0;
    // Null when the buffer holds no pixels.
    [[nodiscard]] virtual T* GetPixels() const = 0;
};

} // namespace QZ
