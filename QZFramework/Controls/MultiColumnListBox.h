// The list box of the skin class "Framework.listbox2ColumnSortable": its columns are drawn by the
// row template's own children, so it adds nothing to the list box. User-interface thread only.
#pragma once

#include "QZFramework/Controls/ListBox.h"

namespace QZ
{

class LMultiColumnListBox : public LListBox
{
public:
    LMultiColumnListBox(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived);
    ~LMultiColumnListBox() override;
};

} // namespace QZ
