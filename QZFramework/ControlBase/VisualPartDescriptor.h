// A skin part: a rectangle of a named image (or, without an image, a block of the given size that
// the colorizer fills), with the resize type it is drawn with, a colorizer that tints it, an
// opacity and an optional mask image. The skin's "Part" element.
#pragma once

#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/ControlBase/VisualPart.h"
#include "QZFramework/Utilities/Graphics/Colorizer.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LVisualPartDescriptor : public virtual LRefCountedObject
{
public:
    // The renderer's resize types.
    enum ResizeType : std::uint32_t
    {
        kStretch = 0,
        kTile = 1,
        kCenter = 2
    };

    WideString name;
    // A bitmap name: "::File.png" for an embedded image, else a file.
    WideString image;
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint32_t resizeType = kStretch;
    RCPtr<LColorizer> colorizer;
    float alpha = 1.0f;
    WideString mask;

    // The part the skin describes: the image's rectangle (or, without an image, a block of the
    // size) tinted by the colorizer at the alpha. Built on first use and kept; empty when the
    // image cannot be loaded or nothing can be drawn.
    RCPtr<LVisualPart>& GetVisualPart(RCPtr<LVisualPart>& out) const;

private:
    mutable RCPtr<LVisualPart> mBuilt;
    mutable bool mTried = false;
};

} // namespace QZ
