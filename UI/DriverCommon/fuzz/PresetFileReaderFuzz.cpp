// Feeds arbitrary bytes to the preset-file reader as a file image, and to the record parser at
// an offset taken from the input. Aborts when a refused file still offers values, when an
// accepted one offers a value that does not fit its parameter, or when an accepted value does
// not survive being packed and parsed again.
#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "UI/DriverCommon/PresetFileReader.h"
#include "UI/DriverCommon/PresetRecord.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace
{

// Larger inputs add nothing the framing checks have not seen.
constexpr std::size_t kMaxInput = 1 << 16;

void CheckReader(const QZ::IBuffer& image)
{
    QZ::PresetFileReader reader(0);
    const std::int32_t result = reader.Parse(image);
    if (result > QZ::kPresetFileLoaded || result < QZ::kPresetFileWrongDevice)
    {
        std::abort();
    }
    QZ::PresetScratchBuffer record(0, 0, false);
    for (std::uint32_t position = 0; position < kPresetParamCount; ++position)
    {
        const QZ::Variant& value = reader.GetValue(position);
        if (value.GetType() == QZ::Variant::TagEmpty)
        {
            continue;
        }
        std::uint32_t size = 0;
        value.GetData(size);
        if (result != QZ::kPresetFileLoaded || value.GetType() != QZ::Variant::TagBytes ||
            size != GetPresetParamValueSize(static_cast<std::int32_t>(position)))
        {
            std::abort();
        }
        std::uint32_t index = 0;
        std::uint32_t reserved = 0;
        QZ::Variant again;
        const auto length = static_cast<QZ::QZRESULT>(24 + size);
        if (QZ::PackPresetRecord(position, value, record) != length ||
            QZ::UnpackPresetRecord(record, 0, index, again, reserved) != length ||
            index != position || !(again == value))
        {
            std::abort();
        }
    }
}

void CheckRecordParser(const QZ::IBuffer& image, const std::uint8_t* data, std::size_t size)
{
    const std::uint32_t offset = size == 0 ? 0 : data[0] % (size + 1);
    std::uint32_t index = 0;
    std::uint32_t reserved = 0;
    QZ::Variant value;
    const QZ::QZRESULT length = QZ::UnpackPresetRecord(image, offset, index, value, reserved);
    if (QZ::Succeeded(length) &&
        (length < 16 ||
         static_cast<std::uint64_t>(offset) + static_cast<std::uint32_t>(length) > image.GetSize()))
    {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > kMaxInput)
    {
        return 0;
    }
    QZ::PresetScratchBuffer image(0, 0, false);
    image.Resize(static_cast<std::uint32_t>(size));
    if (size != 0)
    {
        std::memcpy(image.GetData(), data, size);
    }
    CheckReader(image);
    CheckRecordParser(image, data, size);
    return 0;
}
