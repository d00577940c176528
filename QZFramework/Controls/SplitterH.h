// A horizontal splitter bar: it moves up and down.
#pragma once

#include "QZFramework/Controls/SplitterBase.h"

namespace QZ
{

class LSplitterH : public LSplitterBase
{
public:
    LSplitterH(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
        : LSplitterBase(parent, name, 0, mostDerived)
    {
    }
};

} // namespace QZ
