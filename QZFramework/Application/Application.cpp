#include "QZFramework/Application/Application.h"

#include "Engine/RededoVuvuvaCommon/MidiManager.h"
#include "Engine/RededoVuvuvaCommon/RootModuleEngine.h"
#include "QZFramework/ControlBase/ControlFactory.h"
#include "QZFramework/ControlBase/GlobalHotKeyManager.h"
#include "QZFramework/System/DebugStreams.h"
#include "QZFramework/Utilities/Storage/IniFileManager.h"

#include <string_view>
#include <utility>

namespace
{

constexpr const char16_t* kSettingsFileNames[] = {u"AppSettings.ini", u"UserSettings.ini"};
constexpr std::int32_t kSettingsFileFolders[] = {QZ::kFolderSharedApplicationData,
                                                 QZ::kFolderLocalApplicationData};

struct AppCursor
{
    std::u16string_view name;
    QZ::CursorHandle cursor;
};

constexpr AppCursor kAppCursors[] = {
    {QZ::UI_CURSOR_DROP_MOVE, QZ::kCursorDropMove}, {QZ::UI_CURSOR_DROP_COPY, QZ::kCursorDropCopy},
    {QZ::UI_CURSOR_SPLIT_V, QZ::kNoCursor},         {QZ::UI_CURSOR_SPLIT_H, QZ::kNoCursor},
    {QZ::UI_CURSOR_ROTATE, QZ::kNoCursor},          {QZ::UI_CURSOR_MAG, QZ::kNoCursor},
    {QZ::UI_CURSOR_MAG_PLUS, QZ::kNoCursor},        {QZ::UI_CURSOR_MAG_MINUS, QZ::kNoCursor},
};

constexpr std::int32_t kFirstDocumentsAlias = 5;
constexpr std::int32_t kLastDocumentsAlias = 6;

} // namespace

LApplication::LApplication() = default;

LApplication::LApplication(const QZ::ApplicationStartup& startup) : LApplicationBase(startup) {}

LApplication::~LApplication()
{
    mMidiManager = nullptr;
    ReleaseRootModuleEngine();
}

QZ::QZRESULT LApplication::RunApplicationShutdown()
{
    const QZ::QZRESULT result = LApplicationBase::RunApplicationShutdown();
    ReleaseShell();
    return result;
}

LApplication* LApplication::GetApplication()
{
    return dynamic_cast<LApplication*>(QZ::LApplicationBase::GetApplication());
}

QZ::QZRESULT LApplication::RunApplicationStartup()
{
    QZ::QZRESULT result = LApplicationBase::RunApplicationStartup();
    if (QZ::Succeeded(result))
    {
        result = RunFrameworkStartup();
    }
    if (QZ::Failed(result))
    {
        return result;
    }
    const QZ::RCPtr<QZ::LControlFactory> factory = GetControlFactory();
    if (factory && mControlRegistrar != nullptr)
    {
        mControlRegistrar(*factory);
    }
    QZ::RCPtr<QZ::LMidiManager> midiManager;
    QZ::LMidiManager::Create(midiManager);
    {
        QZ::Mutex::ScopedLock lock(mLock);
        mMidiManager = midiManager;
    }
    CreateRootModuleEngine();
    return QZ::S_OK;
}

void LApplication::CreateRootModuleEngine()
{
    QZ::RCPtr<LRootModuleEngine> engine(new LRootModuleEngine());
    engine->Initialize(0);
    QZ::Mutex::ScopedLock lock(mLock);
    mRootModuleEngine = engine;
}

QZ::RCPtr<LRootModuleEngine> LApplication::GetRootModuleEngine() const
{
    QZ::Mutex::ScopedLock lock(mLock);
    return mRootModuleEngine;
}

void LApplication::ReleaseRootModuleEngine()
{
    QZ::RCPtr<LRootModuleEngine> engine;
    {
        QZ::Mutex::ScopedLock lock(mLock);
        engine = std::move(mRootModuleEngine);
    }
}

QZ::RCPtr<QZ::LMidiManager> LApplication::GetMidiManager() const
{
    QZ::Mutex::ScopedLock lock(mLock);
    return mMidiManager;
}

void LApplication::SetMidiManager(const QZ::RCPtr<QZ::LMidiManager>& manager)
{
    QZ::RCPtr<QZ::LMidiManager> previous;
    QZ::Mutex::ScopedLock lock(mLock);
    previous = mMidiManager;
    mMidiManager = manager;
}

QZ::WideString LApplication::GetSettingsVersion() const
{
    return QZ::WideString(u"1_0_0");
}

QZ::WideString LApplication::GetRootControlName() const
{
    return QZ::WideString(u"mainControl");
}

QZ::RCPtr<QZ::LGlobalHotKeyManager> LApplication::GetGlobalHotKeyManager() const
{
    return GetApplicationHotKeys();
}

std::int32_t LApplication::RunModal(const QZ::RCPtr<QZ::LControl>& control, std::uint32_t flags)
{
    return RunModalControl(control, flags);
}

QZ::WideString LApplication::GetFolder(std::int32_t id) const
{
    const bool documents = id >= kFirstDocumentsAlias && id <= kLastDocumentsAlias;
    return LApplicationBase::GetFolder(documents ? QZ::kFolderDocuments : id);
}

std::int32_t LApplication::GetSettingsFile(std::int32_t fileId)
{
    if (fileId != kApplicationSettingsFile && fileId != kUserSettingsFile)
    {
        return 0;
    }
    std::int32_t& handle = mSettingsFiles[fileId];
    if (handle != 0)
    {
        return handle;
    }
    const QZ::WideString folder = GetFolder(kSettingsFileFolders[fileId]);
    const QZ::WideString name(kSettingsFileNames[fileId]);
    const QZ::WideString path =
        folder.IsEmpty() ? QZ::WideString() : folder + QZ::WideString(u"/") + name;
    // No safe folder: the file stays closed rather than land in the root folder or another
    // user's folder.
    if (path.IsEmpty() || QZ::IsLinkInFallbackFolder(path))
    {
        if (!std::exchange(mReportedUnsavedSettings, true))
        {
            QZ::DebugStreams::Narrow()
                << "GetSettingsFile: no safe folder for " << name.ToNarrowString().GetString()
                << "; settings are not saved in this run" << std::endl;
        }
        return 0;
    }
    static_cast<void>(
        GetIniFileManager()->OpenIniFile(path, GetSettingsVersion(), GetProductName(), handle));
    return handle;
}

QZ::CursorHandle LApplication::GetCursor(const char16_t* name) const
{
    for (const AppCursor& entry : kAppCursors)
    {
        if (name != nullptr && entry.name == name)
        {
            return entry.cursor;
        }
    }
    return LApplicationBase::GetCursor(name);
}

QZ::RCPtr<LRootModuleEngine> GetRootModuleEngine()
{
    const LApplication* application = LApplication::GetApplication();
    return application != nullptr ? application->GetRootModuleEngine() : nullptr;
}
