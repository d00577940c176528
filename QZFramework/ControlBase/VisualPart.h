// A drawable piece of a skin: a bitmap shown at its own size or fitted into a rectangle by its
// resize type. The colorizer and alpha it was made with are already in its pixels; they are kept
// for callers that copy the part.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/Bitmap.h"
#include "QZFramework/Utilities/Graphics/Colorizer.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LRenderer;

class LVisualPart : public virtual LRefCountedObject
{
public:
    // A part showing the bitmap; out is empty for a null bitmap or one without pixels.
    static RCPtr<LVisualPart>& Create(RCPtr<LVisualPart>& out, const WideString& name,
                                      const RCPtr<LBitmap>& bitmap, std::uint32_t resizeType,
                                      const RCPtr<LColorizer>& colorizer, float alpha,
                                      const RCPtr<LBitmap>& mask);

    // Draws the bitmap into the rectangle (current coordinates) by the resize type, at the render
    // state's alpha (the renderer draws bitmaps opaque, so a faded copy is kept for that alpha).
    void Draw(LRenderer& renderer, const RectT<std::int32_t>& rect) const;
    // The bitmap's pixel shown at the point when the part fills the rectangle; all zeros where
    // the part shows nothing.
    [[nodiscard]] ColorRGBA GetColorAt(const RectT<std::int32_t>& rect,
                                       const PointT<std::int32_t>& point) const;

    [[nodiscard]] const WideString& GetName() const { return mName; }
    [[nodiscard]] const RCPtr<LBitmap>& GetBitmap() const { return mBitmap; }
    [[nodiscard]] std::uint32_t GetResizeType() const { return mResizeType; }
    [[nodiscard]] const RCPtr<LColorizer>& GetColorizer() const { return mColorizer; }
    [[nodiscard]] float GetAlpha() const { return mAlpha; }
    [[nodiscard]] const RCPtr<LBitmap>& GetMask() const { return mMask; }
    // Width and height in whole pixels.
    [[nodiscard]] PointT<std::int32_t> GetSize() const { return mSize; }

private:
    LVisualPart() = default;

    WideString mName;
    RCPtr<LBitmap> mBitmap;
    std::uint32_t mResizeType = 0;
    RCPtr<LColorizer> mColorizer;
    float mAlpha = 1.0f;
    RCPtr<LBitmap> mMask;
    PointT<std::int32_t> mSize;
    mutable RCPtr<LBitmap> mFaded;
    mutable float mFadedAlpha = 1.0f;
};

} // namespace QZ
