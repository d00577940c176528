// The description of a menu: what a context menu or a menu bar shows. A control holds its
// context menu's description and hands it to the popup that shows it; the popup keeps its own
// copy.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"

namespace QZ
{

class LMenuDescriptor : public virtual LRefCountedObject
{
};

} // namespace QZ
