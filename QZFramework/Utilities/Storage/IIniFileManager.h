// The INI settings store's interface.
//
// Settings files are opened by path and then addressed by the 32-bit handle OpenIniFile gives;
// values sit at node paths ("CurrentSkinIndex", "Recent/Files"). Results are 0 for success,
// E_FAIL when the settings library is not loaded, and otherwise the library's own results, passed
// through unchanged (see Platform/Settings/IniFileManagerLibrary.h). Every out argument is set
// before anything can fail: values to their defaults, counts to 0, key names and items to empty.
// The store is not synchronised; the application uses it from the user-interface thread.
#pragma once

#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/Utilities/Storage/StringT.h"

#include <cstdint>

namespace QZ
{

class IIniFileManager
{
public:
    // Loads the settings library from the folder (empty: the system's library search). 1 when
    // already loaded, 0 when loaded with all its entry points, else E_FAIL.
    virtual QZRESULT Initialize(const WideString& folder) = 0;
    // Unloads it: 1 when nothing was loaded, 0 when unloaded, E_FAIL when the system refused.
    virtual QZRESULT Uninitialize() = 0;
    // handle is 0 unless the file was opened; version and product name the file's contents.
    virtual QZRESULT OpenIniFile(const WideString& path, const WideString& version,
                                 const WideString& product, std::int32_t& handle) = 0;
    virtual QZRESULT WriteIniFile(std::int32_t handle) = 0;
    // False also when the library is not loaded.
    virtual bool DoesNodeExist(std::int32_t handle, const WideString& node) = 0;
    virtual QZRESULT CloseIniFile(std::int32_t handle, std::int32_t flag) = 0;
    virtual QZRESULT GetIniValueInt(std::int32_t handle, const WideString& node,
                                    std::int32_t defaultValue, std::int32_t& value) = 0;
    virtual QZRESULT SetIniValueInt(std::int32_t handle, const WideString& node,
                                    std::int32_t value) = 0;
    virtual QZRESULT GetIniValueStr(std::int32_t handle, const WideString& node,
                                    const WideString& defaultText, WideString& text) = 0;
    virtual QZRESULT SetIniValueStr(std::int32_t handle, const WideString& node,
                                    const WideString& text) = 0;
    virtual QZRESULT GetKeyCount(std::int32_t handle, const WideString& node,
                                 std::int32_t& count) = 0;
    virtual QZRESULT GetKeyNameAt(std::int32_t handle, const WideString& node, std::int32_t index,
                                  WideString& name) = 0;
    virtual QZRESULT GetArrayCount(std::int32_t handle, const WideString& node,
                                   std::int32_t& count) = 0;
    virtual QZRESULT SetArrayCount(std::int32_t handle, const WideString& node,
                                   std::int32_t count) = 0;
    virtual QZRESULT GetArrayItemAt(std::int32_t handle, const WideString& node, std::int32_t index,
                                    WideString& item) = 0;
    virtual QZRESULT SetArrayItemAt(std::int32_t handle, const WideString& node, std::int32_t index,
                                    const WideString& text) = 0;
    virtual QZRESULT RemoveArrayItemAt(std::int32_t handle, const WideString& node,
                                       std::int32_t index) = 0;

protected:
    // Not deleted through the interface.
    ~IIniFileManager() = default;
};

} // namespace QZ
