#include "UI/DriverCommon/AppServices.h"

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/ControlBase/ControlFactory.h"

#include <iterator>
#include <string_view>

namespace
{

struct AppStringEntry
{
    std::u16string_view key;
    const char16_t* text;
};

// The English texts of the application-wide string table, for keys it lacks and for the time
// before it is loaded.
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

// The key's text in the application's string table, once the application's control factory has
// loaded it.
bool LookupLoadedAppString(const char16_t* key, QZ::WideString& text)
{
    QZ::LApplicationBase* application = QZ::LApplicationBase::GetApplication();
    const QZ::RCPtr<QZ::LControlFactory> factory =
        application != nullptr ? application->GetControlFactory() : nullptr;
    QZ::RCPtr<QZ::LStringTable> table;
    return factory && factory->GetAppStringTable(table) && table->Lookup(key, text);
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
                                                   : LookupLoadedAppString(key, text) ||
                                                         LookupEnglishAppString(key, text));
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
