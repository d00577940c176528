// A list row with a check mark: the skin child "checkBox", whose value shows the check (1.0
// checked) and whose looks show the item's icon. The check box never takes the focus.
// User-interface thread only.
#pragma once

#include "QZFramework/Controls/ListBoxItem.h"

namespace QZ
{

class LBitmap;

class LCheckedListBoxItem : public LListBoxItem
{
public:
    LCheckedListBoxItem(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LCheckedListBoxItem() override;

    // The base, then finds the check box.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

    // Null when the skin gives none.
    [[nodiscard]] const RCPtr<LControl>& GetCheckBox() const { return mCheckBox; }
    // The check box's value and, with withIcon, the icon in every look it has (null clears it).
    void ShowCheck(bool checked, const RCPtr<LBitmap>& icon, bool withIcon);

private:
    RCPtr<LControl> mCheckBox;
};

} // namespace QZ
