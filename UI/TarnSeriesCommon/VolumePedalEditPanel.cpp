#include "UI/TarnSeriesCommon/VolumePedalEditPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LVolumePedalEditPanel::LVolumePedalEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                             bool mostDerived)
    : LFamilyEditPanel<IVolumePedal>(parent, name, mostDerived, GetVolumePedalLayout())
{
}

} // namespace QZ
