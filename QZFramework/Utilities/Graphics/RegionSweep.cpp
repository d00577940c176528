#include "QZFramework/Utilities/Graphics/RegionSweep.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <numeric>

namespace QZ
{
namespace
{

// A horizontal run: left to right, right exclusive.
struct Span
{
    std::int32_t left;
    std::int32_t right;

    friend bool operator==(const Span&, const Span&) = default;
};

// The horizontal spans of the rectangles of one kind that cross the current band, sorted.
class ActiveSpans
{
public:
    explicit ActiveSpans(std::size_t capacity) { mSpans.reserve(capacity); }

    void Insert(const Span& span)
    {
        mSpans.insert(std::upper_bound(mSpans.begin(), mSpans.end(), span, Before), span);
        mChanged = true;
    }

    // The span was inserted before; any one of equal spans goes.
    void Remove(const Span& span)
    {
        mSpans.erase(std::lower_bound(mSpans.begin(), mSpans.end(), span, Before));
        mChanged = true;
    }

    // The area the spans cover, left to right, overlapping and touching spans joined; worked
    // out again only after a change.
    const std::vector<Span>& Covered()
    {
        if (mChanged)
        {
            Union(mCovered);
            mChanged = false;
        }
        return mCovered;
    }

private:
    static bool Before(const Span& a, const Span& b)
    {
        return a.left != b.left ? a.left < b.left : a.right < b.right;
    }

    // Written without a branch on the spans: whether two spans meet is as good as random.
    void Union(std::vector<Span>& out) const
    {
        if (mSpans.empty())
        {
            out.clear();
            return;
        }
        out.resize(mSpans.size());
        Span current = mSpans.front();
        std::size_t count = 0;
        for (std::size_t i = 1; i < mSpans.size(); ++i)
        {
            // A span apart from the current one begins a new one; either way the current one is
            // written and the next write goes over it unless they were apart. Spans come sorted
            // by their left edges, so the right edge is the larger one in both cases.
            const Span& span = mSpans[i];
            const std::size_t apart = span.left > current.right ? 1 : 0;
            const std::int32_t keep = static_cast<std::int32_t>(apart) - 1;
            out[count] = current;
            count += apart;
            current.left = (current.left & keep) | (span.left & ~keep);
            current.right = std::max(current.right, span.right);
        }
        out[count++] = current;
        out.resize(count);
    }

    std::vector<Span> mSpans;
    std::vector<Span> mCovered;
    bool mChanged = false;
};

// The parts of the kept spans outside the cut spans; both lists sorted and free of overlaps.
void SpansOutside(const std::vector<Span>& kept, const std::vector<Span>& cut,
                  std::vector<Span>& out)
{
    out.clear();
    std::size_t next = 0;
    for (const Span& span : kept)
    {
        while (next < cut.size() && cut[next].right <= span.left)
        {
            ++next;
        }
        std::int32_t from = span.left;
        for (std::size_t c = next; c < cut.size() && cut[c].left < span.right; ++c)
        {
            if (cut[c].left > from)
            {
                out.push_back({from, cut[c].left});
            }
            from = std::max(from, cut[c].right);
        }
        if (from < span.right)
        {
            out.push_back({from, span.right});
        }
    }
}

// The rectangles of the result still growing downwards, sorted by their left edges, and all
// rectangles begun. At each band a rectangle whose span the band holds again keeps growing; the
// others end there and the band's new spans begin. Rectangles begin from the top band down and
// each band from left to right, so the result comes out in order as they begin.
class OpenRects
{
public:
    explicit OpenRects(std::size_t capacity)
    {
        mOpen.reserve(capacity);
        mNext.reserve(capacity);
        mResult.reserve(capacity);
    }

    void Advance(const std::vector<Span>& spans, std::int32_t y)
    {
        mNext.clear();
        std::size_t old = 0;
        for (const Span& span : spans)
        {
            while (old < mOpen.size() && mOpen[old].span.left < span.left)
            {
                Close(mOpen[old++], y);
            }
            if (old < mOpen.size() && mOpen[old].span == span)
            {
                mNext.push_back(mOpen[old++]);
            }
            else
            {
                mNext.push_back({span, mResult.size()});
                mResult.push_back({span.left, y, span.right, y});
            }
        }
        while (old < mOpen.size())
        {
            Close(mOpen[old++], y);
        }
        mOpen.swap(mNext);
    }

    // Once every rectangle has ended.
    [[nodiscard]] std::vector<RegionRect> TakeResult() { return std::move(mResult); }

private:
    struct OpenRect
    {
        Span span;
        std::size_t index;
    };

    void Close(const OpenRect& r, std::int32_t y) { mResult[r.index].bottom = y; }

    std::vector<OpenRect> mOpen;
    std::vector<OpenRect> mNext;
    std::vector<RegionRect> mResult;
};

// A y coordinate and a slot number in one sortable word: the coordinate, moved to unsigned
// order, in the high half.
std::uint64_t EventKey(std::int32_t y, std::size_t slot)
{
    return (std::uint64_t{static_cast<std::uint32_t>(y) ^ 0x80000000u} << 32) | slot;
}

std::int32_t YOf(std::uint64_t key)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(key >> 32) ^ 0x80000000u);
}

// Sorts the keys by their high halves, equal ones staying in order: a byte at a time, over only
// the bytes in which the high halves can differ. Unlike a comparison sort it never branches on
// the keys, and rows within a window take two passes.
void SortByY(std::vector<std::uint64_t>& keys)
{
    if (keys.empty())
    {
        return;
    }
    const auto [lowest, highest] = std::minmax_element(keys.begin(), keys.end());
    const std::uint32_t base = static_cast<std::uint32_t>(*lowest >> 32);
    const std::uint32_t range = static_cast<std::uint32_t>(*highest >> 32) - base;
    std::vector<std::uint64_t> sorted(keys.size());
    for (unsigned shift = 0; shift < 32 && (range >> shift) != 0; shift += 8)
    {
        const auto digit = [base, shift](std::uint64_t key)
        { return ((static_cast<std::uint32_t>(key >> 32) - base) >> shift) & 0xffu; };
        std::array<std::size_t, 257> starts{};
        for (const std::uint64_t key : keys)
        {
            ++starts[digit(key) + 1];
        }
        std::partial_sum(starts.begin(), starts.end(), starts.begin());
        for (const std::uint64_t key : keys)
        {
            sorted[starts[digit(key)]++] = key;
        }
        keys.swap(sorted);
    }
}

// The sweep over the rectangles of kept (the first keptCount) and cut (the rest), none empty.
// Each rectangle is two events sorted from the top down: slot 2 i starts rectangle i, slot
// 2 i + 1 ends it. Between two event rows every row is alike, so each row with events is one
// band: its spans are the union of the kept spans crossing it less that of the cut ones.
class BandSweep
{
public:
    BandSweep(const std::vector<RegionRect>& rects, std::size_t keptCount)
        : mRects(rects), mKeptCount(keptCount), mKept(keptCount),
          mCut(rects.size() - keptCount), mOpen(rects.size())
    {
        mEvents.reserve(2 * rects.size());
        for (std::size_t i = 0; i < rects.size(); ++i)
        {
            mEvents.push_back(EventKey(rects[i].top, 2 * i));
            mEvents.push_back(EventKey(rects[i].bottom, 2 * i + 1));
        }
        SortByY(mEvents);
    }

    std::vector<RegionRect> Run()
    {
        for (std::size_t e = 0; e < mEvents.size();)
        {
            const std::int32_t y = YOf(mEvents[e]);
            for (; e < mEvents.size() && YOf(mEvents[e]) == y; ++e)
            {
                Apply(static_cast<std::size_t>(mEvents[e] & 0xffffffffu));
            }
            mOpen.Advance(BandSpans(), y);
        }
        return mOpen.TakeResult();
    }

private:
    void Apply(std::size_t slot)
    {
        const std::size_t rect = slot / 2;
        const Span span{mRects[rect].left, mRects[rect].right};
        ActiveSpans& active = rect < mKeptCount ? mKept : mCut;
        (slot & 1) == 0 ? active.Insert(span) : active.Remove(span);
    }

    const std::vector<Span>& BandSpans()
    {
        const std::vector<Span>& kept = mKept.Covered();
        const std::vector<Span>& cut = mCut.Covered();
        if (cut.empty())
        {
            return kept;
        }
        SpansOutside(kept, cut, mSpans);
        return mSpans;
    }

    const std::vector<RegionRect>& mRects;
    std::size_t mKeptCount;
    std::vector<std::uint64_t> mEvents;
    ActiveSpans mKept;
    ActiveSpans mCut;
    OpenRects mOpen;
    std::vector<Span> mSpans;
};

} // namespace

std::vector<RegionRect> RegionSweep::Difference(const std::vector<RegionRect>& kept,
                                                const std::vector<RegionRect>& cut)
{
    std::vector<RegionRect> rects;
    rects.reserve(kept.size() + cut.size());
    std::copy_if(kept.begin(), kept.end(), std::back_inserter(rects),
                 [](const RegionRect& r) { return !r.IsEmpty(); });
    const std::size_t keptCount = rects.size();
    if (keptCount == 0)
    {
        return {};
    }
    std::copy_if(cut.begin(), cut.end(), std::back_inserter(rects),
                 [](const RegionRect& r) { return !r.IsEmpty(); });
    return BandSweep(rects, keptCount).Run();
}

} // namespace QZ
