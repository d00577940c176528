#include "UI/TarnSeriesCommon/WheelPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LWheelPanel::LWheelPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LFamilyPanel<IWheel>(parent, name, mostDerived, GetWheelLayout())
{
}

} // namespace QZ
