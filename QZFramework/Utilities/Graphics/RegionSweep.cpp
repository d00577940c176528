#include "QZFramework/Utilities/Graphics/RegionSweep.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace QZ
{
namespace
{

struct Span
{
    std::int32_t left;
    std::int32_t right;
};

// How often each cell between neighbouring horizontal edges is covered, kept so that the covered
// spans come out in time proportional to their number. Counts sit on the widest nodes a change
// covers whole; a node is full when it or both its children are, and used when anything below
// it is covered.
class CoverageTree
{
public:
    explicit CoverageTree(std::size_t cells) : mNodes(4 * cells), mCells(cells) {}

    void Change(std::size_t first, std::size_t end, std::int32_t delta)
    {
        if (first < end)
        {
            Change(1, 0, mCells, first, end, delta);
        }
    }

    // The covered spans within the cells first to end, left to right, touching ones joined.
    void Collect(std::size_t first, std::size_t end, const std::vector<std::int32_t>& edges,
                 std::vector<Span>& spans) const
    {
        spans.clear();
        if (first < end)
        {
            Collect(1, 0, mCells, first, end, edges, spans);
        }
    }

private:
    void Change(std::size_t node, std::size_t low, std::size_t high, std::size_t first,
                std::size_t end, std::int32_t delta)
    {
        if (end <= low || high <= first)
        {
            return;
        }
        Node& at = mNodes[node];
        if (first <= low && high <= end)
        {
            at.count += delta;
        }
        else
        {
            const std::size_t middle = low + (high - low) / 2;
            Change(2 * node, low, middle, first, end, delta);
            Change(2 * node + 1, middle, high, first, end, delta);
        }
        if (at.count > 0)
        {
            at.full = true;
            at.used = true;
        }
        else if (high - low == 1)
        {
            at.full = false;
            at.used = false;
        }
        else
        {
            const Node& left = mNodes[2 * node];
            const Node& right = mNodes[2 * node + 1];
            at.full = left.full && right.full;
            at.used = left.used || right.used;
        }
    }

    void Collect(std::size_t node, std::size_t low, std::size_t high, std::size_t first,
                 std::size_t end, const std::vector<std::int32_t>& edges,
                 std::vector<Span>& spans) const
    {
        if (end <= low || high <= first || !mNodes[node].used)
        {
            return;
        }
        if (mNodes[node].full)
        {
            const std::int32_t left = edges[std::max(low, first)];
            const std::int32_t right = edges[std::min(high, end)];
            if (!spans.empty() && spans.back().right == left)
            {
                spans.back().right = right;
            }
            else
            {
                spans.push_back({left, right});
            }
            return;
        }
        const std::size_t middle = low + (high - low) / 2;
        Collect(2 * node, low, middle, first, end, edges, spans);
        Collect(2 * node + 1, middle, high, first, end, edges, spans);
    }

    struct Node
    {
        std::int32_t count = 0;
        bool full = false;
        bool used = false;
    };

    std::vector<Node> mNodes;
    std::size_t mCells;
};

struct Event
{
    std::int32_t y;
    std::uint32_t first;
    std::uint32_t end;
    std::int32_t delta;
    bool cut;
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

// The rectangles of the result still growing downwards, sorted by their left edges, and those
// done. A change of coverage re-evaluates only the spans it touches: a span the change leaves as
// it was keeps growing, the others end at the change and new ones begin there.
class OpenRects
{
public:
    // The open rectangles meeting or touching left..right, as positions first to end.
    void FindTouching(std::int32_t left, std::int32_t right, std::size_t& first,
                      std::size_t& end) const
    {
        first = static_cast<std::size_t>(
            std::lower_bound(mOpen.begin(), mOpen.end(), left,
                             [](const RegionRect& r, std::int32_t x) { return r.right < x; }) -
            mOpen.begin());
        end = first;
        while (end < mOpen.size() && mOpen[end].left <= right)
        {
            ++end;
        }
    }

    [[nodiscard]] const RegionRect& At(std::size_t position) const { return mOpen[position]; }

    // Replaces the open rectangles first to end by the spans from y down.
    void Replace(std::size_t first, std::size_t end, const std::vector<Span>& spans,
                 std::int32_t y)
    {
        mFresh.clear();
        std::size_t old = first;
        for (const Span& span : spans)
        {
            while (old < end && mOpen[old].left < span.left)
            {
                Close(mOpen[old++], y);
            }
            if (old < end && mOpen[old].left == span.left && mOpen[old].right == span.right)
            {
                mFresh.push_back(mOpen[old++]);
            }
            else
            {
                mFresh.push_back({span.left, y, span.right, y});
            }
        }
        while (old < end)
        {
            Close(mOpen[old++], y);
        }
        mOpen.erase(mOpen.begin() + static_cast<std::ptrdiff_t>(first),
                    mOpen.begin() + static_cast<std::ptrdiff_t>(end));
        mOpen.insert(mOpen.begin() + static_cast<std::ptrdiff_t>(first), mFresh.begin(),
                     mFresh.end());
    }

    [[nodiscard]] std::vector<RegionRect> TakeDone()
    {
        std::sort(mDone.begin(), mDone.end(),
                  [](const RegionRect& a, const RegionRect& b)
                  { return a.top != b.top ? a.top < b.top : a.left < b.left; });
        return std::move(mDone);
    }

private:
    // A rectangle begun at y itself has no height and is dropped.
    void Close(RegionRect r, std::int32_t y)
    {
        if (r.top < y)
        {
            r.bottom = y;
            mDone.push_back(r);
        }
    }

    std::vector<RegionRect> mOpen;
    std::vector<RegionRect> mFresh;
    std::vector<RegionRect> mDone;
};

} // namespace

std::vector<RegionRect> RegionSweep::Difference(const std::vector<RegionRect>& kept,
                                                const std::vector<RegionRect>& cut)
{
    std::vector<std::int32_t> edges;
    for (const std::vector<RegionRect>* rects : {&kept, &cut})
    {
        for (const RegionRect& r : *rects)
        {
            if (!r.IsEmpty())
            {
                edges.push_back(r.left);
                edges.push_back(r.right);
            }
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    const auto cell = [&edges](std::int32_t x)
    {
        return static_cast<std::uint32_t>(std::lower_bound(edges.begin(), edges.end(), x) -
                                          edges.begin());
    };
    std::vector<Event> events;
    for (const std::vector<RegionRect>* rects : {&kept, &cut})
    {
        for (const RegionRect& r : *rects)
        {
            if (!r.IsEmpty())
            {
                const std::uint32_t first = cell(r.left);
                const std::uint32_t end = cell(r.right);
                events.push_back({r.top, first, end, 1, rects == &cut});
                events.push_back({r.bottom, first, end, -1, rects == &cut});
            }
        }
    }
    std::sort(events.begin(), events.end(),
              [](const Event& a, const Event& b) { return a.y < b.y; });

    const std::size_t cells = edges.empty() ? 0 : edges.size() - 1;
    CoverageTree keptCover(cells);
    CoverageTree cutCover(cells);
    OpenRects open;
    std::vector<Span> changed;
    std::vector<Span> keptSpans;
    std::vector<Span> cutSpans;
    std::vector<Span> spans;
    for (std::size_t e = 0; e < events.size();)
    {
        const std::int32_t y = events[e].y;
        changed.clear();
        for (; e < events.size() && events[e].y == y; ++e)
        {
            const Event& event = events[e];
            (event.cut ? cutCover : keptCover).Change(event.first, event.end, event.delta);
            changed.push_back({static_cast<std::int32_t>(event.first),
                               static_cast<std::int32_t>(event.end)});
        }
        std::sort(changed.begin(), changed.end(),
                  [](const Span& a, const Span& b) { return a.left < b.left; });
        for (std::size_t c = 0; c < changed.size();)
        {
            // Changed cells that overlap or touch are re-evaluated together.
            std::int32_t endCell = changed[c].right;
            const std::int32_t firstCell = changed[c].left;
            for (++c; c < changed.size() && changed[c].left <= endCell; ++c)
            {
                endCell = std::max(endCell, changed[c].right);
            }
            std::size_t first = 0;
            std::size_t end = 0;
            open.FindTouching(edges[static_cast<std::size_t>(firstCell)],
                              edges[static_cast<std::size_t>(endCell)], first, end);
            std::size_t from = static_cast<std::size_t>(firstCell);
            std::size_t to = static_cast<std::size_t>(endCell);
            if (first < end)
            {
                from = std::min<std::size_t>(from, cell(open.At(first).left));
                to = std::max<std::size_t>(to, cell(open.At(end - 1).right));
            }
            keptCover.Collect(from, to, edges, keptSpans);
            if (cut.empty())
            {
                open.Replace(first, end, keptSpans, y);
                continue;
            }
            cutCover.Collect(from, to, edges, cutSpans);
            SpansOutside(keptSpans, cutSpans, spans);
            open.Replace(first, end, spans, y);
        }
    }
    return open.TakeDone();
}

} // namespace QZ
