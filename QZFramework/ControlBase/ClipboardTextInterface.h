// The clipboard's text as an editing control exchanges it during an edit command. The clipboard
// service implements it and hands itself to the focused edit target's PerformEdit; tests hand a
// fake. User-interface thread only.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

class IClipboardText
{
public:
    virtual ~IClipboardText() = default;

    // 0, or E_FAIL when the clipboard refuses the text.
    virtual QZRESULT SetText(const WideString& text) = 0;
    // The clipboard's text (empty when it holds none); 0, or E_FAIL with the text empty.
    virtual QZRESULT GetText(WideString& text) = 0;
};

} // namespace QZ
