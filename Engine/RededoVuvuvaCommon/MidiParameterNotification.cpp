#include "Engine/RededoVuvuvaCommon/MidiParameterNotification.h"

namespace QZ
{

void LMidiParameterNotification::SetName(const WideString& name)
{
    mName = name;
}

void LMidiParameterNotification::SetValue(std::int32_t value)
{
    mValue = value;
}

} // namespace QZ
