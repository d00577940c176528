#include "UI/TarnSeriesCommon/VolumePedalPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LVolumePedalPanel::LVolumePedalPanel(const RCPtr<LControl>& parent, const WideString& name,
                                     bool mostDerived)
    : LFamilyPanel<IVolumePedal>(parent, name, mostDerived, GetVolumePedalLayout())
{
}

} // namespace QZ
