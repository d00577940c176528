// A mutator that keeps mutated PNG files past their checksums, so that the fuzzer reaches the
// decoder rather than its checksum tests: either the inflated image data is mutated and deflated
// again, or the file's bytes are mutated and every whole chunk's CRC is then written afresh.
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <random>
#include <string>
#include <vector>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace
{

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kSignatureLength = 8;
// Length, type and CRC around a chunk's data.
constexpr std::size_t kChunkFrame = 12;
constexpr std::size_t kMostInflatedBytes = 1 << 20;

struct Chunk
{
    std::string type;
    Bytes data;
};

std::uint32_t ReadBigEndian(const std::uint8_t* bytes)
{
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) |
           (std::uint32_t{bytes[2]} << 8) | bytes[3];
}

void AppendBigEndian(Bytes& out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

// Writes the CRC of every chunk that lies whole within the file.
void RepairChecksums(std::uint8_t* data, std::size_t size)
{
    std::size_t offset = kSignatureLength;
    while (offset + kChunkFrame <= size)
    {
        const std::uint32_t length = ReadBigEndian(data + offset);
        if (length > size - offset - kChunkFrame)
        {
            return;
        }
        const auto crc = static_cast<std::uint32_t>(crc32(0, data + offset + 4, length + 4));
        Bytes encoded;
        AppendBigEndian(encoded, crc);
        std::memcpy(data + offset + 8 + length, encoded.data(), 4);
        offset += kChunkFrame + length;
    }
}

std::optional<std::vector<Chunk>> ReadChunks(const std::uint8_t* data, std::size_t size)
{
    std::vector<Chunk> chunks;
    std::size_t offset = kSignatureLength;
    while (offset + kChunkFrame <= size)
    {
        const std::uint32_t length = ReadBigEndian(data + offset);
        if (length > size - offset - kChunkFrame)
        {
            return std::nullopt;
        }
        const std::uint8_t* body = data + offset + 8;
        chunks.push_back(
            {std::string(data + offset + 4, data + offset + 8), Bytes(body, body + length)});
        offset += kChunkFrame + length;
    }
    return chunks;
}

std::optional<Bytes> Inflate(const Bytes& compressed)
{
    Bytes out(kMostInflatedBytes);
    uLongf length = static_cast<uLongf>(out.size());
    if (uncompress(out.data(), &length, compressed.data(), static_cast<uLong>(compressed.size())) !=
        Z_OK)
    {
        return std::nullopt;
    }
    out.resize(length);
    return out;
}

// The file with its image data inflated, mutated and deflated again into one IDAT chunk; none when
// the file has no whole, inflatable image data or the result would not fit.
std::optional<Bytes> MutateImageData(const std::uint8_t* data, std::size_t size,
                                     std::size_t maxSize)
{
    const std::optional<std::vector<Chunk>> chunks = ReadChunks(data, size);
    if (!chunks)
    {
        return std::nullopt;
    }
    Bytes compressed;
    for (const Chunk& chunk : *chunks)
    {
        if (chunk.type == "IDAT")
        {
            compressed.insert(compressed.end(), chunk.data.begin(), chunk.data.end());
        }
    }
    std::optional<Bytes> raw = Inflate(compressed);
    if (!raw || raw->empty())
    {
        return std::nullopt;
    }
    const std::size_t length = raw->size();
    raw->resize(std::min(kMostInflatedBytes, 2 * length + 64));
    raw->resize(LLVMFuzzerMutate(raw->data(), length, raw->size()));
    Bytes deflated(compressBound(static_cast<uLong>(raw->size())));
    uLongf deflatedLength = static_cast<uLongf>(deflated.size());
    if (compress2(deflated.data(), &deflatedLength, raw->data(), static_cast<uLong>(raw->size()),
                  Z_BEST_SPEED) != Z_OK)
    {
        return std::nullopt;
    }
    deflated.resize(deflatedLength);

    Bytes out(data, data + kSignatureLength);
    bool written = false;
    for (const Chunk& chunk : *chunks)
    {
        if (chunk.type == "IDAT" && written)
        {
            continue;
        }
        const Bytes& body = chunk.type == "IDAT" ? deflated : chunk.data;
        written = written || chunk.type == "IDAT";
        AppendBigEndian(out, static_cast<std::uint32_t>(body.size()));
        out.insert(out.end(), chunk.type.begin(), chunk.type.end());
        out.insert(out.end(), body.begin(), body.end());
        out.insert(out.end(), 4, 0);
    }
    if (out.size() > maxSize)
    {
        return std::nullopt;
    }
    RepairChecksums(out.data(), out.size());
    return out;
}

} // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed)
{
    if (std::minstd_rand(seed)() % 2 == 0)
    {
        if (const std::optional<Bytes> mutated = MutateImageData(data, size, maxSize))
        {
            std::memcpy(data, mutated->data(), mutated->size());
            return mutated->size();
        }
    }
    size = LLVMFuzzerMutate(data, size, maxSize);
    RepairChecksums(data, size);
    return size;
}
