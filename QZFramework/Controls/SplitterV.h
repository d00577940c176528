// A vertical splitter bar: it moves left and right.
#pragma once

#include "QZFramework/Controls/SplitterBase.h"

namespace QZ
{

class LSplitterV : public LSplitterBase
{
public:
    LSplitterV(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
        : LSplitterBase(parent, name, 1, mostDerived)
    {
    }
};

} // namespace QZ
