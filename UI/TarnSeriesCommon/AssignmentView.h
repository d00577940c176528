// The face that the summary inside a tile ("viewPanel" of a continuous control) shows the tile: the
// tile hands it the whole assignment whenever its value changes, and the summary shows what it
// was given last. A value the summary cannot show leaves it as it was. User-interface thread only.
#pragma once

#include "QZFramework/Utilities/Storage/Array.h"

namespace QZ
{

class IAssignmentView
{
public:
    virtual void SetParamValues(const Array<signed char>& values) = 0;

protected:
    ~IAssignmentView() = default;
};

} // namespace QZ
