#include "UI/TarnSeriesCommon/KeybedZoneValue.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace QZ
{
namespace
{

constexpr std::size_t kZoneKeyFields = 4;

std::u16string_view ViewOf(const WideString& text)
{
    return {text.GetString(), static_cast<std::size_t>(text.GetLength())};
}

// The format with its plain "%s" replaced by the fields in order and "%%" by "%"; nothing when it
// holds another conversion or not exactly as many "%s" as fields.
std::optional<std::u16string> FillTextFields(std::u16string_view format,
                                             const std::vector<std::u16string_view>& fields)
{
    std::u16string text;
    std::size_t used = 0;
    for (std::size_t i = 0; i < format.size(); ++i)
    {
        if (format[i] != u'%')
        {
            text.push_back(format[i]);
            continue;
        }
        const char16_t next = i + 1 < format.size() ? format[i + 1] : u'\0';
        if (next == u'%')
        {
            text.push_back(u'%');
        }
        else if (next == u's' && used < fields.size())
        {
            text.append(fields[used++]);
        }
        else
        {
            return std::nullopt;
        }
        ++i;
    }
    if (used != fields.size())
    {
        return std::nullopt;
    }
    return text;
}

std::u16string_view NameAt(const std::vector<WideString>& names, std::int32_t index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= names.size())
    {
        return u"?";
    }
    return ViewOf(names[static_cast<std::size_t>(index)]);
}

} // namespace

std::optional<KeybedZoneSettings> ReadKeybedZoneValue(const Variant& value)
{
    std::uint32_t size = 0;
    const auto* data = static_cast<const std::int8_t*>(value.GetData(size));
    if (data == nullptr || size != KeybedZoneByte::kSize)
    {
        return std::nullopt;
    }
    KeybedZoneSettings settings;
    settings.enabled = data[KeybedZoneByte::kEnabled];
    settings.channel = data[KeybedZoneByte::kChannel];
    settings.program = data[KeybedZoneByte::kProgram];
    settings.bankMSB = data[KeybedZoneByte::kBankMSB];
    settings.bankLSB = data[KeybedZoneByte::kBankLSB];
    settings.firstKey = data[KeybedZoneByte::kFirstNote];
    settings.lastKey = data[KeybedZoneByte::kLastNote];
    settings.octave = data[KeybedZoneByte::kOctave] - KeybedZoneByte::kOctaveBias;
    settings.transpose = data[KeybedZoneByte::kTranspose] - KeybedZoneByte::kTransposeBias;
    return settings;
}

Variant MakeKeybedZoneValue(const KeybedZoneSettings& settings)
{
    std::array<std::uint8_t, KeybedZoneByte::kSize> bytes{};
    const auto low = [](std::int32_t field) { return static_cast<std::uint8_t>(field & 0xFF); };
    bytes[KeybedZoneByte::kEnabled] = low(settings.enabled);
    bytes[KeybedZoneByte::kChannel] = low(settings.channel);
    bytes[KeybedZoneByte::kProgram] = low(settings.program);
    bytes[KeybedZoneByte::kBankMSB] = low(settings.bankMSB);
    bytes[KeybedZoneByte::kBankLSB] = low(settings.bankLSB);
    bytes[KeybedZoneByte::kFirstNote] = low(settings.firstKey);
    bytes[KeybedZoneByte::kLastNote] = low(settings.lastKey);
    bytes[KeybedZoneByte::kOctave] = low(settings.octave + KeybedZoneByte::kOctaveBias);
    bytes[KeybedZoneByte::kTranspose] = low(settings.transpose + KeybedZoneByte::kTransposeBias);
    Variant value;
    value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

KeyRange ClampKeyRange(KeyRange keys)
{
    keys.first = std::min(keys.first, kHighestZoneKey);
    keys.last = std::min(keys.last, kHighestZoneKey);
    keys.first = std::min(keys.first, keys.last);
    return keys;
}

WideString FormatZoneKeys(const WideString& format, const std::vector<WideString>& noteNames,
                          const std::vector<WideString>& octaveNames, KeyRange keys)
{
    constexpr std::int32_t kNotesPerOctave = 12;
    std::vector<std::u16string_view> fields;
    fields.reserve(kZoneKeyFields);
    for (const std::int32_t key : {keys.first, keys.last})
    {
        const bool named = key >= 0;
        fields.push_back(NameAt(noteNames, named ? key % kNotesPerOctave : -1));
        fields.push_back(NameAt(octaveNames, named ? key / kNotesPerOctave : -1));
    }
    const std::optional<std::u16string> text = FillTextFields(ViewOf(format), fields);
    return text ? WideString(text->c_str()) : format;
}

} // namespace QZ
