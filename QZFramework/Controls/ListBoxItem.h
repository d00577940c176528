// One row of a list box: it shows the item its list puts in it and reports pointer activity on
// itself to the list. Rows never take the focus; a press on one goes to the list.
//
// Looks: 0 normal, 1 pointer over (or highlighted), 2 selected, 3 disabled, 13 separator; a look
// the skin does not give shows look 0. User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/Control.h"

#include <cstdint>

namespace QZ
{

class LListBox;

class LListBoxItem : public LControl
{
public:
    enum Look : std::uint32_t
    {
        kLookNormal = 0,
        kLookHover = 1,
        kLookSelected = 2,
        kLookDisabled = 3,
        kLookSeparator = 13
    };

    LListBoxItem(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LListBoxItem() override;

    // The base, then the row is made not focusable whatever the skin says.
    QZRESULT ApplyCreateParams() override;

    // A separator row has no text and shows look 13.
    void SetSeparatorMode(bool on);
    // How tall a separator row is: the margins its look docks above and below the line it fills
    // in between, with one pixel for the line; the row's own height when the look has no such
    // margins.
    [[nodiscard]] std::int32_t GetSeparatorHeight() const;
    [[nodiscard]] bool IsSeparatorMode() const { return mSeparator; }
    void SetSelected(bool selected);
    [[nodiscard]] bool IsSelected() const { return mSelected; }
    // Shows the look (look 0 when the skin has none at that index). E_FAIL without looks.
    virtual QZRESULT SelectLook(std::uint32_t index, bool exclusive);
    // Shows the look of the row's state.
    virtual void UpdateLook();

protected:
    void OnConditionsChanged(const RCPtr<LConditionsParam>& conditions) override;
    void OnLeftClick(const RCPtr<LMouseButtonParam>& click) override;
    void OnMouseMove(const RCPtr<LPointWithModifiersParam>& move) override;
    [[nodiscard]] LListBox* GetList() const;

private:
    bool mSeparator = false;
    bool mSelected = false;
};

} // namespace QZ
