// The drawing of a control in one of its states, made from a look descriptor of the skin.
//
// A look has a size (the control's), a main part that fills the area inside its frame, frame
// parts on its sides and corners, an optional bitmap part drawn over the main part in the client
// rectangle (a control's icon), a label drawn with a font in the text rectangle, and an optional
// clip region. The client rectangle, where children are placed, lies inside the frame unless the
// skin gives its insets. Everything is in whole pixels relative to the look's top-left corner.
// User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/DockedPart.h"
#include "QZFramework/ControlBase/LookDescriptor.h"
#include "QZFramework/ControlBase/TextPropertiesDescriptor.h"
#include "QZFramework/ControlBase/VisualPart.h"
#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Graphics/FontText.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Graphics/RegionT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LRenderer;
class LStencil;

class LLook : public virtual LRefCountedObject
{
public:
    using Dock = LDockedPart::Dock;

    // The look factory: the look the descriptor describes; wrap breaks its label into lines.
    // Parts whose images cannot be loaded are left out.
    static RCPtr<LLook>& Create(RCPtr<LLook>& out, const ConstRCPtr<LLookDescriptor>& descriptor,
                                bool wrap);

    // The look's area; only the size counts (the look is drawn at the control's origin).
    void SetRect(const RectT<double>& rect);
    void SetText(const WideString& text);
    void SetFont(const RCPtr<LFont>& font);
    // Shows the bitmap in the client rectangle by the resize type; a null bitmap removes it.
    void SetBitmapPart(const RCPtr<LBitmap>& bitmap, std::uint32_t resizeType);
    // The main part's visual part.
    void SetMainPart(const RCPtr<LVisualPart>& part);
    [[nodiscard]] RCPtr<LVisualPart> GetMainVisualPart() const;
    void SetRegion(const RegionT& region) { mRegion = region; }
    void ClearRegion() { mRegion.Clear(); }
    [[nodiscard]] const RegionT& GetRegion() const { return mRegion; }

    [[nodiscard]] RectT<std::int32_t> GetClientRect() const;
    // A stencil of the look's size while the look has a clip region, else null.
    [[nodiscard]] RCPtr<LStencil> GetStencil() const;
    // Each edge of the label's rectangle is relative x the look's extent + absolute; empty
    // without a label.
    [[nodiscard]] RectT<double> GetTextRect() const;
    // True when the label does not fit its rectangle.
    [[nodiscard]] bool IsTextClipped();
    // The extent the look needs on the axis to show its label whole when it expands (overflow 1)
    // or, vertically, wraps (overflow 2): the text's extent plus the look's margins around the
    // text rectangle. 0 otherwise, and without a label.
    [[nodiscard]] double GetContentExtent(std::uint32_t axis, std::int32_t overflow) const;

    // The main part (fills), then the bitmap part, under the current clip and alpha.
    void DrawClientPart(LRenderer& renderer, const RegionT& dirty) const;
    // The frame parts.
    void DrawNonClientParts(LRenderer& renderer, const RegionT& dirty) const;
    // The label in the text rectangle moved by the offset.
    void DrawLabelText(LRenderer& renderer, const RegionT& dirty, const PointT<double>& offset);
    // The colour shown at the point as 0xAARRGGBB: of the top-most part that is not transparent
    // there (frames, the bitmap part, the main part); 0 outside every part or the clip region.
    [[nodiscard]] std::uint32_t GetColorAtPoint(const PointT<long>& point) const;
    // Drawn at full alpha, the look leaves no pixel of (0, 0, size) see-through: every place of
    // the frame and the inside that has an area is filled by an opaque part docked there. A look
    // with a clip region is taken as shaped.
    [[nodiscard]] bool IsOpaque() const;

    [[nodiscard]] const WideString& GetText() const { return mText; }
    [[nodiscard]] PointT<std::int32_t> GetSize() const { return mSize; }

private:
    struct Insets
    {
        std::int32_t left = 0;
        std::int32_t top = 0;
        std::int32_t right = 0;
        std::int32_t bottom = 0;
    };

    LLook() = default;
    [[nodiscard]] RectT<std::int32_t> GetPartRect(const LDockedPart& part) const
    {
        return GetDockRect(part.GetDock());
    }
    [[nodiscard]] RectT<std::int32_t> GetDockRect(Dock dock) const;
    [[nodiscard]] RectT<std::int32_t> Inside(const Insets& insets) const;
    void UpdateFrame();
    // Gives the text its box when that changed (a new box lays the text out again).
    void UpdateTextBox(const RectT<double>& area);

    PointT<std::int32_t> mSize;
    std::vector<RCPtr<LDockedPart>> mFills;
    std::vector<RCPtr<LDockedPart>> mFrames;
    RCPtr<LVisualPart> mBitmapPart;
    Insets mFrame;
    Insets mClientInsets;
    bool mHasClientInsets = false;
    RCPtr<LTextPropertiesDescriptor> mTextProperties;
    RCPtr<LFontText> mFontText;
    WideString mText;
    PointT<std::int32_t> mTextBox{-1, -1};
    RegionT mRegion;
};

} // namespace QZ
