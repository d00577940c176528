#include "QZFramework/Controls/MultiColumnListBox.h"

namespace QZ
{

LMultiColumnListBox::LMultiColumnListBox(const RCPtr<LControl>& parent, const WideString& name,
                                         bool mostDerived)
    : LListBox(parent, name, mostDerived)
{
}

LMultiColumnListBox::~LMultiColumnListBox() = default;

} // namespace QZ
