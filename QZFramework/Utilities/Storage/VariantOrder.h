// The strict ordering of Variant values that keeps ParamValues lists sorted by sub-key.
//
// Different tags: an empty value sorts first; two numbers (tags 1 to 5) compare as doubles;
// anything else compares as byte strings, a number counting as its 8 inline payload bytes
// (shorter first, then the first differing byte, unsigned). Same tag: numbers by value, byte
// strings shorter first then by unsigned bytes, texts shorter first then by signed characters,
// references by size or address, lists item by item (the first unequal pair decides, then the
// list with fewer items is less).
#pragma once

#include "QZFramework/Utilities/Storage/Variant.h"

namespace QZ
{

[[nodiscard]] bool IsVariantLess(const Variant& a, const Variant& b);

} // namespace QZ
