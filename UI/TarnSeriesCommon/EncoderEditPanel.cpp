#include "UI/TarnSeriesCommon/EncoderEditPanel.h"

#include "UI/TarnSeriesCommon/ContinuousFamilyLayouts.h"

namespace QZ
{

LEncoderEditPanel::LEncoderEditPanel(const RCPtr<LControl>& parent, const WideString& name,
                                     bool mostDerived)
    : LFamilyEditPanel<IEncoder>(parent, name, mostDerived, GetEncoderLayout())
{
}

} // namespace QZ
