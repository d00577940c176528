#include "QZFramework/ControlBase/MenuItemDescriptor.h"

namespace QZ
{

LMenuItemDescriptor::~LMenuItemDescriptor() = default;

RCPtr<LMenuDescriptor> LMenuItemDescriptor::Clone() const
{
    return CloneItem();
}

RCPtr<LMenuItemDescriptor> LMenuItemDescriptor::CloneItem() const
{
    RCPtr<LMenuItemDescriptor> copy(new LMenuItemDescriptor(*this));
    copy->CloneItems();
    return copy;
}

} // namespace QZ
