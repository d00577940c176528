#include "QZFramework/Utilities/Storage/IniFileManager.h"

#include "QZFramework/Utilities/Storage/IniFileManagerProxy.h"

namespace QZ
{

LIniFileManager::LIniFileManager() : mProxy(std::make_unique<CIniFileManagerProxy>()) {}

LIniFileManager::~LIniFileManager() = default;

QZRESULT LIniFileManager::Initialize(const WideString& folder)
{
    return mProxy->Initialize(folder);
}

QZRESULT LIniFileManager::Uninitialize()
{
    return mProxy->Uninitialize();
}

QZRESULT LIniFileManager::OpenIniFile(const WideString& path, const WideString& version,
                                      const WideString& product, std::int32_t& handle)
{
    return mProxy->OpenIniFile(path, version, product, handle);
}

QZRESULT LIniFileManager::WriteIniFile(std::int32_t handle)
{
    return mProxy->WriteIniFile(handle);
}

bool LIniFileManager::DoesNodeExist(std::int32_t handle, const WideString& node)
{
    return mProxy->DoesNodeExist(handle, node);
}

QZRESULT LIniFileManager::CloseIniFile(std::int32_t handle, std::int32_t flag)
{
    return mProxy->CloseIniFile(handle, flag);
}

QZRESULT LIniFileManager::GetIniValueInt(std::int32_t handle, const WideString& node,
                                         std::int32_t defaultValue, std::int32_t& value)
{
    return mProxy->GetIniValueInt(handle, node, defaultValue, value);
}

QZRESULT LIniFileManager::SetIniValueInt(std::int32_t handle, const WideString& node,
                                         std::int32_t value)
{
    return mProxy->SetIniValueInt(handle, node, value);
}

QZRESULT LIniFileManager::GetIniValueStr(std::int32_t handle, const WideString& node,
                                         const WideString& defaultText, WideString& text)
{
    return mProxy->GetIniValueStr(handle, node, defaultText, text);
}

QZRESULT LIniFileManager::SetIniValueStr(std::int32_t handle, const WideString& node,
                                         const WideString& text)
{
    return mProxy->SetIniValueStr(handle, node, text);
}

QZRESULT LIniFileManager::GetKeyCount(std::int32_t handle, const WideString& node,
                                      std::int32_t& count)
{
    return mProxy->GetKeyCount(handle, node, count);
}

QZRESULT LIniFileManager::GetKeyNameAt(std::int32_t handle, const WideString& node,
                                       std::int32_t index, WideString& name)
{
    return mProxy->GetKeyNameAt(handle, node, index, name);
}

QZRESULT LIniFileManager::GetArrayCount(std::int32_t handle, const WideString& node,
                                        std::int32_t& count)
{
    return mProxy->GetArrayCount(handle, node, count);
}

QZRESULT LIniFileManager::SetArrayCount(std::int32_t handle, const WideString& node,
                                        std::int32_t count)
{
    return mProxy->SetArrayCount(handle, node, count);
}

QZRESULT LIniFileManager::GetArrayItemAt(std::int32_t handle, const WideString& node,
                                         std::int32_t index, WideString& item)
{
    return mProxy->GetArrayItemAt(handle, node, index, item);
}

QZRESULT LIniFileManager::SetArrayItemAt(std::int32_t handle, const WideString& node,
                                         std::int32_t index, const WideString& text)
{
    return mProxy->SetArrayItemAt(handle, node, index, text);
}

QZRESULT LIniFileManager::RemoveArrayItemAt(std::int32_t handle, const WideString& node,
                                            std::int32_t index)
{
    return mProxy->RemoveArrayItemAt(handle, node, index);
}

} // namespace QZ
