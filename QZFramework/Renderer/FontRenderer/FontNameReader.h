// Reads which family and style a TrueType font file (or each font of a TrueType collection)
// holds, from the English names of its "name" table.
//
// Only the file header, the table directory and the name records are read, at explicit offsets.
// Every count and offset comes from the file and is checked against its size: a damaged file
// gives fewer names, never a read outside it.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>
#include <vector>

namespace QZ
{

// The bytes of one font file.
class IFontFileBytes
{
public:
    virtual ~IFontFileBytes() = default;
    [[nodiscard]] virtual std::uint64_t GetSize() const = 0;
    // Reads count bytes at offset; false when they are not all there.
    [[nodiscard]] virtual bool Read(std::uint64_t offset, void* out, std::uint32_t count) = 0;
};

// Font bytes held in memory.
class MemoryFontFileBytes : public IFontFileBytes
{
public:
    MemoryFontFileBytes(const void* data, std::uint64_t size) : mData(data), mSize(size) {}
    [[nodiscard]] std::uint64_t GetSize() const override { return mSize; }
    [[nodiscard]] bool Read(std::uint64_t offset, void* out, std::uint32_t count) override;

private:
    const void* mData;
    std::uint64_t mSize;
};

struct SFontName
{
    // Name id 1, exactly as stored.
    WideString family;
    // Name id 2, lower-cased ("regular", "bold italic", ...).
    WideString subfamily;
    // The font's position in a collection; 0 for a single font.
    std::int32_t faceIndex = 0;
};

// The family and subfamily pairs of every font in the file, in file order: one pair each time a
// name table has given both a family and a subfamily among its Macintosh names (language 0) and
// Windows names (US English), so a table with both kinds gives its pair twice.
[[nodiscard]] std::vector<SFontName> ReadFontNames(IFontFileBytes& bytes);

} // namespace QZ
