// What a text box's "NID_TEXTBOX_VALIDATING" and "NID_TEXTBOX_VALIDATED" carry: the text being
// validated and its valid flag. A subscriber to the validating notification may clear the flag
// (the text is refused) or change the text (the text box adopts it).
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

class LTextValidationParam : public virtual LRefCountedObject
{
public:
    explicit LTextValidationParam(const WideString& text) : text(text) {}

    WideString text;
    bool valid = true;
};

} // namespace QZ
