// The pixels of a bitmap, locked for as long as this object lives.
//
// The lock covers the bitmap's rectangle of its image and hands it out as 32-bit straight ARGB
// words (0xAARRGGBB). When the lock fails (another lock is held, or the bitmap has no pixels) the
// object holds no pixels: GetPixels is null and the dimensions are 0.
#pragma once

#include "Platform/Graphics2D/Types.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/PixelBuffer.h"

#include <cstdint>

namespace QZ
{

class LBitmap;

class LBitmapData : public IPixelBuffer<std::uint32_t>, public virtual LRefCountedObject
{
public:
    LBitmapData(const RCPtr<LBitmap>& bitmap, Graphics2D::LockMode mode);
    ~LBitmapData() override;
    LBitmapData(const LBitmapData&) = delete;
    LBitmapData& operator=(const LBitmapData&) = delete;

    [[nodiscard]] std::int32_t GetWidth() const override { return mData.width; }
    [[nodiscard]] std::int32_t GetHeight() const override { return mData.height; }
    [[nodiscard]] std::int32_t GetStride() const override { return mData.stride; }
    [[nodiscard]] std::uint32_t* GetPixels() const override
    {
        return reinterpret_cast<std::uint32_t*>(mData.scan0);
    }
    [[nodiscard]] const RCPtr<LBitmap>& GetBitmap() const { return mBitmap; }

private:
    RCPtr<LBitmap> mBitmap;
    Graphics2D::BitmapData mData;
    bool mLocked = false;
};

} // namespace QZ
