// A list of rectangles, each with its own colour, that the renderers fill in one call; a
// horizontal and a vertical scale apply to every rectangle (x and width by the first, y and
// height by the second). Used on the user-interface thread only.
#pragma once

#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <cstdint>

namespace QZ
{

template <class T> class ColorRectListT
{
public:
    // Adds a rectangle with its packed 0xAARRGGBB colour.
    void Add(const RectT<T>& rect, std::uint32_t argb)
    {
        mRects.Add(rect);
        mColors.Add(argb);
    }
    void RemoveAll()
    {
        mRects.RemoveAll();
        mColors.RemoveAll();
    }

    [[nodiscard]] std::int32_t GetCount() const { return mRects.GetCount(); }
    // Checked access, "Out of Range" when the index is not below the count.
    [[nodiscard]] const RectT<T>& GetRect(std::int32_t index) const { return mRects.GetAt(index); }
    [[nodiscard]] std::uint32_t GetColor(std::int32_t index) const { return mColors.GetAt(index); }

    void SetScale(T scaleX, T scaleY)
    {
        mScaleX = scaleX;
        mScaleY = scaleY;
    }
    [[nodiscard]] T GetScaleX() const { return mScaleX; }
    [[nodiscard]] T GetScaleY() const { return mScaleY; }

private:
    Array<RectT<T>> mRects;
    Array<std::uint32_t> mColors;
    T mScaleX = T(1);
    T mScaleY = T(1);
};

} // namespace QZ
