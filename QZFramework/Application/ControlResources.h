// What the program's start-up needs of the control factory: loading the string tables and the
// skins, and the texts of the "Framework" string table (the start-up error box and the error
// numbers are worded there).
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LControlFactory;

class IControlResources
{
public:
    virtual ~IControlResources() = default;
    // Loads the string tables for the language, then the skins, from the folder: "::" means the
    // resources embedded in the program, any other folder holds the XML files. The first failing
    // load's (negative) result, else 0.
    virtual QZRESULT LoadStringTablesAndSkins(const WideString& folder, std::uint32_t language) = 0;
    // The text of the key in the "Framework" string table; false, text unchanged, when there is
    // no such table or key.
    virtual bool LookupFrameworkString(const char16_t* key, WideString& text) const = 0;
    // The factory that holds what was loaded; null for resources without one.
    [[nodiscard]] virtual RCPtr<LControlFactory> GetControlFactory() const;
};

} // namespace QZ
