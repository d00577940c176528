// The container of the editor's panels: a scroll view that joins the keyboard road of its parent.
// A key none of its controls takes climbs to the parent and, at the top, to the window's and the
// application's hot keys; Tab and Shift+Tab move through its children in tab order and leave it
// at either end (a panel without parent wraps around instead); it also hears the keys its
// siblings did not take. User-interface thread only.
#pragma once

#include "QZFramework/Controls/ScrollView.h"

namespace QZ
{

class LPanel : public LScrollView
{
public:
    LPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LPanel() override;

    // The base, then listens to "NID_SIBLING_KEY" at the parent; a failed subscription throws
    // FailedResultException.
    QZRESULT Initialize() override;
    // The panel's handlers, then the scroll view's, then the control's.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    // As the base, but a panel with a parent does not wrap around.
    [[nodiscard]] const RCPtr<LControl>& GetNextTabStop(const RCPtr<LControl>& current,
                                                        bool backwards) const override;
    void TraverseFocus(const RCPtr<LKeyParam>& request) override;
    // The panel's controls, then the parent (the hot keys at the top). 0 when used, else 1.
    QZRESULT ProcessKey(const RCPtr<LKeyParam>& key) override;
    // A key a sibling passed on: offered to the panel's controls. 1.
    QZRESULT OnSiblingKey(const RCPtr<LNotificationDistributor>& sender,
                          const RCPtr<LNotification>& notification);

private:
    RCPtr<LNotificationHandler<LPanel>> mPanelHandler;
};

} // namespace QZ
