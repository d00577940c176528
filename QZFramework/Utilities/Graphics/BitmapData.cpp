#include "QZFramework/Utilities/Graphics/BitmapData.h"

#include "Platform/Graphics2D/Image.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"

namespace QZ
{

LBitmapData::LBitmapData(const RCPtr<LBitmap>& bitmap, Graphics2D::LockMode mode) : mBitmap(bitmap)
{
    Graphics2D::Image* image = mBitmap ? mBitmap->GetBitmapData() : nullptr;
    if (image == nullptr)
    {
        return;
    }
    const Graphics2D::RectI area{mBitmap->GetX(), mBitmap->GetY(), mBitmap->GetWidth(),
                                 mBitmap->GetHeight()};
    mLocked = image->LockBits(area, mode, mData) == Graphics2D::Status::Ok;
}

LBitmapData::~LBitmapData()
{
    if (mLocked)
    {
        mBitmap->GetBitmapData()->UnlockBits(mData);
    }
}

} // namespace QZ
