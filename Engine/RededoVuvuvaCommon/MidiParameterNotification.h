// The payload of "NID_MIDIMANAGER_PARAMETER_RECIEVED": one global setting as the keyboard reported
// it. The name is one of the global parameter names, or empty when the reply was too short to
// carry an index; the value is the reply's two 7-bit bytes, high first.
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class LMidiParameterNotification : public virtual LRefCountedObject
{
public:
    // An empty name and the value 0.
    LMidiParameterNotification() = default;

    [[nodiscard]] const WideString& GetName() const { return mName; }
    [[nodiscard]] std::int32_t GetValue() const { return mValue; }
    void SetName(const WideString& name);
    void SetValue(std::int32_t value);

private:
    WideString mName;
    std::int32_t mValue = 0;
};

} // namespace QZ
