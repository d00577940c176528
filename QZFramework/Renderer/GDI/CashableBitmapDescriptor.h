// The key of the 2D renderer's bitmap cache: a bitmap, the size it is drawn at and how it is
// fitted to that size.
//
// Two keys are equal when their bitmaps show the same rectangle of the same image (sub-bitmaps
// made apart for the same part of a skin image share a rendering; those of different parts never
// do), at the same size, with the same resize type (a stretched rendering never serves a tiled
// draw). A stored key holds a reference to its bitmap, which keeps the image alive, so the image's
// address identifies it for as long as the key is stored. The bucket is taken from that address,
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
        return a.width == b.width && a.height == b.height && a.resizeType == b.resizeType &&
               ShowSameArea(a.bitmap.Get(), b.bitmap.Get());
    }

    static bool ShowSameArea(const LBitmap* a, const LBitmap* b)
    {
        if (a == b)
        {
            return true;
        }
        return a != nullptr && b != nullptr && a->GetBitmapData() == b->GetBitmapData() &&
               a->GetX() == b->GetX() && a->GetY() == b->GetY() && a->GetWidth() == b->GetWidth() &&
               a->GetHeight() == b->GetHeight();
    }

    // Bits 4 to 4 + Bits - 1 of the address of the bitmap's image (0 for a bitmap without one).
    [[nodiscard]] static std::uint32_t GetHashBits(const CashableBitmapDescriptor& key)
    {
        const void* image = key.bitmap ? key.bitmap->GetBitmapData() : nullptr;
        return GetBits<Bits, 4, std::uintptr_t>(reinterpret_cast<std::uintptr_t>(image));
    }
};

} // namespace QZ
