// One part of a look, placed by the side it docks to: Fill is the look's main part (the area
// inside the frame), the four sides and four corners make the frame. A part fills its place with
// its colorizer and draws its visual part over that; either may be absent.
#pragma once

#include "QZFramework/ControlBase/DockedPartDescriptor.h"
#include "QZFramework/ControlBase/VisualPart.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/Colorizer.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"

#include <cstdint>

namespace QZ
{

class LRenderer;

class LDockedPart : public virtual LRefCountedObject
{
public:
    using Dock = LDockedPartDescriptor::Dock;

    LDockedPart(Dock dock, double thickness, const RCPtr<LVisualPart>& part,
                const RCPtr<LColorizer>& colorizer);

    // The fill, then the visual part, into the rectangle, at the render state's alpha.
    void Draw(LRenderer& renderer, const RectT<std::int32_t>& rect) const;
    // The colour the part shows at the point when drawn into the rectangle: the visual part's
    // pixel where it is not transparent, else the fill's colour; all zeros outside.
    [[nodiscard]] ColorRGBA GetColorAt(const RectT<std::int32_t>& rect,
                                       const PointT<std::int32_t>& point) const;
    // Drawn at full alpha, the part leaves no pixel of its rectangle see-through: its fill is
    // opaque in every row (whatever the visual part draws over it).
    [[nodiscard]] bool IsOpaque() const;

    [[nodiscard]] Dock GetDock() const { return mDock; }
    // The thickness of a side or corner in whole pixels, never negative.
    [[nodiscard]] std::int32_t GetThickness() const { return mThickness; }
    [[nodiscard]] const RCPtr<LVisualPart>& GetVisualPart() const { return mPart; }
    void SetVisualPart(const RCPtr<LVisualPart>& part) { mPart = part; }
    [[nodiscard]] const RCPtr<LColorizer>& GetColorizer() const { return mColorizer; }

private:
    Dock mDock;
    std::int32_t mThickness;
    RCPtr<LVisualPart> mPart;
    RCPtr<LColorizer> mColorizer;
};

} // namespace QZ
