#include "UI/TarnSeriesCommon/PresetNameValue.h"

#include <algorithm>
#include <iterator>

namespace QZ
{
namespace
{

constexpr std::uint8_t kBlankByte = PresetNameByte::kEmptyPosition;
constexpr std::uint8_t kApostropheByte = 0x60;

} // namespace

bool IsPresetNameCharacter(char16_t unit)
{
    const auto* end = std::end(kPresetNameCharacters) - 1;
    return unit != 0 && std::find(std::begin(kPresetNameCharacters), end, unit) != end;
}

PresetNameBytes EncodePresetName(std::u16string_view text)
{
    PresetNameBytes bytes;
    bytes.fill(kBlankByte);
    std::size_t position = 0;
    for (const char16_t unit : text)
    {
        if (position == bytes.size())
        {
            break;
        }
        if (!IsPresetNameCharacter(unit))
        {
            continue;
        }
        std::uint8_t byte = static_cast<std::uint8_t>(unit);
        if (unit == u'\'')
        {
            byte = kApostropheByte;
        }
        else if (unit == u' ')
        {
            byte = kBlankByte;
        }
        else if (unit >= u'a' && unit <= u'z')
        {
            byte = static_cast<std::uint8_t>(unit - u'a' + u'A');
        }
        bytes[position++] = byte;
    }
    return bytes;
}

std::optional<std::u16string> DecodePresetName(const Variant& value)
{
    std::uint32_t size = 0;
    const auto* data = static_cast<const std::uint8_t*>(value.GetData(size));
    if (data == nullptr || size != kPresetNameLength)
    {
        return std::nullopt;
    }
    std::u16string name;
    for (std::uint32_t i = 0; i < size; ++i)
    {
        char16_t unit = data[i];
        if (data[i] == kBlankByte)
        {
            unit = u' ';
        }
        else if (data[i] == kApostropheByte)
        {
            unit = u'\'';
        }
        if (IsPresetNameCharacter(unit))
        {
            name.push_back(unit);
        }
    }
    name.erase(name.find_last_not_of(u' ') + 1);
    return name;
}

Variant MakePresetNameValue(const PresetNameBytes& bytes)
{
    Variant value;
    value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

} // namespace QZ
