#include "UI/DriverCommon/AppServices.h"

#include <iterator>
#include <string_view>

namespace
{

struct AppStringEntry
{
    std::u16string_view key;
    const char16_t* text;
};

// The English texts of the application-wide string table that are needed before one is loaded.
constexpr AppStringEntry kEnglishAppStrings[] = {
    {u"SETTINGS_FILE_LOAD_CAPTION", u"Vidida File Load"},
    {u"SETTINGS_FILE_LOAD_OLDER_MESSAGE",
     u"Vidida file is not compatible with this version of the preset editor"},
    {u"SETTINGS_FILE_LOAD_NEWER_MESSAGE",
     u"Vidida file is not compatible with this version of the editor"},
    {u"SETTINGS_FILE_LOAD_CORRUPT_MESSAGE",
     u"Vidida file is not compatible with this version of the preset editor"},
    {u"SETTINGS_FILE_LOAD_WRONG_DEVICE_MESSAGE",
     u"Vidida file is not compatible with this version of the preset editor"},
    {u"SETTINGS_FILE_TRANSLATION_FAILURE_MESSAGE",
     u"Vidida file is not compatible with this version of the preset editor"},
};

IAppServices* gAppServices = nullptr;

bool LookupEnglishAppString(const char16_t* key, QZ::WideString& text)
{
    for (const AppStringEntry& entry : kEnglishAppStrings)
    {
        if (entry.key == key)
        {
            text = QZ::WideString(entry.text);
            return true;
        }
    }
    return false;
}

} // namespace

void SetAppServices(IAppServices* services)
{
    gAppServices = services;
}

IAppServices* GetAppServices()
{
    return gAppServices;
}

QZ::WideString& GetAppString(QZ::WideString& text, const char16_t* key)
{
    const bool found =
        key != nullptr && (gAppServices != nullptr ? gAppServices->LookupAppString(key, text)
                                                   : LookupEnglishAppString(key, text));
    if (!found)
    {
        text.Clear();
    }
    return text;
}

std::uint32_t ShowMessageBox(const QZ::WideString& text, const QZ::WideString& caption,
                             std::uint32_t style)
{
    return gAppServices != nullptr ? gAppServices->ShowMessageBox(text, caption, style) : 0;
}
