#include "QZFramework/Application/StartupMessages.h"

#include "Platform/Dialogs/MessageBox.h"
#include "QZFramework/Application/ControlResources.h"

namespace QZ
{
namespace
{

constexpr const char16_t* kStartupErrorText =
    u"The application encountered problems during startup and will now close.";
constexpr const char16_t* kStartupErrorCaption = u"Error";
constexpr const char16_t* kErrorIdFallback =
    u"The application encountered problems during startup and will now close.  "
    u"(Error code = %d)";

WideString Lookup(const IControlResources* resources, const char16_t* key, const char16_t* fallback)
{
    WideString text(fallback);
    if (resources != nullptr)
    {
        resources->LookupFrameworkString(key, text);
    }
    return text;
}

} // namespace

void GetStartupErrorTexts(const IControlResources* resources, WideString& text, WideString& caption)
{
    text = Lookup(resources, u"STARTUP_ERROR", kStartupErrorText);
    caption = Lookup(resources, u"STARTUP_ERROR_CAPTION", kStartupErrorCaption);
}

WideString& GetErrorIdText(const IControlResources* resources, WideString& text,
                           std::int32_t number)
{
    const WideString format = Lookup(resources, u"EXCEPTION_ID", kErrorIdFallback);
    return text = WideString::FromFormat(format.GetString(), number);
}

void ShowStartupErrorBox(const IControlResources* resources)
{
    WideString text;
    WideString caption;
    GetStartupErrorTexts(resources, text, caption);
    Dialogs::ShowMessageBox(text.ToNarrowString().GetString(), caption.ToNarrowString().GetString(),
                            Dialogs::kIconError);
}

} // namespace QZ
