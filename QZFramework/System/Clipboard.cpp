#include "QZFramework/System/Clipboard.h"

#include "Platform/Window/WindowSystem.h"

#include <string>

namespace QZ
{

QZRESULT LClipboard::Create(RCPtr<LClipboard>& out, Platform::WindowSystem& system)
{
    out = RCPtr<LClipboard>(new LClipboard(system));
    return S_OK;
}

QZRESULT LClipboard::SetText(const WideString& text)
{
    const std::u16string_view units(text.GetString(), static_cast<std::size_t>(text.GetLength()));
    return mSystem.SetClipboardText(units) ? S_OK : E_FAIL;
}

QZRESULT LClipboard::GetText(WideString& text)
{
    std::u16string units;
    const bool read = mSystem.GetClipboardText(units);
    text = read ? WideString(units.c_str()) : WideString();
    return read ? S_OK : E_FAIL;
}

} // namespace QZ
