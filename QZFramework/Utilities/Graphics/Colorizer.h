// A skin colorizer: how a part's bitmap is tinted, or how a part without a bitmap is filled.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Graphics/ColorRGBA.h"

#include <algorithm>
#include <cstdint>

namespace QZ
{

class LColorizer : public virtual LRefCountedObject
{
public:
    // kind 0 is a solid colour (the first); any other kind a vertical gradient from the first
    // colour at the top to the second at the bottom.
    LColorizer(std::int32_t kind, const ColorRGBA& first, const ColorRGBA& second)
        : mKind(kind), mFirst(first), mSecond(second)
    {
    }

    [[nodiscard]] std::int32_t GetKind() const { return mKind; }
    [[nodiscard]] const ColorRGBA& GetFirstColor() const { return mFirst; }
    [[nodiscard]] const ColorRGBA& GetSecondColor() const { return mSecond; }

    // A gradient whose two colours are equal in all four channels counts as solid.
    [[nodiscard]] bool IsGradient() const { return mKind != 0 && !(mFirst == mSecond); }

    // The colour of row y of an area n rows high, taken at the row's middle; rows outside the
    // area take the nearer end's colour.
    [[nodiscard]] ColorRGBA GetRowColor(std::int32_t y, std::int32_t n) const
    {
        if (!IsGradient() || n <= 0)
        {
            return mFirst;
        }
        const float t =
            std::clamp((static_cast<float>(y) + 0.5f) / static_cast<float>(n), 0.0f, 1.0f);
        const auto mix = [t](float a, float b) { return a + (b - a) * t; };
        return {mix(mFirst.red, mSecond.red), mix(mFirst.green, mSecond.green),
                mix(mFirst.blue, mSecond.blue), mix(mFirst.alpha, mSecond.alpha)};
    }

private:
    std::int32_t mKind;
    ColorRGBA mFirst;
    ColorRGBA mSecond;
};

} // namespace QZ
