#include "UI/TarnSeriesCommon/WheelGroupPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LWheelGroupPanel::LWheelGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LFamilyGroupPanel(parent, name, mostDerived, GetWheelLayout())
{
}

RCPtr<IWheel> LWheelGroupPanel::GetWheel(std::uint32_t index)
{
    return GetElementModule(index);
}

} // namespace QZ
