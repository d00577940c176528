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

#include "QZFramework/ControlBase/ControlDescriptor.h"
#include "QZFramework/ControlBase/LayoutDescriptor.h"
#include "QZFramework/ControlBase/StringTable.h"
#include "QZFramework/ControlBase/TaggableObject.h"
#include "QZFramework/ControlBase/UITarget.h"
#include "QZFramework/Notification/ConditionsParam.h"
#include "QZFramework/Notification/NotificationCenter.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/ObjectBase/ConstRCPtr.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Graphics/PointT.h"
#include "QZFramework/Utilities/Graphics/RectT.h"
#include "QZFramework/Utilities/Graphics/Font.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <vector>

namespace QZ
{

class LRenderer;
class LRootWindow;

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
        void Touch() { ++mVersion; }

    private:
        friend class LControl;
        QZRESULT AddPointer(LControl* child);
        void DetachAt(std::size_t position);
        void SortIfStale() const;

        std::vector<RCPtr<LControl>> mStorage;
        mutable std::vector<std::uint32_t> mTabOrder;
        mutable std::vector<std::uint32_t> mPaintOrder;
        std::uint32_t mVersion = 1;
        mutable std::uint32_t mSortedVersion = 0;
        LControl* const mOwner;
    };

    // Attaches the control to the parent (when given) and takes the string table that the
    // application's control factory keeps for the parent's class and this name. mostDerived is
    // the creators' third argument; C++ builds the shared bases by itself.
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

    // Input: the events that pointer and focus handling take are not taken by the base.
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

    // E_INVALIDARG, changing nothing, unless the scale is 0 (linear) or 1 (logarithmic) with
    // both bounds above 0.
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
    // Controls that edit override it; the base throws a logic error.
    virtual QZRESULT PerformEdit();
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
    // Binds the control to the application's notification centre, gives it its handler and
    // reads "TOOLTIP". 0, or a negative result that overrides return unchanged.
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
    // reference of the window.
    void SetRootWindow(const RCPtr<LRootWindow>& window);
    // The root window of the tree the control is in (through its root control); null when the
    // tree is not attached to a window.
    RCPtr<LRootWindow>& GetRootWindowRef(RCPtr<LRootWindow>& window) const;

protected:
    // The layout resolver's three steps, in the order UpdateLayout runs them. The reference of
    // each axis is the rectangle its rules are measured against.
    void ResolveLayoutReferences(const LLayoutDescriptor& layout, const LControl* parent,
                                 RectT<double> references[2]) const;
    void ResolveLayoutSize(const LLayoutDescriptor& layout, const RectT<double> references[2],
                           RectT<double>& rect) const;
    void ResolveLayoutMinMax(const LLayoutDescriptor& layout, RectT<double>& rect) const;

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
};

} // namespace QZ
