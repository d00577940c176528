#include "UI/TarnSeriesCommon/PadGroupPanel.h"

#include "UI/TarnSeriesCommon/PadFamilyLayouts.h"

namespace QZ
{

LPadGroupPanel::LPadGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                               bool mostDerived)
    : LFamilyGroupPanel(parent, name, mostDerived, GetPadLayout())
{
}

RCPtr<IPad> LPadGroupPanel::GetPad(std::uint32_t index)
{
    return GetElementModule(index);
}

} // namespace QZ
