// LPresetManager: saves the engine's current preset to a preset file and loads one back into it.
//
// A save writes the 131 current values through an AtomicFileWriter, so a failed save leaves the
// previous file as it was. A load reads and checks the whole file first (PresetFileReader) and
// hands its values to the engine only when every record is sound, so a refused file changes
// nothing; it is announced by "NID_PRESETFILE_PRE_LOAD" before and "NID_PRESETFILE_POST_LOAD"
// (data: LPresetFileLoadNotificationData) after, both distributed at once through the manager
// itself, whatever the result. The engine is the application's (GetRootModuleEngine), taken
// afresh for each call.
//
// Create subscribes the manager at the "application" centre to
// "NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS", by which another component can have a file loaded;
// Unsubscribe and the release of the last outside reference take the subscription down.
//
// Everything runs on the user-interface thread; the manager takes no lock of its own.
#pragma once

#include "QZFramework/Notification/Notification.h"
#include "QZFramework/Notification/NotificationClient.h"
#include "QZFramework/Notification/NotificationDistributor.h"
#include "QZFramework/Notification/NotificationHandler.h"
#include "QZFramework/ObjectBase/Exception.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/ObjectBase/RefCountedObject.h"
#include "QZFramework/ObjectBase/WrapperStringable.h"
#include "QZFramework/Utilities/Storage/StringT.h"
#include "UI/DriverCommon/AtomicFileWriter.h"

#include <cstdint>
#include <string>

class LRootModuleEngine;

namespace QZ
{

class PresetFileReader;

// The text itself, as the text of a wrapped path.
[[nodiscard]] WideString GetPathText(const WideString& path);
// The data of "NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS": the path of the preset file to load.
using LPresetFilePath = LWrapperStringable<WideString, &GetPathText, LRefCountedObject>;

class LPresetManager : public LNotificationClient, public LNotificationDistributor
{
public:
    // A new manager subscribed at the application centre (unsubscribed when its handler could
    // not be made). A refused subscription throws FailedResultException
    // ("Failed Result : QZRESULT = <code> : QZ::LPresetManager::Create : ...").
    [[nodiscard]] static RCPtr<LPresetManager> Create();
    ~LPresetManager() override;

    // Announces the load, runs ReadPresetFile on path and announces its result; returns it.
    std::int32_t LoadPresetFile(const WideString& path);
    // Reads the file at path and, when every record is sound, hands each parameter value it
    // holds to the engine, in identifier order. 0 when loaded; -1 for format version 0, -2 for a
    // newer version, -3 when the file is empty, cut short or corrupt, -4 for another device's
    // file, -6 when the system refuses to open or read it (nothing reaches the engine in these
    // cases); -5 when the engine (or its absence) refused a value of the file, after the others
    // were handed over.
    std::int32_t ReadPresetFile(const WideString& path);
    // The system's reason for the last read's -6; empty after any other result.
    [[nodiscard]] const std::string& GetReadError() const { return mReadError; }
    // Writes the engine's 131 current values to path. 0, or E_FAIL, with the previous file left
    // as it was, when there is no engine, it does not supply 131 values that fit their
    // parameters, or the file cannot be written whole.
    [[nodiscard]] QZRESULT SavePresetFile(const WideString& path);
    // The same through the given file writer.
    [[nodiscard]] QZRESULT SavePresetFile(const WideString& path, AtomicFileWriter& file);

    // Handler of "NID_GLOBAL_LOAD_CONTROL_PANEL_SETTINGS": loads the file named by an
    // LPresetFilePath data, showing no message whatever the result. Always 1.
    QZRESULT OnGlobalLoadControlPanelSettings(const RCPtr<LNotificationDistributor>& sender,
                                              const RCPtr<LNotification>& notification);

    // Passes the notification to the handler while subscribed.
    void ReceiveNotification(const RCPtr<LNotificationDistributor>& sender,
                             const RCPtr<LNotification>& notification) override;
    // Drops the handler's mapping, then the subscription.
    QZRESULT Unsubscribe(const RCPtr<LNotificationDistributor>& distributor,
                         const char16_t* identifier) override;

    [[nodiscard]] bool IsSubscribed() const { return mSubscribed; }

private:
    LPresetManager();

    void Announce(const char16_t* identifier, const RCPtr<LRefCountedObject>& data);
    static std::int32_t HandValuesToEngine(const PresetFileReader& reader,
                                           const RCPtr<LRootModuleEngine>& engine);

    RCPtr<LNotificationHandler<LPresetManager>> mHandler;
    bool mSubscribed = false;
    std::string mReadError;
};

} // namespace QZ
