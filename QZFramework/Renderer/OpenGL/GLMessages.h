// How the OpenGL renderer tells the user that the graphics driver failed: a message box whose
// texts come from the framework string table.
//
// Neither the string table nor the message-box service exists below the application, so both are
// reached through IGLMessageService, which the application installs when it starts. Until then
// the English texts are built in here and a message box is written to the debug stream. The texts
// are never used as format strings: FillErrorNumber puts the numbers in. User-interface thread
// only.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

// Message-box style of the renderer's reports: an exclamation icon.
inline constexpr std::uint32_t kGLMessageBoxExclamation = 0x30;

class IGLMessageService
{
public:
    virtual ~IGLMessageService() = default;
    // Puts the text of the framework string table's key into text; false, leaving it unchanged,
    // when the table lacks the key.
    virtual bool LookupFrameworkString(const char16_t* key, WideString& text) const = 0;
    virtual void ShowMessageBox(const WideString& text, const WideString& caption,
                                std::uint32_t style) = 0;
};

// Installs the application's service (null withdraws it); the caller keeps it alive meanwhile.
void SetGLMessageService(IGLMessageService* service);

// The text of the key from the installed service, else the built-in English text, else empty.
[[nodiscard]] WideString GetGLString(const char16_t* key);

// The text with its first "%d" replaced by the number and its first "%s" by the detail; any
// other '%' stays as it is, and the result is cut at kMaxLength units.
[[nodiscard]] WideString FillErrorNumber(const WideString& text, std::int32_t number,
                                         const WideString& detail);

// Shows the key's message followed by the driver advice, under the OpenGL error caption. With
// a number, the message's "%d" and "%s" are filled with it and the detail.
void ReportGLError(const char16_t* key);
void ReportGLError(const char16_t* key, std::int32_t number, const WideString& detail);

inline constexpr std::int32_t kGLMessageMaxLength = 180;

} // namespace QZ
