#include "QZFramework/ControlBase/MenuItemUpdater.h"

#include "QZFramework/ControlBase/Control.h"

namespace QZ
{

LMenuItemUpdater::LMenuItemUpdater(const RCPtr<LControl>& control) : mControl(control) {}

LMenuItemUpdater::~LMenuItemUpdater() = default;

QZRESULT LMenuItemUpdater::UpdateMenuItemState(const RCPtr<LMenuDescriptor>& menu,
                                               std::int32_t index, const WideString& command,
                                               MenuItemState& state) const
{
    const RCPtr<LControl> control = mControl;
    return control ? control->UpdateMenuItemState(menu, index, command, state) : S_FALSE;
}

void LMenuItemUpdater::Detach()
{
    mControl = nullptr;
}

} // namespace QZ
