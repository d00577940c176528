#include "Engine/RededoVuvuvaCommon/DeviceControlClientInterface.h"

#include "Platform/DeviceControlClient/PackedRecord.h"
#include "QZFramework/Utilities/Storage/ParamListItem.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstring>
#include <type_traits>
#include <unistd.h>
#include <vector>

namespace QZ
{
namespace
{

// A value packed for one call; IsPacked is false when the value has no record.
class PackedArgument
{
public:
    explicit PackedArgument(const Variant& value)
        : mPacked(Platform::PackRecord(value, mBytes)), mRecord(Platform::ViewRecord(mBytes))
    {
    }
    PackedArgument(const PackedArgument&) = delete;
    PackedArgument& operator=(const PackedArgument&) = delete;

    [[nodiscard]] bool IsPacked() const { return mPacked; }
    [[nodiscard]] const OXLI_Record* Get() const { return &mRecord; }

private:
    std::vector<std::uint8_t> mBytes;
    bool mPacked;
    OXLI_Record mRecord;
};

// A ParamDescriptor as the library takes it.
class PackedDescriptor
{
public:
    explicit PackedDescriptor(const ParamDescriptor& descriptor)
        : mSubKey(descriptor.mSubKey), mDescriptor{descriptor.mParamID, *mSubKey.Get()}
    {
    }

    [[nodiscard]] bool IsPacked() const { return mSubKey.IsPacked(); }
    [[nodiscard]] const OXLI_ParamDescriptor* Get() const { return &mDescriptor; }

private:
    PackedArgument mSubKey;
    OXLI_ParamDescriptor mDescriptor;
};

template <class... Arguments> bool ArePacked(const Arguments&... arguments)
{
    return (arguments.IsPacked() && ...);
}

// The program path is read into a buffer that doubles from the first size up to the last.
constexpr std::size_t kFirstPathBufferSize = 256;
constexpr std::size_t kLongestPath = 1u << 20;

} // namespace

DeviceControlClientInterface::DeviceControlClientInterface(const char16_t* path)
{
    if (path != nullptr)
    {
        Load(StringT<char, char16_t>(path).GetString());
        return;
    }
    const std::optional<std::string> program = GetProgramPath();
    const std::optional<std::string> library =
        program.has_value() ? GetLibraryPathBeside(*program) : std::nullopt;
    if (!library.has_value())
    {
        mLoadError = "DeviceControlClientInterface: the program's folder is unknown";
        return;
    }
    Load(*library);
}

DeviceControlClientInterface::~DeviceControlClientInterface()
{
    if (!mLibrary.IsOpen())
    {
        return;
    }
    static_cast<void>(mEntryPoints.mReleaseAll());
    mEntryPoints = EntryPoints{};
    static_cast<void>(mLibrary.Close());
}

std::optional<std::string>
DeviceControlClientInterface::GetLibraryPathBeside(std::string_view programPath)
{
    const std::size_t slash = programPath.rfind('/');
    if (slash == std::string_view::npos)
    {
        return std::nullopt;
    }
    std::string path(programPath.substr(0, slash + 1));
    path += kLibraryFileName;
    return path;
}

std::optional<std::string> DeviceControlClientInterface::GetProgramPath()
{
    // readlink does not say when it cut the path short, so a result that fills the buffer is read
    // again into a larger one.
    for (std::size_t size = kFirstPathBufferSize; size <= kLongestPath; size *= 2)
    {
        std::string buffer(size, '\0');
        const ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
        {
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) < buffer.size())
        {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
    }
    return std::nullopt;
}

void DeviceControlClientInterface::Load(const std::string& path)
{
    if (!mLibrary.Open(path))
    {
        mLoadError = mLibrary.GetError();
        return;
    }
    if (!ResolveEntryPoints())
    {
        mEntryPoints = EntryPoints{};
        static_cast<void>(mLibrary.Close());
    }
}

bool DeviceControlClientInterface::ResolveEntryPoints()
{
    const auto resolve = [this](auto& entryPoint, const char* name)
    {
        entryPoint = mLibrary.FindFunction<std::remove_reference_t<decltype(entryPoint)>>(name);
        if (entryPoint == nullptr)
        {
            mLoadError = "DeviceControlClientInterface: the library lacks " + std::string(name) +
                         ": " + mLibrary.GetError();
            return false;
        }
        return true;
    };
    EntryPoints& e = mEntryPoints;
    return resolve(e.mFindDevices, "OXLI_FindDevices") &&
           resolve(e.mFindRemoteDevices, "OXLI_FindRemoteDevices") &&
           resolve(e.mConnectDevice, "OXLI_ConnectDevice") &&
           resolve(e.mRequestParamRanges, "OXLI_RequestParamRanges") &&
           resolve(e.mRequestParamValues, "OXLI_RequestParamValues") &&
           resolve(e.mGetParamRanges, "OXLI_GetParamRanges") &&
           resolve(e.mGetParamValues, "OXLI_GetParamValues") &&
           resolve(e.mGetParamValue, "OXLI_GetParamValue") &&
           resolve(e.mSetParamValue, "OXLI_SetParamValue") &&
           resolve(e.mSetParamValues, "OXLI_SetParamValues") &&
           resolve(e.mDisconnectDevice, "OXLI_DisconnectDevice") &&
           resolve(e.mIsDeviceConnected, "OXLI_IsDeviceConnected") &&
           resolve(e.mGetDeviceInfo, "OXLI_GetDeviceInfo") &&
           resolve(e.mReleaseAll, "OXLI_ReleaseAll");
}

std::int32_t DeviceControlClientInterface::FindDevices(std::uint32_t vendorID,
                                                       std::uint32_t productID, std::uint32_t flags)
{
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    return mEntryPoints.mFindDevices(vendorID, productID, flags);
}

std::int32_t DeviceControlClientInterface::FindRemoteDevices(const OXLI_Guid* classes,
                                                             std::uint32_t classCount,
                                                             Variant& result, std::uint32_t kind)
{
    result.Clear();
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    Platform::VariantSink sink(result);
    return mEntryPoints.mFindRemoteDevices(classes, classCount, sink.Get(), kind);
}

std::int32_t DeviceControlClientInterface::ConnectDevice(const Variant& device,
                                                         OXLI_ReceiveCallback callback,
                                                         void* context)
{
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    if (!ArePacked(identifier))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return mEntryPoints.mConnectDevice(identifier.Get(), callback, context);
}

std::int32_t DeviceControlClientInterface::RequestParamRanges(const Variant& device,
                                                              const ParamRanges& ranges)
{
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    const PackedArgument list(ranges);
    if (!ArePacked(identifier, list))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return mEntryPoints.mRequestParamRanges(identifier.Get(), list.Get());
}

std::int32_t DeviceControlClientInterface::RequestParamValues(const Variant& device,
                                                              const ParamDescriptors& descriptors)
{
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    const PackedArgument list(descriptors);
    if (!ArePacked(identifier, list))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return mEntryPoints.mRequestParamValues(identifier.Get(), list.Get());
}

std::int32_t DeviceControlClientInterface::RequestParamValue(const Variant& device,
                                                             const ParamDescriptor& descriptor)
{
    const Variant fields[2] = {MakeInt32Variant(descriptor.mParamID), descriptor.mSubKey};
    Variant item;
    item.SetList(fields, 2);
    ParamDescriptors list;
    list.SetList(&item, 1);
    return RequestParamValues(device, list);
}

std::int32_t DeviceControlClientInterface::GetParamRanges(const Variant& device,
                                                          std::uint32_t flags, Variant& ranges)
{
    ranges.Clear();
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    if (!ArePacked(identifier))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    Platform::VariantSink sink(ranges);
    return mEntryPoints.mGetParamRanges(identifier.Get(), flags, sink.Get());
}

std::int32_t DeviceControlClientInterface::GetParamValues(const Variant& device,
                                                          const ParamDescriptors& descriptors,
                                                          Variant& values)
{
    values.Clear();
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    const PackedArgument list(descriptors);
    if (!ArePacked(identifier, list))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    Platform::VariantSink sink(values);
    return mEntryPoints.mGetParamValues(identifier.Get(), list.Get(), sink.Get());
}

std::int32_t DeviceControlClientInterface::GetParamValue(const Variant& device,
                                                         const ParamDescriptor& descriptor,
                                                         Variant& value)
{
    value.Clear();
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    const PackedDescriptor packed(descriptor);
    if (!ArePacked(identifier, packed))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    Platform::VariantSink sink(value);
    return mEntryPoints.mGetParamValue(identifier.Get(), packed.Get(), sink.Get());
}

std::int32_t DeviceControlClientInterface::SetParamValue(const Variant& device,
                                                         const ParamDescriptor& descriptor,
                                                         const Variant& value)
{
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    const PackedDescriptor packed(descriptor);
    const PackedArgument newValue(value);
    if (!ArePacked(identifier, packed, newValue))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return mEntryPoints.mSetParamValue(identifier.Get(), packed.Get(), newValue.Get());
}

std::int32_t DeviceControlClientInterface::SetParamValues(const Variant& device,
                                                          const Variant& values)
{
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    const PackedArgument list(values);
    if (!ArePacked(identifier, list))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return mEntryPoints.mSetParamValues(identifier.Get(), list.Get());
}

bool DeviceControlClientInterface::IsDeviceConnected(const Variant& device)
{
    if (!IsLoaded())
    {
        return false;
    }
    const PackedArgument identifier(device);
    return ArePacked(identifier) && mEntryPoints.mIsDeviceConnected(identifier.Get()) == 0;
}

std::int32_t DeviceControlClientInterface::DisconnectDevice(const Variant& device)
{
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    if (!ArePacked(identifier))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return mEntryPoints.mDisconnectDevice(identifier.Get());
}

std::int32_t DeviceControlClientInterface::GetDeviceInfo(const Variant& device,
                                                         OXLI_DeviceInfo& info)
{
    std::memset(info.bytes, 0, sizeof(info.bytes));
    if (!IsLoaded())
    {
        return kLibraryAbsent;
    }
    const PackedArgument identifier(device);
    if (!ArePacked(identifier))
    {
        return OXLI_RESULT_BAD_ARGUMENT;
    }
    return mEntryPoints.mGetDeviceInfo(identifier.Get(), &info);
}

} // namespace QZ
