#include "UI/TarnSeriesCommon/XYPadDirectionGroupPanel.h"

#include "UI/TarnSeriesCommon/PadFamilyLayouts.h"

namespace QZ
{

LXYPadDirectionGroupPanel::LXYPadDirectionGroupPanel(const RCPtr<LControl>& parent,
                                                     const WideString& name, bool mostDerived)
    : LFamilyGroupPanel(parent, name, mostDerived, GetXYPadAxisLayout())
{
}

RCPtr<ITouchPadAxis> LXYPadDirectionGroupPanel::GetTouchPadAxis(std::uint32_t index)
{
    return GetElementModule(index);
}

} // namespace QZ
