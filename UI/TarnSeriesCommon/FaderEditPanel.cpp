#include "UI/TarnSeriesCommon/FaderEditPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LFaderEditPanel::LFaderEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                 bool mostDerived)
    : LFamilyEditPanel<IFader>(parent, name, mostDerived, GetFaderLayout())
{
}

} // namespace QZ
