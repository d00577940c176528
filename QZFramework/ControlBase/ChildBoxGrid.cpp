#include "QZFramework/ControlBase/ChildBoxGrid.h"

#include <cmath>

namespace QZ
{

bool LChildBoxGrid::IsFiled(const ChildBox& box)
{
    return box.contained && box.clipped && box.right > box.left && box.bottom > box.top;
}

LChildBoxGrid::CellSpan LChildBoxGrid::SpanOf(double left, double top, double right,
                                              double bottom) const
{
    // Clamped before the conversion, so that far-off areas cannot overflow it.
    const auto cell = [](double at, std::int64_t origin, std::int64_t size, std::int64_t count)
    {
        const double index = std::floor((at - static_cast<double>(origin)) /
                                        static_cast<double>(size));
        return static_cast<std::int64_t>(std::clamp(index, -1.0, static_cast<double>(count)));
    };
    CellSpan span;
    span.firstColumn = std::max<std::int64_t>(cell(left, mOriginX, mCellWidth, mColumns), 0);
    span.lastColumn = std::min(cell(right, mOriginX, mCellWidth, mColumns), mColumns - 1);
    span.firstRow = std::max<std::int64_t>(cell(top, mOriginY, mCellHeight, mRows), 0);
    span.lastRow = std::min(cell(bottom, mOriginY, mCellHeight, mRows), mRows - 1);
    return span;
}

void LChildBoxGrid::Build(const std::vector<ChildBox>& boxes)
{
    mCount = static_cast<std::uint32_t>(boxes.size());
    mColumns = 0;
    mRows = 0;
    mCellStarts.clear();
    mEntries.clear();
    mEverywhere.clear();
    if (boxes.size() < kMinBoxes)
    {
        return;
    }
    std::int64_t left = std::numeric_limits<std::int64_t>::max();
    std::int64_t top = left;
    std::int64_t right = std::numeric_limits<std::int64_t>::min();
    std::int64_t bottom = right;
    std::int64_t widths = 0;
    std::int64_t heights = 0;
    std::int64_t filed = 0;
    for (const ChildBox& box : boxes)
    {
        if (IsFiled(box))
        {
            left = std::min<std::int64_t>(left, box.left);
            top = std::min<std::int64_t>(top, box.top);
            right = std::max<std::int64_t>(right, box.right);
            bottom = std::max<std::int64_t>(bottom, box.bottom);
            widths += static_cast<std::int64_t>(box.right) - box.left;
            heights += static_cast<std::int64_t>(box.bottom) - box.top;
            ++filed;
        }
    }
    if (filed == 0)
    {
        return;
    }
    // Cells about twice a box's mean size keep most boxes in one to four cells.
    mCellWidth = std::max({2 * widths / filed, (right - left) / kMaxCellsPerAxis + 1,
                           std::int64_t{1}});
    mCellHeight = std::max({2 * heights / filed, (bottom - top) / kMaxCellsPerAxis + 1,
                            std::int64_t{1}});
    mOriginX = left;
    mOriginY = top;
    mColumns = (right - left + mCellWidth - 1) / mCellWidth;
    mRows = (bottom - top + mCellHeight - 1) / mCellHeight;
    const auto cellsOf = [this](const ChildBox& box)
    {
        if (!IsFiled(box))
        {
            return CellSpan();
        }
        const CellSpan span = SpanOf(box.left, box.top, box.right - 1.0, box.bottom - 1.0);
        const std::int64_t cells = (span.lastColumn - span.firstColumn + 1) *
                                   (span.lastRow - span.firstRow + 1);
        return cells <= kMaxCellsPerBox ? span : CellSpan();
    };
    mCellStarts.assign(static_cast<std::size_t>(mColumns * mRows + 1), 0);
    for (std::uint32_t position = 0; position < mCount; ++position)
    {
        const CellSpan span = cellsOf(boxes[position]);
        if (span.lastColumn < span.firstColumn)
        {
            mEverywhere.push_back(position);
        }
        for (std::int64_t row = span.firstRow; row <= span.lastRow; ++row)
        {
            for (std::int64_t column = span.firstColumn; column <= span.lastColumn; ++column)
            {
                ++mCellStarts[static_cast<std::size_t>(row * mColumns + column + 1)];
            }
        }
    }
    for (std::size_t cell = 1; cell < mCellStarts.size(); ++cell)
    {
        mCellStarts[cell] += mCellStarts[cell - 1];
    }
    mEntries.resize(mCellStarts.back());
    std::vector<std::uint32_t> next(mCellStarts.begin(), mCellStarts.end() - 1);
    for (std::uint32_t position = 0; position < mCount; ++position)
    {
        const CellSpan span = cellsOf(boxes[position]);
        for (std::int64_t row = span.firstRow; row <= span.lastRow; ++row)
        {
            for (std::int64_t column = span.firstColumn; column <= span.lastColumn; ++column)
            {
                mEntries[next[static_cast<std::size_t>(row * mColumns + column)]++] = position;
            }
        }
    }
}

bool LChildBoxGrid::Collect(double left, double top, double right, double bottom,
                            Search& search) const
{
    if (mColumns == 0 || !std::isfinite(left) || !std::isfinite(top) || !std::isfinite(right) ||
        !std::isfinite(bottom))
    {
        return false;
    }
    const CellSpan span = SpanOf(left, top, right, bottom);
    const std::int64_t columns = std::max<std::int64_t>(span.lastColumn - span.firstColumn + 1, 0);
    const std::int64_t rows = std::max<std::int64_t>(span.lastRow - span.firstRow + 1, 0);
    if (columns * rows > static_cast<std::int64_t>(kMaxSearchCells))
    {
        return false;
    }
    search.count = 0;
    for (std::int64_t row = span.firstRow; row <= span.lastRow; ++row)
    {
        for (std::int64_t column = span.firstColumn; column <= span.lastColumn; ++column)
        {
            const auto cell = static_cast<std::size_t>(row * mColumns + column);
            if (mCellStarts[cell] != mCellStarts[cell + 1])
            {
                search.lists[search.count++] = {mEntries.data() + mCellStarts[cell],
                                                mEntries.data() + mCellStarts[cell + 1]};
            }
        }
    }
    if (!mEverywhere.empty())
    {
        search.lists[search.count++] = {mEverywhere.data(),
                                        mEverywhere.data() + mEverywhere.size()};
    }
    return true;
}

} // namespace QZ
