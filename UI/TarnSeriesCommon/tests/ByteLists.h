// The panels' byte values written and read in tests as lists of numbers.
#pragma once

#include "QZFramework/Utilities/Storage/Array.h"

#include <cstdint>
#include <vector>

namespace QZ
{

// The numbers as the bytes of a value, each cut to its low eight bits.
[[nodiscard]] inline Array<signed char> BytesOf(const std::vector<int>& numbers)
{
    Array<signed char> bytes(static_cast<std::int32_t>(numbers.size()));
    for (std::size_t k = 0; k < numbers.size(); ++k)
    {
        bytes.GetAt(static_cast<std::int32_t>(k)) = static_cast<signed char>(numbers[k]);
    }
    return bytes;
}

// The value's bytes as signed numbers.
[[nodiscard]] inline std::vector<int> IntsOf(const Array<signed char>& bytes)
{
    std::vector<int> numbers;
    for (std::int32_t k = 0; k < bytes.GetCount(); ++k)
    {
        numbers.push_back(bytes.GetAt(k));
    }
    return numbers;
}

} // namespace QZ
