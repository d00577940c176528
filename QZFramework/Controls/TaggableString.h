// A text shared as an object: the item data of a text entry of a list or combo box. Its text form
// (ToString) is the text itself, which is what the lists show for the item.
#pragma once

#include "QZFramework/ControlBase/TaggableObject.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/StringT.h"

namespace QZ
{

class LTaggableString : public LTaggableObject
{
public:
    explicit LTaggableString(const WideString& text) : mText(text) {}

    static RCPtr<LTaggableObject> FromString(const WideString& text)
    {
        return RCPtr<LTaggableObject>(new LTaggableString(text));
    }

    StringT<char16_t, char> ToString() const override { return mText; }

private:
    WideString mText;
};

} // namespace QZ
