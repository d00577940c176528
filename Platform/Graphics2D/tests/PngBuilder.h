// Builds PNG files for tests by the format's own layout: the signature, an IHDR chunk, the image
// rows (filter byte 0 before each) in a zlib stream of stored deflate blocks, and IEND; every
// chunk carries its CRC-32. Tests make exact images with it, and damaged ones by changing bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace QZ::Graphics2D::Testing
{

inline std::uint32_t Crc32(const std::uint8_t* bytes, std::size_t size, std::uint32_t crc = 0)
{
    crc = ~crc;
    for (std::size_t i = 0; i < size; ++i)
    {
        crc ^= bytes[i];
        for (int bit = 0; bit < 8; ++bit)
        {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

inline void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

inline void PutChunk(std::vector<std::uint8_t>& out, const std::string& type,
                     const std::vector<std::uint8_t>& data)
{
    PutBigEndian32(out, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type.begin(), type.end());
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    PutBigEndian32(out, Crc32(typed.data(), typed.size()));
}

// A zlib stream holding the bytes in stored (uncompressed) deflate blocks.
inline std::vector<std::uint8_t> StoredZlib(const std::vector<std::uint8_t>& bytes)
{
    std::vector<std::uint8_t> out = {0x78, 0x01};
    std::size_t offset = 0;
    do
    {
        const std::size_t length = std::min<std::size_t>(bytes.size() - offset, 65535);
        const bool last = offset + length == bytes.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<std::uint8_t>(length));
        out.push_back(static_cast<std::uint8_t>(length >> 8));
        out.push_back(static_cast<std::uint8_t>(~length));
        out.push_back(static_cast<std::uint8_t>(~length >> 8));
        out.insert(out.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                   bytes.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < bytes.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (std::uint8_t byte : bytes)
    {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian32(out, (b << 16) | a);
    return out;
}

// colourType: 0 grey, 2 RGB, 4 grey + alpha, 6 RGBA; 8 bits per sample; rows are the raw samples
// of each row, one after another.
inline std::vector<std::uint8_t> BuildPng(std::uint32_t width, std::uint32_t height,
                                          std::uint8_t colourType,
                                          const std::vector<std::uint8_t>& rows)
{
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian32(header, width);
    PutBigEndian32(header, height);
    header.insert(header.end(), {8, colourType, 0, 0, 0});
    PutChunk(png, "IHDR", header);
    const std::size_t rowBytes = height == 0 ? 0 : rows.size() / height;
    std::vector<std::uint8_t> filtered;
    for (std::uint32_t y = 0; y < height; ++y)
    {
        filtered.push_back(0);
        filtered.insert(filtered.end(), rows.begin() + static_cast<std::ptrdiff_t>(y * rowBytes),
                        rows.begin() + static_cast<std::ptrdiff_t>((y + 1) * rowBytes));
    }
    PutChunk(png, "IDAT", StoredZlib(filtered));
    PutChunk(png, "IEND", {});
    return png;
}

// An RGBA PNG of straight 0xAARRGGBB pixels, rows top down.
inline std::vector<std::uint8_t> BuildRgbaPng(std::uint32_t width, std::uint32_t height,
                                              const std::vector<std::uint32_t>& argb)
{
    std::vector<std::uint8_t> samples;
    for (std::uint32_t pixel : argb)
    {
        samples.insert(samples.end(),
                       {static_cast<std::uint8_t>(pixel >> 16),
                        static_cast<std::uint8_t>(pixel >> 8), static_cast<std::uint8_t>(pixel),
                        static_cast<std::uint8_t>(pixel >> 24)});
    }
    return BuildPng(width, height, 6, samples);
}

} // namespace QZ::Graphics2D::Testing
