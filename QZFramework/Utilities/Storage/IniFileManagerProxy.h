// The settings store's road to libIniFileManager.so: loads it with dlopen, resolves its 15 entry
// points and converts the framework's UTF-16 strings to the library's UTF-8 and back.
//
// A library that lacks any entry point is unloaded again and counts as not loaded, so no call
// ever goes through a missing entry point. Texts come back through a 1024-byte buffer, or through
// a second call with the size the library asks for (at most 1 MiB); a text is read only from a
// call that succeeded, and always within its buffer. Load failures, with the system's text, go
// to the narrow debug stream.
#pragma once

#include "Platform/DynamicLibrary/DynamicLibrary.h"
#include "Platform/Settings/IniFileManagerLibrary.h"
#include "QZFramework/Utilities/Storage/IIniFileManager.h"

#include <string>

namespace QZ
{

class CIniFileManagerProxy : public IIniFileManager
{
public:
    static constexpr const char* LibraryFileName = "libIniFileManager.so";
    // Bytes of the first text buffer.
    static constexpr std::int32_t TextBufferSize = 1024;
    // The largest text buffer the library may ask for.
    static constexpr std::int32_t MaxTextBufferSize = 1024 * 1024;

    CIniFileManagerProxy() = default;
    CIniFileManagerProxy(const CIniFileManagerProxy&) = delete;
    CIniFileManagerProxy& operator=(const CIniFileManagerProxy&) = delete;
    // Unloads the library when it is still loaded.
    virtual ~CIniFileManagerProxy();

    QZRESULT Initialize(const WideString& folder) override;
    QZRESULT Uninitialize() override;
    QZRESULT OpenIniFile(const WideString& path, const WideString& version,
                         const WideString& product, std::int32_t& handle) override;
    QZRESULT WriteIniFile(std::int32_t handle) override;
    bool DoesNodeExist(std::int32_t handle, const WideString& node) override;
    QZRESULT CloseIniFile(std::int32_t handle, std::int32_t flag) override;
    QZRESULT GetIniValueInt(std::int32_t handle, const WideString& node, std::int32_t defaultValue,
                            std::int32_t& value) override;
    QZRESULT SetIniValueInt(std::int32_t handle, const WideString& node,
                            std::int32_t value) override;
    QZRESULT GetIniValueStr(std::int32_t handle, const WideString& node,
                            const WideString& defaultText, WideString& text) override;
    QZRESULT SetIniValueStr(std::int32_t handle, const WideString& node,
                            const WideString& text) override;
    QZRESULT GetKeyCount(std::int32_t handle, const WideString& node, std::int32_t& count) override;
    QZRESULT GetKeyNameAt(std::int32_t handle, const WideString& node, std::int32_t index,
                          WideString& name) override;
    QZRESULT GetArrayCount(std::int32_t handle, const WideString& node,
                           std::int32_t& count) override;
    QZRESULT SetArrayCount(std::int32_t handle, const WideString& node,
                           std::int32_t count) override;
    QZRESULT GetArrayItemAt(std::int32_t handle, const WideString& node, std::int32_t index,
                            WideString& item) override;
    QZRESULT SetArrayItemAt(std::int32_t handle, const WideString& node, std::int32_t index,
                            const WideString& text) override;
    QZRESULT RemoveArrayItemAt(std::int32_t handle, const WideString& node,
                               std::int32_t index) override;

    bool IsLoaded() const { return mLibrary.IsOpen(); }

private:
    // False with the first failure's text when an entry point is missing.
    [[nodiscard]] bool ResolveEntryPoints(std::string& failure);
    void ClearEntryPoints();
    // Runs a text query by the 1024-byte-then-needed-size protocol; text changes only when the
    // query succeeded.
    template <class Query>
    [[nodiscard]] static QZRESULT ReadText(const Query& query, WideString& text);

    decltype(&::OpenIniFile) mOpenIniFile = nullptr;
    decltype(&::WriteIniFile) mWriteIniFile = nullptr;
    decltype(&::CloseIniFile) mCloseIniFile = nullptr;
    decltype(&::DoesNodeExist) mDoesNodeExist = nullptr;
    decltype(&::GetIniValueInt) mGetIniValueInt = nullptr;
    decltype(&::SetIniValueInt) mSetIniValueInt = nullptr;
    decltype(&::GetIniValueStr) mGetIniValueStr = nullptr;
    decltype(&::SetIniValueStr) mSetIniValueStr = nullptr;
    decltype(&::GetKeyCount) mGetKeyCount = nullptr;
    decltype(&::GetKeyNameAt) mGetKeyNameAt = nullptr;
    decltype(&::GetArrayCount) mGetArrayCount = nullptr;
    decltype(&::SetArrayCount) mSetArrayCount = nullptr;
    decltype(&::GetArrayItemAt) mGetArrayItemAt = nullptr;
    decltype(&::SetArrayItemAt) mSetArrayItemAt = nullptr;
    decltype(&::RemoveArrayItemAt) mRemoveArrayItemAt = nullptr;
    Platform::DynamicLibrary mLibrary;
};

} // namespace QZ
