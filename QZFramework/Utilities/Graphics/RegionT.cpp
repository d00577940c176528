#include "QZFramework/Utilities/Graphics/RegionT.h"

#include "QZFramework/Utilities/Graphics/RegionSweep.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace QZ
{
namespace
{

constexpr double kEmptyExtent = 2.220446049250313e-16;

std::int32_t AddLimited(std::int32_t value, std::int32_t delta)
{
    const std::int64_t sum = std::int64_t{value} + delta;
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        sum, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

void FreeList(RegionNode* node)
{
    while (node != nullptr)
    {
        RegionNode* next = node->next;
        RegionNodePool::Free(node);
        node = next;
    }
}

// Builds a list of nodes for the rectangles in order; null and nothing taken when memory ran out.
RegionNode* BuildList(const std::vector<RegionRect>& rects, bool& complete)
{
    RegionNode* head = nullptr;
    RegionNode** tail = &head;
    for (const RegionRect& r : rects)
    {
        RegionNode* node = RegionNodePool::Allocate(r);
        if (node == nullptr)
        {
            FreeList(head);
            complete = false;
            return nullptr;
        }
        *tail = node;
        tail = &node->next;
    }
    complete = true;
    return head;
}

// A step of collected changes up to this long is carried out change by change, which is faster
// for a few dozen rectangles; a longer step is swept.
constexpr std::size_t kChangesOneByOne = 64;

} // namespace

RegionT::RegionT(const RegionT& other)
{
    RegionNode** tail = &mHead;
    for (const RegionRect& r : other)
    {
        RegionNode* node = RegionNodePool::Allocate(r);
        if (node == nullptr)
        {
            return;
        }
        *tail = node;
        tail = &node->next;
    }
    mBanded = other.mBanded;
}

RegionT::RegionT(RegionT&& other) noexcept
    : mHead(std::exchange(other.mHead, nullptr)), mPending(std::exchange(other.mPending, {})),
      mBanded(std::exchange(other.mBanded, false))
{
}

RegionT& RegionT::operator=(const RegionT& other)
{
    if (this != &other)
    {
        RegionT copy(other);
        std::swap(mHead, copy.mHead);
        std::swap(mPending, copy.mPending);
        std::swap(mBanded, copy.mBanded);
    }
    return *this;
}

RegionT& RegionT::operator=(RegionT&& other) noexcept
{
    if (this != &other)
    {
        FreeList(std::exchange(mHead, std::exchange(other.mHead, nullptr)));
        mPending = std::exchange(other.mPending, {});
        mBanded = std::exchange(other.mBanded, false);
    }
    return *this;
}

RegionT::~RegionT()
{
    Clear();
}

void RegionT::PushFront(RegionNode* node)
{
    node->next = mHead;
    mHead = node;
    mBanded = false;
}

void RegionT::AddRect(const RegionRect& r)
{
    if (!r.IsEmpty())
    {
        mPending.push_back({r, true});
    }
}

void RegionT::AddNow(const RegionRect& r)
{
    SubtractNow(r, nullptr);
    if (RegionNode* node = RegionNodePool::Allocate(r))
    {
        PushFront(node);
    }
}

void RegionT::SubtractRect(const RegionRect& r, RegionT* removed)
{
    // Moving the overlaps into the region itself would leave it as it is.
    if (r.IsEmpty() || removed == this)
    {
        return;
    }
    if (removed == nullptr)
    {
        mPending.push_back({r, false});
        return;
    }
    Settle();
    removed->Settle();
    SubtractNow(r, removed);
}

void RegionT::SubtractNow(const RegionRect& r, RegionT* removed)
{
    // The pieces gather in a list of their own, each put at its head, and go in front of the
    // region after the walk: the same order as putting them at the region's head one by one,
    // without the walk ever meeting them.
    RegionNode* pieces = nullptr;
    RegionNode* lastPiece = nullptr;
    auto addPiece = [&](const RegionRect& piece)
    {
        RegionNode* node = RegionNodePool::Allocate(piece);
        if (node == nullptr)
        {
            return;
        }
        node->next = pieces;
        pieces = node;
        if (lastPiece == nullptr)
        {
            lastPiece = node;
        }
    };

    RegionNode** link = &mHead;
    while (*link != nullptr)
    {
        RegionNode* n = *link;
        if (!n->rect.Overlaps(r))
        {
            link = &n->next;
            continue;
        }
        mBanded = false;
        RegionRect& nr = n->rect;
        if (nr.top < r.top)
        {
            addPiece({nr.left, nr.top, nr.right, r.top});
            nr.top = r.top;
        }
        if (nr.bottom > r.bottom)
        {
            addPiece({nr.left, r.bottom, nr.right, nr.bottom});
            nr.bottom = r.bottom;
        }
        if (nr.left < r.left)
        {
            addPiece({nr.left, nr.top, r.left, nr.bottom});
            nr.left = r.left;
        }
        if (nr.right > r.right)
        {
            addPiece({r.right, nr.top, nr.right, nr.bottom});
            nr.right = r.right;
        }
        *link = n->next;
        if (removed != nullptr)
        {
            removed->PushFront(n);
        }
        else
        {
            RegionNodePool::Free(n);
        }
    }
    if (pieces != nullptr)
    {
        lastPiece->next = mHead;
        mHead = pieces;
    }
}

void RegionT::SettlePending() const
{
    RegionT& self = const_cast<RegionT&>(*this);
    const std::vector<PendingChange> pending = std::exchange(mPending, {});
    for (std::size_t first = 0; first < pending.size();)
    {
        // A run of additions and the run of subtractions after it make one step: the area with
        // the additions, less the subtractions.
        std::size_t cuts = first;
        while (cuts < pending.size() && pending[cuts].add)
        {
            ++cuts;
        }
        std::size_t end = cuts;
        while (end < pending.size() && !pending[end].add)
        {
            ++end;
        }
        if (end - first <= kChangesOneByOne)
        {
            for (std::size_t i = first; i < end; ++i)
            {
                pending[i].add ? self.AddNow(pending[i].rect)
                               : self.SubtractNow(pending[i].rect, nullptr);
            }
        }
        else
        {
            const std::span<const PendingChange> all(pending);
            SweepStep(all.subspan(first, cuts - first), all.subspan(cuts, end - cuts));
        }
        first = end;
    }
}

void RegionT::SweepStep(std::span<const PendingChange> additions,
                        std::span<const PendingChange> subtractions) const
{
    std::vector<RegionRect> kept;
    for (const RegionNode* node = mHead; node != nullptr; node = node->next)
    {
        kept.push_back(node->rect);
    }
    for (const PendingChange& change : additions)
    {
        kept.push_back(change.rect);
    }
    std::vector<RegionRect> cut;
    cut.reserve(subtractions.size());
    for (const PendingChange& change : subtractions)
    {
        cut.push_back(change.rect);
    }
    bool complete = false;
    RegionNode* swept = BuildList(RegionSweep::Difference(kept, cut), complete);
    if (complete)
    {
        FreeList(std::exchange(mHead, swept));
        mBanded = true;
    }
}

void RegionT::SubtractRegion(const RegionT& other, RegionT* removed)
{
    Settle();
    if (&other == this)
    {
        // Walking a list while cutting it would visit freed nodes; all of it is removed.
        RegionNode* node = std::exchange(mHead, nullptr);
        while (node != nullptr)
        {
            RegionNode* next = node->next;
            if (removed != nullptr)
            {
                removed->PushFront(node);
            }
            else
            {
                RegionNodePool::Free(node);
            }
            node = next;
        }
        return;
    }
    for (const RegionRect& r : other)
    {
        SubtractRect(r, removed);
    }
}

void RegionT::Intersect(const RegionT& other)
{
    if (&other == this)
    {
        return;
    }
    RegionT overlap;
    SubtractRegion(other, &overlap);
    std::swap(mHead, overlap.mHead);
    std::swap(mBanded, overlap.mBanded);
}

void RegionT::AppendRects(const RegionT& other)
{
    Settle();
    other.Settle();
    // Copies go in front of the head, so walking other (even when it is this region) from its
    // old head meets only the rectangles that were there before.
    for (const RegionRect& r : other)
    {
        if (RegionNode* copy = RegionNodePool::Allocate(r))
        {
            PushFront(copy);
        }
    }
}

void RegionT::Clear()
{
    mPending.clear();
    FreeList(std::exchange(mHead, nullptr));
    mBanded = false;
}

bool RegionT::GetBounds(RegionRect& out) const
{
    Settle();
    if (mHead == nullptr)
    {
        out = RegionRect{};
        return false;
    }
    out = mHead->rect;
    for (const RegionRect& r : *this)
    {
        out.left = std::min(out.left, r.left);
        out.top = std::min(out.top, r.top);
        out.right = std::max(out.right, r.right);
        out.bottom = std::max(out.bottom, r.bottom);
    }
    return true;
}

std::uint32_t RegionT::GetRectCount() const
{
    return static_cast<std::uint32_t>(std::distance(begin(), end()));
}

void RegionT::ToRectArray(Array<RectT<std::int32_t>>& out) const
{
    out.RemoveAll();
    for (const RegionRect& r : *this)
    {
        out.Add(r.ToRect());
    }
}

void RegionT::Offset(std::int32_t dx, std::int32_t dy)
{
    if (dx == 0 && dy == 0)
    {
        return;
    }
    Settle();
    // An edge limited to the 32-bit range could squash a band into its neighbour.
    mBanded = false;
    for (RegionNode* node = mHead; node != nullptr; node = node->next)
    {
        node->rect.left = AddLimited(node->rect.left, dx);
        node->rect.right = AddLimited(node->rect.right, dx);
        node->rect.top = AddLimited(node->rect.top, dy);
        node->rect.bottom = AddLimited(node->rect.bottom, dy);
    }
}

bool RegionT::IntersectsRect(const RegionRect& r) const
{
    if (r.IsEmpty())
    {
        return false;
    }
    return std::any_of(begin(), end(), [&r](const RegionRect& own) { return own.Overlaps(r); });
}

bool RegionT::IntersectsOffsetRect(const RectT<double>& r, const PointT<double>& offset) const
{
    const double left = std::max(r.x + offset.x, 0.0);
    const double top = std::max(r.y + offset.y, 0.0);
    const double right = std::min(r.x + offset.x + r.width, 2147483647.0);
    const double bottom = std::min(r.y + offset.y + r.height, 2147483647.0);
    // Written so that not-a-number counts as no area.
    if (!(right - left > kEmptyExtent) || !(bottom - top > kEmptyExtent))
    {
        return false;
    }
    return IntersectsRect(
        {RoundToInt32(left), RoundToInt32(top), RoundToInt32(right), RoundToInt32(bottom)});
}

void RegionT::Coalesce()
{
    Settle();
    if (mBanded || mHead == nullptr || mHead->next == nullptr)
    {
        return;
    }
    bool complete = false;
    RegionNode* banded =
        BuildList(RegionSweep::Difference(std::vector<RegionRect>(begin(), end()), {}), complete);
    if (complete)
    {
        FreeList(std::exchange(mHead, banded));
        mBanded = true;
    }
}

} // namespace QZ
