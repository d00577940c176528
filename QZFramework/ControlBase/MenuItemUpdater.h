// The link through which a menu asks the control that owns it about its items before it shows
// (enabled, checked, text). A control makes its updater on first use and keeps it; the updater's
// reference back to the control is booked as an internal reference of the control, which cuts it
// (Detach) when only such references are left, so neither keeps the other alive.
// User-interface thread only.
#pragma once

#include "QZFramework/ControlBase/MenuItemState.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LControl;
class LMenuDescriptor;

class LMenuItemUpdater : public virtual LRefCountedObject
{
public:
    explicit LMenuItemUpdater(const RCPtr<LControl>& control);
    ~LMenuItemUpdater() override;

    // The control's answer (LControl::UpdateMenuItemState); 1, with the state unchanged, once
    // the control has let the updater go.
    QZRESULT UpdateMenuItemState(const RCPtr<LMenuDescriptor>& menu, std::int32_t index,
                                 const WideString& command, MenuItemState& state) const;
    [[nodiscard]] const RCPtr<LControl>& GetControl() const { return mControl; }
    // Lets the control go.
    void Detach();

private:
    RCPtr<LControl> mControl;
};

} // namespace QZ
