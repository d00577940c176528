// A region: a set of non-overlapping whole-pixel rectangles, kept as a singly linked list of
// nodes from the RegionNodePool. It collects what must be repainted and what a look may draw
// into.
//
// AddRect, SubtractRect, SubtractRegion and Intersect keep the rectangles free of overlaps;
// AppendRects does not (the caller uses it on an empty region or accepts overlaps). A region owns
// its nodes and is copied by value. Like the pool of the thread that uses it, a region belongs to
// one thread at a time.
//
// AddRect and SubtractRect (without a removed region) are collected and carried out when the
// region is next read or changed otherwise. A run of additions and the run of subtractions after
// it make one step. A step of up to 64 changes is carried out one by one, as described at each; a
// longer step is swept at once, at a cost that grows with the rectangles of the region and the
// step, and with how many of them cross each row, rather than with the step's rectangles times
// the region's size. A swept region is in the banded form of Coalesce, which then has nothing
// left to do.
#pragma once

#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Graphics/RegionNodePool.h"
#include "QZFramework/Utilities/Graphics/RegionRect.h"
#include "QZFramework/Utilities/Storage/Array.h"

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <vector>

namespace QZ
{

class RegionT
{
public:
    // Walks the rectangles in list order.
    class ConstIterator
    {
    public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = RegionRect;
        using difference_type = std::ptrdiff_t;
        using pointer = const RegionRect*;
        using reference = const RegionRect&;

        ConstIterator() = default;
        explicit ConstIterator(const RegionNode* node) : mNode(node) {}
        reference operator*() const { return mNode->rect; }
        pointer operator->() const { return &mNode->rect; }
        ConstIterator& operator++()
        {
            mNode = mNode->next;
            return *this;
        }
        ConstIterator operator++(int)
        {
            ConstIterator before = *this;
            mNode = mNode->next;
            return before;
        }
        friend bool operator==(const ConstIterator&, const ConstIterator&) = default;

    private:
        const RegionNode* mNode = nullptr;
    };

    RegionT() = default;
    RegionT(const RegionT& other);
    RegionT(RegionT&& other) noexcept;
    RegionT& operator=(const RegionT& other);
    RegionT& operator=(RegionT&& other) noexcept;
    ~RegionT();

    ConstIterator begin() const
    {
        Settle();
        return ConstIterator(mHead);
    }
    ConstIterator end() const { return ConstIterator(); }
    bool IsEmpty() const
    {
        Settle();
        return mHead == nullptr;
    }

    // Grows the region by r: r's area is first removed from the region, then r is put at the
    // head. An empty or inverted r changes nothing.
    void AddRect(const RegionRect& r);
    // Removes r's area. Each overlapped rectangle is cut into the strip above r, the strip below
    // r and the parts left and right of r within r's rows (put at the head in that order); the
    // overlap itself moves to the head of `removed` when given and is freed otherwise.
    void SubtractRect(const RegionRect& r, RegionT* removed = nullptr);
    // SubtractRect for each rectangle of other in list order.
    void SubtractRegion(const RegionT& other, RegionT* removed = nullptr);
    // Keeps exactly the parts that overlap other.
    void Intersect(const RegionT& other);
    // Puts a copy of each rectangle of other, in other's order, at the head; overlaps stay.
    void AppendRects(const RegionT& other);
    void Clear();

    // The bounding rectangle of all rectangles; false and all zeros for an empty region.
    bool GetBounds(RegionRect& out) const;
    [[nodiscard]] std::uint32_t GetRectCount() const;
    // Empties out, then appends each rectangle in list order as x, y, width, height.
    void ToRectArray(Array<RectT<std::int32_t>>& out) const;
    // Moves every rectangle; edges are limited to the 32-bit range.
    void Offset(std::int32_t dx, std::int32_t dy);
    [[nodiscard]] bool IntersectsRect(const RegionRect& r) const;
    // Whether r moved by offset, clipped to 0..2147483647 and rounded half away from zero to
    // whole pixels, overlaps the region; false when the clipped rectangle has no area.
    [[nodiscard]] bool IntersectsOffsetRect(const RectT<double>& r,
                                            const PointT<double>& offset) const;
    // Rewrites the region over the same area as horizontal bands with fewer rectangles: the
    // list runs from the top band down, each band from left to right; no two rectangles of one
    // band touch, and a rectangle continues downwards as long as the bands below hold exactly its
    // left and right edges. The region stays as it was when no memory is left.
    void Coalesce();

private:
    // A collected AddRect (add) or SubtractRect.
    struct PendingChange
    {
        RegionRect rect;
        bool add;
    };

    void PushFront(RegionNode* node);
    void AddNow(const RegionRect& r);
    void SubtractNow(const RegionRect& r, RegionT* removed);
    // Carries out the collected changes.
    void Settle() const
    {
        if (!mPending.empty())
        {
            SettlePending();
        }
    }
    void SettlePending() const;
    // Replaces the rectangles by the banded area of the region with the additions, less the
    // subtractions.
    void SweepStep(std::span<const PendingChange> additions,
                   std::span<const PendingChange> subtractions) const;

    // Both change while the region is read: the collected changes are carried out first.
    mutable RegionNode* mHead = nullptr;
    mutable std::vector<PendingChange> mPending;
    // Whether the list is in the banded form of Coalesce, which then has nothing to do.
    mutable bool mBanded = false;
};

} // namespace QZ
