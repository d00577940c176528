#include "UI/DriverCommon/PresetFileMessages.h"

#include "UI/DriverCommon/AppServices.h"

namespace QZ
{
namespace
{

void ShowPresetFileLoadMessage(const char16_t* messageKey)
{
    WideString text;
    WideString caption;
    ShowMessageBox(GetAppString(text, messageKey), GetAppString(caption, kPresetFileLoadCaptionKey),
                   kMessageBoxErrorIcon | kMessageBoxOk);
}

} // namespace

void ShowPresetFileOlderMessage()
{
    ShowPresetFileLoadMessage(kPresetFileOlderMessageKey);
}

void ShowPresetFileNewerMessage()
{
    ShowPresetFileLoadMessage(kPresetFileNewerMessageKey);
}

void ShowPresetFileCorruptMessage()
{
    ShowPresetFileLoadMessage(kPresetFileCorruptMessageKey);
}

void ShowPresetFileWrongDeviceMessage()
{
    ShowPresetFileLoadMessage(kPresetFileWrongDeviceMessageKey);
}

void ShowPresetFileTranslationFailureMessage()
{
    ShowPresetFileLoadMessage(kPresetFileTranslationFailureMessageKey);
}

} // namespace QZ
