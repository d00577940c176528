#include "UI/DriverCommon/PresetFileWriter.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"

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
    unsigned char header[kPresetFileHeaderSize];
    StorePresetWord(header + kPresetFileVersionOffset, kPresetFileVersion);
    StorePresetWord(header + kPresetFileDeviceWord1Offset, 0);
    StorePresetWord(header + kPresetFileDeviceWord2Offset, 0);
    return mFile.Write(header, sizeof(header));
}

QZRESULT PresetFileWriter::WriteRecord(const Variant& value)
{
    if (!mFile.IsWriting() || mNextIndex >= kPresetParamCount || !FitsNextParameter(value) ||
        Failed(PackPresetRecord(mNextIndex, value, mRecord)) ||
        Failed(mFile.Write(mRecord.GetData(), mRecord.GetSize())))
    {
        return Fail();
    }
    ++mNextIndex;
    return S_OK;
}

QZRESULT PresetFileWriter::Commit()
{
    if (mNextIndex != kPresetParamCount)
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
