#include "Engine/RededoVuvuvaCommon/GlobalParameters.h"

#include <array>

namespace QZ
{
namespace
{

struct GlobalParameter
{
    const char16_t* name;
    bool settable;
    std::int32_t lowest;
    std::int32_t highest;
};

constexpr std::array<GlobalParameter, kGlobalParameterCount> kTable = {{
    // 17 channel values: 0 to 16.
    {u"Global_Channel", true, 0, 16},
    {u"XYPAD_VELOCITY", false, 0, 0},
    {u"XYPAD_FRACTION", false, 0, 0},
    {u"XYPAD_REBOUND", false, 0, 0},
    {u"MACKIE_HUI_ENABLED", true, 0, 1},
    {u"KEY_OCTAVE", true, 2, 9},
    {u"KEY_TRANSPOSE", true, 0, 24},
    {u"KEY_SENSITIVITY", true, 0, 6},
    {u"PAD_OCTAVE", true, 0, 10},
    {u"PAD_TRANSPOSE", true, 0, 25},
    {u"PAD_SENSITIVITY", true, 0, 9},
    {u"CURVE_ACCELLERATION", true, 0, 3},
    {u"XY_SENSITIVITY", true, 0, 9},
    {u"GLOBAL_PROGRAM", true, 0, 127},
    {u"GLOBAL_BANK_MSB", true, 0, 127},
    {u"GLOBAL_BANK_LSB", true, 0, 127},
}};

constexpr std::int32_t kReplyIndexOffset = 11;

} // namespace

WideStringArray GetGlobalParameterNames()
{
    WideStringArray names;
    for (const GlobalParameter& parameter : kTable)
    {
        names.Add(WideString(parameter.name));
    }
    return names;
}

std::int32_t GetGlobalParameterIndex(const WideStringArray& names, const WideString& name)
{
    for (std::int32_t i = 0; i < names.GetCount(); ++i)
    {
        if (names.GetAt(i) == name)
        {
            return i;
        }
    }
    return -1;
}

std::int32_t GetGlobalParameterIndex(const WideString& name)
{
    for (std::size_t i = 0; i < kTable.size(); ++i)
    {
        if (name == kTable[i].name)
        {
            return static_cast<std::int32_t>(i);
        }
    }
    return -1;
}

bool IsGlobalParameterValueValid(const WideString& name, std::int32_t value)
{
    const std::int32_t index = GetGlobalParameterIndex(name);
    if (index < 0)
    {
        return false;
    }
    const GlobalParameter& parameter = kTable[static_cast<std::size_t>(index)];
    return parameter.settable && value >= parameter.lowest && value <= parameter.highest;
}

WideString GetGlobalParameterNameFromReply(const IArray<signed char>& reply)
{
    if (reply.GetCount() <= kReplyIndexOffset + 1)
    {
        return WideString();
    }
    const std::int32_t index = *reply.GetItemPtr(kReplyIndexOffset);
    if (index < 0 || index >= kGlobalParameterCount)
    {
        return WideString();
    }
    return WideString(kTable[static_cast<std::size_t>(index)].name);
}

} // namespace QZ
