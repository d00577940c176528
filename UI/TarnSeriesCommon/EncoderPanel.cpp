#include "UI/TarnSeriesCommon/EncoderPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LEncoderPanel::LEncoderPanel(const RCPtr<LControl>& parent, const WideString& name,
                             bool mostDerived)
    : LFamilyPanel<IEncoder>(parent, name, mostDerived, GetEncoderLayout())
{
}

} // namespace QZ
