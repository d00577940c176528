// A font of the 2D graphics layer: a family's face in a style at a size.
//
// The bold and italic style bits choose the face (synthesised when the family lacks it); the
// underline and strikeout bits are kept but not drawn. Sizes in points become pixels at the DPI of
// the surface (always 96 here); sizes in pixels are taken as they are.
#pragma once

#include "Platform/Graphics2D/FontFamily.h"
#include "Platform/Graphics2D/Types.h"

#include <cstdint>

namespace QZ::Graphics2D
{

class Font
{
public:
    // An empty family (one that was not found) takes the fallback family's face, so that no
    // caller ends up drawing with no face at all. InvalidParameter (GetLastStatus) for a size that
    // is not a positive finite number or a unit other than Point or Pixel.
    Font(const FontFamily& family, float emSize, std::int32_t style, Unit unit);

    [[nodiscard]] Status GetLastStatus() const { return mStatus; }
    [[nodiscard]] float GetSize() const { return mSize; }
    [[nodiscard]] std::int32_t GetStyle() const { return mStyle; }
    [[nodiscard]] Unit GetUnit() const { return mUnit; }

    // The em size in pixels at a DPI; 0 for an unusable font.
    [[nodiscard]] float GetPixelSize(float dpi) const;
    // Line spacing in pixels at a DPI; 0 for an unusable font.
    [[nodiscard]] float GetHeight(float dpi) const;

    // The face to draw with; null for an unusable font.
    [[nodiscard]] const FontFaceRecord* GetFace() const { return mFace; }

private:
    float mSize;
    std::int32_t mStyle;
    Unit mUnit;
    const FontFaceRecord* mFace = nullptr;
    Status mStatus = Status::Ok;
};

} // namespace QZ::Graphics2D
