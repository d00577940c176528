// A panel of tabs. Its skin holds two panels: "buttonHolder", whose children are the tab buttons,
// and "pageHolder", whose children are the pages; the button and the page of one tab carry the
// same name. Selecting a tab lights its button (value 1, the others 0), shows its page and hides
// the others, and sends "NID_TAB_SELECTED" with the page (null when no page has the name). A
// click on a button selects its tab; the tab first in the buttons' tab order starts selected.
// User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"

#include <cstdint>

namespace QZ
{

class LTabControl : public LPanel
{
public:
    LTabControl(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LTabControl() override;

    // The panel's, then finds the holders, selects the first tab and listens to the buttons'
    // clicks. E_FAIL without a button holder or when the panel's initialisation failed.
    QZRESULT Initialize() override;
    // A new skin shows the same tab.
    QZRESULT ApplyDescriptor(const ConstRCPtr<LControlDescriptor>& descriptor) override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // The number of pages; 0 without a page holder.
    [[nodiscard]] virtual std::uint32_t GetTabCount() const;
    // The index of the page of that name in the page holder; -1 when absent.
    [[nodiscard]] virtual std::int32_t GetTabIndex(const WideString& name) const;
    [[nodiscard]] virtual std::int32_t GetSelectedIndex() const;
    [[nodiscard]] virtual const RCPtr<LControl>& GetSelectedPage() const;
    [[nodiscard]] virtual const WideString& GetSelectedName() const { return mSelected; }
    // Null when absent.
    [[nodiscard]] virtual const RCPtr<LControl>& GetPage(const WideString& name) const;
    [[nodiscard]] virtual const RCPtr<LControl>& GetPageAt(std::uint32_t index) const;
    // 0, or E_FAIL without a button holder.
    virtual QZRESULT SelectTab(const WideString& name);
    // The tab of the button at that place of the buttons' tab order; E_FAIL without a button
    // holder or past the last button.
    virtual QZRESULT SelectTabAt(std::uint32_t index);
    // Runs before "NID_TAB_SELECTED" goes out.
    virtual void OnTabSelected() {}
    // Handler of a button's "NID_LEFT_CLICK". 1.
    QZRESULT OnTabButtonClick(const RCPtr<LNotificationDistributor>& sender,
                              const RCPtr<LNotification>& notification);

private:
    RCPtr<LNotificationHandler<LTabControl>> mTabHandler;
    RCPtr<LPanel> mButtonHolder;
    RCPtr<LPanel> mPageHolder;
    WideString mSelected;
};

} // namespace QZ
