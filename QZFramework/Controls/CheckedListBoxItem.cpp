#include "QZFramework/Controls/CheckedListBoxItem.h"

namespace QZ
{

LCheckedListBoxItem::LCheckedListBoxItem(const RCPtr<LControl>& parent, const WideString& name,
                                         bool mostDerived)
    : LListBoxItem(parent, name, mostDerived)
{
}

LCheckedListBoxItem::~LCheckedListBoxItem() = default;

QZRESULT LCheckedListBoxItem::Initialize()
{
    const QZRESULT result = LListBoxItem::Initialize();
    if (Failed(result))
    {
        return result;
    }
    mCheckBox = FindChildByName(WideString(u"checkBox"));
    if (mCheckBox)
    {
        mCheckBox->SetNotFocusable(true);
    }
    return S_OK;
}

QZRESULT LCheckedListBoxItem::ReleaseInternalReferences()
{
    mCheckBox = nullptr;
    return LListBoxItem::ReleaseInternalReferences();
}

void LCheckedListBoxItem::ShowCheck(bool checked, const RCPtr<LBitmap>& icon, bool withIcon)
{
    if (!mCheckBox)
    {
        return;
    }
    mCheckBox->SetValue(checked ? 1.0 : 0.0);
    for (std::uint32_t look = 0; withIcon && look < mCheckBox->GetLookCount(); ++look)
    {
        mCheckBox->SetLookBitmap(look, icon, 0);
    }
}

} // namespace QZ
