#include "UI/TarnSeriesCommon/WheelEditPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LWheelEditPanel::LWheelEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                 bool mostDerived)
    : LFamilyEditPanel<IWheel>(parent, name, mostDerived, GetWheelLayout())
{
}

} // namespace QZ
