// A closed field showing the selected item's text, with a list box (the skin child "listBox")
// that drops down below it; choosing an item in the list selects it and closes the list.
//
// Items come from the combo box's string table ("ITEM.<number>" in number order) when it has
// any. The selected index is -1 while nothing is selected; every change of the selection to an
// item, by the user or by a caller, sends "NID_SELECTION_CHANGE" (tag and index) once. Up and
// Down on the focused closed field select the item before or after the selected one.
// Looks: 0 normal, 1 focused, 2 pointer over, 3 pointer over and focused, 4 open, 5 open with the
// pointer over, 6 disabled; a look the skin does not give shows look 0. User-interface thread
// only.
#pragma once

#include "QZFramework/Controls/DropDownControl.h"

#include <cstdint>

namespace QZ
{

class LListBox;

class LComboBox : public LDropDownControl
{
public:
    enum Look : std::uint32_t
    {
        kLookNormal = 0,
        kLookFocused = 1,
        kLookHover = 2,
        kLookHoverFocused = 3,
        kLookOpen = 4,
        kLookOpenHover = 5,
        kLookDisabled = 6
    };

    LComboBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LComboBox() override;

    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;
    QZRESULT ReleaseInternalReferences() override;
    // The base, then the list: found, filled, detached from the field's clipping and hidden.
    QZRESULT Initialize() override;
    QZRESULT PostInitialize() override;
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    // Up and Down while closed; the drop-down's keys otherwise.
    QZRESULT OnKeyEvent(const RCPtr<LKeyParam>& key) override;

    // The list exists and is showing with a width and a height.
    [[nodiscard]] bool IsDroppedDown() const override;
    // Opening fits the list's height to its items (at most the skin's height), puts it above the
    // field when the window has no room below, and marks the selected item in it. E_FAIL without
    // a list.
    QZRESULT ShowDropDown(bool show) override;

    // E_FAIL without a list; a selection past the new count is cleared (no notification); an open
    // list is fitted again. The list's result.
    virtual QZRESULT SetItemCount(std::int32_t count);
    // A negative index clears the selection without notification; an index the list cannot
    // select leaves nothing selected, also without notification. The selected index afterwards.
    virtual std::int32_t SetSelectedIndex(std::int32_t index);
    [[nodiscard]] std::int32_t GetSelectedIndex() const { return mSelectedIndex; }
    // The selection as a stored byte: true and the index when an item at 0..255 is selected;
    // false, leaving byte as it was, when nothing is.
    bool GetSelectedByte(std::uint8_t& byte) const;
    // Inserts an item with that data (the selected item stays selected); E_FAIL without a list.
    QZRESULT InsertItem(std::int32_t index, const RCPtr<LRefCountedObject>& data);
    // Appends an item showing the text.
    QZRESULT AddItem(const WideString& text);
    // Empty without a list or for an index outside it.
    WideString& GetItemText(WideString& text, std::int32_t index) const;
    [[nodiscard]] std::int32_t GetItemCount() const;
    [[nodiscard]] const RCPtr<LListBox>& GetListBox() const { return mListBox; }
    // Shows the look of the combo box's state.
    virtual void UpdateLook();

protected:
    std::int32_t mSelectedIndex = -1;

private:
    QZRESULT OnListItemActivated(const RCPtr<LNotificationDistributor>& sender,
                                 const RCPtr<LNotification>& notification);
    void ShowSelectedText();
    void FitList();

    RCPtr<LNotificationHandler<LComboBox>> mHandler;
    RCPtr<LListBox> mListBox;
};

} // namespace QZ
