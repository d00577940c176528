// A list of rectangles, each with its own colour, that the renderers fill in one call; a
// horizontal and a vertical scale apply to every rectangle (x and width by the first, y and
// height by the second). Like a polyline, a list has a handle under which renderers keep what they
// build from it, and a changed flag that every change sets. Used on the user-interface thread only.
#pragma once

#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <atomic>
#include <cstdint>

namespace QZ
{

template <class T> class ColorRectListT
{
public:
    ColorRectListT() : mHandle(NextHandle()) {}
    // A copy has the rectangles and scale of the original under a new identity.
    ColorRectListT(const ColorRectListT& other)
        : mRects(other.mRects), mColors(other.mColors), mScaleX(other.mScaleX),
          mScaleY(other.mScaleY), mHandle(NextHandle())
    {
    }
    ColorRectListT& operator=(const ColorRectListT& other)
    {
        mRects = other.mRects;
        mColors = other.mColors;
        mScaleX = other.mScaleX;
        mScaleY = other.mScaleY;
        mChanged = true;
        return *this;
    }

    [[nodiscard]] static std::int32_t GetHandle(const ColorRectListT& list) { return list.mHandle; }

    // Adds a rectangle with its packed 0xAARRGGBB colour.
    void Add(const RectT<T>& rect, std::uint32_t argb)
    {
        mRects.Add(rect);
        mColors.Add(argb);
        mChanged = true;
    }
    void RemoveAll()
    {
        mRects.RemoveAll();
        mColors.RemoveAll();
        mChanged = true;
    }

    [[nodiscard]] std::int32_t GetCount() const { return mRects.GetCount(); }
    // Checked access, "Out of Range" when the index is not below the count.
    [[nodiscard]] const RectT<T>& GetRect(std::int32_t index) const { return mRects.GetAt(index); }
    [[nodiscard]] std::uint32_t GetColor(std::int32_t index) const { return mColors.GetAt(index); }

    void SetScale(T scaleX, T scaleY)
    {
        mScaleX = scaleX;
        mScaleY = scaleY;
        mChanged = true;
    }
    [[nodiscard]] T GetScaleX() const { return mScaleX; }
    [[nodiscard]] T GetScaleY() const { return mScaleY; }

    [[nodiscard]] bool IsChanged() const { return mChanged; }
    // Reads the changed flag and clears it: what a renderer does at each draw.
    [[nodiscard]] bool TakeChanged()
    {
        const bool changed = mChanged;
        mChanged = false;
        return changed;
    }

private:
    static std::int32_t NextHandle()
    {
        static std::atomic<std::int32_t> counter{0};
        return ++counter;
    }

    Array<RectT<T>> mRects;
    Array<std::uint32_t> mColors;
    T mScaleX = T(1);
    T mScaleY = T(1);
    bool mChanged = true;
    std::int32_t mHandle;
};

} // namespace QZ
