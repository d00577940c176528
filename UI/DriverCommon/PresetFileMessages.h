// The messages of a failed preset-file load: one function per load result, each showing an
// error box (error icon, OK button) with its text and the caption "SETTINGS_FILE_LOAD_CAPTION",
// both looked up in the application-wide string table. The device view calls the function whose
// result a load returned; 0 and any other result show nothing.
#pragma once

#include <cstdint>

namespace QZ
{

inline constexpr const char16_t* kPresetFileLoadCaptionKey = u"SETTINGS_FILE_LOAD_CAPTION";
inline constexpr const char16_t* kPresetFileOlderMessageKey = u"SETTINGS_FILE_LOAD_OLDER_MESSAGE";
inline constexpr const char16_t* kPresetFileNewerMessageKey = u"SETTINGS_FILE_LOAD_NEWER_MESSAGE";
inline constexpr const char16_t* kPresetFileCorruptMessageKey =
    u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE";
inline constexpr const char16_t* kPresetFileWrongDeviceMessageKey =
    u"SETTINGS_FILE_LOAD_WRONG_DEVICE_MESSAGE";
inline constexpr const char16_t* kPresetFileTranslationFailureMessageKey =
    u"SETTINGS_FILE_TRANSLATION_FAILURE_MESSAGE";

// Result -1: format version 0.
void ShowPresetFileOlderMessage();
// Result -2: a format version above 1.
void ShowPresetFileNewerMessage();
// Result -3: unreadable or refused.
void ShowPresetFileCorruptMessage();
// Result -4: another device's file.
void ShowPresetFileWrongDeviceMessage();
// Result -5: the engine refused a value of the file.
void ShowPresetFileTranslationFailureMessage();

} // namespace QZ
