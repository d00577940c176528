// The key of the 2D renderer's bitmap cache: a bitmap, the size it is drawn at and how it is
// fitted to that size.
//
// Keys compare the bitmap by identity, so sub-bitmaps of one image never share a rendering, and
// include the resize type, so a stretched rendering never serves a tiled draw. A stored key holds
// a reference to its bitmap. The bucket is taken from the address of the image behind the bitmap,
// so all sub-bitmaps of one image fall into one bucket.
#pragma once

#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/Renderer/CacheKeys.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"

#include <cstdint>

namespace QZ
{

template <int Bits> struct CashableBitmapDescriptor
{
    ConstRCPtr<LBitmap> bitmap;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t resizeType = 0;

    friend bool operator==(const CashableBitmapDescriptor& a, const CashableBitmapDescriptor& b)
    {
        return a.bitmap.Get() == b.bitmap.Get() && a.width == b.width && a.height == b.height &&
               a.resizeType == b.resizeType;
    }

    // Bits 4 to 4 + Bits - 1 of the address of the bitmap's image (0 for a bitmap without one).
    [[nodiscard]] static std::uint32_t GetHashBits(const CashableBitmapDescriptor& key)
    {
        const void* image = key.bitmap ? key.bitmap->GetBitmapData() : nullptr;
        return GetBits<Bits, 4, std::uintptr_t>(reinterpret_cast<std::uintptr_t>(image));
    }
};

} // namespace QZ
