#include "FontFolder.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include <stdlib.h>

namespace QZTest
{
namespace
{

std::uint32_t GetU32(const std::string& bytes, std::size_t at)
{
    return (std::uint32_t{static_cast<unsigned char>(bytes[at])} << 24) |
           (std::uint32_t{static_cast<unsigned char>(bytes[at + 1])} << 16) |
           (std::uint32_t{static_cast<unsigned char>(bytes[at + 2])} << 8) |
           static_cast<unsigned char>(bytes[at + 3]);
}

void PutU32(std::string& bytes, std::size_t at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
    {
        bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value >> (24 - 8 * i));
    }
}

} // namespace

FontFolder::FontFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "qz-fonts-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr)
    {
        throw std::runtime_error("FontFolder: cannot make a temporary folder");
    }
    mPath = pattern;
}

FontFolder::~FontFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(mPath, ignored);
}

std::string FontFolder::ReadDejaVu(const std::string& name)
{
    std::ifstream in(std::string(QZ_DEJAVU_FONTS) + "/" + name, std::ios::binary);
    if (!in)
    {
        throw std::runtime_error("FontFolder: no installed font " + name);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void FontFolder::CopyDejaVu(const std::string& name)
{
    Write(name, ReadDejaVu(name));
}

void FontFolder::Write(const std::string& name, const std::string& bytes)
{
    std::ofstream out(mPath + "/" + name, std::ios::binary);
    out << bytes;
}

// Header "ttcf", version 1.0, the font count and offsets; then each font, 4-byte aligned, with
// its table offsets moved by where it now starts.
std::string FontFolder::MakeCollection(const std::vector<std::string>& fonts)
{
    std::string collection(12 + 4 * fonts.size(), '\0');
    PutU32(collection, 0, 0x74746366);
    PutU32(collection, 4, 0x00010000);
    PutU32(collection, 8, static_cast<std::uint32_t>(fonts.size()));
    for (std::size_t i = 0; i < fonts.size(); ++i)
    {
        collection.resize((collection.size() + 3) & ~std::size_t{3}, '\0');
        const auto base = static_cast<std::uint32_t>(collection.size());
        std::string font = fonts[i];
        const std::uint32_t tables = GetU32(font, 4) >> 16;
        for (std::uint32_t t = 0; t < tables; ++t)
        {
            const std::size_t offsetField = 12 + 16 * t + 8;
            PutU32(font, offsetField, GetU32(font, offsetField) + base);
        }
        PutU32(collection, 12 + 4 * i, base);
        collection += font;
    }
    return collection;
}

} // namespace QZTest
