#include "UI/DriverCommon/PresetFileReader.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "QZFramework/Utilities/Storage/QZFile.h"
#include "UI/DriverCommon/PresetRecord.h"

#include <cerrno>
#include <cstring>
#include <exception>
#include <string_view>
#include <utility>

namespace QZ
{
namespace
{

const Variant& EmptyValue()
{
    static const Variant empty;
    return empty;
}

std::string FirstDetail(std::string_view text)
{
    constexpr std::string_view kSeparator = " : ";
    const std::size_t start = text.find(kSeparator);
    if (start == std::string_view::npos)
    {
        return std::string(text);
    }
    text.remove_prefix(start + kSeparator.size());
    return std::string(text.substr(0, text.find(kSeparator)));
}

// Reads the whole file into image: 0, kPresetFileCorrupt when it is larger than any preset file
// or its length changes while it is read, kPresetFileUnreadable with the system's reason when it
// cannot be opened or read.
std::int32_t ReadWholeFile(const WideString& path, IBuffer& image, std::string& reason)
{
    errno = 0;
    try
    {
        File file(path, WideString(), File::ModeRead);
        const std::uint32_t length = file.GetLength();
        if (length > kPresetFileMaxSize)
        {
            return kPresetFileCorrupt;
        }
        image.Resize(length);
        if (length != 0 && file.Read(image.GetData(), length, 0) != length)
        {
            return kPresetFileCorrupt;
        }
        unsigned char beyond = 0;
        return file.Read(&beyond, 1, File::CurrentPosition) == 0 ? kPresetFileLoaded
                                                                 : kPresetFileCorrupt;
    }
    catch (const std::exception& failure)
    {
        // A system call that failed left its reason; the file's own checks name theirs in the
        // exception's first detail ("Runtime Error : <reason> : QZ::File::...").
        const int error = errno;
        reason = error != 0 ? std::strerror(error) : FirstDetail(failure.what());
        return kPresetFileUnreadable;
    }
}

} // namespace

PresetFileReader::PresetFileReader(std::int32_t firstParamID) : mFirstParamID(firstParamID) {}

std::int32_t PresetFileReader::ReadFile(const WideString& path)
{
    mValues.clear();
    mReadError.clear();
    PresetScratchBuffer image(0, 0, false);
    const std::int32_t read = ReadWholeFile(path, image, mReadError);
    return read == kPresetFileLoaded ? Parse(image) : read;
}

std::int32_t PresetFileReader::Parse(const IBuffer& image)
{
    mValues.clear();
    if (image.GetSize() < kPresetFileHeaderSize)
    {
        return kPresetFileCorrupt;
    }
    const auto* header = static_cast<const unsigned char*>(image.GetData());
    if (LoadPresetWord(header + kPresetFileDeviceWord1Offset) != 0 ||
        LoadPresetWord(header + kPresetFileDeviceWord2Offset) != 0)
    {
        return kPresetFileWrongDevice;
    }
    const std::uint32_t version = LoadPresetWord(header + kPresetFileVersionOffset);
    if (version > kPresetFileVersion)
    {
        return kPresetFileNewer;
    }
    if (version == 0)
    {
        return kPresetFileOlder;
    }
    std::vector<Variant> values(kPresetParamCount);
    const std::int32_t result = ParseRecords(image, values);
    if (result == kPresetFileLoaded)
    {
        mValues = std::move(values);
    }
    return result;
}

const Variant& PresetFileReader::GetValue(std::uint32_t position) const
{
    return position < mValues.size() ? mValues[position] : EmptyValue();
}

std::int32_t PresetFileReader::ParseRecords(const IBuffer& image,
                                            std::vector<Variant>& values) const
{
    const std::uint32_t size = image.GetSize();
    const auto* bytes = static_cast<const unsigned char*>(image.GetData());
    std::uint32_t offset = kPresetFileHeaderSize;
    Variant value;
    while (offset < size)
    {
        const std::uint32_t remaining = size - offset;
        if (remaining < 4)
        {
            return kPresetFileCorrupt;
        }
        const std::uint32_t length = LoadPresetWord(bytes + offset);
        std::uint32_t index = 0;
        std::uint32_t reserved = 0;
        if (length < 4 || length > remaining ||
            Failed(UnpackPresetRecord(image, offset, index, value, reserved)))
        {
            return kPresetFileCorrupt;
        }
        const auto paramID = static_cast<std::int32_t>(index);
        const std::uint32_t valueSize = GetPresetParamValueSize(paramID, mFirstParamID);
        if (valueSize != 0)
        {
            std::uint32_t dataSize = 0;
            value.GetData(dataSize);
            if (value.GetType() != Variant::TagBytes || dataSize != valueSize)
            {
                return kPresetFileCorrupt;
            }
            values[static_cast<std::size_t>(static_cast<std::int64_t>(paramID) - mFirstParamID)] =
                std::move(value);
        }
        offset += length;
    }
    return kPresetFileLoaded;
}

} // namespace QZ
