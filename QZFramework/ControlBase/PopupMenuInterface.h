// What a control asks of the popup menu that the skin's "contextMenu" sub-control creates: the
// popup menu class implements it beside LControl, and a control takes its popup child through a
// dynamic cast to it.
#pragma once

#include "QZFramework/ControlBase/MenuDescriptor.h"
#include "QZFramework/ObjectBase/RCPtr.h"

namespace QZ
{

class IPopupMenu
{
public:
    virtual ~IPopupMenu() = default;

    // Takes a copy of the menu and builds its items from it.
    virtual void SetMenuDescriptor(const RCPtr<LMenuDescriptor>& menu) = 0;
    // Places the popup at the pointer inside the window's client area, shows it and focuses it.
    virtual void ShowAtMouse() = 0;
};

} // namespace QZ
