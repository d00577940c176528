// A grid over a parent's child boxes, so that painting a small area or hit testing a point
// visits the few children near it rather than every child.
//
// The boxes are filed by their paint positions into the cells they cover. A search gives a
// superset of the boxes that meet its area, in paint order and each once: the caller still tests
// every box it is given. Boxes whose subtree reaches outside them, that are painted apart from
// the tree or that cover many cells are given to every search. Under kMinBoxes children there is
// no grid, and a search over many cells visits every position: both cost no more than the plain
// walk they replace.
#pragma once

#include "QZFramework/ControlBase/ChildBox.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

namespace QZ
{

class LChildBoxGrid
{
public:
    static constexpr std::size_t kMinBoxes = 32;

    // Files the boxes, given in paint order.
    void Build(const std::vector<ChildBox>& boxes);

    // Visits in ascending order the positions in [first, end) of the boxes that may meet the
    // area from (left, top) to (right, bottom), both corners included.
    template <class Visit>
    void ForEachNear(double left, double top, double right, double bottom, std::uint32_t first,
                     std::uint32_t end, Visit&& visit) const
    {
        Search search;
        if (!Collect(left, top, right, bottom, search))
        {
            for (std::uint32_t position = first; position < end; ++position)
            {
                visit(position);
            }
            return;
        }
        for (std::size_t list = 0; list < search.count; ++list)
        {
            search.lists[list].first =
                std::lower_bound(search.lists[list].first, search.lists[list].second, first);
        }
        for (;;)
        {
            std::uint32_t next = std::numeric_limits<std::uint32_t>::max();
            for (std::size_t list = 0; list < search.count; ++list)
            {
                if (search.lists[list].first != search.lists[list].second)
                {
                    next = std::min(next, *search.lists[list].first);
                }
            }
            if (next >= end)
            {
                return;
            }
            visit(next);
            for (std::size_t list = 0; list < search.count; ++list)
            {
                if (search.lists[list].first != search.lists[list].second &&
                    *search.lists[list].first == next)
                {
                    ++search.lists[list].first;
                }
            }
        }
    }

    // Visits in descending order every position whose box may hold the point.
    template <class Visit>
    void ForEachAtReversed(double x, double y, Visit&& visit) const
    {
        Search search;
        if (!Collect(x, y, x, y, search))
        {
            for (std::uint32_t position = mCount; position-- > 0;)
            {
                visit(position);
            }
            return;
        }
        for (;;)
        {
            bool any = false;
            std::uint32_t next = 0;
            for (std::size_t list = 0; list < search.count; ++list)
            {
                if (search.lists[list].first != search.lists[list].second)
                {
                    next = std::max(next, *(search.lists[list].second - 1));
                    any = true;
                }
            }
            if (!any)
            {
                return;
            }
            visit(next);
            for (std::size_t list = 0; list < search.count; ++list)
            {
                if (search.lists[list].first != search.lists[list].second &&
                    *(search.lists[list].second - 1) == next)
                {
                    --search.lists[list].second;
                }
            }
        }
    }

private:
    static constexpr std::int64_t kMaxCellsPerAxis = 64;
    static constexpr std::int64_t kMaxCellsPerBox = 16;
    static constexpr std::size_t kMaxSearchCells = 16;

    using List = std::pair<const std::uint32_t*, const std::uint32_t*>;
    // The cells' lists of one search and the list of boxes every search visits.
    struct Search
    {
        std::array<List, kMaxSearchCells + 1> lists;
        std::size_t count = 0;
    };
    // The cells a box or an area covers, inclusive; empty when first > last on an axis.
    struct CellSpan
    {
        std::int64_t firstColumn = 0;
        std::int64_t lastColumn = -1;
        std::int64_t firstRow = 0;
        std::int64_t lastRow = -1;
    };

    [[nodiscard]] static bool IsFiled(const ChildBox& box);
    [[nodiscard]] CellSpan SpanOf(double left, double top, double right, double bottom) const;
    // Fills the search; false when every position must be visited instead.
    bool Collect(double left, double top, double right, double bottom, Search& search) const;

    std::uint32_t mCount = 0;
    std::int64_t mColumns = 0;
    std::int64_t mRows = 0;
    std::int64_t mOriginX = 0;
    std::int64_t mOriginY = 0;
    std::int64_t mCellWidth = 1;
    std::int64_t mCellHeight = 1;
    // Cell c's positions are mEntries[mCellStarts[c]] up to mEntries[mCellStarts[c + 1]].
    std::vector<std::uint32_t> mCellStarts;
    std::vector<std::uint32_t> mEntries;
    std::vector<std::uint32_t> mEverywhere;
};

} // namespace QZ
