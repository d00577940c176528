#include "QZFramework/Renderer/FontRenderer/FontNameReader.h"

#include <cstring>
#include <string>

namespace QZ
{
namespace
{

constexpr std::uint32_t kCollectionTag = 0x74746366; // "ttcf"
constexpr std::uint32_t kNameTag = 0x6E616D65;       // "name"
constexpr std::uint32_t kLowerCaseBits = 0x20202020;
constexpr std::uint16_t kPlatformMacintosh = 1;
constexpr std::uint16_t kPlatformWindows = 3;
constexpr std::uint16_t kLanguageMacEnglish = 0;
constexpr std::uint16_t kLanguageUSEnglish = 0x409;
constexpr std::uint16_t kNameFamily = 1;
constexpr std::uint16_t kNameSubfamily = 2;

// Big-endian reads at explicit offsets; each reports whether the bytes were there.
class BigEndianReader
{
public:
    explicit BigEndianReader(IFontFileBytes& bytes) : mBytes(bytes) {}

    bool U16(std::uint64_t offset, std::uint16_t& value)
    {
        unsigned char raw[2];
        if (!mBytes.Read(offset, raw, 2))
        {
            return false;
        }
        value = static_cast<std::uint16_t>((raw[0] << 8) | raw[1]);
        return true;
    }

    bool U32(std::uint64_t offset, std::uint32_t& value)
    {
        unsigned char raw[4];
        if (!mBytes.Read(offset, raw, 4))
        {
            return false;
        }
        value = (std::uint32_t{raw[0]} << 24) | (std::uint32_t{raw[1]} << 16) |
                (std::uint32_t{raw[2]} << 8) | raw[3];
        return true;
    }

    bool Bytes(std::uint64_t offset, std::string& out, std::uint32_t count)
    {
        out.resize(count);
        return count == 0 || mBytes.Read(offset, out.data(), count);
    }

    std::uint64_t GetSize() const { return mBytes.GetSize(); }

private:
    IFontFileBytes& mBytes;
};

// The offsets of the fonts in the file: those of a collection's header, or 0 for one font. None
// when a collection claims more fonts than its file can list.
std::vector<std::uint32_t> ReadFontOffsets(BigEndianReader& reader)
{
    std::uint32_t tag = 0;
    std::uint32_t count = 0;
    if (!reader.U32(0, tag))
    {
        return {};
    }
    if (tag != kCollectionTag)
    {
        return {0};
    }
    if (!reader.U32(8, count) || 12 + std::uint64_t{count} * 4 > reader.GetSize())
    {
        return {};
    }
    std::vector<std::uint32_t> offsets(count);
    for (std::uint32_t i = 0; i < count; ++i)
    {
        if (!reader.U32(12 + std::uint64_t{i} * 4, offsets[i]))
        {
            return {};
        }
    }
    return offsets;
}

// The offset of the font's "name" table (its tag compared without case); false when it has none.
bool FindNameTable(BigEndianReader& reader, std::uint32_t fontOffset, std::uint32_t& tableOffset)
{
    std::uint16_t tableCount = 0;
    if (!reader.U16(std::uint64_t{fontOffset} + 4, tableCount))
    {
        return false;
    }
    for (std::uint32_t i = 0; i < tableCount; ++i)
    {
        const std::uint64_t record = std::uint64_t{fontOffset} + 12 + std::uint64_t{i} * 16;
        std::uint32_t tag = 0;
        if (!reader.U32(record, tag))
        {
            return false;
        }
        if ((tag | kLowerCaseBits) == kNameTag)
        {
            return reader.U32(record + 8, tableOffset);
        }
    }
    return false;
}

WideString DecodeName(std::uint16_t platform, const std::string& raw)
{
    if (platform == kPlatformMacintosh)
    {
        return WideString(raw.c_str());
    }
    std::u16string units(raw.size() / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i)
    {
        units[i] = static_cast<char16_t>((static_cast<unsigned char>(raw[2 * i]) << 8) |
                                         static_cast<unsigned char>(raw[2 * i + 1]));
    }
    return WideString(units.c_str());
}

struct NameRecord
{
    std::uint16_t platform = 0;
    std::uint16_t language = 0;
    std::uint16_t nameID = 0;
    std::uint16_t length = 0;
    std::uint16_t offset = 0;
};

bool ReadNameRecord(BigEndianReader& reader, std::uint64_t at, NameRecord& record)
{
    return reader.U16(at, record.platform) && reader.U16(at + 4, record.language) &&
           reader.U16(at + 6, record.nameID) && reader.U16(at + 8, record.length) &&
           reader.U16(at + 10, record.offset);
}

bool IsEnglishStyleName(const NameRecord& record)
{
    const bool english =
        (record.platform == kPlatformMacintosh && record.language == kLanguageMacEnglish) ||
        (record.platform == kPlatformWindows && record.language == kLanguageUSEnglish);
    return english && (record.nameID == kNameFamily || record.nameID == kNameSubfamily);
}

void ReadNameTable(BigEndianReader& reader, std::uint32_t tableOffset, std::int32_t faceIndex,
                   std::vector<SFontName>& names)
{
    std::uint16_t recordCount = 0;
    std::uint16_t stringOffset = 0;
    if (!reader.U16(std::uint64_t{tableOffset} + 2, recordCount) ||
        !reader.U16(std::uint64_t{tableOffset} + 4, stringOffset))
    {
        return;
    }
    const std::uint64_t strings = std::uint64_t{tableOffset} + stringOffset;
    SFontName taken;
    taken.faceIndex = faceIndex;
    std::string raw;
    for (std::uint32_t i = 0; i < recordCount; ++i)
    {
        NameRecord record;
        if (!ReadNameRecord(reader, std::uint64_t{tableOffset} + 6 + std::uint64_t{i} * 12, record))
        {
            return;
        }
        if (!IsEnglishStyleName(record) ||
            !reader.Bytes(strings + record.offset, raw, record.length))
        {
            continue;
        }
        const WideString text = DecodeName(record.platform, raw);
        if (text.IsEmpty())
        {
            continue;
        }
        if (record.nameID == kNameFamily && taken.family.IsEmpty())
        {
            taken.family = text;
        }
        else if (record.nameID == kNameSubfamily && taken.subfamily.IsEmpty())
        {
            taken.subfamily = text.ToLower();
        }
        if (!taken.family.IsEmpty() && !taken.subfamily.IsEmpty())
        {
            names.push_back(taken);
            taken.family.Clear();
            taken.subfamily.Clear();
        }
    }
}

} // namespace

bool MemoryFontFileBytes::Read(std::uint64_t offset, void* out, std::uint32_t count)
{
    if (offset > mSize || count > mSize - offset)
    {
        return false;
    }
    std::memcpy(out, static_cast<const unsigned char*>(mData) + offset, count);
    return true;
}

std::vector<SFontName> ReadFontNames(IFontFileBytes& bytes)
{
    BigEndianReader reader(bytes);
    std::vector<SFontName> names;
    const std::vector<std::uint32_t> offsets = ReadFontOffsets(reader);
    for (std::size_t face = 0; face < offsets.size(); ++face)
    {
        std::uint32_t tableOffset = 0;
        if (FindNameTable(reader, offsets[face], tableOffset))
        {
            ReadNameTable(reader, tableOffset, static_cast<std::int32_t>(face), names);
        }
    }
    return names;
}

} // namespace QZ
