#include "QZFramework/Renderer/OpenGL/GLMessages.h"

#include "QZFramework/System/DebugStreams.h"

#include <ostream>
#include <string_view>

namespace QZ
{
namespace
{

IGLMessageService* gService = nullptr;

struct BuiltInText
{
    std::u16string_view key;
    const char16_t* text;
};

constexpr BuiltInText kEnglish[] = {
    {u"GL_ERROR_CAPTION", u"OpenGL Error"},
    {u"GL_ERROR_UPDATE_DRIVER", u"Updating your video card driver, with the latest driver from "
                                u"the manufacturer of your video card, may solve this issue."},
    {u"GL_ERROR_MESSAGE_SET_PIXEL_FORMAT", u"SetPixelFormat failed."},
    {u"GL_ERROR_MESSAGE_CREATE_CONTEXT", u"wglCreateContext failed."},
    {u"GL_ERROR_MESSAGE_MAKE_CONTEXT_CURRENT", u"wglMakeCurrent failed with error %d: %s."},
};

} // namespace

void SetGLMessageService(IGLMessageService* service)
{
    gService = service;
}

WideString GetGLString(const char16_t* key)
{
    WideString text;
    if (gService != nullptr && gService->LookupFrameworkString(key, text))
    {
        return text;
    }
    for (const BuiltInText& entry : kEnglish)
    {
        if (entry.key == key)
        {
            return entry.text;
        }
    }
    return {};
}

WideString FillErrorNumber(const WideString& text, std::int32_t number, const WideString& detail)
{
    const std::u16string_view pattern(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    std::u16string out;
    bool numberDone = false;
    bool detailDone = false;
    for (std::size_t i = 0; i < pattern.size(); ++i)
    {
        const char16_t next = i + 1 < pattern.size() ? pattern[i + 1] : u'\0';
        if (pattern[i] == u'%' && next == u'd' && !numberDone)
        {
            out += WideString::FromInt(number).GetString();
            numberDone = true;
            ++i;
        }
        else if (pattern[i] == u'%' && next == u's' && !detailDone)
        {
            out += detail.GetString();
            detailDone = true;
            ++i;
        }
        else
        {
            out += pattern[i];
        }
    }
    WideString result;
    result.Assign(out.c_str(), kGLMessageMaxLength);
    return result;
}

namespace
{

void Show(const WideString& message)
{
    const WideString text = message + GetGLString(u"GL_ERROR_UPDATE_DRIVER");
    const WideString caption = GetGLString(u"GL_ERROR_CAPTION");
    if (gService != nullptr)
    {
        gService->ShowMessageBox(text, caption, kGLMessageBoxExclamation);
        return;
    }
    DebugStreams::Wide() << L"[" << caption << L"] " << text << std::endl;
}

} // namespace

void ReportGLError(const char16_t* key)
{
    Show(GetGLString(key));
}

void ReportGLError(const char16_t* key, std::int32_t number, const WideString& detail)
{
    Show(FillErrorNumber(GetGLString(key), number, detail));
}

} // namespace QZ
