#include "UI/TarnSeriesCommon/ButtonPanel.h"

#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "UI/TarnSeriesCommon/ButtonAssignment.h"
#include "UI/TarnSeriesCommon/ButtonControlViewPanel.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/NumberText.h"

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LButtonPanel::Initialize";
constexpr std::uint32_t kButtonsPerBank = 9;

} // namespace

LButtonPanel::LButtonPanel(const RCPtr<LControl>& parent, const WideString& name, bool mostDerived)
    : LHandlingPanel(parent, name, mostDerived), IPushButton(1)
{
}

LButtonPanel::~LButtonPanel() = default;

QZRESULT LButtonPanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    MakeHandler(this);
    const RCPtr<LControl> self(this);
    mColour.SetIndicator(
        RequireChild<LControl>(self, {u"color"}, kInitialize, "child: color not found"));
    mView = RequireChild<LButtonControlViewPanel>(self, {u"viewPanel"}, kInitialize,
                                                  "child: viewPanel not found");
    Listen(FindChildAs<LControl>(self, {u"button"}), NID_LEFT_CLICK, &LButtonPanel::OnButtonClicked,
           kInitialize);
    return result;
}

QZRESULT LButtonPanel::ReleaseInternalReferences()
{
    mView = nullptr;
    mColour.Release();
    return LHandlingPanel::ReleaseInternalReferences();
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
    if (descriptor.mParamID != mFirstParamID || !bytes || !mView)
    {
        return E_FAIL;
    }
    mView->ShowValues(SplitButtonBlock(*bytes));
    mColour.SetColours({(*bytes)[1], (*bytes)[2], (*bytes)[3], (*bytes)[4]});
    return 0;
}

QZRESULT LButtonPanel::OnButtonClicked(const RCPtr<LNotificationDistributor>&,
                                       const RCPtr<LNotification>& notification)
{
    mColour.OnClick(notification);
    return 1;
}

} // namespace QZ
