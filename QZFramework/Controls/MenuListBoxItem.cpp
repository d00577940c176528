#include "QZFramework/Controls/MenuListBoxItem.h"

namespace QZ
{

LMenuListBoxItem::LMenuListBoxItem(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LCheckedListBoxItem(parent, name, mostDerived)
{
}

LMenuListBoxItem::~LMenuListBoxItem() = default;

QZRESULT LMenuListBoxItem::Initialize()
{
    const QZRESULT result = LCheckedListBoxItem::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mHotKeyLabel = FindChildByName(WideString(u"hotKeyLabel"));
    if (mHotKeyLabel)
    {
        mHotKeyLabel->SetNotFocusable(true);
        // Pointer activity over the hot-key text belongs to the row.
        mHotKeyLabel->SetHitTestPassOver(true, false);
    }
    return S_OK;
}

QZRESULT LMenuListBoxItem::ReleaseInternalReferences()
{
    mHotKeyLabel = nullptr;
    return LCheckedListBoxItem::ReleaseInternalReferences();
}

} // namespace QZ
