// What a menu's owner may change about an item before the menu shows: whether it can be chosen,
// whether it carries a check mark, and its text.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

struct MenuItemState
{
    bool enabled = false;
    bool checked = false;
    WideString text;
};

} // namespace QZ
