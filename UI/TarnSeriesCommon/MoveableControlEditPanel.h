// The editor of a continuous control's MIDI assignment (encoders, faders, wheels, the volume
// pedal and the XY pad axes): a tab control with one page per kind of message (absolute and
// relative control change, RPN/NRPN, other types), each page with its channel list.
//
// The value is 6 bytes: channel (0 global, 1-16, 17-20 the keybed zones), kind (0 control
// change), controller number or message type, relative flag, low, high; a value of any other
// length is refused. The owner fills the editor with SetParamValues and reads GetParamValues
// back whenever the editor distributes "NID_PARAMETERS_CHANGED" (from itself, at once), which
// stands for one user change: filling sends nothing, and nothing goes out before the first fill.
//
// A list never reads as "no selection": a page the user opens selects the first item of each of
// its empty lists, and while the page shown keeps a list without selection (a value it could not
// show) the editor reports nothing and reads that field back as it was filled.
// User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"
#include "UI/TarnSeriesCommon/AssignmentEditor.h"
#include "UI/TarnSeriesCommon/MoveableAssignment.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace QZ
{

class LComboBox;
class LNumericUpDown;
class LTabControl;

class LMoveableControlEditPanel : public LPanel, public IAssignmentEditor
{
public:
    LMoveableControlEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                              bool mostDerived);
    ~LMoveableControlEditPanel() override;

    // Finds every page and selector; a missing one throws the runtime error "Null Pointer : Can
    // not find <kind> Control: <name>".
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // Shows the value on its page and selects that page; sends nothing. The first fill starts
    // the reports of user changes (a refused subscription throws FailedResultException).
    std::int32_t SetParamValues(const Array<signed char>& values) override;
    // The value of the page shown; six zero bytes when no page of the four is shown.
    [[nodiscard]] Array<signed char> GetParamValues() const override;

private:
    [[nodiscard]] RCPtr<LControl> RequirePage(MoveablePage page) const;
    void FindPages();
    void PrepareNumbers();
    void RegisterForAllParameterNotifications();
    void FillPage(const MoveableAssignment& shown);
    [[nodiscard]] RCPtr<LComboBox> GetTypeList(MoveablePage page) const;
    // The page's channel list and its type list, if it has one.
    [[nodiscard]] std::vector<RCPtr<LComboBox>> GetLists(MoveablePage page) const;
    // The page the tab control shows, if it is one of the four.
    [[nodiscard]] std::optional<MoveablePage> GetShownPage() const;

    QZRESULT OnParameterControlChanged(const RCPtr<LNotificationDistributor>& sender,
                                       const RCPtr<LNotification>& notification);
    QZRESULT OnPageSelected(const RCPtr<LNotificationDistributor>& sender,
                            const RCPtr<LNotification>& notification);
    void Report();

    RCPtr<LNotificationHandler<LMoveableControlEditPanel>> mHandler;
    RCPtr<LTabControl> mTabs;
    // By page: absolute, relative, RPN/NRPN, other.
    std::array<RCPtr<LComboBox>, 4> mChannels;
    // Absolute page and other page.
    std::array<RCPtr<LNumericUpDown>, 2> mMinimums;
    std::array<RCPtr<LNumericUpDown>, 2> mMaximums;
    // Absolute page and relative page.
    std::array<RCPtr<LNumericUpDown>, 2> mNumbers;
    RCPtr<LNumericUpDown> mLSB;
    RCPtr<LNumericUpDown> mMSB;
    RCPtr<LComboBox> mRpnType;
    RCPtr<LComboBox> mRelativeType;
    RCPtr<LComboBox> mOtherType;

    // The value filled last: what a list without selection reads back.
    Array<signed char> mShown{kMoveableValueSize};
    bool mShowing = false;
    bool mRegistered = false;
};

} // namespace QZ
