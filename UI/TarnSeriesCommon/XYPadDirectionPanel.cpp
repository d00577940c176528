#include "UI/TarnSeriesCommon/XYPadDirectionPanel.h"

#include "UI/TarnSeriesCommon/PadFamilyLayouts.h"

namespace QZ
{

LXYPadDirectionPanel::LXYPadDirectionPanel(const RCPtr<LControl>& parent, const WideString& name,
                                           bool mostDerived)
    : LFamilyPanel<ITouchPadAxis>(parent, name, mostDerived, GetXYPadAxisLayout())
{
}

} // namespace QZ
