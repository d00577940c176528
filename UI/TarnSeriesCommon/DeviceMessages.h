// The texts of the device dialogs and their message boxes. Each text is looked up in the
// application-wide string table; a key that the table lacks, or holds empty, gives the built-in
// English text, so that every outcome of an exchange with the keyboard is reported.
// User-interface thread only.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

// The keys of the dialogs' texts.
inline constexpr const char16_t* kGlobalSettingsErrorCaption =
    u"LABEL_GLOBALSETTINGS_FAILED_MIDI_ERROR_MESSAGEBOX_CAPTION";
inline constexpr const char16_t* kGlobalSettingsErrorText =
    u"LABEL_GLOBALSETTINGS_FAILED_MIDI_ERROR_MESSAGEBOX_TEXT";
inline constexpr const char16_t* kGetPresetSuccessCaption =
    u"LABEL_GET_PRESET_SUCEESS_MSGBOX_CAPTION";
inline constexpr const char16_t* kGetPresetSuccessText = u"LABEL_GET_PRESET_SUCEESS_MSGBOX_TEXT";
inline constexpr const char16_t* kGetPresetErrorCaption = u"LABEL_GET_PRESET_FAILED_MSGBOX_CAPTION";
inline constexpr const char16_t* kGetPresetMidiErrorText =
    u"LABEL_GET_PRESET_FAILED_MIDI_ERROR_MSGBOX_TEXT";
inline constexpr const char16_t* kGetPresetFirmwareText =
    u"LABEL_GET_PRESET_FAILED_FW_COMPATIBILITY_ERROR_MSGBOX_TEXT";
inline constexpr const char16_t* kSendPresetSuccessCaption =
    u"LABEL_SEND_PRESET_SUCEESS_MSGBOX_CAPTION";
inline constexpr const char16_t* kSendPresetSuccessText = u"LABEL_SEND_PRESET_SUCEESS_MSGBOX_TEXT";
inline constexpr const char16_t* kSendPresetErrorCaption =
    u"LABEL_SEND_PRESET_FAILED_MSGBOX_CAPTION";
inline constexpr const char16_t* kSendPresetMidiErrorText =
    u"LABEL_SEND_PRESET_FAILED_MIDI_ERROR_MSGBOX_TEXT";
inline constexpr const char16_t* kSendPresetFirmwareText =
    u"LABEL_SEND_PRESET_FAILED_FW_COMPATIBILITY_ERROR_MSGBOX_TEXT";
inline constexpr const char16_t* kPresetSlotRefusedText = u"LABEL_PRESET_SLOT_REFUSED_MSGBOX_TEXT";
inline constexpr const char16_t* kDeviceExchangeStatusText = u"LABEL_DEVICE_EXCHANGE_STATUS_TEXT";
inline constexpr const char16_t* kAppVersionWord = u"APP_VERSION";

// The key's text, or its built-in English text (empty for a key without one).
[[nodiscard]] WideString GetDeviceDialogString(const char16_t* key);

// Shows the message box of the two keys: with the error icon when error is set, else plain; both
// with the OK button. The button pressed.
std::uint32_t ShowDeviceMessage(const char16_t* textKey, const char16_t* captionKey, bool error);

} // namespace QZ
