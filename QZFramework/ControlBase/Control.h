// The base of every skinned control, panel and dialog.
//
// A control is a rectangle in its parent's client coordinates with a skin name, a layout record,
// a value with its range, a label text and an ordered list of children. Controls form one tree
// per window and live on the user-interface thread.
//
// Building: the control factory constructs a control (parent, skin name), which attaches it to
// the parent and takes the string table of the parent's class, then runs ApplyDescriptor,
// CreateChildren, Initialize and PostInitialize, and marks it created; until then the control
// hands no notification to its handlers. A control whose Initialize fails is detached and
// released again, so it never appears in a tree.
//
// Ownership: a parent holds its children, and each child holds its parent; the child's link is
// booked as an internal reference of the parent, so once only such links remain, the parent's
// ReleaseInternalReferences drops its children and the tree is freed.
//
// Children come in three orders: as added (0), paint order (1: controls clipped to their parent
// first, then by fewer docked axes, Z_Order, and position) and tab order (2: TabStop, then
// position). The two sorted orders are index lists over the storage, re-sorted lazily when the
// list's version has moved since the last sort.
#pragma once

#include "QZFramework/ControlBase/ChildBox.h"
#include "QZFramework/ControlBase/ChildBoxGrid.h"
#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/ControlBase/HotKeyMap.h"
#include "QZFramework/ControlBase/LayoutDescriptor.h"
#include "QZFramework/ControlBase/MenuDescriptor.h"
#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/ControlBase/TaggableObject.h"
#include "QZFramework/ControlBase/UITarget.h"
#include "QZFramework/ControlBase/WindowOSServices.h"
#include "QZFramework/Notification/ConditionsParam.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/Notification/PointParam.h"
#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Graphics/RegionT.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace QZ
{

class LRenderer;
struct RenderState;
class LRootWindow;
class LLook;
class LVisualPart;
class LBitmap;
class LMenuItemUpdater;
class IClipboardText;

class LControl : public virtual LNotificationClient,
                 public virtual LNotificationDistributor,
                 public virtual LTaggableObject,
                 public virtual UITarget
{
public:
    enum ChildOrder : std::uint32_t
    {
        kStorageOrder = 0,
        kPaintOrder = 1,
        kTabOrder = 2
    };

    using ChildBox = QZ::ChildBox;

    class ChildControlList
    {
    public:
        explicit ChildControlList(LControl* owner) : mOwner(owner) {}
        ChildControlList(const ChildControlList&) = delete;
        ChildControlList& operator=(const ChildControlList&) = delete;
        virtual ~ChildControlList();

        [[nodiscard]] std::uint32_t GetCount() const
        {
            return static_cast<std::uint32_t>(mStorage.size());
        }
        // The child at the index of the order; a runtime error for an index not below the count
        // or an unknown order.
        [[nodiscard]] const RCPtr<LControl>& GetAt(std::uint32_t index, std::uint32_t order);
        [[nodiscard]] const RCPtr<LControl>& GetAt(std::uint32_t index, std::uint32_t order) const;
        // Appends the child and makes the owner its parent: 0, E_INVALIDARG for an empty child,
        // E_FAIL when a child of that name is present (nothing changes then).
        QZRESULT Add(const RCPtr<LControl>& child);
        // Detaches the child; -1 when it is not in the list, else its former position.
        std::int32_t Remove(const RCPtr<LControl>& child);
        // Detaches every child, the last first; true when the list was already empty.
        bool RemoveAll();
        [[nodiscard]] std::uint32_t GetVersion() const { return mVersion; }
        // Marks the sorted orders stale (something that orders the children changed).
        void Touch()
        {
            ++mVersion;
            mLayoutSort.resortDue = true;
            mPaintSort.resortDue = true;
            NoteGeometryChange();
        }
        // Marks the sorted orders stale for a change of what orders that child; nothing is
        // needed for a child added since the last sort, which the orders do not hold yet.
        void TouchChild(const LControl& child);
        // The children after child in the layout sequence; empty when it is the last or no
        // member.
        [[nodiscard]] std::vector<RCPtr<LControl>> GetLaterInLayout(const LControl& child) const;
        // The children's boxes in paint order, made again after any control of any tree moved,
        // changed size or clipping, or gained or lost children.
        [[nodiscard]] const std::vector<ChildBox>& GetPaintBoxes() const;
        // The grid over those boxes.
        [[nodiscard]] const LChildBoxGrid& GetPaintGrid() const;
        // The end, in paint order, of the children that clip to the owner with at most that
        // many docked axes (0 to 2); the children from the end of 2 on are painted apart.
        [[nodiscard]] std::uint32_t GetClippedEnd(std::uint32_t docked) const;
        // Renames a child: 1 when the name is unchanged, E_INVALIDARG when it is not a member,
        // E_FAIL when a sibling has that name; 0 after the rename, with every later sibling's
        // layout references to the old name turned to the new one.
        QZRESULT RenameChild(const RCPtr<LControl>& child, const WideString& name);

    private:
        friend class LControl;
        QZRESULT AddPointer(LControl* child);
        void DetachAt(std::size_t position);
        // How far an order is sorted: over the first count children, in order unless a resort
        // is due.
        struct SortState
        {
            std::uint32_t count = 0;
            bool resortDue = true;
        };

        // Each sorts all children after a change of order, else puts the children added since
        // the last sort into place: adding one child costs a search, not a sort. The layout
        // order is sorted apart, as building reads it after every child.
        void SortLayout() const
        {
            if (mLayoutSort.resortDue || mLayoutSort.count != mStorage.size())
            {
                SortLayoutNow();
            }
        }
        void SortPaintAndTab() const
        {
            if (mPaintSort.resortDue || mPaintSort.count != mStorage.size())
            {
                SortPaintAndTabNow();
            }
        }
        void SortLayoutNow() const;
        void SortPaintAndTabNow() const;
        // Brings the state up to the count of children; true when all must be sorted afresh.
        bool Update(SortState& state) const;
        // The orders' comparisons of two storage positions.
        [[nodiscard]] bool LayoutBefore(std::uint32_t a, std::uint32_t b) const;
        [[nodiscard]] bool PaintBefore(std::uint32_t a, std::uint32_t b) const;
        [[nodiscard]] bool TabBefore(std::uint32_t a, std::uint32_t b) const;
        // Makes the boxes, their grid and the clipped ends again when they are out of date.
        void RefreshBoxes() const;
        // The child's storage position, searched from the end (where new children are); -1
        // when it is no member.
        [[nodiscard]] std::int64_t FindStored(const LControl& child) const;

        std::vector<RCPtr<LControl>> mStorage;
        // The children's names (views of their own texts), for the duplicate test of Add.
        std::unordered_set<std::u16string_view> mNames;
        mutable std::vector<std::uint32_t> mTabOrder;
        mutable std::vector<std::uint32_t> mPaintOrder;
        // The layout sequence: LayoutOrder, then storage order.
        mutable std::vector<std::uint32_t> mLayoutOrder;
        std::uint32_t mVersion = 1;
        mutable SortState mLayoutSort;
        // Of the paint and tab orders together.
        mutable SortState mPaintSort;
        mutable std::vector<ChildBox> mBoxes;
        mutable LChildBoxGrid mGrid;
        mutable std::uint32_t mClippedEnds[3] = {};
        // The geometry epoch the boxes were made in; 0: never.
        mutable std::uint64_t mBoxEpoch = 0;
        LControl* const mOwner;
    };

    // Attaches the control to the parent (when given) and takes the string table that the
    // application's control factory keeps for the parent's class and this name. mostDerived is
    // the creators' third argument; C++ builds the shared bases by itself.
    // Something that places controls changed (position, size, clipping, children): the boxes
    // that parents keep of their children are made again before their next use.
    static void NoteGeometryChange();

    LControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LControl() override;
    LControl(const LControl&) = delete;
    LControl& operator=(const LControl&) = delete;

    // Notification handling: handed to the control's own handler once the control is created.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // Drops the children and every registration, which break the reference cycles of a tree.
    QZRESULT ReleaseInternalReferences() override;

    // Input from the root window: pointer, wheel, focus and capture (UITarget).
    QZRESULT OnMouseEnter() override;
    QZRESULT NotifyMouseMove(const RCPtr<LPointWithModifiersParam>& move) override;
    QZRESULT NotifyMouseDown(const RCPtr<LMouseButtonParam>& press) override;
    QZRESULT NotifyMouseUp(const RCPtr<LMouseButtonParam>& release) override;
    QZRESULT OnMouseLeave() override;
    QZRESULT OnMouseButtonDown(std::uint32_t button, std::int32_t x, std::int32_t y) override;
    QZRESULT ReleaseCapture() override;
    QZRESULT NotifyKey(const RCPtr<LKeyParam>& key) override;
    QZRESULT NotifyMouseWheelVertical(const RCPtr<LMouseWheelParam>& wheel) override;
    QZRESULT NotifyMouseWheelHorizontal(const RCPtr<LMouseWheelParam>& wheel) override;
    // Lays the control out again; 0.
    QZRESULT OnResize() override;
    [[nodiscard]] bool CanReleaseFocus() override { return true; }
    QZRESULT KillFocus() override;

    // E_INVALIDARG, changing nothing, for a bound that is not finite, or unless the scale is 0
    // (linear) or 1 (logarithmic) with both bounds above 0.
    virtual QZRESULT SetValueRange(double minimum, double maximum, std::int32_t scaleType);
    // Hook after the value changed.
    virtual void OnValueChanged() {}
    virtual void OnScrollOffsetChanged(const PointT<double>& /*previous*/,
                                       const PointT<double>& /*current*/)
    {
    }
    virtual void OnChildRectChanged(const RCPtr<LControl>& /*child*/) {}
    // Per axis the absolute part of the maximum-size rule when that rule refers to the control
    // itself, else 0 (no maximum).
    [[nodiscard]] virtual PointT<double> GetMaximumSize() const;
    // Stores ClipToParent and keeps the separately painted counts of the ancestors and the
    // parent's paint order right. Returns the stored flag.
    virtual bool SetClipToParent(bool clip);
    [[nodiscard]] virtual RCPtr<LStringTable> GetStringTable() const { return mStringTable; }
    // ---- edit commands ----
    // Carries out an edit command ("NID_EDIT_CUT_REQ", "NID_EDIT_COPY_REQ", "NID_EDIT_PASTE_REQ"
    // or "NID_EDIT_DELETE_REQ") with the text exchanged through the clipboard. Controls that edit
    // override it; the base throws a logic error.
    virtual QZRESULT PerformEdit(const WideString& command, IClipboardText& clipboard);
    // True for a control that takes edit commands (false in the base).
    [[nodiscard]] virtual bool IsEditTarget() const { return false; }
    // This control when it takes edit commands, else the nearest ancestor that does; null when
    // none does.
    virtual RCPtr<LControl>& FindEditTarget(RCPtr<LControl>& out);
    virtual QZRESULT SetDragMode(std::int32_t mode, std::int32_t option);
    // The range within which a child may scroll: (0, 0, 2^52, 2^52) in the base.
    virtual void GetChildScrollRange(RectT<double>& range, const RCPtr<LControl>& child) const;
    virtual void OnChildRemoved(std::uint32_t /*position*/) {}
    // Re-runs the layout when an axis is docked (a docked axis keeps its place while the parent
    // scrolls). 0.
    virtual QZRESULT OnParentScrolled(const PointT<double>& previous,
                                      const PointT<double>& current);
    // Re-runs the layout unless a descriptor is being applied, then OnChildRectChanged. 0.
    virtual QZRESULT OnChildLayoutChanged(const RCPtr<LControl>& child);
    virtual QZRESULT DrawUnderlay(LRenderer& /*renderer*/) { return S_OK; }
    virtual QZRESULT DrawOverlay(LRenderer& /*renderer*/) { return S_OK; }

    // The creation phases, in the order the factory runs them.
    // Keeps the descriptor, lays the control out by a private copy of its layout record and
    // takes the label ("LABEL" of the control's string table, else of its create parameters).
    virtual QZRESULT ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor);
    // Removes the children, creates one through the factory for every sub-control that is not
    // deferred (unknown classes and failed creations are skipped) and lays out again. 0.
    virtual QZRESULT CreateChildren(const ConstRCPtr<LControlDescriptor>& descriptor);
    // Binds the control to the application's notification centre, gives it its handler, applies
    // the create parameters, reads "TOOLTIP" and the local hot keys ("LHK.<command>" = key text)
    // and, for a child with local hot keys, listens to the keys its siblings pass on. 0, or a
    // negative result that overrides return unchanged.
    virtual QZRESULT Initialize();
    virtual QZRESULT PostInitialize() { return S_OK; }
    // SetParent of the child to this control, then the child's ApplyDescriptor. E_FAIL for an
    // empty child or descriptor.
    virtual QZRESULT AddChild(const RCPtr<LControl>& child,
                              const ConstRCPtr<LControlDescriptor>& descriptor);
    [[nodiscard]] virtual WideString GetToolTipText() const { return mToolTipText; }

    // 1 when the parent is already that one; else detaches from the old parent, attaches to the
    // new one (when given) and returns 0.
    QZRESULT SetParent(const RCPtr<LControl>& parent);
    // Computes the rectangle from the layout record and applies it. E_FAIL without a layout
    // record or, for a control without parent, without a window to lay it out in.
    QZRESULT UpdateLayout();
    // The rectangle the layout record gives now, before the size limits.
    [[nodiscard]] RectT<double> GetRuledRect() const;
    // Stores the rectangle (parent client coordinates); 0 when it changed, 1 when equal.
    QZRESULT SetRect(const RectT<double>& rect);
    // The direct child of that skin name (exact, case-sensitive), searching from the last; null
    // when there is none.
    [[nodiscard]] RCPtr<LControl> FindChildByName(const WideString& name) const;
    // The bounding rectangle of the children docked on neither axis, each taken as whole pixels;
    // empty when there are none.
    RectT<double>& GetChildrenBounds(RectT<double>& bounds) const;
    // The top-most ancestor, or this control.
    RCPtr<LControl>& GetRootControl(RCPtr<LControl>& root);
    // The key's text from the control's string table, empty when the table or the key is
    // missing.
    WideString& GetString(WideString& text, const char16_t* key) const;
    // True when the sub-control's create parameters hold "DEFER_CREATE" = "true" (any case,
    // blanks around it allowed).
    [[nodiscard]] static bool IsCreationDeferred(const ConstRCPtr<LControlDescriptor>& descriptor);

    void IncrementSubtreeCounter();
    void DecrementSubtreeCounter();

    // Set by the factory after the last creation phase.
    void SetCreated() { mCreated = true; }
    [[nodiscard]] bool IsCreated() const { return mCreated; }

    [[nodiscard]] const WideString& GetName() const { return mName; }
    [[nodiscard]] const ConstRCPtr<LControlDescriptor>& GetDescriptor() const
    {
        return mDescriptor;
    }
    [[nodiscard]] const RCPtr<LLayoutDescriptor>& GetLayout() const { return mLayout; }
    [[nodiscard]] const RCPtr<LControl>& GetParent() const { return mParent; }
    [[nodiscard]] ChildControlList& GetChildren() { return mChildren; }
    [[nodiscard]] const ChildControlList& GetChildren() const { return mChildren; }
    [[nodiscard]] PointT<double> GetPosition() const { return mPosition; }
    [[nodiscard]] PointT<double> GetSize() const { return mSize; }
    [[nodiscard]] PointT<double> GetScrollOffset() const { return mScrollOffset; }
    [[nodiscard]] std::uint32_t GetUnclippedDescendantCount() const { return mUnclipped; }
    [[nodiscard]] const WideString& GetText() const { return mText; }
    [[nodiscard]] double GetValue() const { return mValue; }
    [[nodiscard]] double GetValueMinimum() const { return mValueMinimum; }
    [[nodiscard]] double GetValueMaximum() const { return mValueMaximum; }
    [[nodiscard]] std::int32_t GetScaleType() const { return mScaleType; }
    [[nodiscard]] bool IsNotFocusable() const { return mNotFocusable; }
    [[nodiscard]] float GetOpacity() const { return mOpacity; }
    [[nodiscard]] const RCPtr<LConditionsParam>& GetConditionsParam() const
    {
        return mConditionsParam;
    }
    [[nodiscard]] const RCPtr<LNotificationCenter>& GetNotificationCenter() const
    {
        return mNotificationCenter;
    }
    [[nodiscard]] const RCPtr<LNotificationHandler<LControl>>& GetNotificationHandler() const
    {
        return mNotificationHandler;
    }
    [[nodiscard]] std::int32_t GetDragMode() const { return mDragMode; }
    [[nodiscard]] std::int32_t GetDragOption() const { return mDragOption; }

    // ---- root window ----
    // Set on the root control by its window (null detaches); the link counts as an internal
    // reference of the window. E_FAIL for a control with a parent; a window gets the control's
    // text as its title.
    QZRESULT SetRootWindow(const RCPtr<LRootWindow>& window);
    // The root window of the tree the control is in (through its root control); null when the
    // tree is not attached to a window.
    RCPtr<LRootWindow>& GetRootWindowRef(RCPtr<LRootWindow>& window) const;

    // ---- looks, painting and invalidation ----
    // Draws the control and the part of its subtree inside it; controls that do not clip to
    // their parent are appended to the layer instead, for the window to paint above the tree.
    // separate: painted as a member of that layer. E_INVALIDARG when separate equals ClipToParent.
    // A parent does not call it for a child without separately painted descendants whose
    // rectangle misses the dirty area, so an override paints nothing outside the rectangle.
    // Where a child's opaque looks cover all the control would paint beneath that child, the
    // control's looks, underlay, label and the children before that one are not drawn.
    virtual QZRESULT Paint(const RCPtr<LRenderer>& renderer, const RegionT& dirty,
                           std::vector<RCPtr<LControl>>& layer, bool separate);
    // Appends the separately painted controls of the subtree; the number appended.
    std::uint32_t CollectSeparatelyPainted(std::vector<RCPtr<LControl>>& layer, bool onlyShowing,
                                           bool includeSelf);
    // Marks the rectangle (control coordinates) dirty in the root window; with clip, only the
    // part inside every clipping ancestor.
    void Invalidate(const RectT<double>& rect, bool clip);
    // The whole control, clipped by its own ClipToParent.
    void InvalidateAll();
    void InvalidateRootRect(const RectT<double>& rootRect, bool clip, const RectT<double>& limit);
    // Invalidates the separately painted controls of the subtree, which the control's own
    // invalidation does not reach.
    void InvalidateSeparatelyPainted();
    // The parent's whole rectangle in this control's coordinates.
    [[nodiscard]] RectT<double> GetParentBoundsInLocal() const;
    // The control's top-left corner in root-window coordinates.
    [[nodiscard]] PointT<double> GetPositionInRoot() const;
    [[nodiscard]] PointT<double> GetAbsolutePosition() const { return GetPositionInRoot(); }
    // Adds the other control's absolute position and subtracts this one's, both in whole pixels.
    void MapPointFrom(const LControl& other, PointT<double>& point) const;

    [[nodiscard]] std::uint32_t GetLookCount() const
    {
        return static_cast<std::uint32_t>(mLooks.size());
    }
    // The look of the state index; null for a gap or an index past the list.
    [[nodiscard]] const RCPtr<LLook>& GetLook(std::uint32_t index) const;
    [[nodiscard]] float GetLookWeight(std::uint32_t index) const;
    // The look's client rectangle; (0, 0, width, height) without that look.
    [[nodiscard]] RectT<double> GetLookClientRect(std::uint32_t index) const;
    // E_INVALIDARG for an index past the weights; a weight outside 0..1 is ignored; exclusive
    // sets every other weight to 0. 0.
    QZRESULT SetLookWeight(std::uint32_t index, float weight, bool exclusive);
    void SetLookRegion(std::uint32_t index, const RegionT& region);
    void ClearLookRegion(std::uint32_t index);
    void ClearLookRegions();
    // The look's region := the control's rectangle minus the other look's region.
    // E_INVALIDARG when either look is missing.
    QZRESULT SetLookRegionExcluding(std::uint32_t index, std::uint32_t other);
    // Shows the bitmap in the look's client rectangle; E_FAIL without that look.
    QZRESULT SetLookBitmap(std::uint32_t index, const RCPtr<LBitmap>& bitmap,
                           std::uint32_t resizeType);
    void SetLookVisualPart(std::uint32_t index, const RCPtr<LVisualPart>& part);
    // The label moves with the scroll offset (text boxes).
    void SetLabelFollowsScroll(bool follows) { mLabelFollowsScroll = follows; }

    // ---- hit testing and lookup ----
    // The top-most control of the subtree under the point (control coordinates), with the point
    // in its coordinates; null when nothing is hit. bestZ carries the effective Z order of the
    // best find so far.
    virtual RCPtr<LControl>& FindControlAtPoint(RCPtr<LControl>& out, const PointT<long>& point,
                                                bool insideParent, PointT<long>& outPoint,
                                                std::int32_t& bestZ);
    // The point lies in the control's rectangle (left and top inclusive). An override answers
    // true only inside the rectangle: a parent passes by a child without separately painted
    // descendants when the point lies outside the child's rectangle.
    [[nodiscard]] virtual bool HitTest(const PointT<long>& point) const;
    // Every look that takes part is transparent at the point (also when none takes part).
    [[nodiscard]] virtual bool IsTransparentAt(const PointT<long>& point) const;
    // 0xAARRGGBB of the look at the point; 0x00FFFFFF without that look.
    [[nodiscard]] virtual std::uint32_t GetColorAtPoint(const PointT<long>& point,
                                                        std::uint32_t look) const;
    // The largest Z_Order among the control and its ancestors that do not clip to their parent;
    // INT_MIN when all of them clip.
    [[nodiscard]] std::int32_t GetEffectiveZOrder() const;
    // Every descendant of that name; the count.
    std::uint32_t FindDescendantsByName(const WideString& name,
                                        std::vector<RCPtr<LControl>>& out) const;
    // The child's index in the order, -1 when absent.
    [[nodiscard]] std::int32_t GetChildIndex(const RCPtr<LControl>& child,
                                             std::uint32_t order) const;
    // The control that accepts the dragged control at the point (root coordinates), walking up
    // from this one; null when none does.
    RCPtr<LControl>& FindDropTarget(RCPtr<LControl>& out, const RCPtr<LControl>& dragged,
                                    const PointT<double>& point);
    [[nodiscard]] virtual bool AcceptsDrop(const RCPtr<LControl>& /*dragged*/) const
    {
        return false;
    }
    // While set, hit tests pass over the control itself (its children are still found).
    void SetHitTestPassOver(bool passOver, bool withDescendants);
    [[nodiscard]] bool IsHitTestPassOver() const { return mPassOver; }

    // ---- geometry, scroll offset, text and font ----
    virtual void SetScrollOffset(const PointT<double>& offset);
    // True when the text changed; relayout re-runs the layout of axes sized by the content.
    bool SetText(const WideString& text, bool relayout);
    // E_INVALIDARG for an empty font, 1 when it is the font in use, else 0.
    QZRESULT SetFont(const RCPtr<LFont>& font);
    // Derives the font from the base font: an empty name, a size of 0 or below and a style of -1
    // take the base font's; a relative size is a factor on the base size. E_FAIL when no font
    // can be had, else SetFont's result.
    QZRESULT SetFontSpec(const WideString& name, float size, std::int32_t style, bool relative);
    [[nodiscard]] const RCPtr<LFont>& GetFont() const { return mFont; }
    // Stores the cursor kind and, while the pointer is over the control, applies it at once.
    void SetCursor(std::int32_t kind);
    [[nodiscard]] std::int32_t GetCursor() const { return mCursorKind; }
    // Store the rules of an axis and lay out again; nonzero when something differed.
    QZRESULT SetAxisLayout(std::uint32_t axis, const LLayoutDescriptor::PositionSpec& position,
                           const LLayoutDescriptor::SizeSpec& size);
    QZRESULT SetAxisSizeLimits(std::uint32_t axis, const LLayoutDescriptor::LimitSpec& minimum,
                               const LLayoutDescriptor::LimitSpec& maximum);
    QZRESULT SetLayoutAxes(const LLayoutDescriptor::PositionSpec& positionX,
                           const LLayoutDescriptor::SizeSpec& sizeX,
                           const LLayoutDescriptor::PositionSpec& positionY,
                           const LLayoutDescriptor::SizeSpec& sizeY);
    // E_INVALIDARG when negative.
    QZRESULT SetOrderValue(std::int32_t value);
    [[nodiscard]] std::int32_t GetOrderValue() const { return mOrderValue; }
    // The size the control takes when its content decides it: both axes sized by "Self" with no
    // relative or absolute part, so only the limits and the content count.
    [[nodiscard]] PointT<double> MeasureDesiredSize();
    // The limits resolved by the last layout; a maximum of 0 is none.
    [[nodiscard]] PointT<double> GetMinSize() const { return mMinSize; }
    [[nodiscard]] PointT<double> GetMaxSize() const { return mMaxSize; }
    // Keeps the not-focusable flag and the tab stop's sign in agreement.
    virtual void SetNotFocusable(bool notFocusable);

    // ---- change hooks ----
    virtual void OnLayoutChangeBegin();
    virtual void OnLayoutChangeEnd() { mLayoutChangePending = false; }
    // Derives an inherited font again from the new base font. 0.
    virtual QZRESULT OnBaseFontChanged();
    virtual void OnFontChanged() {}
    // A window's root control answers 1 to have its window moved to the rectangle.
    virtual QZRESULT OnWindowRectRequest(RectT<double>& /*rect*/) { return S_OK; }
    [[nodiscard]] const RectT<double>& GetSavedClientRect() const { return mSavedClientRect; }
    [[nodiscard]] bool IsLayoutChangePending() const { return mLayoutChangePending; }

    // ---- conditions and focus ----
    // Condition bits of GetConditionFlags.
    static constexpr std::uint32_t kHasFocus = 0x1;
    static constexpr std::uint32_t kContainsFocus = 0x2;
    static constexpr std::uint32_t kPointerOver = 0x4;
    static constexpr std::uint32_t kCapture = 0x8;
    // Pressed and drag bits of the left button; middle and right follow at the next two bits.
    static constexpr std::uint32_t kLeftPressed = 0x10;
    static constexpr std::uint32_t kLeftDrag = 0x80;
    static constexpr std::uint32_t kEnabled = 0x400;
    static constexpr std::uint32_t kVisible = 0x800;
    static constexpr std::uint32_t kHover = 0x1000;

    [[nodiscard]] std::uint32_t GetConditionFlags() const;
    // Recomputes the condition bits; when they changed, announces the change
    // ("NID_CONDITION_CHANGE" and one notification per changed condition) and visits the children,
    // last first.
    void UpdateConditions();
    void SetHighlighted(bool highlighted);
    virtual void SetEnabled(bool enabled);
    // Answers IsShowing with ancestors after the change.
    virtual bool SetShown(bool shown);
    [[nodiscard]] bool IsEnabled(bool withAncestors) const;
    // Shown with a width and height above 0 (and so every ancestor, with ancestors).
    [[nodiscard]] bool IsShowing(bool withAncestors) const;
    // Focus always rests on the deepest focusable control.
    [[nodiscard]] virtual bool IsFocusable() const;
    [[nodiscard]] virtual bool HasFocusableDescendant() const;
    [[nodiscard]] bool IsNotFocusableInChain(bool withAncestors) const;
    // Ends the search for a not-focusable ancestor at this control (menus set it).
    void SetFocusInheritanceStop(bool stop) { mFocusStop = stop; }
    // The child that has or contains focus; empty when none.
    [[nodiscard]] const RCPtr<LControl>& GetFocusedChild() const;
    // The first (last) child in tab order that can take focus or holds one that can.
    [[nodiscard]] const RCPtr<LControl>& GetFirstFocusable() const;
    [[nodiscard]] const RCPtr<LControl>& GetLastFocusable() const;
    // Moves the focus here or to the first (forward) or last focusable descendant. 0 when the
    // focus is there; E_FAIL, changing nothing, when the focus holder refuses to let go or no
    // control can take it; 1 when the tree holds no focus to move.
    virtual QZRESULT SetFocus(bool forward);
    QZRESULT OnDescendantFocused(const RCPtr<LControl>& child);
    [[nodiscard]] bool HasFocus() const { return mFlags[kFlagHasFocus]; }
    [[nodiscard]] bool ContainsFocus() const { return mFlags[kFlagContainsFocus]; }
    [[nodiscard]] bool IsHovered() const { return mFlags[kFlagHover]; }
    [[nodiscard]] bool HasCapture() const { return mFlags[kFlagCapture]; }
    // Drag hooks, run by UpdateConditions while a drag mode is set.
    virtual QZRESULT BeginDrag();
    virtual QZRESULT EndDrag();
    // Moves, resizes, drags or pans during a left drag; the point in control coordinates.
    virtual QZRESULT TrackDrag(const RCPtr<LPointParam>& point);
    virtual void OnConditionsChanged(const RCPtr<LConditionsParam>& /*conditions*/) {}

    // ---- pointer input ----
    // Pixels the pointer must move after a press before the press becomes a drag; 0 makes every
    // press a drag at once.
    void SetDragThreshold(std::int32_t pixels) { mDragThreshold = pixels; }
    [[nodiscard]] const PointT<double>& GetDragOffset() const { return mDragOffset; }
    // Gives the focus here, or passes the request up when this control cannot take it. 0.
    virtual QZRESULT FocusFromChild(const RCPtr<LControl>& child);
    // A release over the control: the click of the parameter's button.
    virtual QZRESULT DispatchClick(const RCPtr<LMouseButtonParam>& click);
    virtual QZRESULT NotifyLeftClick(const RCPtr<LMouseButtonParam>& click);
    virtual QZRESULT NotifyMiddleClick(const RCPtr<LMouseButtonParam>& click);
    // Also opens the context menu when the control has one.
    virtual QZRESULT NotifyRightClick(const RCPtr<LMouseButtonParam>& click);
    // Hooks of the pointer steps, before their notifications; empty in the base.
    virtual void OnLeftButtonDown(const RCPtr<LMouseButtonParam>& /*press*/) {}
    virtual void OnLeftButtonUp(const RCPtr<LMouseButtonParam>& /*release*/) {}
    virtual void OnMiddleButtonDown(const RCPtr<LMouseButtonParam>& /*press*/) {}
    virtual void OnMiddleButtonUp(const RCPtr<LMouseButtonParam>& /*release*/) {}
    virtual void OnRightButtonDown(const RCPtr<LMouseButtonParam>& /*press*/) {}
    virtual void OnRightButtonUp(const RCPtr<LMouseButtonParam>& /*release*/) {}
    virtual void OnMouseMove(const RCPtr<LPointWithModifiersParam>& /*move*/) {}
    virtual void OnLeftClick(const RCPtr<LMouseButtonParam>& /*click*/) {}
    virtual void OnMiddleClick(const RCPtr<LMouseButtonParam>& /*click*/) {}
    virtual void OnRightClick(const RCPtr<LMouseButtonParam>& /*click*/) {}
    // One wheel step at the control; 1 passes it on to the next control (OnMouseWheel).
    virtual QZRESULT OnVerticalWheel(const RCPtr<LMouseWheelParam>& /*wheel*/) { return S_FALSE; }
    virtual QZRESULT OnHorizontalWheel(const RCPtr<LMouseWheelParam>& /*wheel*/) { return S_FALSE; }
    // Offers a wheel step (point in window coordinates) to this control and then up the
    // ancestors, or past a control that does not clip to its parent to the control under the
    // point; 0 when one took it, 1 when none did, -1 for an empty parameter.
    QZRESULT OnMouseWheel(const RCPtr<LMouseWheelParam>& wheel);
    // Automatic scrolling of the content on axis 0 (x) or 1 (y), run on idle steps; target is
    // a dragged control that follows the content. 0.
    QZRESULT StartAutoScroll(std::uint32_t axis, double rate, double maximum, double minimum,
                             const RCPtr<LControl>& target);
    // 0 when the axis ran, 1 when it did not (only its target is dropped then).
    QZRESULT StopAutoScroll(std::uint32_t axis);
    [[nodiscard]] bool IsAutoScrolling(std::uint32_t axis) const
    {
        return axis < 2 && mAutoScroll[axis].running;
    }

    // ---- values, sibling keys, tooltips, context menus and idle requests ----
    // Stores the position limited to 0.0..1.0 and, when it changed, runs OnValueChanged and sends
    // "NID_VALUE_CHANGE". Answers the stored position; a position that is not a number changes
    // nothing.
    virtual double SetValue(double position);
    // The position mapped into the value range.
    [[nodiscard]] double PositionToValue(double position) const;
    // The inverse of PositionToValue: the value limited to the range first; 0 for an empty range
    // and for a value that is not a number.
    [[nodiscard]] double ValueToPosition(double value) const;
    // The mapping itself: linear min + (max - min) * t, logarithmic (scale 1) min * (max/min)^t.
    // A logarithmic range with a bound at or below 0 maps linearly; the answer is always finite
    // for finite bounds.
    [[nodiscard]] static double MapPositionToValue(double position, double minimum, double maximum,
                                                   std::int32_t scaleType);
    // Offers a key that the control did not use to the receivers of "NID_SIBLING_KEY" registered
    // here, nearest before the originating control in tab order first. 0 when one took it, else 1.
    virtual QZRESULT SendSiblingKey(const RCPtr<LKeyParam>& key);
    // The receivers' indices in the order SendSiblingKey walks them from the back.
    virtual void
    OrderSiblingKeyReceivers(const RCPtr<LKeyParam>& key,
                             const std::vector<RCPtr<LNotificationReceiver>>& receivers,
                             std::vector<std::uint32_t>& order);
    // Shows the tooltip text in the skin's "toolTip" control, or hides the one shown.
    virtual void UpdateToolTip(bool show);
    void SetToolTipText(const WideString& text) { mToolTipText = text; }
    // Opens the skin's "contextMenu" popup at the pointer with the menu.
    void ShowContextMenu(const RCPtr<LMenuDescriptor>& menu);
    void SetContextMenu(const RCPtr<LMenuDescriptor>& menu);
    [[nodiscard]] virtual const RCPtr<LMenuDescriptor>& GetContextMenu() const
    {
        return mContextMenu;
    }
    // Lets the control adjust a popup before it shows.
    virtual void OnContextMenu(const RCPtr<LControl>& /*popup*/) {}
    // Counted subscription to the root window's "NID_IDLE": the first request subscribes, the
    // release of the last one unsubscribes. The count never drops below 0.
    QZRESULT RequestIdle();
    QZRESULT ReleaseIdle();
    [[nodiscard]] std::int32_t GetIdleRequestCount() const { return mIdleRequests; }
    // How many controls hold idle requests for timed work (a delay, a repeat, a drag): while any
    // does, the event loop wakes at its tick instead of sleeping until the next event.
    [[nodiscard]] static std::int32_t GetTimedIdleControlCount();
    // Subscribes the idle handler at the root window when requests wait for one; then the
    // children, last first.
    virtual void RegisterHandlers();
    // The idle step, on every "NID_IDLE" while the control has idle requests. 0.
    QZRESULT OnIdle(const RCPtr<LNotificationDistributor>& sender,
                    const RCPtr<LNotification>& notification);
    virtual void OnIdleStep() {}
    // For a control whose idle steps wait for no time (only for posts, which wake the loop
    // themselves): its idle requests then keep no tick running.
    void SetIdleUntimed();
    // Hides the control, drops capture and idle requests and takes it out of its tree.
    virtual void Destroy();
    // Hands a notification made here to that one receiver, with no sender.
    static void
    SendNotificationTo(const RCPtr<LNotificationReceiver>& receiver, const char16_t* identifier,
                       const RCPtr<LRefCountedObject>& payload = RCPtr<LRefCountedObject>());

    // ---- create params, keys, tab order, context menus and queued destruction ----
    // The create parameters every control reads: "INITIAL_VALUE", "NOT_FOCUSABLE",
    // "USE_PARENT_TOOLTIP" and "WANTS_TAB" ("true" in any letter case, blanks around it allowed;
    // anything else is false). Without create parameters the tab stop's sign decides focusability.
    virtual QZRESULT ApplyCreateParams();
    // The keys the control's own "LHK" create parameters bind to the command; empty when none.
    void GetLocalHotKeys(const WideString& command, std::vector<KeyCode>& keys) const;
    [[nodiscard]] bool HasLocalHotKey(const WideString& command) const;
    [[nodiscard]] bool WantsTab() const { return mWantsTab; }
    [[nodiscard]] bool UsesParentToolTip() const { return mUseParentToolTip; }
    // Set by a control on the parts it is drawn with, which explain nothing of their own.
    void SetUseParentToolTip(bool use) { mUseParentToolTip = use; }
    // The control's own key hook, after its local hot keys; 1 lets the key travel on.
    virtual QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& /*key*/) { return S_FALSE; }
    // A key that a child did not use: offered to the other children, then to the window's and
    // the application's hot keys. 0 when one used it, else 1.
    virtual QZRESULT ProcessKey(const RCPtr<LKeyParam>& key);
    // Moves the focus to the next control in tab order after the last container the request
    // left (Shift: backwards), entering and leaving containers; Ctrl leaves this container.
    virtual void TraverseFocus(const RCPtr<LKeyParam>& request);
    // The next tab stop among the children after current (a child of this control), wrapping
    // around; null when there is none.
    [[nodiscard]] virtual const RCPtr<LControl>& GetNextTabStop(const RCPtr<LControl>& current,
                                                                bool backwards) const;
    // Showing and enabled, with the ancestors.
    [[nodiscard]] bool IsTabStop() const { return IsShowing(true) && IsEnabled(true); }
    // "NID_SIBLING_KEY" at the control: a key bound by its local hot keys sends the command to
    // the control itself and marks the key used. 1.
    QZRESULT OnSiblingKey(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification);
    // Builds the menus of the control's string table: one from "CONTEXT_MENU.<entries>", or else
    // one per "CONTEXT_MENU<n>." group in key order. 0 (nothing added without a table).
    QZRESULT BuildContextMenu(std::vector<RCPtr<LMenuDescriptor>>& menus) const;
    // Makes the commands of the menu's items that a window or application hot key binds reach
    // ForwardMenuCommand (add) or stop doing so. E_INVALIDARG for an empty menu or before
    // Initialize, else 0.
    QZRESULT RegisterMenuHotKeys(const RCPtr<LMenuDescriptor>& menu, bool add);
    // Sends a bound menu command, without data, to the window's hot-key target when the window
    // binds it, else to the application's queue. 1.
    QZRESULT ForwardMenuCommand(const RCPtr<LNotificationDistributor>& sender,
                                const RCPtr<LNotification>& notification);
    // The owner's answer to a menu's question about one item before it shows: it may change the
    // state's enabled and check flags and its text. 1 (nothing changed) in the base.
    virtual QZRESULT UpdateMenuItemState(const RCPtr<LMenuDescriptor>& /*menu*/,
                                         std::int32_t /*index*/, const WideString& /*command*/,
                                         MenuItemState& /*state*/)
    {
        return S_FALSE;
    }
    // The updater through which menus ask this control; made on first use.
    [[nodiscard]] const RCPtr<LMenuItemUpdater>& GetMenuItemUpdater();
    // Destroys the control at the next idle step of the window (a control may not destroy
    // itself inside its own handler). E_INVALIDARG for an empty control.
    QZRESULT QueueDestroy(const RCPtr<LControl>& control);
    // The idle step that destroys the queued controls, in queue order. 0.
    QZRESULT DestroyQueuedControls(const RCPtr<LNotificationDistributor>& sender,
                                   const RCPtr<LNotification>& notification);
    [[nodiscard]] std::size_t GetQueuedDestroyCount() const { return mPendingDestroy.size(); }

    // ---- drag begin, end and tracking, value positions and control queries ----
    // Drag modes of SetDragMode: 1 drag and drop, 2 move, 3 move with edge scrolling, 4 resize,
    // 5 resize with edge scrolling, 6 pan. Modes 1 to 5 read the option as bits: 0x1 move along
    // x, 0x2 along y, 0x4 right edge, 0x8 left edge, 0x10 top edge, 0x20 bottom edge; mode 6
    // pans along x (1), y (2) or both (3).
    // Measures later drag offsets from here: the displacement so far joins the press point and
    // the size, parent scroll offset and layout parts are recorded again.
    virtual void SaveDragStart();
    // The first look that is present with a weight above 0; -1 when none.
    [[nodiscard]] std::int32_t GetFirstVisibleLookIndex() const;
    // The look in use: the first present one with a weight above 0, else the first present one;
    // null without looks.
    [[nodiscard]] const RCPtr<LLook>& GetCurrentLook() const;
    // True when the label does not fit the look's text area; without a look, when there is text.
    [[nodiscard]] bool IsTextClipped() const;
    // Hides the child and destroys it at the next idle step; E_INVALIDARG for another's child.
    QZRESULT QueueChildDestroy(const RCPtr<LControl>& child);
    // (0, 0) and the default look's client size; the control's size without a look.
    [[nodiscard]] virtual RectT<double> GetClientRect() const;
    // Minus the control's position in root-window coordinates.
    [[nodiscard]] PointT<double> GetOffsetFromRoot() const;
    // The visible part of the content: the scroll offset in whole pixels and the client size.
    [[nodiscard]] virtual RectT<double> GetVisibleContentRect() const;
    // The edges (0x8 left, 0x4 right, 0x10 top, 0x20 bottom) near which a drop target scrolls
    // while the dragged control hovers there; none in the base.
    [[nodiscard]] virtual std::uint32_t GetDropAutoScrollEdges(const RCPtr<LControl>& /*dragged*/)
    {
        return 0;
    }
    // Lets a control narrow the area of its parent's content (visible part) it is dragged within.
    virtual void AdjustDragBounds(RectT<double>& /*bounds*/) {}
    // A drop target's view of the dragged control; the point in root-window coordinates.
    virtual void OnDragEnter(const RCPtr<LControl>& /*dragged*/) {}
    virtual void OnDragOver(const RCPtr<LControl>& /*dragged*/, const PointT<double>& /*point*/) {}
    virtual void OnDragLeave(const RCPtr<LControl>& /*dragged*/) {}
    // The dragged control was released over this drop target: OnDrop, then OnDropped.
    virtual void OnDropped(const RCPtr<LControl>& /*dragged*/) {}
    virtual void OnDrop(const RCPtr<LControl>& /*dragged*/) {}
    // After every tracked drag move.
    virtual void OnDragTracked(const RCPtr<LPointParam>& /*point*/) {}
    [[nodiscard]] const RCPtr<LControl>& GetDropTarget() const { return mDropTarget; }
    [[nodiscard]] PointT<double> GetFlickVelocity() const { return mFlickVelocity; }

protected:
    // The key to the window's hot keys and, when the window has no binding for it, to the
    // application's: a command goes out once. 0 when one of them sent a command, else 1.
    QZRESULT ForwardKeyToHotKeys(const RCPtr<LKeyParam>& key);
    enum class TabWalk
    {
        kFocused,
        kWrapped,
        kExhausted
    };
    // Walks the tab stops after the last control the request left (Shift: backwards) and gives
    // the focus to the first that takes it; with wrapTest, stops where the walk wraps around.
    // The number of children bounds the walk.
    TabWalk WalkTabStops(const RCPtr<LKeyParam>& request, bool wrapTest);

    // Flick velocity in pixels per second, kept by the drag tracking.
    PointT<double> mFlickVelocity;
    // The press asks for idle steps while it lasts.
    void SetIdleWhilePressed(bool idle) { mIdleWhilePressed = idle; }
    // What the layout rules of each axis are measured against.
    struct LayoutReferences
    {
        // Origin and extent of the position rule's and of the size rule's reference.
        double positionOrigin[2] = {0.0, 0.0};
        double positionExtent[2] = {0.0, 0.0};
        double sizeExtent[2] = {0.0, 0.0};
        // A span's far edge: the sibling's position (relative 0) or the client extent minus the
        // sibling's end (relative not 0).
        double spanEdge[2] = {0.0, 0.0};
        double minimumReference[2] = {0.0, 0.0};
        double maximumReference[2] = {0.0, 0.0};
        double scroll[2] = {0.0, 0.0};
    };
    // The layout resolver's three steps, in the order UpdateLayout runs them.
    void ResolveLayoutReferences(const LLayoutDescriptor& layout, const LControl* parent,
                                 LayoutReferences& references) const;
    void ResolveLayoutSize(const LLayoutDescriptor& layout, const LayoutReferences& references,
                           RectT<double>& rect) const;
    void ResolveLayoutMinMax(const LLayoutDescriptor& layout, const LayoutReferences& references,
                             RectT<double>& rect);

    WideString mText;
    WideString mToolTipText;

private:
    void AttachTo(LControl* parent);

    RCPtr<LNotificationHandler<LControl>> mNotificationHandler;
    WideString mName;
    ConstRCPtr<LControlDescriptor> mDescriptor;
    RCPtr<LLayoutDescriptor> mLayout;
    PointT<double> mPosition;
    PointT<double> mSize;
    PointT<double> mScrollOffset;
    std::uint32_t mUnclipped = 0;
    RCPtr<LConditionsParam> mConditionsParam;
    std::int32_t mDragMode = 0;
    std::int32_t mDragOption = 0;
    double mValue = 0.0;
    double mValueMinimum = 0.0;
    double mValueMaximum = 0.0;
    std::int32_t mScaleType = 0;
    float mOpacity = 1.0f;
    RCPtr<LControl> mParent;
    RCPtr<LStringTable> mStringTable;
    bool mNotFocusable = true;
    bool mCreated = false;
    bool mApplyingDescriptor = false;
    RCPtr<LNotificationCenter> mNotificationCenter;
    ChildControlList mChildren;

    // root window
    RCPtr<LRootWindow> mRootWindow;

    // looks, painting, hit testing, geometry and fonts
    // Paints the children from paint position from on; those before it are hidden.
    void PaintChildren(const RCPtr<LRenderer>& renderer, const RegionT& dirty,
                       std::vector<RCPtr<LControl>>& layer, std::uint32_t look,
                       std::uint32_t from);
    // Paints the children at paint positions first to end (exclusive) under the current state,
    // of those before from only what they paint apart.
    void PaintChildRange(const RCPtr<LRenderer>& renderer, const RegionT& dirty,
                         std::vector<RCPtr<LControl>>& layer, std::uint32_t first,
                         std::uint32_t end, std::uint32_t from);
    // The paint position of the last child that paints over all this control would paint
    // beneath it in the state's clip (control coordinates), found only where the children are
    // painted once, at full strength and unmasked; false when there is none.
    bool FindHidingChild(const RenderState& state, const RegionT& dirty,
                         std::uint32_t& position) const;
    // Painted as a clipped child at full alpha, the control leaves no pixel of the area (its
    // parent's content coordinates, whole pixels) see-through.
    [[nodiscard]] bool HidesArea(const RectT<double>& area) const;
    void RunHook(const RCPtr<LRenderer>& renderer, const RegionT& dirty, bool overlay);
    [[nodiscard]] bool TakesPart(std::uint32_t look) const;
    [[nodiscard]] const LControl* FindLayoutReference(const WideString& name) const;
    [[nodiscard]] double GetContentExtent(std::uint32_t axis) const;
    void RelayoutLaterSiblings();
    // Where the control's origin lies in the parent's own coordinates: position minus the
    // parent's scroll offset plus the parent's client origin.
    [[nodiscard]] PointT<double> GetOffsetInParent() const;
    // The children in layout sequence: LayoutOrder, then storage order.
    [[nodiscard]] std::vector<RCPtr<LControl>> GetLayoutSequence() const;
    void BuildLooks(const LControlDescriptor& descriptor);
    void ReattachChildren(std::vector<RCPtr<LControl>> former,
                          const ConstRCPtr<LControlDescriptor>& previous,
                          const ConstRCPtr<LControlDescriptor>& descriptor);
    void FillWindowClient();
    void KeepWindowPlace();

    std::vector<RCPtr<LLook>> mLooks;
    std::vector<float> mLookWeights{1.0f};
    bool mLabelFollowsScroll = false;
    bool mPassOver = false;
    bool mInScroll = false;
    bool mLayoutChangePending = false;
    RectT<double> mSavedClientRect;
    RCPtr<LFont> mFont;
    bool mFontInherits = false;
    bool mFontNameInherited = false;
    bool mFontSizeFromBase = false;
    bool mFontStyleInherited = false;
    bool mFontSizeRelative = false;
    float mFontFactor = 1.0f;
    std::int32_t mCursorKind = 0;
    std::int32_t mOrderValue = 0;
    PointT<double> mMinSize;
    PointT<double> mMaxSize;

    // conditions, focus, pointer input, values, sibling keys, tooltips and idle
    enum StateFlag : std::uint32_t
    {
        kFlagHasFocus,
        kFlagContainsFocus,
        kFlagHover,
        kFlagCapture,
        kFlagLeftPressed,
        kFlagLeftDrag = kFlagLeftPressed + 3,
        kFlagHighlighted = kFlagLeftDrag + 3,
        kFlagCount
    };
    struct AutoScrollAxis
    {
        bool running = false;
        bool flick = false;
        double startTime = 0.0;
        double rate = 0.0;
        double minimum = 0.0;
        double maximum = 0.0;
        RCPtr<LControl> target;
    };
    // The application clock in milliseconds; 0 without an application.
    [[nodiscard]] static std::uint32_t GetClockMilliseconds();
    void Send(const char16_t* identifier, const RCPtr<LRefCountedObject>& payload);
    void ApplyCursorOnConditions(std::uint32_t previous, std::uint32_t current);
    [[nodiscard]] bool IsReachable() const;
    [[nodiscard]] bool CanTakeFocusDirectly() const;
    [[nodiscard]] const RCPtr<LControl>& FindFocusableInTabOrder(bool forward) const;
    void MovePressToDrag(std::uint32_t slot);
    void StartFlick();
    QZRESULT ReleaseButton(std::uint32_t button, const RCPtr<LMouseButtonParam>& release,
                           bool& click);
    RCPtr<LControl> ShowSubControl(const WideString& name);
    [[nodiscard]] std::int32_t GetTabIndex(const LControl* child) const;

    bool mFlags[kFlagCount] = {};
    bool mFocusStop = false;
    bool mIdleWhilePressed = false;
    bool mRefocusing = false;
    RCPtr<LMouseButtonParam> mLastLeftPress;
    PointT<double> mDragOffset;
    PointT<double> mDragDelta;
    std::int32_t mDragThreshold = 1;
    std::uint32_t mMoveTime = 0;
    std::uint32_t mLastMoveTime = 0;
    std::uint32_t mReleaseTime = 0;
    AutoScrollAxis mAutoScroll[2];
    LCursor mSavedCursor = kNoCursor;
    RCPtr<LMenuDescriptor> mContextMenu;
    // Sets the idle request count, keeping the count of timed idle controls right.
    void SetIdleRequests(std::int32_t count);
    std::int32_t mIdleRequests = 0;
    bool mIdleTimed = true;

    // create params, keys, tab order, context menus and queued destruction
    void HandOnTraversal(const RCPtr<LKeyParam>& request, bool forward);
    [[nodiscard]] bool HasWrapped(const RCPtr<LControl>& candidate, const RCPtr<LControl>& last,
                                  bool backwards) const;
    HotKeyMap mLocalHotKeys;
    bool mWantsTab = false;
    bool mUseParentToolTip = false;
    RCPtr<LMenuItemUpdater> mMenuItemUpdater;
    std::vector<RCPtr<LControl>> mPendingDestroy;

    // drag begin, end and tracking, automatic-scroll steps
    struct DragStep;
    void RecordDragStart();
    void ClampDrag(DragStep& step);
    void ApplyDragDelta(const DragStep& step);
    void PanContent(DragStep& step);
    void TrackDropTarget(DragStep& step);
    void ScrollAtEdges(const DragStep& step);
    void StepAutoScroll(std::uint32_t axis);
    void StopAutoScrollBoth();

    PointT<double> mDragStartSize;
    PointT<double> mDragStartParentScroll;
    // Absolute parts of the layout's x and y position and width and height at the drag start.
    double mDragStartLayout[4] = {};
    bool mWasFloating = false;
    bool mDockedAtStart[2] = {};
    RCPtr<LControl> mDropTarget;
    // The part of each axis's automatic scroll that is not yet a whole pixel.
    double mAutoScrollCarry[2] = {};
};

} // namespace QZ
