// The item form shared by the parameter list types: every item of a ParamRanges,
// ParamDescriptors or ParamValues list is itself a list of a fixed number of fields.
#pragma once

#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>

namespace QZ
{

// Results of the list types' item reads and writes.
inline constexpr std::int32_t kParamListIndexError = -4; // not a list, bad index, no input
inline constexpr std::int32_t kParamListItemError = -7;  // item is not a list of the right size

// A tag-2 (signed 32-bit) Variant.
[[nodiscard]] Variant MakeInt32Variant(std::int32_t value);

// Reads the fieldCount fields of item index of list into fields. Returns 0,
// kParamListIndexError when list is not a tag-10 list or index is not below its item count, or
// kParamListItemError when the item is not a list of exactly fieldCount readable fields.
[[nodiscard]] std::int32_t ReadParamListItem(const Variant& list, std::uint32_t index,
                                             Variant* fields, std::uint32_t fieldCount);

} // namespace QZ
