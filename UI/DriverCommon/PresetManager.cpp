#include "UI/DriverCommon/PresetManager.h"

#include "DeviceControl/GeneratedCode/Engine/Inc/ParamLayout.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "QZFramework/Notification/NotificationCenterManager.h"
#include "QZFramework/Notification/NotificationIDs.h"
#include "QZFramework/Utilities/Storage/Array.h"
#include "QZFramework/Utilities/Storage/ParamDescriptor.h"
#include "QZFramework/Utilities/Storage/ParamRange.h"
#include "QZFramework/Utilities/Storage/ParamValue.h"
#include "UI/DriverCommon/PresetFileLoadNotificationData.h"
#include "UI/DriverCommon/PresetFileReader.h"
#include "UI/DriverCommon/PresetFileWriter.h"
#include "UI/DriverCommon/PresetRecord.h"

#include <new>

namespace QZ
{

WideString GetPathText(const WideString& path)
{
    return path;
}

LPresetManager::LPresetManager()
    : mHandler(new (std::nothrow) LNotificationHandler<LPresetManager>(this))
{
}

LPresetManager::~LPresetManager() = default;

RCPtr<LPresetManager> LPresetManager::Create()
{
    RCPtr<LPresetManager> manager(new LPresetManager());
    if (manager->mHandler)
    {
        const QZRESULT result = manager->mHandler->AddHandler(
            &LPresetManager::OnGlobalLoadControlPanelSettings,
            RCPtr<LNotificationDistributor>(GetApplicationNotificationCenter()),
            NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS, 0);
        if (Failed(result))
        {
            QZ_THROW_FAILED_RESULT(result, "QZ::LPresetManager::Create");
        }
        manager->mSubscribed = true;
    }
    return manager;
}

std::int32_t LPresetManager::LoadPresetFile(const WideString& path)
{
    Announce(NID_PRESETFILE_PRE_LOAD, nullptr);
    const std::int32_t result = ReadPresetFile(path);
    Announce(NID_PRESETFILE_POST_LOAD,
             RCPtr<LRefCountedObject>(new LPresetFileLoadNotificationData(result)));
    return result;
}

std::int32_t LPresetManager::ReadPresetFile(const WideString& path)
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    PresetFileReader reader(engine ? engine->GetFirstParamID() : 0);
    const std::int32_t result = reader.ReadFile(path);
    mReadError = reader.GetReadError();
    return result == kPresetFileLoaded ? HandValuesToEngine(reader, engine) : result;
}

QZRESULT LPresetManager::SavePresetFile(const WideString& path)
{
    AtomicFileWriter file;
    return SavePresetFile(path, file);
}

QZRESULT LPresetManager::SavePresetFile(const WideString& path, AtomicFileWriter& file)
{
    const RCPtr<LRootModuleEngine> engine = GetRootModuleEngine();
    if (!engine)
    {
        return E_FAIL;
    }
    const std::int32_t firstParamID = engine->GetFirstParamID();
    Array<ParamValue> values;
    engine->GetParamValues(ParamRange{firstParamID, kPresetParamCount}, values, -1);
    if (values.GetCount() != static_cast<std::int32_t>(kPresetParamCount))
    {
        return E_FAIL;
    }
    PresetFileWriter writer(file, firstParamID);
    if (Failed(writer.Begin(path)))
    {
        return E_FAIL;
    }
    for (std::int32_t i = 0; i < values.GetCount(); ++i)
    {
        if (Failed(writer.WriteRecord(values.GetAt(i).mValue)))
        {
            return E_FAIL;
        }
    }
    return writer.Commit();
}

QZRESULT LPresetManager::OnGlobalLoadControlPanelSettings(const RCPtr<LNotificationDistributor>&,
                                                          const RCPtr<LNotification>& notification)
{
    if (const auto* path = dynamic_cast<const LPresetFilePath*>(notification->GetPayload().Get()))
    {
        LoadPresetFile(*path);
    }
    return S_FALSE;
}

void LPresetManager::ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                                         const RCPtr<LNotification>& notification)
{
    if (mHandler && mSubscribed)
    {
        static_cast<void>(mHandler->HandleNotification(sender, notification));
    }
}

QZRESULT LPresetManager::Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                                     const char16_t* identifier)
{
    if (mHandler)
    {
        mHandler->RemoveHandler(distributor, identifier);
    }
    return LNotificationClient::Unsubscribe(distributor, identifier);
}

void LPresetManager::Announce(const char16_t* identifier, const RCPtr<LRefCountedObject>& data)
{
    RCPtr<LNotification> notification;
    static_cast<void>(Distribute(LNotification::Create(notification, identifier, data)));
}

std::int32_t LPresetManager::HandValuesToEngine(const PresetFileReader& reader,
                                                const RCPtr<LRootModuleEngine>& engine)
{
    bool refused = false;
    for (std::uint32_t position = 0; position < kPresetParamCount; ++position)
    {
        const Variant& value = reader.GetValue(position);
        if (value.GetType() == Variant::TagEmpty)
        {
            continue;
        }
        const ParamDescriptor descriptor(reader.GetFirstParamID() +
                                         static_cast<std::int32_t>(position));
        if (!engine || Failed(engine->SetParamValue(descriptor, value)))
        {
            refused = true;
        }
    }
    return refused ? kPresetFileTranslationFailure : kPresetFileLoaded;
}

} // namespace QZ
