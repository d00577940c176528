#include "QZFramework/Application/ControlResources.h"

#include "QZFramework/ControlBase/ControlFactory.h"

namespace QZ
{

RCPtr<LControlFactory> IControlResources::GetControlFactory() const
{
    return RCPtr<LControlFactory>();
}

} // namespace QZ
