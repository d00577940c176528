#include "UI/TarnSeriesCommon/PresetNamePanel.h"

#include "QZFramework/Controls/TextBox.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "UI/TarnSeriesCommon/ControlUtilities.h"
#include "UI/TarnSeriesCommon/PresetNameValue.h"
#include "UI/TarnSeriesCommon/QuietScope.h"

#include <optional>

namespace QZ
{
namespace
{

constexpr const char* kInitialize = "LPresetNamePanel::Initialize";

} // namespace

LPresetNamePanel::LPresetNamePanel(const RCPtr<LControl>& parent, const WideString& name,
                                   bool mostDerived)
    : LHandlingPanel(parent, name, mostDerived), IPresetName(1)
{
}

LPresetNamePanel::~LPresetNamePanel() = default;

QZRESULT LPresetNamePanel::Initialize()
{
    const QZRESULT result = LPanel::Initialize();
    if (Failed(result))
    {
        return result;
    }
    MakeHandler(this);
    mTextBox = RequireChild<LTextBox>(RCPtr<LControl>(this), {u"textBox"}, kInitialize,
                                      "Cannot find child textBox");
    Listen(RCPtr<LControl>(mTextBox.Get()), NID_TEXTBOX_TEXT_CHANGE,
           &LPresetNamePanel::OnTextBoxTextChange, kInitialize);
    mTextBox->SetMaxLength(static_cast<std::int32_t>(kPresetNameLength));
    mTextBox->SetAutoScroll(0, true);
    mTextBox->SetFilter(WideString(kPresetNameCharacters), true);
    return result;
}

QZRESULT LPresetNamePanel::ReleaseInternalReferences()
{
    mTextBox = nullptr;
    return LHandlingPanel::ReleaseInternalReferences();
}

std::int32_t LPresetNamePanel::SetParamValueLocal(const ParamDescriptor& descriptor,
                                                  const Variant& value, bool)
{
    const std::optional<std::u16string> name = DecodePresetName(value);
    if (descriptor.mParamID != mFirstParamID || !name || !mTextBox)
    {
        return E_FAIL;
    }
    if (IsSupersededEngineValue(descriptor, value) || value == GetTypedName())
    {
        return 0;
    }
    const QuietScope quiet(mShowing);
    mTextBox->SetText(WideString(name->c_str()), 0);
    return 0;
}

Variant LPresetNamePanel::GetTypedName() const
{
    const WideString& text = mTextBox->GetText();
    return MakePresetNameValue(EncodePresetName(
        std::u16string_view(text.GetString(), static_cast<std::size_t>(text.GetLength()))));
}

QZRESULT LPresetNamePanel::OnTextBoxTextChange(const RCPtr<LNotificationDistributor>&,
                                               const RCPtr<LNotification>&)
{
    if (mShowing || !mTextBox)
    {
        return 1;
    }
    static_cast<void>(SendToMainControl(*this, ParamDescriptor(mFirstParamID), GetTypedName()));
    return 1;
}

} // namespace QZ
