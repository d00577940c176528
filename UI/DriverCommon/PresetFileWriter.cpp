#include "UI/DriverCommon/PresetFileWriter.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"

#include <cstring>

namespace QZ
{

PresetFileWriter::PresetFileWriter(AtomicFileWriter& file, std::int32_t firstParamID)
    : mFile(file), mFirstParamID(firstParamID)
{
}

QZRESULT PresetFileWriter::Begin(const WideString& path)
{
    mNextIndex = 0;
    if (Failed(mFile.Begin(path)))
    {
        return E_FAIL;
    }
    mImage.Resize(kPresetFileHeaderSize);
    auto* header = static_cast<unsigned char*>(mImage.GetData());
    StorePresetWord(header + kPresetFileVersionOffset, kPresetFileVersion);
    StorePresetWord(header + kPresetFileDeviceWord1Offset, 0);
    StorePresetWord(header + kPresetFileDeviceWord2Offset, 0);
    return S_OK;
}

QZRESULT PresetFileWriter::WriteRecord(const Variant& value)
{
    if (!mFile.IsWriting() || mNextIndex >= kPresetParamCount || !FitsNextParameter(value) ||
        Failed(PackPresetRecord(mNextIndex, value, mRecord)))
    {
        return Fail();
    }
    const std::uint32_t end = mImage.GetSize();
    mImage.Resize(end + mRecord.GetSize());
    std::memcpy(static_cast<char*>(mImage.GetData()) + end, mRecord.GetData(), mRecord.GetSize());
    ++mNextIndex;
    return S_OK;
}

QZRESULT PresetFileWriter::Commit()
{
    if (mNextIndex != kPresetParamCount || Failed(mFile.Write(mImage.GetData(), mImage.GetSize())))
    {
        return Fail();
    }
    return mFile.Commit();
}

bool PresetFileWriter::FitsNextParameter(const Variant& value) const
{
    const std::int64_t paramID = static_cast<std::int64_t>(mFirstParamID) + mNextIndex;
    if (paramID > INT32_MAX)
    {
        return false;
    }
    std::uint32_t size = 0;
    value.GetData(size);
    return value.GetType() == Variant::TagBytes &&
           size == GetPresetParamValueSize(static_cast<std::int32_t>(paramID), mFirstParamID);
}

QZRESULT PresetFileWriter::Fail()
{
    mFile.Abandon();
    return E_FAIL;
}

} // namespace QZ
