#include "UI/TarnSeriesCommon/SustainPedalPanel.h"

#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"
#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LSustainPedalPanel::LSustainPedalPanel(const RCPtr<LControl>& parent, const WideString& name,
                                       bool mostDerived)
    : LFamilyPanel<ISustainPedal>(parent, name, mostDerived, GetSustainPedalLayout())
{
}

void LSustainPedalPanel::ShowValue(const Array<signed char>& value)
{
    const auto view = RCPtr<LButtonControlViewPanel>::DynamicCastFrom(GetView());
    const std::optional<Array<signed char>> block = ToViewBytes(value);
    if (view && block)
    {
        view->ShowValues(*block);
    }
}

} // namespace QZ
