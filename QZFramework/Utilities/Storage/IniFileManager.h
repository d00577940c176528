// The INI settings store: a shareable front that forwards every operation unchanged to its own
// CIniFileManagerProxy (see IIniFileManager.h for the operations).
#pragma once

#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/Utilities/Storage/IIniFileManager.h"

#include <memory>

namespace QZ
{

class CIniFileManagerProxy;

class LIniFileManager : public IIniFileManager, public virtual LRefCountedObject
{
public:
    LIniFileManager();
    // Destroys the proxy, which unloads the library when it is still loaded.
    ~LIniFileManager() override;
    LIniFileManager(const LIniFileManager&) = delete;
    LIniFileManager& operator=(const LIniFileManager&) = delete;

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

private:
    std::unique_ptr<CIniFileManagerProxy> mProxy;
};

} // namespace QZ
