// Shared by the preset-file tests: the documented value sizes, test values, preset file images
// built by hand from the documented layout, and scratch folders.
#pragma once

#include "QZFramework/Utilities/Storage/StringT.h"
#include "QZFramework/Utilities/Storage/tests/FileSystemTestSupport.h"
#include "QZFramework/Utilities/Storage/Variant.h"

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <vector>

namespace QZ::PresetTest
{

namespace fs = std::filesystem;

using Bytes = std::vector<std::uint8_t>;

inline constexpr std::uint32_t kParamCount = 131;
// 12 + 131 × 24 + 1,338.
inline constexpr std::uint32_t kWrittenFileSize = 4494;

// A tag-8 value of the documented size of parameter position (preset name 6, keybed zones 9,
// wheels 5, pedals 6, pads 14, push buttons 17, faders 6, encoders 6, touch-pad axes 15; written
// out here so that expectations do not come from the code under test) whose bytes depend on
// position and seed, so that values of different positions and seeds differ.
[[nodiscard]] Variant MakeValue(std::uint32_t position, std::uint8_t seed);
[[nodiscard]] Bytes ValueBytes(std::uint32_t position, std::uint8_t seed);

// A preset file image, appended to word by word.
class FileImage
{
public:
    FileImage& Word(std::uint32_t word);
    FileImage& Append(const Bytes& bytes);
    FileImage& Header(std::uint32_t version, std::uint32_t device1, std::uint32_t device2);
    // A parameter record around a value record: length 24 + n, reserved, index, 12 + n, 0, tag,
    // payload.
    FileImage& Record(std::uint32_t index, std::uint32_t tag, const Bytes& payload,
                      std::uint32_t reserved = 0);
    const Bytes& Get() const { return mBytes; }

private:
    Bytes mBytes;
};

// The image of the file the system writes for MakeValue(position, seed) of all 131 parameters.
[[nodiscard]] Bytes GoldenPreset(std::uint8_t seed);

// A scratch folder of the preset tests.
class ScratchFolder : public FileSystemTest::ScratchFolder
{
public:
    ScratchFolder() : FileSystemTest::ScratchFolder("qz-presets") {}
};

using FileSystemTest::UnprivilegedFileAccess;

[[nodiscard]] WideString Wide(const fs::path& path);
void WriteFileBytes(const fs::path& path, const Bytes& bytes);
[[nodiscard]] Bytes ReadFileBytes(const fs::path& path);

} // namespace QZ::PresetTest
