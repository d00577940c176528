#include "UI/TarnSeriesCommon/FaderGroupPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LFaderGroupPanel::LFaderGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LFamilyGroupPanel(parent, name, mostDerived, GetFaderLayout())
{
}

RCPtr<IFader> LFaderGroupPanel::GetFader(std::uint32_t index)
{
    return GetElementModule(index);
}

} // namespace QZ
