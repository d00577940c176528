// One row of a popup menu: a checked-list row whose skin adds "hotKeyLabel", the right-aligned
// text of the item's hot key, beside the "checkBox" that shows the item's check mark. A row whose
// skin lacks either part still shows its text. User-interface thread only.
#pragma once

#include "QZFramework/Controls/CheckedListBoxItem.h"

namespace QZ
{

class LMenuListBoxItem : public LCheckedListBoxItem
{
public:
    LMenuListBoxItem(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LMenuListBoxItem() override;

    // The base, then finds the hot-key label.
    QZRESULT Initialize() override;
    QZRESULT ReleaseInternalReferences() override;

    // Null when the skin gives none.
    [[nodiscard]] const RCPtr<LControl>& GetHotKeyLabel() const { return mHotKeyLabel; }

private:
    RCPtr<LControl> mHotKeyLabel;
};

} // namespace QZ
