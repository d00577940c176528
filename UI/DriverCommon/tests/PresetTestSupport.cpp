#include "UI/DriverCommon/tests/PresetTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

namespace QZ::PresetTest
{
namespace
{

struct DocumentedRun
{
    std::uint32_t count;
    std::uint32_t size;
};

// In identifier order: preset name, keybed zones, wheels, volume and sustain pedal, pads, push
// buttons, faders, encoders, touch-pad axes.
constexpr DocumentedRun kRuns[] = {{1, 6},   {4, 9},   {2, 5},  {1, 6},  {1, 6},
                                   {16, 14}, {36, 17}, {36, 6}, {32, 6}, {2, 15}};

std::uint32_t DocumentedValueSize(std::uint32_t position)
{
    for (const DocumentedRun& run : kRuns)
    {
        if (position < run.count)
        {
            return run.size;
        }
        position -= run.count;
    }
    return 0;
}

} // namespace

Bytes ValueBytes(std::uint32_t position, std::uint8_t seed)
{
    Bytes bytes(DocumentedValueSize(position));
    for (std::size_t i = 0; i < bytes.size(); ++i)
    {
        bytes[i] = static_cast<std::uint8_t>(position * 7 + i * 13 + seed);
    }
    return bytes;
}

Variant MakeValue(std::uint32_t position, std::uint8_t seed)
{
    const Bytes bytes = ValueBytes(position, seed);
    Variant value;
    value.SetBytes(bytes.data(), static_cast<std::uint32_t>(bytes.size()));
    return value;
}

FileImage& FileImage::Word(std::uint32_t word)
{
    for (int shift = 0; shift < 32; shift += 8)
    {
        mBytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
    return *this;
}

FileImage& FileImage::Append(const Bytes& bytes)
{
    mBytes.insert(mBytes.end(), bytes.begin(), bytes.end());
    return *this;
}

FileImage& FileImage::Header(std::uint32_t version, std::uint32_t device1, std::uint32_t device2)
{
    return Word(version).Word(device1).Word(device2);
}

FileImage& FileImage::Record(std::uint32_t index, std::uint32_t tag, const Bytes& payload,
                             std::uint32_t reserved)
{
    const auto n = static_cast<std::uint32_t>(payload.size());
    return Word(24 + n).Word(reserved).Word(index).Word(12 + n).Word(0).Word(tag).Append(payload);
}

Bytes GoldenPreset(std::uint8_t seed)
{
    FileImage image;
    image.Header(1, 0, 0);
    for (std::uint32_t position = 0; position < kParamCount; ++position)
    {
        image.Record(position, 8, ValueBytes(position, seed));
    }
    return image.Get();
}

WideString Wide(const fs::path& path)
{
    return FileNameToWideString(path.c_str());
}

void WriteFileBytes(const fs::path& path, const Bytes& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file)
    {
        throw std::runtime_error("WriteFileBytes: cannot write " + path.string());
    }
}

Bytes ReadFileBytes(const fs::path& path)
{
    std::ifstream file(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace QZ::PresetTest
