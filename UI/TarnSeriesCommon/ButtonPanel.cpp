#include "UI/TarnSeriesCommon/ButtonPanel.h"

#include "QZFramework/ObjectBase/Exception.h"
#include "UI/TarnSeriesCommon/ButtonAssignment.h"
#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"
#include "UI/TarnSeriesCommon/NumberText.h"

namespace QZ
{
namespace
{

constexpr std::uint32_t kButtonsPerBank = 9;

} // namespace

LButtonPanel::LButtonPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LPanel(parent, name, mostDerived), IPushButton(1)
{
}

void LButtonPanel::SetFirstParamID(LParameterizedModule* parent, std::int32_t firstParamID,
                                   std::uint32_t index)
{
    LParameterizedModule::SetFirstParamID(parent, firstParamID, index);
    const RCPtr<LControl> label = FindChildByName(WideString(u"buttonNumberLabel"));
    if (!label)
    {
        QZ_THROW_RUNTIME("LButtonPanel::SetFirstParamID", "Null Pointer",
                         "Cannot find child: buttonNumberLabel");
    }
    WideString text;
    label->SetText(FormatNumberText(label->GetString(text, u"LABEL"), index % kButtonsPerBank + 1),
                   true);
}

std::int32_t LButtonPanel::SetParamValueLocal(const ParamDescriptor& descriptor,
                                              const Variant& value, bool)
{
    const std::optional<ButtonValueBytes> bytes = ReadButtonValue(value);
    if (descriptor.mParamID != mFirstParamID || !bytes)
    {
        return E_FAIL;
    }
    if (const auto view = RCPtr<LButtonControlViewPanel>::DynamicCastFrom(
            FindChildByName(WideString(u"viewPanel"))))
    {
        view->ShowValues(SplitButtonBlock(*bytes));
    }
    return 0;
}

} // namespace QZ
