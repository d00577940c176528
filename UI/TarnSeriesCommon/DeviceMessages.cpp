#include "UI/TarnSeriesCommon/DeviceMessages.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "UI/DriverCommon/AppServices.h"

#include <string_view>

namespace QZ
{
namespace
{

constexpr const char16_t* kFirmwareText =
    u"The firmware version of your device is not compatible with this version of the Vidida "
    u"Editor. Please visit the Korvane web site for the latest firmware updates.";
constexpr const char16_t* kConnectionText =
    u"Error connecting to device. Verify your Tarn Keyboard is plugged into the USB port and try "
    u"again.";

struct BuiltInText
{
    std::u16string_view key;
    const char16_t* text;
};

constexpr BuiltInText kBuiltInTexts[] = {
    {kGlobalSettingsErrorCaption, u"Global Settings Error"},
    {kGlobalSettingsErrorText, kConnectionText},
    {kGetPresetSuccessCaption, u"Retrieve Successful"},
    {kGetPresetSuccessText, u"The preset has been successfully retrieved."},
    {kGetPresetErrorCaption, u"Retrieve Vidida Error"},
    {kGetPresetMidiErrorText, u"The Vidida has failed to get from the device. Verify the device is "
                              u"connected to your computer via the USB cable."},
    {kGetPresetFirmwareText, kFirmwareText},
    {kSendPresetSuccessCaption, u"Send Success"},
    {kSendPresetSuccessText, u"The preset has been successfully sent to the device"},
    {kSendPresetErrorCaption, u"Send Vidida Error"},
    {kSendPresetMidiErrorText, kConnectionText},
    {kSendPresetFirmwareText, kFirmwareText},
    {kPresetSlotRefusedText, u"Choose RAM or one of the Vidida slots 1 to 12 and try again."},
    {kDeviceExchangeStatusText, u"Waiting for the keyboard..."},
    {kAppVersionWord, u"Version"},
};

} // namespace

WideString GetDeviceDialogString(const char16_t* key)
{
    WideString text;
    if (!GetAppString(text, key).IsEmpty())
    {
        return text;
    }
    for (const BuiltInText& entry : kBuiltInTexts)
    {
        if (entry.key == key)
        {
            return WideString(entry.text);
        }
    }
    return text;
}

std::uint32_t ShowDeviceMessage(const char16_t* textKey, const char16_t* captionKey, bool error)
{
    const WideString text = GetDeviceDialogString(textKey);
    const WideString caption = GetDeviceDialogString(captionKey);
    const std::uint32_t style = kMessageBoxOk | (error ? kMessageBoxErrorIcon : 0u);
    if (GetAppServices() != nullptr)
    {
        return ShowMessageBox(text, caption, style);
    }
    // Without the editor's services the outcome still reaches the user, through the
    // application's own box.
    const LApplicationBase* application = LApplicationBase::GetApplication();
    return application != nullptr
               ? static_cast<std::uint32_t>(application->ShowMessageBox(text, caption, style))
               : 0u;
}

} // namespace QZ
