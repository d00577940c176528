#include "UI/TarnSeriesCommon/FaderPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LFaderPanel::LFaderPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LFamilyPanel<IFader>(parent, name, mostDerived, GetFaderLayout())
{
}

} // namespace QZ
