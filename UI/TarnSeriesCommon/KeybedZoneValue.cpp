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

std::optional<KeybedZoneSettings> DecodeKeybedZone(const Array<signed char>& bytes)
{
    if (bytes.GetCount() != static_cast<std::int32_t>(KeybedZoneByte::kSize))
    {
        return std::nullopt;
    }
    const auto at = [&bytes](std::size_t index)
    { return static_cast<std::int32_t>(bytes.GetAt(static_cast<std::int32_t>(index))); };
    KeybedZoneSettings settings;
    settings.enabled = at(KeybedZoneByte::kEnabled);
    settings.channel = at(KeybedZoneByte::kChannel);
    settings.program = at(KeybedZoneByte::kProgram);
    settings.bankMSB = at(KeybedZoneByte::kBankMSB);
    settings.bankLSB = at(KeybedZoneByte::kBankLSB);
    settings.firstKey = at(KeybedZoneByte::kFirstNote);
    settings.lastKey = at(KeybedZoneByte::kLastNote);
    settings.octave = at(KeybedZoneByte::kOctave) - KeybedZoneByte::kOctaveBias;
    settings.transpose = at(KeybedZoneByte::kTranspose) - KeybedZoneByte::kTransposeBias;
    return settings;
}

Array<signed char> EncodeKeybedZone(const KeybedZoneSettings& settings)
{
    Array<signed char> bytes(static_cast<std::int32_t>(KeybedZoneByte::kSize));
    const auto put = [&bytes](std::size_t index, std::int32_t field)
    {
        bytes.GetAt(static_cast<std::int32_t>(index)) =
            static_cast<signed char>(static_cast<std::uint8_t>(field & 0xFF));
    };
    put(KeybedZoneByte::kEnabled, settings.enabled);
    put(KeybedZoneByte::kChannel, settings.channel);
    put(KeybedZoneByte::kProgram, settings.program);
    put(KeybedZoneByte::kBankMSB, settings.bankMSB);
    put(KeybedZoneByte::kBankLSB, settings.bankLSB);
    put(KeybedZoneByte::kFirstNote, settings.firstKey);
    put(KeybedZoneByte::kLastNote, settings.lastKey);
    put(KeybedZoneByte::kOctave, settings.octave + KeybedZoneByte::kOctaveBias);
    put(KeybedZoneByte::kTranspose, settings.transpose + KeybedZoneByte::kTransposeBias);
    return bytes;
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
