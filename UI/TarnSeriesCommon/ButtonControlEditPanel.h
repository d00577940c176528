// The MIDI-assignment editor of a push button (also embedded by the pad and sustain-pedal
// panels): a tab control with one page per kind of message, each page with its channel list and
// the selectors of that kind.
//
// The owner hands it a 10-byte assignment block with SetValues and reads the block back with
// GetValues whenever the editor sends "NID_PARAMETERS_CHANGED" (from itself, delivered at once).
// The notification stands for a user's edit only: while SetValues fills the selectors the editor
// stays silent, so showing a value never stores or sends anything. User-interface thread only.
#pragma once

#include "QZFramework/Controls/Panel.h"
#include "UI/TarnSeriesCommon/ButtonAssignment.h"

#include <array>
#include <cstdint>
#include <vector>

namespace QZ
{

class LButton;
class LComboBox;
class LNumericUpDown;
class LTabControl;

class LButtonControlEditPanel : public LPanel
{
public:
    LButtonControlEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                            bool mostDerived);
    ~LButtonControlEditPanel() override;

    // Finds every page and selector; a missing one throws the runtime error "Null Pointer :
    // <what is missing>", a failed subscription a FailedResultException.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    // Shows the block (normalised in place) on its page and selects that page; a block that is
    // not 10 bytes is ignored. Sends nothing.
    virtual void SetValues(ButtonAssignmentBlock& block);
    // The block the selected page describes.
    [[nodiscard]] virtual ButtonAssignmentBlock GetValues() const;
    // Pads show their on/off values only for latching notes.
    virtual void SetOnOffFollowsLatching(bool follows) { mOnOffFollowsLatching = follows; }

    // Show and caption the cycle values by the selected cycle type. Send nothing.
    void UpdateCCCycleTypeVisibleParameters();
    void UpdateProgramCycleTypeVisibleParameters();

private:
    // One cycle page's four values (their labelled selectors and up-downs) and its type list.
    struct Cycle
    {
        std::array<RCPtr<LControl>, 4> holders;
        std::array<RCPtr<LNumericUpDown>, 4> values;
        std::array<RCPtr<LControl>, 4> captions;
        RCPtr<LComboBox> type;
    };

    [[nodiscard]] RCPtr<LControl> RequirePage(const char16_t* name, const char* detail) const;
    void FindCCPages();
    void FindProgramPages();
    void FindNotePage();
    void FindListPages();
    void FindChannelLists();
    void RegisterForAllParameterNotifications();
    void FillPage(const ButtonAssignment& shown);
    void FillCycle(Cycle& cycle, const ButtonAssignment& shown);
    void FillNote(const ButtonAssignment& shown);
    void FillMMC(const ButtonAssignment& shown);
    [[nodiscard]] ButtonAssignment ReadPage(ButtonPage page) const;
    static void UpdateCycle(Cycle& cycle, const char16_t* const* keys);
    void Report();

    QZRESULT OnSelectorChanged(const RCPtr<LNotificationDistributor>& sender,
                               const RCPtr<LNotification>& notification);
    QZRESULT OnCCCycleTypeChanged(const RCPtr<LNotificationDistributor>& sender,
                                  const RCPtr<LNotification>& notification);
    QZRESULT OnProgramCycleTypeChanged(const RCPtr<LNotificationDistributor>& sender,
                                       const RCPtr<LNotification>& notification);

    RCPtr<LNotificationHandler<LButtonControlEditPanel>> mHandler;
    RCPtr<LTabControl> mTabs;
    std::vector<RCPtr<LComboBox>> mChannels;
    // Controller number of the CC absolute, cycle and inc/dec pages.
    std::array<RCPtr<LNumericUpDown>, 3> mControllers;
    RCPtr<LNumericUpDown> mPressed;
    RCPtr<LNumericUpDown> mReleased;
    Cycle mCCCycle;
    RCPtr<LComboBox> mCCIncDec;
    RCPtr<LNumericUpDown> mCCMin;
    RCPtr<LNumericUpDown> mCCMax;
    RCPtr<LNumericUpDown> mProgram;
    RCPtr<LNumericUpDown> mBankLSB;
    RCPtr<LNumericUpDown> mBankMSB;
    Cycle mProgramCycle;
    RCPtr<LComboBox> mProgramIncDec;
    RCPtr<LNumericUpDown> mProgramMin;
    RCPtr<LNumericUpDown> mProgramMax;
    RCPtr<LButton> mLatching;
    RCPtr<LNumericUpDown> mNote;
    RCPtr<LNumericUpDown> mOn;
    RCPtr<LNumericUpDown> mOff;
    RCPtr<LControl> mOnOffSelectors;
    RCPtr<LComboBox> mMMC;
    RCPtr<LComboBox> mRpnNrpn;
    RCPtr<LNumericUpDown> mParameterLSB;
    RCPtr<LNumericUpDown> mParameterMSB;
    RCPtr<LNumericUpDown> mDataValue;
    RCPtr<LComboBox> mOtherType;
    RCPtr<LNumericUpDown> mOtherValue;

    // The block shown last: the stored bytes that unshowable selections keep.
    ButtonAssignmentBlock mShown;
    bool mOnOffFollowsLatching = false;
    bool mShowing = false;
};

} // namespace QZ
