// A line of points that the renderers draw as separate segments, as a connected line, as a
// closed outline or filled, with the line width of its outlines.
//
// Renderers keep what they build from a polyline (a path, a display list) under its handle, a
// stable identity that no other polyline of the process shares, and rebuild it when the changed
// flag is set. Every change of the points sets the flag; a new polyline, and a copy, start with it
// set. A polyline is used on the user-interface thread only.
#pragma once

#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <atomic>
#include <cstdint>

namespace QZ
{

template <class T> class PolylineT
{
public:
    PolylineT() : mHandle(NextHandle()) {}
    // A copy has the points and width of the original under a new identity.
    PolylineT(const PolylineT& other)
        : mPoints(other.mPoints), mLineWidth(other.mLineWidth), mHandle(NextHandle())
    {
    }
    PolylineT& operator=(const PolylineT& other)
    {
        mPoints = other.mPoints;
        mLineWidth = other.mLineWidth;
        mChanged = true;
        return *this;
    }

    // The key under which renderers cache what they build from the polyline.
    [[nodiscard]] static std::int32_t GetHandle(const PolylineT& polyline)
    {
        return polyline.mHandle;
    }

    [[nodiscard]] const Array<PointT<T>>& GetPoints() const { return mPoints; }
    [[nodiscard]] std::int32_t GetCount() const { return mPoints.GetCount(); }

    void AddPoint(const PointT<T>& point)
    {
        mPoints.Add(point);
        mChanged = true;
    }
    void SetPoint(std::int32_t index, const PointT<T>& point)
    {
        mPoints.GetAt(index) = point;
        mChanged = true;
    }
    void RemoveAll()
    {
        mPoints.RemoveAll();
        mChanged = true;
    }

    // The pen width of the outline operations; it is read at every draw, so it leaves the changed
    // flag alone.
    [[nodiscard]] T GetLineWidth() const { return mLineWidth; }
    void SetLineWidth(T width) { mLineWidth = width; }

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

    Array<PointT<T>> mPoints;
    T mLineWidth = T(1);
    bool mChanged = true;
    std::int32_t mHandle;
};

} // namespace QZ
