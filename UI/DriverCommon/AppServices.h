// The editor's services that the parts below it use: the text of a key in the application-wide
// string table, and a modal message box shown through the application object.
//
// The application object installs its services with SetAppServices when it starts and withdraws
// them (SetAppServices(nullptr)) before it goes away. While none are installed, GetAppString finds
// the keys in the application string table that the application's control factory loaded, and
// keys that table lacks (or all keys, before it is loaded) in the English texts built in here;
// ShowMessageBox shows nothing and returns 0 (no button). All of this runs on the
// user-interface thread.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

// Message-box style flags (combinable); the buttons are in the low nibble.
inline constexpr std::uint32_t kMessageBoxOk = 0x0;
inline constexpr std::uint32_t kMessageBoxErrorIcon = 0x10;
// The number ShowMessageBox returns for the OK button.
inline constexpr std::uint32_t kMessageBoxResultOk = 1;

class IAppServices
{
public:
    virtual ~IAppServices() = default;
    // Puts the text of key from the application-wide string table, for the current language,
    // into text and returns true; false, leaving text unchanged, when the table lacks the key.
    virtual bool LookupAppString(const char16_t* key, QZ::WideString& text) const = 0;
    // Shows a modal message box with that text, caption and style; the number of the button
    // pressed.
    virtual std::uint32_t ShowMessageBox(const QZ::WideString& text, const QZ::WideString& caption,
                                         std::uint32_t style) = 0;
};

// Installs the application's services (null withdraws them); the caller keeps them alive while
// installed.
void SetAppServices(IAppServices* services);
[[nodiscard]] IAppServices* GetAppServices();

// Puts the text of key into text (empty when the key is missing) and returns text.
QZ::WideString& GetAppString(QZ::WideString& text, const char16_t* key);

// Shows a modal message box through the application; the number of the button pressed.
std::uint32_t ShowMessageBox(const QZ::WideString& text, const QZ::WideString& caption,
                             std::uint32_t style);
