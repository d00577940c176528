// Name and zone values come from preset files and the keyboard, and the zone's key-range format
// from a translated string table. The first byte picks what the rest is: a name value, whose
// text must hold only name characters and encode back to a value showing the same text (upper-
// cased, as every name sent is); a zone
// value, which must write back byte for byte; or a format in UTF-16 with two keys, which must
// fill or stay as it is without reading past anything.
#include "UI/TarnSeriesCommon/KeybedZoneValue.h"
#include "UI/TarnSeriesCommon/PresetNameValue.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{

QZ::Variant MakeValue(const std::uint8_t* data, std::size_t size)
{
    QZ::Variant value;
    static_cast<void>(value.SetBytes(data, static_cast<std::uint32_t>(size)));
    return value;
}

void CheckName(const std::uint8_t* data, std::size_t size)
{
    const std::optional<std::u16string> text = QZ::DecodePresetName(MakeValue(data, size));
    if (!text)
    {
        return;
    }
    std::u16string upper;
    for (const char16_t unit : *text)
    {
        if (!QZ::IsPresetNameCharacter(unit))
        {
            std::abort();
        }
        upper.push_back(unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - 0x20) : unit);
    }
    const QZ::PresetNameBytes bytes = QZ::EncodePresetName(*text);
    const std::optional<std::u16string> again =
        QZ::DecodePresetName(QZ::MakePresetNameValue(bytes));
    if (text->size() > QZ::kPresetNameLength || !again || *again != upper)
    {
        std::abort();
    }
}

void CheckZone(const std::uint8_t* data, std::size_t size)
{
    QZ::Array<signed char> bytes(static_cast<std::int32_t>(size));
    if (size != 0)
    {
        std::memcpy(&bytes.GetAt(0), data, size);
    }
    const std::optional<QZ::KeybedZoneSettings> settings = QZ::DecodeKeybedZone(bytes);
    if (!settings)
    {
        return;
    }
    const QZ::Array<signed char> written = QZ::EncodeKeybedZone(*settings);
    for (std::int32_t k = 0; k < bytes.GetCount(); ++k)
    {
        if (written.GetCount() != bytes.GetCount() || written.GetAt(k) != bytes.GetAt(k))
        {
            std::abort();
        }
    }
}

void CheckFormat(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
    {
        return;
    }
    const QZ::KeyRange keys{static_cast<std::int8_t>(data[0]), static_cast<std::int8_t>(data[1])};
    std::u16string format;
    for (std::size_t i = 2; i + 1 < size; i += 2)
    {
        const auto unit = static_cast<char16_t>(data[i] | (data[i + 1] << 8));
        format.push_back(unit == 0 ? u' ' : unit);
    }
    const std::vector<QZ::WideString> names{QZ::WideString(u"C"), QZ::WideString(u"(1)")};
    static_cast<void>(QZ::FormatZoneKeys(QZ::WideString(format.c_str()), names, names, keys));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0)
    {
        return 0;
    }
    switch (data[0] % 3)
    {
    case 0:
        CheckName(data + 1, size - 1);
        break;
    case 1:
        CheckZone(data + 1, size - 1);
        break;
    default:
        CheckFormat(data + 1, size - 1);
        break;
    }
    return 0;
}
