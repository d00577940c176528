#include "UI/TarnSeriesCommon/FamilyValue.h"

namespace QZ
{

ByteMap SameBytes(std::uint32_t count)
{
    ByteMap map;
    for (std::uint32_t k = 0; k < count; ++k)
    {
        map.push_back(Take(static_cast<std::int32_t>(k)));
    }
    return map;
}

std::optional<Array<signed char>> Rearrange(const Array<signed char>& source, const ByteMap& map)
{
    Array<signed char> result(static_cast<std::int32_t>(map.size()));
    for (std::size_t k = 0; k < map.size(); ++k)
    {
        const BytePick pick = map[k];
        if (pick.source >= source.GetCount())
        {
            return std::nullopt;
        }
        result.GetAt(static_cast<std::int32_t>(k)) =
            pick.source < 0 ? static_cast<signed char>(pick.fixed) : source.GetAt(pick.source);
    }
    return result;
}

ValueConversion UnchangedValue(std::uint32_t size)
{
    return ValueConversion{size, SameBytes(size), SameBytes(size), size, SameBytes(size)};
}

std::optional<Array<signed char>> ValueBytes(const Variant& value, std::uint32_t size)
{
    std::uint32_t count = 0;
    const auto* data = static_cast<const signed char*>(value.GetData(count));
    if (value.GetType() != Variant::TagBytes || count != size)
    {
        return std::nullopt;
    }
    Array<signed char> bytes(static_cast<std::int32_t>(size));
    for (std::uint32_t k = 0; k < size; ++k)
    {
        bytes.GetAt(static_cast<std::int32_t>(k)) = data[k];
    }
    return bytes;
}

Variant MakeValue(const Array<signed char>& bytes)
{
    Variant value;
    value.SetBytes(bytes.GetData(), static_cast<std::uint32_t>(bytes.GetCount()));
    return value;
}

} // namespace QZ
