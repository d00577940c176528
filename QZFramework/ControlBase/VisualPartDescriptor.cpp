#include "QZFramework/ControlBase/VisualPartDescriptor.h"

#include "QZFramework/System/DebugStreams.h"

#include <ostream>

namespace QZ
{

RCPtr<LVisualPart>& LVisualPartDescriptor::GetVisualPart(RCPtr<LVisualPart>& out) const
{
    if (!mTried)
    {
        mTried = true;
        RCPtr<LBitmap> picture;
        if (!image.IsEmpty())
        {
            const RCPtr<LBitmap> named = LBitmap::GetNamedBitmap(image);
            picture = named ? named->CreateSubBitmap(x, y, width, height) : RCPtr<LBitmap>();
        }
        const RCPtr<LBitmap> maskBitmap =
            mask.IsEmpty() ? RCPtr<LBitmap>() : LBitmap::GetNamedBitmap(mask);
        const PointT<std::int32_t> size =
            picture ? PointT<std::int32_t>(picture->GetWidth(), picture->GetHeight())
                    : PointT<std::int32_t>(width, height);
        const bool drawable = picture || maskBitmap || (colorizer && size.x > 0 && size.y > 0);
        if (!image.IsEmpty() && !picture)
        {
            DebugStreams::Narrow()
                << "Skin part \"" << name.ToNarrowString().GetString() << "\": image \""
                << image.ToNarrowString().GetString() << "\" cannot be loaded" << std::endl;
        }
        else if (picture && maskBitmap)
        {
            // A part is an image or a mask, never both; the image wins.
            DebugStreams::Narrow() << "Skin part \"" << name.ToNarrowString().GetString()
                                   << "\": the mask is ignored beside an image" << std::endl;
        }
        if (drawable && (image.IsEmpty() || picture))
        {
            const RCPtr<LBitmap> bitmap = LBitmap::CreatePartBitmap(
                colorizer, alpha, size, picture, picture ? RCPtr<LBitmap>() : maskBitmap);
            LVisualPart::Create(mBuilt, name, bitmap, resizeType, colorizer, alpha, maskBitmap);
        }
    }
    out = mBuilt;
    return out;
}

} // namespace QZ
