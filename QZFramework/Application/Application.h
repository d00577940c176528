// LApplication: the program's application object, one for the whole run.
//
// It answers the preset editor's own parts of the application: its settings files, its cursors,
// the documents folders 5 and 6, the name of its root control, and it owns the MIDI manager and
// the root-module engine. Start-up (RunApplicationStartup) creates both; the engine is
// initialised with the first parameter identifier 0 and kept until the object goes away. Anything
// may ask for the engine through GetRootModuleEngine (RootModuleEngine.h), from any thread.
//
// Settings files: file 0 is "AppSettings.ini" in folder 2, file 1 "UserSettings.ini" in folder 3.
// Each is opened once, on first request; a failed open is tried again on the next request.
#pragma once

#include "QZFramework/Application/ApplicationBase.h"
#include "QZFramework/Application/ApplicationFolders.h"
#include "QZFramework/ControlBase/ApplicationShell.h"
#include "QZFramework/ObjectBase/RCPtr.h"
#include "QZFramework/System/Mutex.h"

class LRootModuleEngine;

namespace QZ
{
class LControlFactory;
class LMidiManager;
} // namespace QZ

class LApplication : public QZ::LApplicationBase, public QZ::IApplicationShell
{
public:
    static constexpr std::int32_t kApplicationSettingsFile = 0;
    static constexpr std::int32_t kUserSettingsFile = 1;

    LApplication();
    explicit LApplication(const QZ::ApplicationStartup& startup);
    // Releases the MIDI manager, then the engine.
    ~LApplication() override;

    // The application object when it is an LApplication, or null.
    [[nodiscard]] static LApplication* GetApplication();

    // The base layer and the framework's start-up, the program's own control classes, then the
    // MIDI manager and the engine. What the engine's initialisation throws passes out, and no
    // engine is kept then.
    QZ::QZRESULT RunApplicationStartup() override;
    // The program's own control classes, registered at start-up after the framework's; the
    // program sets them before start-up, so that the framework knows none of its panels.
    using ControlRegistrar = void (*)(QZ::LControlFactory& factory);
    void SetControlRegistrar(ControlRegistrar registrar) { mControlRegistrar = registrar; }
    // The base layer, then the windows, the status bar and the hot keys are let go.
    QZ::QZRESULT RunApplicationShutdown() override;

    // Creates the engine and initialises it with first identifier 0. What Initialize throws
    // passes out, and no engine is kept then.
    void CreateRootModuleEngine();
    // A counted reference to the engine; null before it is created and after it is released.
    [[nodiscard]] QZ::RCPtr<LRootModuleEngine> GetRootModuleEngine() const;
    // Lets go of the engine (shutdown).
    void ReleaseRootModuleEngine();
    // A new reference to the MIDI manager; null before start-up.
    [[nodiscard]] QZ::RCPtr<QZ::LMidiManager> GetMidiManager() const;
    // Replaces the MIDI manager; tests give the dialogs a manager with short reply waits.
    void SetMidiManager(const QZ::RCPtr<QZ::LMidiManager>& manager);

    [[nodiscard]] QZ::WideString GetSettingsVersion() const override;
    // "mainControl", the skin's top control of the main window.
    [[nodiscard]] QZ::WideString GetRootControlName() const override;
    [[nodiscard]] QZ::RCPtr<QZ::LGlobalHotKeyManager> GetGlobalHotKeyManager() const override;
    std::int32_t RunModal(const QZ::RCPtr<QZ::LControl>& control, std::uint32_t flags) override;
    // Folders 5 and 6 are the documents folder (4); the rest as the base.
    [[nodiscard]] QZ::WideString GetFolder(std::int32_t id) const override;
    // The handle of settings file 0 or 1 (0 when it could not be opened); 0 for any other id.
    // Without a safe folder for it (or with a link in its place in the shared fallback folder)
    // the file is not opened, so settings are not saved; the debug output says so once.
    [[nodiscard]] std::int32_t GetSettingsFile(std::int32_t fileId) override;
    // The drag pointers are the program's own; the magnifier, rotation and split names have no
    // cursor; the rest as the base.
    [[nodiscard]] QZ::CursorHandle GetCursor(const char16_t* name) const override;

private:
    mutable QZ::Mutex mLock;
    QZ::RCPtr<LRootModuleEngine> mRootModuleEngine;
    std::int32_t mSettingsFiles[2] = {0, 0};
    bool mReportedUnsavedSettings = false;
    QZ::RCPtr<QZ::LMidiManager> mMidiManager;
    ControlRegistrar mControlRegistrar = nullptr;
};
