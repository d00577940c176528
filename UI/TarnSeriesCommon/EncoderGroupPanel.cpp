#include "UI/TarnSeriesCommon/EncoderGroupPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LEncoderGroupPanel::LEncoderGroupPanel(const RCPtr<LControl>& parent, const WideString& name,
                                       bool mostDerived)
    : LFamilyGroupPanel(parent, name, mostDerived, GetEncoderLayout())
{
}

RCPtr<IEncoder> LEncoderGroupPanel::GetEncoder(std::uint32_t index)
{
    return GetElementModule(index);
}

} // namespace QZ
