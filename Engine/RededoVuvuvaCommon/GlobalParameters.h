// The keyboard's 16 global settings: their names, in index order, and the values the keyboard
// accepts for each. Names compare exactly and case-sensitively; a name that is not in the table
// is refused for every value.
#pragma once

#include "QZFramework/Utilities/Storage/IArray.h"
#include "QZFramework/Utilities/Storage/StringArrayT.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

inline constexpr std::int32_t kGlobalParameterCount = 16;

// "Global_Channel", "XYPAD_VELOCITY", ..., "GLOBAL_BANK_LSB", built afresh on every call.
WideStringArray GetGlobalParameterNames();

// The index of name in names, -1 when absent.
std::int32_t GetGlobalParameterIndex(const WideStringArray& names, const WideString& name);

// The index of name in the table, -1 when absent; the same as above with the table's own names,
// without building the list.
std::int32_t GetGlobalParameterIndex(const WideString& name);

// True when the table accepts the value for that name (the three XY pad settings accept none).
bool IsGlobalParameterValueValid(const WideString& name, std::int32_t value);

// The name at the index in byte 11 of a reply of more than 12 bytes; empty for a shorter reply or
// an index outside the table.
WideString GetGlobalParameterNameFromReply(const IArray<signed char>& reply);

} // namespace QZ
