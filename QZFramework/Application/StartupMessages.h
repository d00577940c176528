// The texts the program shows when it cannot start or meets an error it has a number for,
// worded by the "Framework" string table where one is loaded and in English before that.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class IControlResources;

// "STARTUP_ERROR" and "STARTUP_ERROR_CAPTION" of the table, else the English texts.
void GetStartupErrorTexts(const IControlResources* resources, WideString& text,
                          WideString& caption);

// The table's "EXCEPTION_ID" text formatted with the number, else the English start-up text with
// the number.
WideString& GetErrorIdText(const IControlResources* resources, WideString& text,
                           std::int32_t number);

// Shows the start-up error box: the error icon, the texts above, no owner window.
void ShowStartupErrorBox(const IControlResources* resources);

} // namespace QZ
